#include "shell/AnimationClock.h"

#include <algorithm>

#include "shell/BarGlide.h"

namespace pelmora {

AnimationClock::AnimationClock(QObject* parent) : QObject(parent)
{
    timer_.setInterval(BarGlide::kStepIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnimationClock::stepAll);
}

namespace {

template <typename Entries>
bool holds(const Entries& entries, const Animated* animated)
{
    return std::any_of(entries.begin(), entries.end(),
                       [animated](const auto& entry) { return entry.animated == animated; });
}

}  // namespace

void AnimationClock::wake(QObject* owner, Animated* animated)
{
    if (!holds(moving_, animated)) moving_.push_back({owner, animated});
    if (!timer_.isActive()) timer_.start();
}

void AnimationClock::stepAll()
{
    // advance() may wake other controls; work on a copy of the list.
    std::vector<Entry> stepping;
    stepping.swap(moving_);
    for (const Entry& entry : stepping) {
        if (entry.owner && entry.animated->advance() && !holds(moving_, entry.animated)) {
            moving_.push_back(entry);
        }
    }
    if (moving_.empty()) timer_.stop();
}

}  // namespace pelmora
