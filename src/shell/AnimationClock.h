#pragma once
// One clock for every gliding control of the widget. The glides step in exact
// 10 ms steps, but the process is only woken when some control's drawn pixels
// will change: the clock looks ahead, sleeps until that step, then catches
// every glide up to the present. A reading of a control catches up too, so it
// always yields the exact position, and an idle widget costs no wake-ups.
// A frame paints the boxes that changed at once, in one pass per window.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

namespace pelmora {

class Animated {
public:
    virtual ~Animated() = default;
    // Advances one step; returns whether it still moves afterwards.
    virtual bool advance() = 0;
    // How many steps from now until the drawn pixels change, looking at most
    // `limit` steps ahead; 0 when they do not change within that.
    virtual int stepsUntilVisibleChange(int limit) const = 0;
};

class AnimationClock : public QObject {
    Q_OBJECT
public:
    static constexpr int kLookAheadSteps = 400;  // past any glide's arrival
    // At most one frame every four steps (25 per second, as film and
    // television show motion): the glide eases out, so after the first frame
    // the steps between drawn pixels are longer than that anyway, and the
    // positions themselves still move in exact 10 ms steps.
    static constexpr int kMinStepsBetweenFrames = 4;

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

    // `box` of `widget` must be drawn again: painted by the next frame, or
    // through the event loop when the steps were not taken for a frame.
    void repaintLater(QWidget* widget, const QRect& box);

    // Whether anything still moves (numerically: its pixels may be settled).
    bool isRunning() const { return !moving_.empty(); }
    // Whether a wake-up is scheduled.
    bool isWaiting() const { return timer_.isActive(); }
    int movingCount() const { return static_cast<int>(moving_.size()); }

private:
    void step();
    bool stepUpToNow();
    void schedule();
    qint64 dueSteps() const;
    void updateLater();
    void paintNow();

    struct Entry {
        QPointer<QObject> owner;
        Animated* animated;
    };
    struct Box {
        QPointer<QWidget> widget;
        QRect rect;
    };
    std::vector<Entry> moving_;
    std::vector<Box> changed_;
    QTimer timer_;
    std::function<qint64()> nowMs_;
    qint64 startMs_ = 0;  // when an idle clock got a mover
    qint64 stepsDone_ = 0;
};

}  // namespace pelmora
