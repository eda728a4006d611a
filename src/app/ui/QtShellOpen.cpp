#include "app/ui/QtShellOpen.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace pelmora {

void QtShellOpen::open(const std::string& target)
{
    const QString text = QString::fromStdString(target);
    const QUrl url = text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text);
    QDesktopServices::openUrl(url);  // failures are not reported, as with any link
}

}  // namespace pelmora
