#include "platform/linux/LinuxPerformanceData.h"

#include <unistd.h>

#include <cstring>
#include <ctime>
#include <limits>

#include "platform/ErrorCodes.h"
#include "platform/SystemTimeConversion.h"
#include "platform/linux/RootPath.h"

namespace pelmora {

namespace {

__extension__ typedef unsigned __int128 uint128;

constexpr uint64_t k100nsPerSecond = 10000000;

uint64_t systemTicksPerSecond()
{
    const long hz = ::sysconf(_SC_CLK_TCK);
    return hz > 0 ? static_cast<uint64_t>(hz) : 100;
}

int64_t monotonic100ns()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 10000000 + now.tv_nsec / 100;
}

PerfSnapshotTimes snapshotTimes(std::chrono::system_clock::time_point utc)
{
    PerfSnapshotTimes times;
    times.systemTime = systemTimeFromUtc(utc);
    times.perfTime = monotonic100ns();
    times.perfFreq = k100nsPerSecond;
    int64_t fileTime = 0;
    systemTimeToFileTime(times.systemTime, fileTime);
    times.perfTime100nSec = fileTime;
    return times;
}

uint32_t answer(uint64_t bytes, uint8_t* buffer, uint32_t* size, auto&& write)
{
    if (buffer == nullptr || bytes > *size) {
        *size = bytes > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                             : static_cast<uint32_t>(bytes);
        return kErrorMoreData;
    }
    write();
    *size = static_cast<uint32_t>(bytes);
    return kSuccess;
}

}  // namespace

LinuxPerformanceData::LinuxPerformanceData(std::string root, UtcClock utcNow, uint64_t ticksPerSecond)
    : stat_(underRoot(root, "proc/stat"), 16384, ProcFileReader::Pieces::One),
      utcNow_(std::move(utcNow)),
      ticksPerSecond_(ticksPerSecond != 0 ? ticksPerSecond : systemTicksPerSecond())
{
}

int64_t LinuxPerformanceData::idleTime100ns(uint64_t ticks, uint64_t perProcessors) const
{
    const uint128 value = uint128{ticks} * k100nsPerSecond / ticksPerSecond_ / perProcessors;
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    return static_cast<int64_t>(value > kMax ? kMax : static_cast<uint64_t>(value));
}

uint32_t LinuxPerformanceData::query(const char* valueName, uint8_t* buffer, uint32_t* size)
{
    if (valueName == nullptr || size == nullptr) return kErrorInvalidParameter;
    const PerfSnapshotTimes times = snapshotTimes(utcNow_());

    if (std::strcmp(valueName, kProcessorObjectValueName) == 0)
        parseProcStatCpus(stat_.read(), cpus_);
    else
        cpus_.hasTotal = false;
    if (!cpus_.hasTotal)
        return answer(emptyBlockBytes(), buffer, size, [&] { writeEmptyBlock(times, buffer); });

    instances_.clear();
    for (const ProcessorIdleTicks& processor : cpus_.processors)
        instances_.push_back({processor.name(), idleTime100ns(processor.idleTicks, 1)});
    const uint64_t processors = cpus_.processors.empty() ? 1 : cpus_.processors.size();
    instances_.push_back({"_Total", idleTime100ns(cpus_.totalIdleTicks, processors)});

    return answer(processorBlockBytes(instances_), buffer, size,
                  [&] { writeProcessorBlock(instances_, times, buffer); });
}

}  // namespace pelmora
