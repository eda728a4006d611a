#pragma once
// Milliseconds since the system started, in 64 bits: the 32-bit count wraps
// after 49.7 days and would restart the uptime from zero.
#include "platform/SystemStatus.h"

namespace pelmora {

class WindowsTickCount : public TickCount {
public:
    uint64_t milliseconds() override;
};

}  // namespace pelmora
