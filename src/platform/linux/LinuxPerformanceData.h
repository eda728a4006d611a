#pragma once
// The performance-data query answered from <root>/proc/stat: the processor
// object (value name "238") with one instance per "cpuN" line in file order,
// named by N, then "_Total"; the idle-time counter is idle + iowait in 100-ns
// units. "_Total" holds the machine's idle time per processor (the "cpu"
// line divided by the number of processors), so its load is the machine's
// average like every processor's own.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/PerfBlockWriter.h"
#include "platform/PerformanceData.h"
#include "platform/linux/ProcFileReader.h"
#include "platform/linux/ProcStatCpus.h"

namespace pelmora {

class LinuxPerformanceData : public PerformanceData {
public:
    using UtcClock = std::function<std::chrono::system_clock::time_point()>;

    // `ticksPerSecond` is USER_HZ, the unit of /proc/stat; 0 asks the system.
    explicit LinuxPerformanceData(std::string root = "/", UtcClock utcNow = std::chrono::system_clock::now,
                                  uint64_t ticksPerSecond = 0);

    // An object other than the processor object gets a block without
    // objects. A /proc/stat without a usable "cpu" line gives the same.
    uint32_t query(const char* valueName, uint8_t* buffer, uint32_t* size) override;

private:
    int64_t idleTime100ns(uint64_t ticks, uint64_t perProcessors) const;

    ProcFileReader stat_;
    UtcClock utcNow_;
    uint64_t ticksPerSecond_;
    ProcStatCpus cpus_;
    std::vector<ProcessorInstance> instances_;
};

}  // namespace pelmora
