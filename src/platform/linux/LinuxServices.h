#pragma once
// Every Linux service the widget reads, created once for the process.
#include "platform/Services.h"
#include "platform/linux/LinuxAudio.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxIpHelper.h"
#include "platform/linux/LinuxMemoryStatus.h"
#include "platform/linux/LinuxNames.h"
#include "platform/linux/LinuxPerformanceData.h"
#include "platform/linux/LinuxPower.h"
#include "platform/linux/LinuxProcessorIdentity.h"
#include "platform/linux/LinuxTickCount.h"
#include "platform/linux/LinuxVersionInfo.h"

namespace pelmora {

class LinuxServices {
public:
    LinuxServices() = default;
    LinuxServices(const LinuxServices&) = delete;
    LinuxServices& operator=(const LinuxServices&) = delete;

    Services& services() { return services_; }

private:
    LinuxVersionInfo version_;
    LinuxPerformanceData performanceData_;
    LinuxProcessorIdentity processor_;
    LinuxMemoryStatus memory_;
    LinuxDrives drives_;
    LinuxTickCount tickCount_;
    LinuxNames names_;
    LinuxDisplay display_;
    LinuxAudio audio_;
    LinuxPower power_;
    LinuxIpHelper ipHelper_;
    Services services_{version_, performanceData_, processor_, memory_, drives_,  tickCount_,
                       names_,   display_,         audio_,     power_,  ipHelper_};
};

}  // namespace pelmora
