#pragma once
#include <string>

#include "platform/ProcessorIdentity.h"

namespace pelmora {

// A processor with the name and clock the test gives; counts the clock
// measurements, which belong to start-up only.
class FakeProcessorIdentity : public ProcessorIdentity {
public:
    FakeProcessorIdentity(std::string name = "Unknown", int64_t clockMHz = 0)
        : name_(std::move(name)), clockMHz_(clockMHz)
    {
    }
    std::string name() override { return name_; }
    int64_t rawClockMHz() override
    {
        ++clockMeasurements;
        return clockMHz_;
    }

    int clockMeasurements = 0;

private:
    std::string name_;
    int64_t clockMHz_;
};

}  // namespace pelmora
