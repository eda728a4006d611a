#pragma once
#include "core/NumberFormat.h"

namespace pelmora {

// The user's number separators as the widget's windows show them (Qt's
// system locale), so the drive captions and the settings dialog agree.
NumberSeparators qtLocaleNumberSeparators();

}  // namespace pelmora
