#pragma once
// Every control of the widget window, built by walking the layout table, in
// its stacking order: the controls the readings write (WidgetControls), what
// lies under a point, and painting a box of the window.
#include <memory>
#include <string_view>
#include <vector>

#include "core/WidgetControls.h"
#include "win32/LayoutFonts.h"
#include "win32/SurfaceItem.h"
#include "win32/Win32AnimationClock.h"

namespace pelmora {

class WidgetSurface {
public:
    // `nowMs` drives the animation clock (tests pass their own).
    explicit WidgetSurface(SurfaceRepaint& repaint, AnimationSchedule::Clock nowMs = {});
    ~WidgetSurface();

    WidgetControls& controls() { return controls_; }
    Win32AnimationClock& clock() { return clock_; }

    // The topmost shown control whose box holds the point; null for the
    // window's bare surface.
    SurfaceItem* itemAt(POINT point) const;
    SurfaceItem* item(std::string_view name) const;

    // Paints the box `clip` of the window into `dc` (the window's back
    // buffer): the colour key first, then every control that reaches into it.
    void paint(HDC dc, const RECT& clip) const;

private:
    Win32AnimationClock clock_;
    LayoutFonts fonts_;  // before the items: the labels hold its fonts
    std::vector<std::unique_ptr<SurfaceItem>> items_;
    WidgetControls controls_;
};

}  // namespace pelmora
