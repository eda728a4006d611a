#include "shell/AnimationClock.h"

#include <algorithm>
#include <memory>

#include "shell/BarGlide.h"

namespace pelmora {

AnimationClock::AnimationClock(QObject* parent, std::function<qint64()> nowMs)
    : QObject(parent), nowMs_(std::move(nowMs))
{
    if (!nowMs_) {
        nowMs_ = [elapsed = std::make_shared<QElapsedTimer>()] {
            if (!elapsed->isValid()) elapsed->start();
            return elapsed->elapsed();
        };
    }
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnimationClock::frame);
}

namespace {

template <typename Entries>
bool holds(const Entries& entries, const Animated* animated)
{
    return std::any_of(entries.begin(), entries.end(),
                       [animated](const auto& entry) { return entry.animated == animated; });
}

}  // namespace

qint64 AnimationClock::dueSteps() const
{
    return (nowMs_() - startMs_) / BarGlide::kStepIntervalMs;
}

void AnimationClock::wake(QObject* owner, Animated* animated)
{
    if (moving_.empty()) {
        startMs_ = nowMs_();
        stepsDone_ = 0;
    } else {
        catchUp();  // the others move on from the present, not from their last wake-up
    }
    if (!holds(moving_, animated)) moving_.push_back({owner, animated});
    schedule();
}

void AnimationClock::stepAll()
{
    step();
    updateLater();
}

void AnimationClock::step()
{
    // advance() may wake other controls; work on a copy of the list.
    std::vector<Entry> stepping;
    stepping.swap(moving_);
    for (const Entry& entry : stepping) {
        if (entry.owner && entry.animated->advance() && !holds(moving_, entry.animated)) {
            moving_.push_back(entry);
        }
    }
    ++stepsDone_;
    if (moving_.empty()) timer_.stop();
}

bool AnimationClock::stepUpToNow()
{
    const qint64 due = dueSteps();
    if (stepsDone_ >= due) return false;
    while (stepsDone_ < due && !moving_.empty()) step();
    stepsDone_ = due;
    return true;
}

void AnimationClock::catchUp()
{
    if (!stepUpToNow()) return;
    updateLater();
    schedule();  // the next visible change is nearer now, or there is none
}

void AnimationClock::frame()
{
    stepUpToNow();
    paintNow();
    schedule();
}

void AnimationClock::repaintLater(QWidget* widget, const QRect& box)
{
    changed_.push_back({widget, box});
}

void AnimationClock::updateLater()
{
    for (const Box& box : changed_) {
        if (box.widget) box.widget->update(box.rect);
    }
    changed_.clear();
}

void AnimationClock::paintNow()
{
    // One repaint per window paints every changed box and what lies beneath
    // it, and sends the window's pixels to the screen once: no event is
    // posted, and no box is painted twice.
    std::vector<std::pair<QWidget*, QRegion>> windows;
    for (const Box& box : changed_) {
        if (!box.widget) continue;
        QWidget* window = box.widget->window();
        const QRect inWindow = box.rect.translated(box.widget->mapTo(window, QPoint(0, 0)));
        auto same = std::find_if(windows.begin(), windows.end(),
                                 [window](const auto& entry) { return entry.first == window; });
        if (same == windows.end()) {
            windows.emplace_back(window, QRegion(inWindow));
        } else {
            same->second += inWindow;
        }
    }
    changed_.clear();
    for (const auto& [window, region] : windows) window->repaint(region);
}

void AnimationClock::schedule()
{
    int next = 0;
    for (const Entry& entry : moving_) {
        if (!entry.owner) continue;
        const int steps = entry.animated->stepsUntilVisibleChange(kLookAheadSteps);
        if (steps > 0 && (next == 0 || steps < next)) next = steps;
    }
    if (next == 0) {
        // Nothing will look different any more; readings still catch up.
        timer_.stop();
        return;
    }
    next = std::max(next, kMinStepsBetweenFrames);
    const qint64 wakeAtMs = (stepsDone_ + next) * BarGlide::kStepIntervalMs;
    timer_.start(static_cast<int>(std::max<qint64>(0, wakeAtMs - (nowMs_() - startMs_))));
}

}  // namespace pelmora
