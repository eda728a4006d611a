#pragma once
// When the gliding controls of the widget must be stepped and drawn. The
// glides step in exact 10 ms steps, but a front end's clock only wakes the
// process when some control's drawn pixels will change: this looks ahead,
// says how long to sleep until that step, and catches every glide up to the
// present on waking or whenever a control is read. Each front end drives it
// from its own single-shot timer and paints the boxes the controls report.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pelmora {

class Animated {
public:
    virtual ~Animated() = default;
    // Advances one step; returns whether it still moves afterwards.
    virtual bool advance() = 0;
    // How many steps from now until what is drawn has moved by `pixels` or
    // more where it moves most (a bar's fill edge, the needle's tip; any
    // drawn change counts as a pixel), looking at most `limit` steps ahead;
    // 0 when not within that. `pixels` 0: until it is drawn as it will stay.
    virtual int stepsUntilVisibleChange(int limit, int pixels) const = 0;
};

class AnimationSchedule {
public:
    static constexpr int kLookAheadSteps = 400;  // past any glide's arrival
    // At most one frame every four steps (25 per second, as film and
    // television show motion), and then only once some control has moved
    // by four pixels: jumps that small (about six minutes of arc from a
    // 96 dpi screen at arm's length) still read as motion at 8 frames a
    // second and more. The glide eases out: once every control moves by
    // less, what is left of the glides is drawn in one frame, once they have
    // moved as far as they will, and not before sixteen steps after the last
    // frame (a change of a percent, a pixel or two, takes one frame, not one
    // for each pixel). The positions themselves still move in exact 10 ms
    // steps, and every change is drawn in the end.
    static constexpr int kMinStepsBetweenFrames = 4;
    static constexpr int kLargeChange = 4;
    static constexpr int kStepsBeforeSmallChange = 16;

    using Clock = std::function<int64_t()>;  // monotonic milliseconds
    // Whether a mover still exists; a gone one is dropped at its next step.
    using Alive = std::function<bool()>;

    // Without a clock, the steady clock.
    explicit AnimationSchedule(Clock nowMs = {});

    // Starts stepping `animated`. The others are first caught up to the
    // present, so they move on from now; returns whether that took steps.
    bool wake(Animated* animated, Alive alive = {});
    // One step of everything that moves.
    void step();
    // Every moving control up to the present; false when no step was due.
    bool stepUpToNow();
    // How long to sleep until the next frame; nothing when no drawn pixel
    // will change any more (readings still catch up).
    std::optional<int64_t> msUntilNextFrame() const;

    bool isRunning() const { return !moving_.empty(); }
    int movingCount() const { return static_cast<int>(moving_.size()); }

private:
    struct Entry {
        Animated* animated;
        Alive alive;
        bool exists() const { return !alive || alive(); }
    };
    int64_t elapsedMs() const { return nowMs_() - startMs_; }
    bool holds(const Animated* animated) const;

    Clock nowMs_;
    std::vector<Entry> moving_;
    std::vector<Entry> spareList_;  // storage for step()'s copy of moving_
    int64_t startMs_ = 0;           // when an idle schedule got a mover
    int64_t stepsDone_ = 0;
};

}  // namespace pelmora
