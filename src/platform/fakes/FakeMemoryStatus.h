#pragma once
#include "platform/MemoryStatus.h"

namespace pelmora {

// The memory status the test sets; counts the queries.
class FakeMemoryStatus : public MemoryStatusSource {
public:
    MemoryStatus status;
    int queries = 0;

    MemoryStatus memoryStatus() override
    {
        ++queries;
        return status;
    }
};

}  // namespace pelmora
