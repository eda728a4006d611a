#pragma once
#include <cstdint>

namespace pelmora {

struct MemoryStatus {
    uint32_t memoryLoad = 0;  // percent of physical memory in use
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalVirtual = 0;  // the process's user address space, bytes
    uint64_t availVirtual = 0;  // of it neither reserved nor committed
};

class MemoryStatusSource {
public:
    virtual ~MemoryStatusSource() = default;
    virtual MemoryStatus memoryStatus() = 0;
};

}  // namespace pelmora
