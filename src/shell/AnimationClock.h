#pragma once
// One 10 ms clock for every gliding control of the widget. It runs only while
// something still moves and stops as soon as everything has arrived, so an
// idle widget costs no timer wake-ups.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

namespace pelmora {

class Animated {
public:
    virtual ~Animated() = default;
    // Advances one step; returns whether it still moves afterwards.
    virtual bool advance() = 0;
};

class AnimationClock : public QObject {
    Q_OBJECT
public:
    explicit AnimationClock(QObject* parent = nullptr);

    // Starts stepping `animated` (a QObject, so a destroyed one is dropped).
    void wake(QObject* owner, Animated* animated);

    // One step of everything that moves; the timer calls it, benchmarks and
    // tests call it directly.
    void stepAll();

    bool isRunning() const { return timer_.isActive(); }
    int movingCount() const { return static_cast<int>(moving_.size()); }

private:
    struct Entry {
        QPointer<QObject> owner;
        Animated* animated;
    };
    std::vector<Entry> moving_;
    QTimer timer_;
};

}  // namespace pelmora
