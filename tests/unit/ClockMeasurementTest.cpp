#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/ClockMeasurement.h"

namespace pelmora {
namespace {

// A performance counter that advances a fixed step per reading and a
// time-stamp counter running at a set number of cycles per count, which may
// change from pass to pass.
struct SimulatedClock {
    int64_t countsPerReading = 20;
    std::vector<double> cyclesPerCount;  // per pass; the last one holds on
    int64_t frequency = 10000000;

    int64_t counts = 0;
    int passes = 0;
    int passesEnded = 0;

    double rate() const
    {
        const size_t pass = static_cast<size_t>(passes > 0 ? passes - 1 : 0);
        return cyclesPerCount[std::min(pass, cyclesPerCount.size() - 1)];
    }

    ClockCounters counters()
    {
        ClockCounters c;
        c.performanceCounter = [this] { return counts += countsPerReading; };
        c.performanceFrequency = frequency;
        c.timeStampCounter = [this] { return static_cast<uint64_t>(std::llround(counts * rate())); };
        c.beforePass = [this] { ++passes; };
        c.afterPass = [this] { ++passesEnded; };
        return c;
    }
};

// At 10 MHz a pass counts 1000 counts = 100 µs, so N cycles per count
// make N × 10 MHz.
TEST(ClockMeasurement, ASteadyClockStopsAfterThreePasses)
{
    SimulatedClock clock{20, {300}};
    EXPECT_EQ(measureRawClockMHz(clock.counters()), 3000);
    EXPECT_EQ(clock.passes, 3);
    EXPECT_EQ(clock.passesEnded, 3);  // the priority is put back after every pass
}

TEST(ClockMeasurement, StopsOnceTheLastThreeEstimatesLieWithinOneMegahertzOfTheirMean)
{
    // Estimates 3000, 3010, 2990, 3001, 3000, 3000: passes 4 and 5 still
    // spread too far, pass 6 settles (mean 3000.33).
    SimulatedClock clock{20, {300, 301, 299, 300.1, 300, 300}};
    const int64_t mhz = measureRawClockMHz(clock.counters());
    EXPECT_EQ(clock.passes, 6);
    EXPECT_EQ(mhz, 3000);  // all cycles over all time: 1800100 / 600 µs
}

TEST(ClockMeasurement, AClockThatNeverSettlesStopsAfterTwentyPasses)
{
    std::vector<double> rates;
    for (int pass = 0; pass < 30; ++pass) rates.push_back(pass % 2 ? 310 : 290);
    SimulatedClock clock{20, rates};
    EXPECT_EQ(measureRawClockMHz(clock.counters()), 3000);
    EXPECT_EQ(clock.passes, 20);
}

TEST(ClockMeasurement, TheResultIsRoundedHalfToEven)
{
    SimulatedClock down{20, {299.25}};  // 2992.5 MHz
    EXPECT_EQ(measureRawClockMHz(down.counters()), 2992);
    SimulatedClock up{20, {299.35}};  // 2993.5 MHz
    EXPECT_EQ(measureRawClockMHz(up.counters()), 2994);
}

TEST(ClockMeasurement, MicrosecondsTruncateWithTheDesignedFormula)
{
    // An ACPI timer rate: 1000 counts are 279 µs by 1000 × 100000 div 357954.
    SimulatedClock clock{20, {838}};
    clock.frequency = 3579545;
    EXPECT_EQ(measureRawClockMHz(clock.counters()), 3004);  // 838000 / 279
}

TEST(ClockMeasurement, CountersThatCannotMeasureGiveZero)
{
    SimulatedClock stuck{0, {300}};
    EXPECT_EQ(measureRawClockMHz(stuck.counters()), 0);

    SimulatedClock slow{20, {300}};
    slow.frequency = 9;
    EXPECT_EQ(measureRawClockMHz(slow.counters()), 0);

    SimulatedClock fast{20, {1}};
    fast.frequency = 3000000000;  // 1000 counts truncate to 0 µs
    EXPECT_EQ(measureRawClockMHz(fast.counters()), 0);

    EXPECT_EQ(measureRawClockMHz(ClockCounters{}), 0);
}

}  // namespace
}  // namespace pelmora
