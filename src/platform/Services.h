#pragma once
// Every operating-system service the readings use, handed around as one
// bundle: the widget's machine-information access point.
#include "platform/Drives.h"
#include "platform/IpHelper.h"
#include "platform/MemoryStatus.h"
#include "platform/PerformanceData.h"
#include "platform/ProcessorIdentity.h"
#include "platform/SystemStatus.h"
#include "platform/VersionInfo.h"

namespace pelmora {

struct Services {
    VersionInfo& version;
    PerformanceData& performanceData;
    ProcessorIdentity& processor;
    MemoryStatusSource& memory;
    Drives& drives;
    TickCount& tickCount;
    Names& names;
    Display& display;
    Audio& audio;
    Power& power;
    IpHelperService& ipHelper;
};

}  // namespace pelmora
