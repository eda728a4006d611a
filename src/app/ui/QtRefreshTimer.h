#pragma once
#include <QTimer>

#include "readings/RefreshCycle.h"

namespace pelmora {

// The refresh cycle's timer on the user-interface thread. Enabling restarts
// the countdown, so the next tick comes a full interval after this one ends.
class QtRefreshTimer : public RefreshTimer {
public:
    QtRefreshTimer()
    {
        timer_.setTimerType(Qt::CoarseTimer);  // a second's refresh needs no precision
        timer_.setInterval(static_cast<int>(kDesignRefreshIntervalMs));
    }
    void setEnabled(bool enabled) override
    {
        if (enabled)
            timer_.start();
        else
            timer_.stop();
    }
    void setInterval(uint32_t milliseconds) override { timer_.setInterval(static_cast<int>(milliseconds)); }
    QTimer& timer() { return timer_; }

private:
    QTimer timer_;
};

}  // namespace pelmora
