#include "shell/AnimationClock.h"

#include <QBackingStore>
#include <QElapsedTimer>
#include <QPaintEngine>
#include <QVarLengthArray>
#include <QWindow>
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

// Whether a visible widget stacked above `widget` (or above one of its
// ancestors) overlaps `box`, in `widget`'s coordinates.
bool coveredFromAbove(const QWidget* widget, QRect box)
{
    for (; !widget->isWindow(); widget = widget->parentWidget()) {
        box.translate(widget->pos());
        const QObjectList& siblings = widget->parentWidget()->children();
        for (qsizetype i = siblings.size() - 1; i >= 0 && siblings[i] != widget; --i) {
            if (!siblings[i]->isWidgetType()) continue;
            const auto* sibling = static_cast<const QWidget*>(siblings[i]);
            if (!sibling->isWindow() && sibling->isVisible() && sibling->geometry().intersects(box))
                return true;
        }
    }
    return false;
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

void AnimationClock::changed(QWidget* widget, FramePainter* control)
{
    const bool listed = std::any_of(changedControls_.begin(), changedControls_.end(),
                                    [widget](const auto& entry) { return entry.first == widget; });
    if (!listed) changedControls_.emplace_back(widget, control);
}

void AnimationClock::collectChanges()
{
    for (const auto& [widget, control] : changedControls_) {
        if (widget) control->reportChanges();
    }
    changedControls_.clear();
}

void AnimationClock::repaintLater(QWidget* widget, const QRect& box)
{
    changed_.push_back({widget, box});
}

void AnimationClock::repaintLater(QWidget* widget, FramePainter* painter, const QRect& box)
{
    changed_.push_back({widget, box, painter});
}

void AnimationClock::updateLater()
{
    collectChanges();
    for (const Box& box : changed_) {
        if (box.widget) box.widget->update(box.rect);
    }
    changed_.clear();
}

void AnimationClock::paintNow()
{
    collectChanges();
    if (changed_.empty()) return;
    if (!paintDirectly()) repaintSurfaces();
    changed_.clear();
}

bool AnimationClock::paintDirectly()
{
    // Each box is drawn by its control alone, straight into the window's
    // backing store, and the boxes are sent to the screen at once: nothing
    // beneath a control is painted, and no event is sent. Only where the
    // control covers the box and nothing lies over it, in a window on screen.
    QWidget* window = changed_.front().widget ? changed_.front().widget->window() : nullptr;
    if (!window) return false;
    QVarLengthArray<QRect, 8> inWindow;
    for (const Box& box : changed_) {
        if (!box.widget || !box.painter || box.widget->window() != window ||
            coveredFromAbove(box.widget, box.rect)) {
            return false;
        }
        inWindow.append(box.rect.translated(box.widget->mapTo(window, QPoint(0, 0))));
    }
    QBackingStore* store = window->backingStore();
    const QWindow* handle = window->windowHandle();
    if (!window->isVisible() || !store || !handle || !handle->isExposed() ||
        store->size() != window->size() || store->paintDevice()->devicePixelRatio() != 1) {
        return false;
    }
    // One painter draws every control, clipped to all the boxes: so no
    // control may reach into another's box.
    for (const Box& box : changed_) {
        const QRect own(box.widget->mapTo(window, QPoint(0, 0)), box.widget->size());
        for (qsizetype i = 0; i < inWindow.size(); ++i) {
            if (changed_[i].widget != box.widget && own.intersects(inWindow[i])) return false;
        }
    }
    QRegion clip;
    for (const QRect& rect : inWindow) clip += rect;
    store->beginPaint(clip);
    // Clipped as Qt clips a widget's paint, through the engine: a clip set
    // on the painter would draw the needle's thin antialiased outlines
    // another way, a shade off in places.
    QPaintDevice* device = store->paintDevice();
    device->paintEngine()->setSystemClip(clip);
    {
        QPainter painter(device);
        for (auto box = changed_.begin(); box != changed_.end(); ++box) {
            const auto same = [&box](const Box& earlier) { return earlier.widget == box->widget; };
            if (std::any_of(changed_.begin(), box, same)) continue;  // drawn once for all its boxes
            painter.save();
            painter.translate(box->widget->mapTo(window, QPoint(0, 0)));
            box->painter->paintFrame(painter);
            painter.restore();
        }
    }
    device->paintEngine()->setSystemClip(QRegion());
    store->endPaint();
    store->flush(clip);
    return true;
}

void AnimationClock::repaintSurfaces()
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
