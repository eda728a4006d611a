#include "platform/ClockMeasurement.h"

#include <cstdint>

#include "core/Rounding.h"

namespace pelmora {

namespace {

__extension__ typedef __int128 int128;

// A counter that stops advancing would otherwise hold start-up forever; a
// real pass takes a few thousand polls.
constexpr int64_t kMaxPollsPerPass = 10000000;

struct Pass {
    bool counted = false;
    uint64_t cycles = 0;
    int64_t microseconds = 0;
};

Pass measurePass(const ClockCounters& counters)
{
    // Settle on a fresh count first, then count cycles across kPassCounts
    // counts; the time-stamp counter is read on every poll.
    Pass pass;
    int64_t polls = 0;
    const int64_t first = counters.performanceCounter();
    int64_t start = first;
    uint64_t startCycles = 0;
    do {
        if (++polls > kMaxPollsPerPass) return pass;
        start = counters.performanceCounter();
        startCycles = counters.timeStampCounter();
    } while (int128{start} - first < kSettleCounts);

    int64_t end = start;
    uint64_t endCycles = startCycles;
    do {
        if (++polls > kMaxPollsPerPass) return pass;
        end = counters.performanceCounter();
        endCycles = counters.timeStampCounter();
    } while (int128{end} - start < kPassCounts);

    const int128 microseconds = (int128{end} - start) * 100000 / (counters.performanceFrequency / 10);
    if (microseconds <= 0 || microseconds > INT64_MAX) return pass;
    pass.counted = true;
    pass.cycles = endCycles - startCycles;
    pass.microseconds = static_cast<int64_t>(microseconds);
    return pass;
}

// Each of the last three estimates lies within 1 MHz of their mean.
bool settled(const int64_t* lastThree)
{
    const int128 sum = int128{lastThree[0]} + lastThree[1] + lastThree[2];
    for (int i = 0; i < 3; ++i) {
        const int128 offset = int128{lastThree[i]} * 3 - sum;
        if (offset > 3 || offset < -3) return false;
    }
    return true;
}

}  // namespace

int64_t measureRawClockMHz(const ClockCounters& counters)
{
    if (!counters.performanceCounter || !counters.timeStampCounter) return 0;
    if (counters.performanceFrequency / 10 <= 0) return 0;

    int64_t estimates[kMaxClockPasses] = {};
    double totalCycles = 0;
    double totalMicroseconds = 0;
    for (int passes = 0; passes < kMaxClockPasses;) {
        if (counters.beforePass) counters.beforePass();
        const Pass pass = measurePass(counters);
        if (counters.afterPass) counters.afterPass();
        if (!pass.counted) return 0;

        estimates[passes] =
            roundHalfEven(static_cast<double>(pass.cycles) / static_cast<double>(pass.microseconds));
        totalCycles += static_cast<double>(pass.cycles);
        totalMicroseconds += static_cast<double>(pass.microseconds);
        ++passes;
        if (passes >= kMinClockPasses && settled(&estimates[passes - 3])) break;
    }
    return roundHalfEven(totalCycles / totalMicroseconds);
}

}  // namespace pelmora
