#include "app/ui/QtWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "settings/WorkAreaFit.h"

namespace pelmora {

namespace {

// The show commands stored for a window: normal 1, minimised 2, maximised 3.
int32_t showCommand(const QWidget& window)
{
    if (window.isMinimized()) return 2;
    if (window.isMaximized()) return 3;
    return 1;
}

const QScreen* screenOf(const QWidget& window)
{
    return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

QSize screenSize(const QWidget& window)
{
    const QScreen* screen = screenOf(window);
    return screen ? screen->geometry().size() : QSize();
}

int32_t pixelsPerInch(const QWidget& window)
{
    const QScreen* screen = screenOf(window);
    return screen ? static_cast<int32_t>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

}  // namespace

QtWindowPlacement::QtWindowPlacement(QWidget& window, std::filesystem::path file, std::string section,
                                     bool restoreState)
    : window_(window), tracker_(std::move(file), std::move(section)), restoreState_(restoreState)
{
}

CurrentWindow QtWindowPlacement::current() const
{
    const QSize screen = screenSize(window_);
    CurrentWindow current;
    current.left = window_.x();
    current.top = window_.y();
    current.width = window_.width();
    current.height = window_.height();
    current.pixelsPerInch = pixelsPerInch(window_);
    current.screenWidth = screen.width();
    current.screenHeight = screen.height();
    current.sizeable = false;
    return current;
}

WindowPlacement QtWindowPlacement::placement() const
{
    WindowPlacement placement;
    placement.showCmd = showCommand(window_);
    placement.pixelsPerInch = pixelsPerInch(window_);
    // No separate minimised or maximised positions exist here.
    for (int32_t& value : placement.minMax) value = -1;
    const QRect frame = window_.frameGeometry();
    placement.norm[0] = frame.left();
    placement.norm[1] = frame.top();
    placement.norm[2] = frame.left() + frame.width();
    placement.norm[3] = frame.top() + frame.height();
    return placement;
}

void QtWindowPlacement::restore()
{
    const std::optional<RestoredPlacement> restored = tracker_.restore(current(), restoreState_);
    if (!restored) return;
    if (restored->geometry) window_.move(restored->geometry->left, restored->geometry->top);
    if (restored->state == WindowState::Minimised) window_.setWindowState(Qt::WindowMinimized);
    if (restored->state == WindowState::Maximised) window_.setWindowState(Qt::WindowMaximized);
}

void moveOntoAMonitor(QWidget& window)
{
    std::vector<WindowGeometry> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    const QRect frame = window.frameGeometry();
    const WindowGeometry fitted =
        fitOntoWorkAreas({frame.x(), frame.y(), frame.width(), frame.height()}, areas);
    if (fitted.left != frame.x() || fitted.top != frame.y()) window.move(fitted.left, fitted.top);
}

void QtWindowPlacement::saveOnClose()
{
    const QSize screen = screenSize(window_);
    tracker_.saveOnClose(placement(), screen.width(), screen.height());
}

void QtWindowPlacement::saveWhileShown()
{
    const QSize screen = screenSize(window_);
    tracker_.saveWhileShown(placement(), screen.width(), screen.height());
}

void QtWindowPlacement::saveOnDestroy()
{
    const QSize screen = screenSize(window_);
    tracker_.saveOnDestroy(placement(), screen.width(), screen.height());
}

}  // namespace pelmora
