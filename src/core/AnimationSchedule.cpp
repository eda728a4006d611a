#include "core/AnimationSchedule.h"

#include <algorithm>
#include <chrono>

#include "core/BarGlide.h"

namespace pelmora {

AnimationSchedule::AnimationSchedule(Clock nowMs) : nowMs_(std::move(nowMs))
{
    if (!nowMs_) {
        nowMs_ = [] {
            using namespace std::chrono;
            return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        };
    }
}

bool AnimationSchedule::holds(const Animated* animated) const
{
    return std::any_of(moving_.begin(), moving_.end(),
                       [animated](const Entry& entry) { return entry.animated == animated; });
}

bool AnimationSchedule::wake(Animated* animated, Alive alive)
{
    bool stepped = false;
    if (moving_.empty()) {
        startMs_ = nowMs_();
        stepsDone_ = 0;
    } else {
        stepped = stepUpToNow();
    }
    if (!holds(animated)) moving_.push_back({animated, std::move(alive)});
    return stepped;
}

void AnimationSchedule::step()
{
    // advance() may wake other controls; work on a copy of the list. The
    // copy's storage is kept for the next step: a frame takes four steps or
    // more, and growing a fresh list each time was most of their cost. A
    // step inside a step (a wake-up from advance()) gets a list of its own.
    std::vector<Entry> stepping = std::move(spareList_);
    stepping.clear();
    stepping.swap(moving_);
    for (Entry& entry : stepping) {
        if (entry.exists() && entry.animated->advance() && !holds(entry.animated)) {
            moving_.push_back(std::move(entry));
        }
    }
    stepping.clear();
    spareList_ = std::move(stepping);
    ++stepsDone_;
}

bool AnimationSchedule::stepUpToNow()
{
    const int64_t due = elapsedMs() / BarGlide::kStepIntervalMs;
    if (stepsDone_ >= due) return false;
    while (stepsDone_ < due && !moving_.empty()) step();
    stepsDone_ = due;
    return true;
}

std::optional<int64_t> AnimationSchedule::msUntilNextFrame() const
{
    int anyChange = 0;
    int largeChange = 0;
    auto earliest = [](int& soonest, int steps) {
        if (steps > 0 && (soonest == 0 || steps < soonest)) soonest = steps;
    };
    for (const Entry& entry : moving_) {
        if (!entry.exists()) continue;
        earliest(anyChange, entry.animated->stepsUntilVisibleChange(kLookAheadSteps, 1));
        earliest(largeChange, entry.animated->stepsUntilVisibleChange(kLookAheadSteps, kLargeChange));
    }
    if (anyChange == 0) return std::nullopt;
    int next = std::max(anyChange, kStepsBeforeSmallChange);
    if (largeChange > 0) {
        next = std::min(next, std::max(largeChange, kMinStepsBetweenFrames));
    } else {
        // What is left moves by less than a large change: drawn once, where
        // each control has moved as far as it will (the glides are monotonic).
        for (const Entry& entry : moving_) {
            if (entry.exists())
                next = std::max(next, entry.animated->stepsUntilVisibleChange(kLookAheadSteps, 0));
        }
    }
    const int64_t wakeAtMs = (stepsDone_ + next) * BarGlide::kStepIntervalMs;
    return std::max<int64_t>(0, wakeAtMs - elapsedMs());
}

}  // namespace pelmora
