#include "platform/fakes/FakePerformanceData.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/ErrorCodes.h"
#include "platform/PerfBlockWriter.h"
#include "platform/SystemTimeConversion.h"

namespace pelmora {

SYSTEMTIME FakePerformanceData::timeAt(int64_t milliseconds)
{
    using namespace std::chrono;
    const sys_days base = year{2024} / May / 1;
    return systemTimeFromUtc(
        system_clock::time_point{base + hours{12} + std::chrono::milliseconds{milliseconds}});
}

std::vector<uint8_t> FakePerformanceData::processorBlock(const std::vector<int64_t>& idleTimes100ns,
                                                         SYSTEMTIME time)
{
    std::vector<std::string> names;
    for (size_t i = 0; i + 1 < idleTimes100ns.size(); ++i) names.push_back(std::to_string(i));
    names.emplace_back("_Total");
    std::vector<ProcessorInstance> instances;
    for (size_t i = 0; i < idleTimes100ns.size(); ++i) instances.push_back({names[i], idleTimes100ns[i]});

    PerfSnapshotTimes times;
    times.systemTime = time;
    systemTimeToFileTime(time, times.perfTime100nSec);
    std::vector<uint8_t> block(processorBlockBytes(instances));
    writeProcessorBlock(instances, times, block.data());
    return block;
}

void FakePerformanceData::setSample(const std::vector<int64_t>& idleTimes100ns, SYSTEMTIME time)
{
    block_ = processorBlock(idleTimes100ns, time);
}

void FakePerformanceData::setSample(const std::vector<int64_t>& idleTimes100ns, int64_t milliseconds)
{
    setSample(idleTimes100ns, timeAt(milliseconds));
}

uint32_t FakePerformanceData::query(const char*, uint8_t* buffer, uint32_t* size)
{
    sizesAsked_.push_back(*size);
    if (failure_ != kSuccess) return failure_;
    const size_t needed = std::max<size_t>(block_.size(), requiredBytes_);
    if (*size < needed) {
        *size = static_cast<uint32_t>(needed);
        return kErrorMoreData;
    }
    if (!block_.empty()) std::memcpy(buffer, block_.data(), block_.size());
    *size = static_cast<uint32_t>(block_.size());
    return kSuccess;
}

}  // namespace pelmora
