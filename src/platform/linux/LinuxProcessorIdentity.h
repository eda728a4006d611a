#pragma once
// The processor's name and clock. On x86 the name comes from the processor
// identification instruction and the clock from the time-stamp counter
// measured against the monotonic clock in 100-ns counts (a 10 MHz
// performance counter), with the thread raised to the highest priority it may
// take during each pass. On other processors the name comes from
// <root>/proc/cpuinfo and the clock is 0.
#include <optional>
#include <string>

#include "platform/ProcessorIdentity.h"

namespace pelmora {

class LinuxProcessorIdentity : public ProcessorIdentity {
public:
    explicit LinuxProcessorIdentity(std::string root = "/");

    std::string name() override;
    // Measured at the first call (a few milliseconds of busy waiting), then remembered.
    int64_t rawClockMHz() override;

private:
    std::string root_;
    std::optional<int64_t> clockMHz_;
};

}  // namespace pelmora
