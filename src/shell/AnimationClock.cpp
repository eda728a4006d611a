#include "shell/AnimationClock.h"

#include <QElapsedTimer>
#include <algorithm>
#include <memory>

namespace pelmora {

namespace {

AnimationSchedule::Clock elapsedClock()
{
    return [elapsed = std::make_shared<QElapsedTimer>()] {
        if (!elapsed->isValid()) elapsed->start();
        return elapsed->elapsed();
    };
}

}  // namespace

AnimationClock::AnimationClock(QObject* parent, std::function<qint64()> nowMs)
    : QObject(parent), schedule_(nowMs ? AnimationSchedule::Clock(std::move(nowMs)) : elapsedClock())
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnimationClock::frame);
}

void AnimationClock::wake(QObject* owner, Animated* animated)
{
    // The others move on from the present, not from their last wake-up.
    if (schedule_.wake(animated, [owner = QPointer<QObject>(owner)] { return !owner.isNull(); })) {
        updateLater();
    }
    schedule();
}

void AnimationClock::stepAll()
{
    schedule_.step();
    if (!schedule_.isRunning()) timer_.stop();
    updateLater();
}

void AnimationClock::catchUp()
{
    if (!schedule_.stepUpToNow()) return;
    updateLater();
    schedule();  // the next visible change is nearer now, or there is none
}

void AnimationClock::frame()
{
    schedule_.stepUpToNow();
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
    // One repaint per surface paints every changed box and what lies
    // beneath it, and sends the window's pixels to the screen once: no event
    // is posted, and no box is painted twice. The surface is the nearest
    // widget from the control up that paints its whole box, or the window:
    // Qt leaves whatever lies under an opaque child out of a repaint of its
    // parent, so the window of the widget, covered by its opaque surface,
    // would paint nothing.
    std::vector<std::pair<QWidget*, QRegion>> surfaces;
    for (const Box& box : changed_) {
        if (!box.widget) continue;
        QWidget* surface = box.widget;
        while (!surface->isWindow() && !surface->testAttribute(Qt::WA_OpaquePaintEvent)) {
            surface = surface->parentWidget();
        }
        const QRect inSurface = box.rect.translated(box.widget->mapTo(surface, QPoint(0, 0)));
        auto same = std::find_if(surfaces.begin(), surfaces.end(),
                                 [surface](const auto& entry) { return entry.first == surface; });
        if (same == surfaces.end()) {
            surfaces.emplace_back(surface, QRegion(inSurface));
        } else {
            same->second += inSurface;
        }
    }
    changed_.clear();
    for (const auto& [surface, region] : surfaces) surface->repaint(region);
}

void AnimationClock::schedule()
{
    if (const std::optional<int64_t> delayMs = schedule_.msUntilNextFrame()) {
        timer_.start(static_cast<int>(*delayMs));
    } else {
        timer_.stop();
    }
}

}  // namespace pelmora
