#include "readings/CPUUsage.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/ErrorCodes.h"
#include "platform/PerfDataLayout.h"
#include "platform/SystemTimeConversion.h"

namespace pelmora {

namespace {

[[noreturn]] void fail(const char* message)
{
    throw std::runtime_error(message);
}

// The part of the sample buffer a walk may read; every read is checked
// against it, so no length or offset in the block can lead outside.
class BlockSpan {
public:
    BlockSpan(const uint8_t* data, size_t begin, size_t end) : data_(data), begin_(begin), end_(end) {}

    template <typename T>
    bool read(size_t offset, T& value) const
    {
        if (offset < begin_ || offset > end_ || end_ - offset < sizeof(T)) return false;
        std::memcpy(&value, data_ + offset, sizeof(T));
        return true;
    }
    size_t begin() const { return begin_; }
    size_t end() const { return end_; }
    BlockSpan part(size_t begin, size_t end) const { return {data_, begin, end}; }

private:
    const uint8_t* data_;
    size_t begin_;
    size_t end_;
};

// Signed 64-bit difference that wraps instead of overflowing.
int64_t difference(int64_t later, int64_t earlier)
{
    return static_cast<int64_t>(static_cast<uint64_t>(later) - static_cast<uint64_t>(earlier));
}

// The processor object, among at most NumObjectTypes objects; its extent
// must lie inside the buffer.
BlockSpan findProcessorObject(const BlockSpan& block, const PERF_DATA_BLOCK& header, PERF_OBJECT_TYPE& object)
{
    size_t objectAt = header.HeaderLength;
    for (uint32_t i = 0; i < header.NumObjectTypes && block.read(objectAt, object); ++i) {
        if (object.ObjectNameTitleIndex == kProcessorObjectTitleIndex) {
            if (object.TotalByteLength < sizeof(PERF_OBJECT_TYPE) ||
                object.TotalByteLength > block.end() - objectAt)
                break;
            return block.part(objectAt, objectAt + object.TotalByteLength);
        }
        if (object.TotalByteLength < sizeof(PERF_OBJECT_TYPE)) break;  // would not move on
        objectAt += object.TotalByteLength;
    }
    fail(kProcessorObjectNotFound);
}

// The processor-time counter, among at most NumCounters definitions.
PERF_COUNTER_DEFINITION findProcessorTimeCounter(const BlockSpan& object, const PERF_OBJECT_TYPE& header)
{
    size_t definitionAt = object.begin() + header.HeaderLength;
    PERF_COUNTER_DEFINITION counter{};
    for (uint32_t i = 0; i < header.NumCounters && object.read(definitionAt, counter); ++i) {
        if (counter.CounterNameTitleIndex == kProcessorTimeCounterTitleIndex) return counter;
        if (counter.ByteLength < sizeof(PERF_COUNTER_DEFINITION)) break;
        definitionAt += counter.ByteLength;
    }
    fail(kProcessorCounterNotFound);
}

// Whether `instances` instances could fit in the object at all: each needs
// at least its definition and a counter block.
bool instancesFit(const BlockSpan& object, const PERF_OBJECT_TYPE& header, int32_t instances)
{
    constexpr size_t kLeastInstanceBytes = sizeof(PERF_INSTANCE_DEFINITION) + sizeof(PERF_COUNTER_BLOCK);
    const size_t instancesAt = object.begin() + header.DefinitionLength;
    return instances >= 0 && instancesAt <= object.end() &&
           static_cast<size_t>(instances) <= (object.end() - instancesAt) / kLeastInstanceBytes;
}

// The counter's value in each of the first `values.size()` instances.
void readCounterValues(const BlockSpan& object, const PERF_OBJECT_TYPE& header,
                       const PERF_COUNTER_DEFINITION& counter, std::vector<int64_t>& values)
{
    size_t instanceAt = object.begin() + header.DefinitionLength;
    for (int64_t& value : values) {
        PERF_INSTANCE_DEFINITION instance{};
        if (!object.read(instanceAt, instance) || instance.ByteLength < sizeof instance)
            fail(kProcessorObjectNotFound);
        const size_t counterBlockAt = instanceAt + instance.ByteLength;
        PERF_COUNTER_BLOCK counterBlock{};
        if (!object.read(counterBlockAt, counterBlock) || counterBlock.ByteLength < sizeof counterBlock)
            fail(kProcessorObjectNotFound);
        if (counter.CounterOffset > counterBlock.ByteLength ||
            counterBlock.ByteLength - counter.CounterOffset < sizeof(int64_t))
            fail(kProcessorCounterNotFound);
        if (!object.read(counterBlockAt + counter.CounterOffset, value)) fail(kProcessorObjectNotFound);
        instanceAt = counterBlockAt + counterBlock.ByteLength;
    }
}

}  // namespace

CPUUsage::CPUUsage(PerformanceData& source) : source_(source), buffer_(kInitialSampleBufferBytes, 0)
{
}

void CPUUsage::query()
{
    for (;;) {
        uint32_t size = static_cast<uint32_t>(buffer_.size());
        const uint32_t answer = source_.query(kProcessorObjectValueName, buffer_.data(), &size);
        if (answer == kSuccess) return;
        // Any other failure would leave a stale or empty buffer to be read as a fresh sample.
        if (answer != kErrorMoreData) fail(kProcessorObjectNotFound);
        if (buffer_.size() + kSampleBufferGrowthBytes > kMaxSampleBufferBytes) fail(kProcessorObjectNotFound);
        buffer_.assign(buffer_.size() + kSampleBufferGrowthBytes, 0);  // the old contents need not survive
    }
}

void CPUUsage::SampleCPUCounters()
{
    query();
    readSample();
}

void CPUUsage::readSample()
{
    const BlockSpan block(buffer_.data(), 0, buffer_.size());
    PERF_DATA_BLOCK header{};
    if (!block.read(0, header)) fail(kProcessorObjectNotFound);
    PERF_OBJECT_TYPE objectHeader{};
    const BlockSpan object = findProcessorObject(block, header, objectHeader);

    const bool firstSample = slotCount_ == -1;
    if (firstSample) {
        if (!instancesFit(object, objectHeader, objectHeader.NumInstances)) fail(kProcessorObjectNotFound);
        slotCount_ = objectHeader.NumInstances;
        currentCounters_.assign(static_cast<size_t>(slotCount_), 0);
        previousCounters_.assign(static_cast<size_t>(slotCount_), 0);
        incomingCounters_.assign(static_cast<size_t>(slotCount_), 0);
    }
    const PERF_COUNTER_DEFINITION counter = findProcessorTimeCounter(object, objectHeader);

    // The slots fixed at the first sample; an answer that lists fewer
    // instances leaves some slot without its instance.
    if (objectHeader.NumInstances < slotCount_) fail(kCpuIndexOutOfBounds);
    int64_t time = 0;
    try {
        readCounterValues(object, objectHeader, counter, incomingCounters_);
        if (!systemTimeToFileTime(header.SystemTime, time)) fail(kProcessorObjectNotFound);
    } catch (const std::runtime_error&) {
        // A first answer whose instances cannot be read does not fix its count for good.
        if (firstSample) slotCount_ = -1;
        throw;
    }

    // The sample is whole: current becomes previous, the incoming one current.
    std::swap(previousCounters_, currentCounters_);
    std::swap(currentCounters_, incomingCounters_);
    previousTime_ = currentTime_;
    currentTime_ = time;
    samplesTaken_ = std::min(samplesTaken_ + 1, 2);
}

int32_t CPUUsage::CPUSlotCount()
{
    if (slotCount_ == -1) SampleCPUCounters();
    return slotCount_;
}

double CPUUsage::CPULoad(int32_t slot)
{
    if (slotCount_ == -1) SampleCPUCounters();
    if (slot < 0 || slot >= slotCount_) fail(kCpuIndexOutOfBounds);
    // A single sample has only the zero baseline to compare with, which would read as ~100 % busy.
    if (samplesTaken_ < 2) return 0.0;
    // The same millisecond, or a wall clock set back between the samples: no elapsed time to measure.
    const int64_t timeDelta = difference(currentTime_, previousTime_);
    if (timeDelta <= 0) return 0.0;
    const auto index = static_cast<size_t>(slot);
    const int64_t idleDelta = difference(currentCounters_[index], previousCounters_[index]);
    return 1.0 - static_cast<double>(idleDelta) / static_cast<double>(timeDelta);
}

}  // namespace pelmora
