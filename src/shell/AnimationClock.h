#pragma once
// One clock for every gliding control of the widget. The glides step in exact
// 10 ms steps, but the process is only woken when some control's drawn pixels
// will change: the clock looks ahead, sleeps until that step, then catches
// every glide up to the present. A reading of a control catches up too, so it
// always yields the exact position, and an idle widget costs no wake-ups.
// A frame paints the boxes that changed at once: straight into the window's
// backing store where the control covers them, else in one repaint per
// surface.
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/AnimationSchedule.h"

namespace pelmora {

// A control that covers the boxes it reports for a frame with its own
// drawing, nothing beneath showing through: a frame draws just the control,
// clipped to those boxes, into the window's backing store.
class FramePainter {
public:
    // Reports through AnimationClock::repaintLater the boxes that changed
    // since the last report, from what was drawn then to what is drawn now:
    // the steps in between were never shown. Every step of the clock ends
    // with a report, so a paint between them shows what was reported.
    virtual void reportChanges() = 0;
    // `painter` is in the control's coordinates and clipped to its boxes.
    virtual void paintFrame(QPainter& painter) = 0;

protected:
    ~FramePainter() = default;
};

// The shared schedule (core/AnimationSchedule) on a Qt timer, painting the
// boxes the controls report.
class AnimationClock : public QObject {
    Q_OBJECT
public:
    static constexpr int kLookAheadSteps = AnimationSchedule::kLookAheadSteps;
    static constexpr int kMinStepsBetweenFrames = AnimationSchedule::kMinStepsBetweenFrames;

    // `nowMs` (tests pass their own) is a monotonic time in milliseconds.
    explicit AnimationClock(QObject* parent = nullptr, std::function<qint64()> nowMs = {});

    // Starts stepping `animated` (a QObject, so a destroyed one is dropped).
    void wake(QObject* owner, Animated* animated);
    // One step of everything that moves; tests and benchmarks call it directly.
    void stepAll();
    // Steps every moving control up to the present.
    void catchUp();
    // The steps since the last frame: every moving control up to the
    // present, and the boxes that changed painted at once.
    void frame();

    // `control` (a widget) has changed: it reports its boxes once, when the
    // next frame paints or the steps were not taken for a frame.
    void changed(QWidget* widget, FramePainter* control);
    // `box` of `widget` must be drawn again: painted by the next frame, or
    // through the event loop when the steps were not taken for a frame.
    void repaintLater(QWidget* widget, const QRect& box);
    // The same for a box that `painter` (the control itself) covers whole:
    // a frame draws it without what lies beneath, unless a widget lies over
    // it or the window cannot take it (hidden, not yet painted).
    void repaintLater(QWidget* widget, FramePainter* painter, const QRect& box);

    // Whether anything still moves (numerically: its pixels may be settled).
    bool isRunning() const { return schedule_.isRunning(); }
    // Whether a wake-up is scheduled.
    bool isWaiting() const { return timer_.isActive(); }
    int movingCount() const { return schedule_.movingCount(); }

private:
    void schedule();
    void collectChanges();
    void updateLater();
    void paintNow();
    bool paintDirectly();
    void repaintSurfaces();

    struct Box {
        QPointer<QWidget> widget;
        QRect rect;
        FramePainter* painter = nullptr;  // only while `widget` exists
    };
    AnimationSchedule schedule_;
    std::vector<std::pair<QPointer<QWidget>, FramePainter*>> changedControls_;
    std::vector<Box> changed_;
    QTimer timer_;
};

}  // namespace pelmora
