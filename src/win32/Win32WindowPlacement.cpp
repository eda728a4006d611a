#include "win32/Win32WindowPlacement.h"

#include <vector>

#include "settings/WorkAreaFit.h"

namespace pelmora {

namespace {

int32_t pixelsPerInch(HWND window)
{
    const UINT dpi = window ? ::GetDpiForWindow(window) : 0;
    return dpi ? static_cast<int32_t>(dpi) : 96;
}

SIZE screenSize()
{
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

BOOL CALLBACK noteWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<WindowGeometry>*>(areas)->push_back(
            {work.left, work.top, work.right - work.left, work.bottom - work.top});
    }
    return TRUE;
}

}  // namespace

CurrentWindow Win32WindowPlacement::current() const
{
    RECT box{};
    ::GetWindowRect(window_, &box);
    const SIZE screen = screenSize();
    CurrentWindow current;
    current.left = box.left;
    current.top = box.top;
    current.width = box.right - box.left;
    current.height = box.bottom - box.top;
    current.pixelsPerInch = pixelsPerInch(window_);
    current.screenWidth = screen.cx;
    current.screenHeight = screen.cy;
    return current;
}

WindowPlacement Win32WindowPlacement::placement() const
{
    WINDOWPLACEMENT system{};
    system.length = sizeof(system);
    ::GetWindowPlacement(window_, &system);
    WindowPlacement placement;
    placement.showCmd = ::IsIconic(window_) ? 2 : ::IsZoomed(window_) ? 3 : 1;
    placement.pixelsPerInch = pixelsPerInch(window_);
    placement.minMax[0] = system.ptMinPosition.x;
    placement.minMax[1] = system.ptMinPosition.y;
    placement.minMax[2] = system.ptMaxPosition.x;
    placement.minMax[3] = system.ptMaxPosition.y;
    // Where the window stands now: a tool window's placement rectangle is in
    // work-area coordinates, which differ from the screen's beside a taskbar.
    RECT box{};
    ::GetWindowRect(window_, &box);
    placement.norm[0] = box.left;
    placement.norm[1] = box.top;
    placement.norm[2] = box.right;
    placement.norm[3] = box.bottom;
    return placement;
}

void Win32WindowPlacement::restore()
{
    const std::optional<RestoredPlacement> restored = tracker_.restore(current(), restoreState_);
    if (!restored) return;
    if (restored->geometry) {
        ::SetWindowPos(window_, nullptr, restored->geometry->left, restored->geometry->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32WindowPlacement::saveWhileShown()
{
    const SIZE screen = screenSize();
    tracker_.saveWhileShown(placement(), screen.cx, screen.cy);
}

void Win32WindowPlacement::saveOnClose()
{
    const SIZE screen = screenSize();
    tracker_.saveOnClose(placement(), screen.cx, screen.cy);
}

void Win32WindowPlacement::saveOnDestroy()
{
    const SIZE screen = screenSize();
    tracker_.saveOnDestroy(placement(), screen.cx, screen.cy);
}

void moveOntoAMonitor(HWND window)
{
    std::vector<WindowGeometry> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, noteWorkArea, reinterpret_cast<LPARAM>(&areas));
    RECT box{};
    ::GetWindowRect(window, &box);
    const WindowGeometry fitted =
        fitOntoWorkAreas({box.left, box.top, box.right - box.left, box.bottom - box.top}, areas);
    if (fitted.left != box.left || fitted.top != box.top) {
        ::SetWindowPos(window, nullptr, fitted.left, fitted.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace pelmora
