#include "app/ui/TrayProtocol.h"

#include <QDBusConnection>
#include <QDBusInterface>

namespace pelmora {

TrayProtocol currentTrayProtocol()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return TrayProtocol::XEmbed;
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
    const bool hostRegistered =
        watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
    return hostRegistered ? TrayProtocol::StatusNotifierItem : TrayProtocol::XEmbed;
}

bool trayActivationRestores(TrayProtocol protocol, QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick) return true;
    // A single click on an XEmbed tray does nothing: it also starts every double-click.
    return protocol == TrayProtocol::StatusNotifierItem && reason == QSystemTrayIcon::Trigger;
}

}  // namespace pelmora
