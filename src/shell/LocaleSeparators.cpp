#include "shell/LocaleSeparators.h"

#include <QLocale>

namespace pelmora {

NumberSeparators qtLocaleNumberSeparators()
{
    // Asking Qt for the separators costs about 25 µs, once a tick; comparing
    // locales costs next to nothing. Kept per thread until the default
    // locale is another one.
    thread_local QLocale seen;
    thread_local NumberSeparators kept;
    thread_local bool known = false;
    const QLocale locale;
    if (!known || !(locale == seen)) {
        const bool grouped = !(locale.numberOptions() & QLocale::OmitGroupSeparator);
        kept = {locale.decimalPoint().toStdString(), grouped ? locale.groupSeparator().toStdString() : "",
                "\3"};
        seen = locale;
        known = true;
    }
    return kept;
}

}  // namespace pelmora
