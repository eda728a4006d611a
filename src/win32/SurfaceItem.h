#pragma once
// One control of the widget window as the window sees it: a box it paints
// into the window's back buffer, in the layout's stacking order. Controls
// that change ask their window to repaint boxes through SurfaceRepaint.
// clang-format off
#include <windows.h>
#include <objidl.h>  // GDI+ needs it, and the lean windows.h leaves it out
#include <gdiplus.h>
// clang-format on

namespace pelmora {

class SurfaceRepaint {
public:
    virtual ~SurfaceRepaint() = default;
    // `box` (window pixels) is to be painted again through the message loop.
    virtual void repaintLater(const RECT& box) = 0;
};

class SurfaceItem {
public:
    SurfaceItem(const char* name, const RECT& box) : name_(name), box_(box) {}
    virtual ~SurfaceItem() = default;
    SurfaceItem(const SurfaceItem&) = delete;
    SurfaceItem& operator=(const SurfaceItem&) = delete;

    const char* name() const { return name_; }
    virtual RECT bounds() const { return box_; }
    virtual bool shown() const { return true; }
    // Paints the item in window coordinates, clipped by the caller.
    virtual void paint(HDC dc, Gdiplus::Graphics& graphics) = 0;

    // Mouse over the window: true when the item wants a repaint.
    virtual bool setHovered(bool) { return false; }
    virtual bool setPressed(bool) { return false; }
    // The hand cursor over links and buttons.
    virtual bool pointsAtSomething() const { return false; }

protected:
    const char* name_;
    RECT box_;
};

inline RECT rectOf(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

}  // namespace pelmora
