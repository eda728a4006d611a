#pragma once
// The processor clock, measured by counting time-stamp cycles across short
// passes of the performance counter. Written against injected counters so it
// can be driven by fakes; the measurement busy-waits for a few milliseconds
// and belongs to start-up, never to a refresh tick.
#include <cstdint>
#include <functional>

namespace pelmora {

struct ClockCounters {
    std::function<int64_t()> performanceCounter;
    int64_t performanceFrequency = 0;  // counts per second
    std::function<uint64_t()> timeStampCounter;
    // Around each pass, e.g. to raise the thread's priority and restore it.
    std::function<void()> beforePass;
    std::function<void()> afterPass;
};

inline constexpr int64_t kSettleCounts = 50;  // waited for before a pass starts
inline constexpr int64_t kPassCounts = 1000;  // length of a pass
inline constexpr int kMinClockPasses = 3;
inline constexpr int kMaxClockPasses = 20;

// Whole MHz: the cycles of all passes over their microseconds, rounded half
// to even. 0 when the counters cannot measure it (no counter functions, a
// frequency under 10 counts per second, a pass whose duration truncates to
// 0 µs, a performance counter that stops advancing).
int64_t measureRawClockMHz(const ClockCounters& counters);

}  // namespace pelmora
