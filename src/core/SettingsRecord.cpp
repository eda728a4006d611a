#include "core/SettingsRecord.h"

#include <algorithm>

namespace pelmora {

uint32_t refreshIntervalMs(int32_t refreshSpeed)
{
    const int32_t seconds =
        std::clamp(refreshSpeed, SettingsRecord::RefreshSpeed.minimum, SettingsRecord::RefreshSpeed.maximum);
    return static_cast<uint32_t>(seconds) * 1000u;
}

std::string driveLetterText(std::string_view text)
{
    return std::string(text.substr(0, 1));
}

}  // namespace pelmora
