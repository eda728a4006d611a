#pragma once
// The system's memory status: physical memory load and the process's own
// user address space.
#include "platform/MemoryStatus.h"

namespace pelmora {

class WindowsMemoryStatus : public MemoryStatusSource {
public:
    // All zero when the query fails.
    MemoryStatus memoryStatus() override;
};

}  // namespace pelmora
