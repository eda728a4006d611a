#include "win32/Win32AnimationClock.h"

#include <algorithm>

namespace pelmora {

void Win32AnimationClock::wake(Animated* animated)
{
    // The others move on from the present, not from their last wake-up.
    if (schedule_.wake(animated)) invalidateChanged();
    schedule();
}

void Win32AnimationClock::catchUp()
{
    if (!schedule_.stepUpToNow()) return;
    invalidateChanged();
    schedule();  // the next visible change is nearer now, or there is none
}

void Win32AnimationClock::frame()
{
    schedule_.stepUpToNow();
    invalidateChanged();
    // Paints the invalid boxes now, in one pass, without waiting for the queue.
    if (window_) ::UpdateWindow(window_);
    schedule();
}

void Win32AnimationClock::invalidateChanged()
{
    for (const RECT& box : changed_) repaint_.repaintLater(box);
    changed_.clear();
}

void Win32AnimationClock::schedule()
{
    const std::optional<int64_t> delayMs = schedule_.msUntilNextFrame();
    waiting_ = delayMs.has_value() && window_;
    if (!window_) return;
    if (!delayMs) {
        ::KillTimer(window_, kTimerId);
        return;
    }
    // A timer of 0 ms fires at the system's shortest interval.
    ::SetTimer(window_, kTimerId, static_cast<UINT>(std::max<int64_t>(*delayMs, USER_TIMER_MINIMUM)),
               nullptr);
}

}  // namespace pelmora
