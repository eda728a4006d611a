#pragma once
#include <cstdint>

namespace pelmora {

// The performance-data query: fills `buffer` (of `*size` bytes) with a block
// in the PerfDataLayout.h layout for the object whose title index is given
// as decimal text. Answers kSuccess, or kErrorMoreData while it does not fit.
class PerformanceData {
public:
    virtual ~PerformanceData() = default;
    virtual uint32_t query(const char* valueName, uint8_t* buffer, uint32_t* size) = 0;
};

}  // namespace pelmora
