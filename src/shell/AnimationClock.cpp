#include "shell/AnimationClock.h"

#include <QBackingStore>
#include <QElapsedTimer>
#include <QPaintEngine>
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
    for (const Box& box : changed_) {
        if (box.widget) box.widget->update(box.rect);
    }
    changed_.clear();
}

void AnimationClock::paintNow()
{
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
    QWidget* window = nullptr;
    for (const Box& box : changed_) {
        if (!box.widget || !box.painter) return false;
        if (!window) window = box.widget->window();
        if (box.widget->window() != window || coveredFromAbove(box.widget, box.rect)) return false;
    }
    QBackingStore* store = window->backingStore();
    const QWindow* handle = window->windowHandle();
    if (!window->isVisible() || !store || !handle || !handle->isExposed() ||
        store->size() != window->size() || store->paintDevice()->devicePixelRatio() != 1) {
        return false;
    }
    QRegion inWindow;
    for (const Box& box : changed_) inWindow += box.rect.translated(box.widget->mapTo(window, QPoint(0, 0)));
    store->beginPaint(inWindow);
    // Clipped as Qt clips a widget's paint, through the engine: a clip set
    // on the painter would draw the needle's thin antialiased outlines
    // another way, a shade off in places.
    QPaintDevice* device = store->paintDevice();
    QPaintEngine* engine = device->paintEngine();
    // A control's boxes follow one another: it draws once, clipped to all.
    for (auto first = changed_.begin(); first != changed_.end();) {
        const auto end = std::find_if(first, changed_.end(),
                                      [first](const Box& box) { return box.widget != first->widget; });
        const QPoint at = first->widget->mapTo(window, QPoint(0, 0));
        QRegion clip;
        for (auto box = first; box != end; ++box) clip += box->rect.translated(at);
        engine->setSystemClip(clip);
        QPainter painter(device);
        painter.translate(at);
        first->painter->paintFrame(painter);
        first = end;
    }
    engine->setSystemClip(QRegion());
    store->endPaint();
    store->flush(inWindow);
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
