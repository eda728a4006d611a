#include "win32/VantelMainForm.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/Startup.h"
#include "core/LayoutTable.h"
#include "platform/windows/WindowsInstanceLocator.h"
#include "settings/PlacementFile.h"
#include "win32/BackForm.h"
#include "win32/WindowClass.h"
#include "win32/dialog/SettingsForm.h"

namespace pelmora {

namespace {

constexpr UINT_PTR kStayOnTopTimerId = 2;
constexpr UINT kStayOnTopDelayMs = 10;

DragButton dragButton(UINT message)
{
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return DragButton::Left;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return DragButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return DragButton::Middle;
        default:
            return DragButton::Other;
    }
}

bool named(const SurfaceItem* item, std::string_view name)
{
    return item && name == item->name();
}

}  // namespace

VantelMainForm::VantelMainForm(const Dependencies& dependencies)
    : deps_(dependencies), placement_(dependencies.placementFile, kMainWindowSection, false)
{
    registerWindowClass(kClassName, &VantelMainForm::windowProc);
    const layout::Box size = layout::kWindow;
    // Created at the system's scale; a monitor of another scale resizes it.
    const double systemScale = ::GetDpiForSystem() / 96.0;
    window_ = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kClassName, L"Pelmora", WS_POPUP, 0, 0,
                                scaledLength(size.width, systemScale), scaledLength(size.height, systemScale),
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    const layout::Rgb key = layout::kColourKey;
    ::SetLayeredWindowAttributes(window_, RGB(key.red, key.green, key.blue), layout::kWindowOpacity,
                                 LWA_COLORKEY | LWA_ALPHA);
    backBuffer_ = DibCanvas(size.width, size.height);
    surface_ = std::make_unique<WidgetSurface>(static_cast<SurfaceRepaint&>(*this));
    surface_->clock().setWindow(window_);
    applyScale(::GetDpiForWindow(window_));
    refreshTimer_.setWindow(window_);
    placement_.setWindow(window_);
    trayIcon_ = std::make_unique<TrayIcon>(window_, kTrayCallbackMessage, kApplicationTitle,
                                           [this] { TrayIconDblClick(); });
    trayIcon_->show();
    comeBackMessage_ = ::RegisterWindowMessageW(kComeBackMessage);
    // The flag follows the menu's check 10 ms after the start.
    ::SetTimer(window_, kStayOnTopTimerId, kStayOnTopDelayMs, nullptr);

    // Creation, in order: the monitor thread, the processor label, the first refresh.
    readings_ =
        std::make_unique<ReadingsEngine>(deps_.services, deps_.store, surface_->controls(), refreshTimer_);
    readings_->showProcessorNameAndClock();
    RefreshTimerTimer();
}

VantelMainForm::~VantelMainForm()
{
    refreshTimer_.setEnabled(false);
    readings_.reset();  // stops the monitor thread and waits for it
    trayIcon_.reset();  // out of the notification area before its window goes
    if (window_) {
        placement_.saveOnDestroy();  // only when not saved on closing (the session ended)
        ::DestroyWindow(window_);
    }
}

void VantelMainForm::setBackForm(BackForm* backForm)
{
    backForm_ = backForm;
    backForm_->setScale(scale_);
    backForm_->setWidgetWindow(window_, [this] { applyStacking(); });
    backForm_->onWidgetInput([this](UINT message, POINT client) { return backdropInput(message, client); });
}

void VantelMainForm::FormShow()
{
    placement_.restore();
    if (backForm_) {
        RECT back{};
        ::GetWindowRect(backForm_->handle(), &back);
        ::SetWindowPos(window_, nullptr, back.left, back.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // Shown active once, as the widget is: a window manager then keeps
        // both in the same stacking, not the backdrop above every window.
        ::ShowWindow(backForm_->handle(), SW_SHOW);
    }
    ::ShowWindow(window_, SW_SHOW);
    applyStacking();
    ::SetForegroundWindow(window_);
}

LRESULT CALLBACK VantelMainForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<VantelMainForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->window_ || !self->surface_) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT VantelMainForm::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (trayIcon_ && trayIcon_->handleMessage(message, wParam, lParam)) return 0;
    if (message == comeBackMessage_ && comeBackMessage_ != 0) {
        TrayIconDblClick();
        return 0;
    }
    const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_TIMER:
            if (wParam == Win32RefreshTimer::kTimerId) RefreshTimerTimer();
            if (wParam == kStayOnTopTimerId) StayOnTopTimerTimer();
            if (wParam == Win32AnimationClock::kTimerId) surface_->clock().frame();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            mouseDown(message, client);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            mouseUp(message, client);
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(client);
            return 0;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            hover(nullptr);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && pointerOverLink()) {
                ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
                return TRUE;
            }
            break;
        case WM_CLOSE:
            closeForm();
            return 0;
        case WM_DPICHANGED: {
            // Moved onto a monitor of another scale: both windows follow it.
            applyScale(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (backForm_) {
                ::SetWindowPos(backForm_->handle(), nullptr, suggested->left, suggested->top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        }
        case WM_QUERYENDSESSION:
            // The session may end without a close: keep the place now.
            placement_.saveWhileShown();
            return TRUE;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void VantelMainForm::applyScale(UINT dpi)
{
    const double scale = dpi ? dpi / 96.0 : 1.0;
    scale_ = scale;
    const layout::Box size = layout::kWindow;
    ::SetWindowPos(window_, nullptr, 0, 0, scaledLength(size.width, scale), scaledLength(size.height, scale),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    scaledBuffer_ = scale == 1.0
                        ? DibCanvas()
                        : DibCanvas(scaledLength(size.width, scale), scaledLength(size.height, scale));
    if (backForm_) backForm_->setScale(scale);
    ::InvalidateRect(window_, nullptr, FALSE);
}

POINT VantelMainForm::layoutPoint(POINT client) const
{
    return {static_cast<LONG>(client.x / scale_), static_cast<LONG>(client.y / scale_)};
}

void VantelMainForm::repaintLater(const RECT& box)
{
    // Whole window pixels around the box, whatever the scale.
    const RECT scaled{static_cast<LONG>(box.left * scale_), static_cast<LONG>(box.top * scale_),
                      static_cast<LONG>(box.right * scale_ + 1), static_cast<LONG>(box.bottom * scale_ + 1)};
    ::InvalidateRect(window_, &scaled, FALSE);
}

void VantelMainForm::paint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window_, &paint);
    // The layout's pixels under the box, drawn at the layout's size, then
    // repeated to the monitor's scale (never blended: the colour key stays).
    const RECT& dirty = paint.rcPaint;
    const RECT box{static_cast<LONG>(dirty.left / scale_), static_cast<LONG>(dirty.top / scale_),
                   std::min<LONG>(static_cast<LONG>(dirty.right / scale_) + 1, backBuffer_.width()),
                   std::min<LONG>(static_cast<LONG>(dirty.bottom / scale_) + 1, backBuffer_.height())};
    if (!backBuffer_.isNull() && !::IsRectEmpty(&box)) {
        surface_->paint(backBuffer_.dc(), box);
        if (scale_ == 1.0) {
            ::BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, backBuffer_.dc(),
                     box.left, box.top, SRCCOPY);
        } else if (!scaledBuffer_.isNull()) {
            copyScaled(backBuffer_, scaledBuffer_, dirty, scale_);
            ::BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                     scaledBuffer_.dc(), dirty.left, dirty.top, SRCCOPY);
        }
    }
    ::EndPaint(window_, &paint);
}

void VantelMainForm::mouseDown(UINT message, POINT client)
{
    SurfaceItem* item = surface_->itemAt(layoutPoint(client));
    if (!item) {
        // The window's bare surface drags both windows.
        if (backForm_) backForm_->mouseDown(dragButton(message), client);
        return;
    }
    if (message == WM_LBUTTONDOWN && item->pointsAtSomething()) {
        pressed_ = item;
        if (item->setPressed(true)) repaintLater(item->bounds());
        ::SetCapture(window_);
    }
}

void VantelMainForm::mouseUp(UINT message, POINT client)
{
    if (backForm_) backForm_->mouseUp(dragButton(message));
    SurfaceItem* item = surface_->itemAt(layoutPoint(client));
    if (message == WM_RBUTTONUP && named(item, "Image2")) {
        // The menu belongs to the uncovered body picture only.
        POINT screen = client;
        ::ClientToScreen(window_, &screen);
        switch (popupMenu_.popup(window_, screen)) {
            case PopupMenu::StayOnTop:
                Stayontop1Click();
                break;
            case PopupMenu::Close:
                Close1Click();
                break;
            case PopupMenu::None:
                break;
        }
        return;
    }
    if (message != WM_LBUTTONUP || !pressed_) return;
    SurfaceItem* pressed = pressed_;
    pressed_ = nullptr;
    if (::GetCapture() == window_) ::ReleaseCapture();
    if (pressed->setPressed(false)) repaintLater(pressed->bounds());
    // A click is a left press and release on the same control.
    if (item == pressed) click(*pressed);
}

void VantelMainForm::mouseMove(POINT client)
{
    if (backForm_) backForm_->mouseMove();
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    hover(surface_->itemAt(layoutPoint(client)));
}

bool VantelMainForm::backdropInput(UINT message, POINT client)
{
    // Both windows stand at one place: the client points are the same.
    switch (message) {
        case WM_MOUSEMOVE:
            hover(surface_->itemAt(layoutPoint(client)));
            return false;  // the backdrop tracks its own moves
        case WM_SETCURSOR:
            if (!pointerOverLink()) return false;
            ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
            return true;
        case WM_LBUTTONDOWN: {
            const SurfaceItem* item = surface_->itemAt(layoutPoint(client));
            if (!item || !item->pointsAtSomething()) return false;
            mouseDown(message, client);
            return true;
        }
        default:
            return false;
    }
}

void VantelMainForm::hover(SurfaceItem* item)
{
    if (item == hovered_) return;
    if (hovered_ && hovered_->setHovered(false)) repaintLater(hovered_->bounds());
    hovered_ = item;
    if (hovered_ && hovered_->setHovered(true)) repaintLater(hovered_->bounds());
}

void VantelMainForm::click(const SurfaceItem& item)
{
    if (named(&item, "btnMinimize")) btnMinimizeClick();
    if (named(&item, "btnClose")) Close1Click();
    if (named(&item, "imgSettings")) imgSettingsClick();
    if (named(&item, "Image1")) Image1Click();
}

void VantelMainForm::RefreshTimerTimer()
{
    readings_->RefreshTimerTimer();
}

void VantelMainForm::StayOnTopTimerTimer()
{
    ::KillTimer(window_, kStayOnTopTimerId);
    stayOnTopPending_ = false;
    stayOnTop_ = true;
    applyStacking();
}

void VantelMainForm::Stayontop1Click()
{
    stayOnTop_ = !stayOnTop_;
    popupMenu_.setStayOnTopChecked(stayOnTop_);
    applyStacking();
}

void VantelMainForm::applyStacking()
{
    if (!backForm_) return;
    if (stayOnTopPending_) {
        // Not yet on top: only the widget above its backdrop.
        ::SetWindowPos(backForm_->handle(), window_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND back = backForm_->handle();
    if (stayOnTop_) {
        // Both in the topmost band, the widget directly above its backdrop.
        ::SetWindowPos(back, HWND_TOPMOST, 0, 0, 0, 0, flags);
        ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, flags);
    } else {
        ::SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        ::SetWindowPos(back, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        ::SetWindowPos(window_, HWND_BOTTOM, 0, 0, 0, 0, flags);
        ::SetWindowPos(back, HWND_BOTTOM, 0, 0, 0, 0, flags);
    }
}

void VantelMainForm::Close1Click()
{
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
}

void VantelMainForm::closeForm()
{
    placement_.saveOnClose();
    hideBoth();
    ::PostQuitMessage(0);
}

void VantelMainForm::btnMinimizeClick()
{
    // Into the notification area, from where a double-click (or a second
    // start) brings the pair back.
    if (trayIcon_ && trayIcon_->isShown()) {
        hideBoth();
        return;
    }
    if (backForm_) ::ShowWindow(backForm_->handle(), SW_MINIMIZE);
    ::ShowWindow(window_, SW_MINIMIZE);
}

void VantelMainForm::hideBoth()
{
    ::ShowWindow(window_, SW_HIDE);
    if (backForm_) ::ShowWindow(backForm_->handle(), SW_HIDE);
}

void VantelMainForm::TrayIconDblClick()
{
    const int show = ::IsIconic(window_) ? SW_RESTORE : SW_SHOW;
    if (backForm_) ::ShowWindow(backForm_->handle(), show);
    ::ShowWindow(window_, show);
    applyStacking();
    ::SetForegroundWindow(window_);
}

void VantelMainForm::imgSettingsClick()
{
    refreshTimer_.setEnabled(false);
    ShowSettingsForm(window_, deps_.store, readings_->currentDrives(), deps_.services.drives,
                     readings_->currentTraffic(), deps_.services.version, deps_.shellOpen);
    refreshTimer_.setEnabled(true);
    RefreshTimerTimer();
}

void VantelMainForm::Image1Click()
{
    deps_.shellOpen.open(kMakerWebAddress);
}

}  // namespace pelmora
