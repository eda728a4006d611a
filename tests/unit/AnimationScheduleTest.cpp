#include <gtest/gtest.h>

#include "core/AnimationSchedule.h"
#include "core/BarDrawing.h"
#include "core/BarGlide.h"

namespace pelmora {
namespace {

// A control whose drawn value moves by one in `oneAt` steps and by two in
// `twoAt` steps from now (0: not at all).
struct Mover : Animated {
    int oneAt = 0;
    int twoAt = 0;
    bool advance() override { return true; }
    int stepsUntilVisibleChange(int, int units) const override { return units >= 2 ? twoAt : oneAt; }
};

TEST(AnimationSchedule, DrawsAChangeOfOneLaterThanALargerOne)
{
    int64_t nowMs = 0;
    AnimationSchedule schedule([&nowMs] { return nowMs; });
    Mover mover;
    schedule.wake(&mover);
    mover.oneAt = 1;
    mover.twoAt = 2;
    EXPECT_EQ(schedule.msUntilNextFrame(), 40);  // at most 25 frames a second
    mover.twoAt = 6;
    EXPECT_EQ(schedule.msUntilNextFrame(), 60);
    mover.twoAt = 30;
    EXPECT_EQ(schedule.msUntilNextFrame(), 120);  // the one waits, drawn with what follows
    mover.twoAt = 0;
    mover.oneAt = 20;
    EXPECT_EQ(schedule.msUntilNextFrame(), 200);
    mover.oneAt = 0;
    EXPECT_EQ(schedule.msUntilNextFrame(), std::nullopt);
}

TEST(AnimationSchedule, LooksAheadForAChangeOfSomePixels)
{
    // A 188 pixel bar's fill: 19 pixels at 10 %, 20 past 10.48 %.
    const auto width = [](double position) { return barFillWidth(188, position); };
    BarGlide rising(10);
    rising.setTarget(11);
    EXPECT_EQ(stepsUntilDrawnChange(rising, 19, 400, 1, width), 10);
    EXPECT_EQ(stepsUntilDrawnChange(rising, 19, 400, 2, width), 0);  // never two pixels
    BarGlide falling(11);
    falling.setTarget(9);  // 20 pixels down to 17
    EXPECT_GT(stepsUntilDrawnChange(falling, 20, 400, 2, width),
              stepsUntilDrawnChange(falling, 20, 400, 1, width));
}

}  // namespace
}  // namespace pelmora
