#include "shell/LocaleSeparators.h"

#include <QLocale>

namespace pelmora {

NumberSeparators qtLocaleNumberSeparators()
{
    const QLocale locale;
    const bool grouped = !(locale.numberOptions() & QLocale::OmitGroupSeparator);
    return {locale.decimalPoint().toStdString(), grouped ? locale.groupSeparator().toStdString() : "", "\3"};
}

}  // namespace pelmora
