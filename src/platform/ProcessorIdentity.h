#pragma once
#include <cstdint>
#include <string>

namespace pelmora {

class ProcessorIdentity {
public:
    virtual ~ProcessorIdentity() = default;
    // At most 48 characters, untrimmed; "Unknown" when it cannot be told.
    virtual std::string name() = 0;
    // Measured clock in whole MHz; 0 when it cannot be measured.
    virtual int64_t rawClockMHz() = 0;
};

}  // namespace pelmora
