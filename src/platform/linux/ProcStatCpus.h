#pragma once
// The processor lines of /proc/stat: "cpu  user nice system idle iowait ..."
// for the whole machine, then "cpuN ..." per processor, in USER_HZ ticks.
#include <cstdint>
#include <string_view>
#include <vector>

namespace pelmora {

struct ProcessorIdleTicks {
    char number[11] = {};  // the N of "cpuN", as written
    uint8_t numberLength = 0;
    uint64_t idleTicks = 0;  // idle + iowait, saturated

    std::string_view name() const { return {number, numberLength}; }
};

struct ProcStatCpus {
    bool hasTotal = false;  // a usable "cpu " line was found
    uint64_t totalIdleTicks = 0;
    std::vector<ProcessorIdleTicks> processors;  // usable "cpuN" lines in file order
};

// Reads every line that starts with "cpu". A line needs at least the four
// fields up to idle to be usable; a missing iowait (kernels before 2.5.41)
// counts as 0; the fields stop at the first token that is not a decimal
// number; numbers too large for 64 bits saturate. Unusable lines are left
// out. `cpus.processors` keeps its capacity, so a steady caller allocates nothing.
void parseProcStatCpus(std::string_view text, ProcStatCpus& cpus);

}  // namespace pelmora
