#pragma once
// The processor load sampler: keeps every processor instance's idle-time
// counter from the two latest performance-data samples and turns their
// difference into a busy fraction. The widget holds one for the process;
// only the user-interface thread uses it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/PerformanceData.h"

namespace pelmora {

inline constexpr const char* kProcessorObjectNotFound =
    "Unable to locate the \"Processor\" performance object";
inline constexpr const char* kProcessorCounterNotFound =
    "Unable to locate the \"% of CPU usage\" performance counter";
inline constexpr const char* kCpuIndexOutOfBounds = "CPU index out of bounds";

inline constexpr size_t kInitialSampleBufferBytes = 8192;
inline constexpr size_t kSampleBufferGrowthBytes = 4096;
// A source that keeps asking for more is given up on here rather than fed
// forever; the processor object of 18,000 processors still fits.
inline constexpr size_t kMaxSampleBufferBytes = 1024 * 1024;

class CPUUsage {
public:
    explicit CPUUsage(PerformanceData& source);

    // Takes a new sample. Throws std::runtime_error with one of the messages
    // above; a failed sample leaves the counters and times as they were.
    void SampleCPUCounters();

    // Processors + 1 (the total instance, last); fixed at the first sample.
    int32_t CPUSlotCount();

    // Busy fraction of `slot` between the two latest samples, not clamped.
    // Reads 0 until two samples exist, and when the later one carries the
    // same time as the earlier or an earlier time (a clock set back).
    double CPULoad(int32_t slot);

    size_t sampleBufferBytes() const { return buffer_.size(); }

private:
    void query();
    void readSample();

    PerformanceData& source_;
    std::vector<uint8_t> buffer_;
    int32_t slotCount_ = -1;
    int samplesTaken_ = 0;  // stops counting at 2
    std::vector<int64_t> currentCounters_;
    std::vector<int64_t> previousCounters_;
    std::vector<int64_t> incomingCounters_;  // the sample being read, kept until it is whole
    int64_t currentTime_ = 0;
    int64_t previousTime_ = 0;
};

}  // namespace pelmora
