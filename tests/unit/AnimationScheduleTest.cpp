#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/AnimationSchedule.h"
#include "core/BarDrawing.h"
#include "core/BarGlide.h"
#include "core/GaugeScale.h"

namespace pelmora {
namespace {

// A control whose drawing moves by a pixel in `oneAt` steps and by a large
// change in `largeAt` steps from now (0: not at all).
struct Mover : Animated {
    int oneAt = 0;
    int largeAt = 0;
    bool advance() override { return true; }
    int stepsUntilVisibleChange(int, int pixels) const override
    {
        return pixels >= AnimationSchedule::kLargeChange ? largeAt : oneAt;
    }
};

TEST(AnimationSchedule, DrawsASmallChangeLaterThanALargeOne)
{
    int64_t nowMs = 0;
    AnimationSchedule schedule([&nowMs] { return nowMs; });
    Mover mover;
    schedule.wake(&mover);
    mover.oneAt = 1;
    mover.largeAt = 2;
    EXPECT_EQ(schedule.msUntilNextFrame(), 40);  // at most 25 frames a second
    mover.largeAt = 6;
    EXPECT_EQ(schedule.msUntilNextFrame(), 60);
    mover.largeAt = 30;
    EXPECT_EQ(schedule.msUntilNextFrame(), 160);  // the small one waits, drawn with what follows
    mover.largeAt = 0;
    mover.oneAt = 20;
    EXPECT_EQ(schedule.msUntilNextFrame(), 200);
    mover.oneAt = 0;
    EXPECT_EQ(schedule.msUntilNextFrame(), std::nullopt);
}

// A glide that moves by less than a large change is drawn once, where it ends.
TEST(AnimationSchedule, DrawsWhatIsLeftOfAGlideOnceWhenItEnds)
{
    struct TwoPixels : Animated {
        bool advance() override { return true; }
        int stepsUntilVisibleChange(int, int pixels) const override
        {
            return pixels == 0 ? 25 : pixels < AnimationSchedule::kLargeChange ? 3 : 0;
        }
    } glide;
    AnimationSchedule schedule([] { return int64_t{0}; });
    schedule.wake(&glide);
    EXPECT_EQ(schedule.msUntilNextFrame(), 250);
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
    // 0: where the whole way is drawn.
    EXPECT_EQ(stepsUntilDrawnChange(falling, 20, 400, 0, width),
              stepsUntilDrawnChange(falling, 20, 400, 3, width));
    EXPECT_EQ(stepsUntilDrawnChange(BarGlide(10), 19, 400, 0, width), 0);
}

// The widget's processor bar (188 pixels) gliding by 20 %: each frame moves
// its fill edge by four pixels or more, or comes a full wait after the last
// one; none comes sooner than 40 ms after the last; the last shows the target.
TEST(AnimationSchedule, DrawsAGlideInJumpsOfSomePixels)
{
    struct Bar : Animated {
        BarGlide glide{30};
        int painted = barFillWidth(188, 30);
        bool advance() override { return glide.step(); }
        int stepsUntilVisibleChange(int limit, int pixels) const override
        {
            return stepsUntilDrawnChange(glide, painted, limit, pixels,
                                         [](double position) { return barFillWidth(188, position); });
        }
    } bar;
    int64_t nowMs = 0;
    AnimationSchedule schedule([&nowMs] { return nowMs; });
    bar.glide.setTarget(50);
    schedule.wake(&bar);
    std::vector<int64_t> gaps;
    while (const std::optional<int64_t> delayMs = schedule.msUntilNextFrame()) {
        nowMs += *delayMs;
        schedule.stepUpToNow();
        const int drawn = barFillWidth(188, bar.glide.position());
        const int64_t waitMs = AnimationSchedule::kStepsBeforeSmallChange * BarGlide::kStepIntervalMs;
        EXPECT_TRUE(std::abs(drawn - bar.painted) >= AnimationSchedule::kLargeChange || *delayMs >= waitMs)
            << "at " << nowMs << " ms";
        gaps.push_back(*delayMs);
        bar.painted = drawn;
    }
    EXPECT_EQ(bar.painted, barFillWidth(188, 50));
    EXPECT_EQ(*std::min_element(gaps.begin(), gaps.end()), 40);
    EXPECT_LE(gaps.size(), 8u);  // 37 pixels: 9 frames in jumps of three
}

TEST(GaugeScale, TheNeedleTurnsFurtherForAPixelTheShorterItIs)
{
    // The widget's needle tip is 21.3 pixels from the centre: 0.37 pixels a degree.
    EXPECT_EQ(gauge::needleTurnForTipTravel(1, 21.3), 1);  // any drawn turn
    EXPECT_EQ(gauge::needleTurnForTipTravel(3, 21.3), 9);
    EXPECT_EQ(gauge::needleTurnForTipTravel(3, 100), 2);
    EXPECT_EQ(gauge::needleTurnForTipTravel(3, 0), 1);  // a gauge not laid out yet
}

}  // namespace
}  // namespace pelmora
