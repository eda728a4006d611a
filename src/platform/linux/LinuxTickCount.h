#pragma once
#include "platform/SystemStatus.h"

namespace pelmora {

// Milliseconds since boot, time spent suspended included (CLOCK_BOOTTIME).
class LinuxTickCount : public TickCount {
public:
    uint64_t milliseconds() override;
};

}  // namespace pelmora
