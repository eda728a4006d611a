#pragma once
// The glide of a bar (and of the gauge's needle): a new position is not shown
// at once; every 10 ms step moves the shown position one fifteenth of the way
// that remains. Plain arithmetic, so it can be stepped without timers.

namespace pelmora {

class BarGlide {
public:
    static constexpr double kMinimum = 0.0;
    static constexpr double kMaximum = 100.0;
    static constexpr double kStepFraction = 1.0 / 15.0;
    static constexpr double kMinStep = 0.000001;  // also the snapping distance
    static constexpr int kStepIntervalMs = 10;

    explicit BarGlide(double shown = kMinimum);

    // Clamps into 0..100. A value that is not a number is ignored: it would
    // never arrive and keep the animation running forever.
    void setTarget(double position);
    double target() const { return target_; }

    // The shown position: what a reading of the bar yields.
    double position() const { return shown_; }
    bool moving() const { return shown_ != target_; }

    // One 10 ms step; returns whether the glide still moves afterwards.
    bool step();

private:
    double target_;
    double shown_;
};

// How many steps from `glide`'s present until `drawn(position)` differs from
// `painted` (a control's drawn pixel width or needle angle) by `units` or
// more, looking at most `limit` steps ahead; 0 when it does not within that.
// `units` 0 asks for the step where it is drawn as at the target.
// The glide moves monotonically to its target and `drawn` must grow or
// shrink with the position: when the target is drawn within `units` of
// `painted`, so is every position on the way, and the search ends at once.
template <typename Drawn>
int stepsUntilDrawnChange(BarGlide glide, int painted, int limit, int units, Drawn drawn)
{
    const int atTarget = drawn(glide.target()) - painted;
    if (units == 0) units = atTarget < 0 ? -atTarget : atTarget;
    if (units == 0) return 0;
    if (atTarget < units && -atTarget < units) return 0;
    for (int steps = 1; steps <= limit; ++steps) {
        const bool moving = glide.step();
        const int change = drawn(glide.position()) - painted;
        if (change >= units || -change >= units) return steps;
        if (!moving) break;
    }
    return 0;
}

}  // namespace pelmora
