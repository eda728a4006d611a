#pragma once
// The processor's name from the identification instruction and its clock
// from the time-stamp counter measured against the performance counter, with
// the thread at time-critical priority during each pass.
#include <optional>

#include "platform/ProcessorIdentity.h"

namespace pelmora {

class WindowsProcessorIdentity : public ProcessorIdentity {
public:
    std::string name() override;
    // Measured at the first call (a few milliseconds of busy waiting), then remembered.
    int64_t rawClockMHz() override;

private:
    std::optional<int64_t> clockMHz_;
};

}  // namespace pelmora
