#pragma once
// Every Windows service the widget reads, created once for the process.
#include "platform/Services.h"
#include "platform/windows/WindowsAudio.h"
#include "platform/windows/WindowsDisplay.h"
#include "platform/windows/WindowsDrives.h"
#include "platform/windows/WindowsIpHelper.h"
#include "platform/windows/WindowsMemoryStatus.h"
#include "platform/windows/WindowsNames.h"
#include "platform/windows/WindowsPerformanceData.h"
#include "platform/windows/WindowsPower.h"
#include "platform/windows/WindowsProcessorIdentity.h"
#include "platform/windows/WindowsTickCount.h"
#include "platform/windows/WindowsVersionInfo.h"

namespace pelmora {

class WindowsServices {
public:
    WindowsServices() = default;
    WindowsServices(const WindowsServices&) = delete;
    WindowsServices& operator=(const WindowsServices&) = delete;

    Services& services() { return services_; }

private:
    WindowsVersionInfo version_;
    WindowsPerformanceData performanceData_;
    WindowsProcessorIdentity processor_;
    WindowsMemoryStatus memory_;
    WindowsDrives drives_;
    WindowsTickCount tickCount_;
    WindowsNames names_;
    WindowsDisplay display_;
    WindowsAudio audio_;
    WindowsPower power_;
    WindowsIpHelper ipHelper_;
    Services services_{version_, performanceData_, processor_, memory_, drives_,  tickCount_,
                       names_,   display_,         audio_,     power_,  ipHelper_};
};

}  // namespace pelmora
