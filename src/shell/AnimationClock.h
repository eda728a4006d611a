#pragma once
// One clock for every gliding control of the widget. The glides step in exact
// 10 ms steps, but the process is only woken when some control's drawn pixels
// will change: the clock looks ahead, sleeps until that step, then catches
// every glide up to the present. A reading of a control catches up too, so it
// always yields the exact position, and an idle widget costs no wake-ups.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
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
    // At most one frame every three steps (33 per second): the eye sees no
    // difference, the processor does.
    static constexpr int kMinStepsBetweenFrames = 3;

    // `nowMs` (tests pass their own) is a monotonic time in milliseconds.
    explicit AnimationClock(QObject* parent = nullptr, std::function<qint64()> nowMs = {});

    // Starts stepping `animated` (a QObject, so a destroyed one is dropped).
    void wake(QObject* owner, Animated* animated);
    // One step of everything that moves; tests and benchmarks call it directly.
    void stepAll();
    // Steps every moving control up to the present.
    void catchUp();

    // Whether anything still moves (numerically: its pixels may be settled).
    bool isRunning() const { return !moving_.empty(); }
    // Whether a wake-up is scheduled.
    bool isWaiting() const { return timer_.isActive(); }
    int movingCount() const { return static_cast<int>(moving_.size()); }

private:
    void wakeUp();
    void schedule();
    qint64 dueSteps() const;

    struct Entry {
        QPointer<QObject> owner;
        Animated* animated;
    };
    std::vector<Entry> moving_;
    QTimer timer_;
    std::function<qint64()> nowMs_;
    qint64 startMs_ = 0;  // when an idle clock got a mover
    qint64 stepsDone_ = 0;
};

}  // namespace pelmora
