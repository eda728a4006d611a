#include "platform/windows/WindowsPower.h"

#include <windows.h>

namespace pelmora {

bool WindowsPower::systemPowerStatus(PowerStatus& status)
{
    SYSTEM_POWER_STATUS power{};
    if (!::GetSystemPowerStatus(&power)) return false;
    status.acLineStatus = power.ACLineStatus;
    status.batteryFlag = power.BatteryFlag;
    status.batteryLifePercent = power.BatteryLifePercent;
    status.batteryLifeTime = power.BatteryLifeTime;
    return true;
}

}  // namespace pelmora
