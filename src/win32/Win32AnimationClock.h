#pragma once
// The shared animation schedule (core/AnimationSchedule) on a single-shot
// Win32 timer of the widget window: it wakes only when some control's drawn
// pixels change, then paints the changed boxes at once, in one pass.
#include <windows.h>

#include <vector>

#include "core/AnimationSchedule.h"
#include "win32/SurfaceItem.h"

namespace pelmora {

class Win32AnimationClock {
public:
    static constexpr UINT_PTR kTimerId = 3;

    // Changed boxes go to the window through `repaint`.
    explicit Win32AnimationClock(SurfaceRepaint& repaint, AnimationSchedule::Clock nowMs = {})
        : schedule_(std::move(nowMs)), repaint_(repaint)
    {
    }

    // The window whose timer and paints the clock uses.
    void setWindow(HWND window) { window_ = window; }

    void wake(Animated* animated);
    // Steps every moving control up to the present (a reading of a control).
    void catchUp();
    // The timer's tick: the steps since the last frame, painted at once.
    void frame();
    // `box` must be drawn again: by the next frame, or through the message
    // loop when the steps were not taken for a frame.
    void repaintLater(const RECT& box) { changed_.push_back(box); }

    bool isRunning() const { return schedule_.isRunning(); }
    bool isWaiting() const { return waiting_; }

private:
    void schedule();
    void invalidateChanged();

    AnimationSchedule schedule_;
    SurfaceRepaint& repaint_;
    std::vector<RECT> changed_;
    HWND window_ = nullptr;
    bool waiting_ = false;
};

}  // namespace pelmora
