#include "win32/BackForm.h"

#include <windowsx.h>

#include "win32/ResourcePictures.h"
#include "win32/WindowClass.h"

namespace pelmora {

BackForm::BackForm()
{
    // The fallback window (no picture) shows the button colour.
    registerWindowClass(kClassName, &BackForm::windowProc, ::GetSysColorBrush(COLOR_BTNFACE));
    window_ = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kClassName, L"Pelmora", WS_POPUP, 0, 0,
                                kFallbackWidth, kFallbackHeight, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), this);
    showPicture();
}

BackForm::~BackForm()
{
    if (window_) ::DestroyWindow(window_);
}

void BackForm::showPicture()
{
    DibCanvas canvas = scaledCanvas(premultipliedCanvas(loadResourcePicture("MAINFORM")), scale_);
    if (canvas.isNull()) {
        // No picture: an ordinary, opaque borderless window.
        ::SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
        ::SetWindowPos(window_, nullptr, 0, 0, scaledLength(kFallbackWidth, scale_),
                       scaledLength(kFallbackHeight, scale_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    SIZE size{canvas.width(), canvas.height()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // The window keeps the pixels: the picture is let go right after.
    showsPicture_ = ::UpdateLayeredWindow(window_, nullptr, nullptr, &size, canvas.dc(), &origin, 0, &blend,
                                          ULW_ALPHA) != FALSE;
}

void BackForm::setScale(double scale)
{
    if (scale == scale_) return;
    scale_ = scale;
    showPicture();
}

LRESULT CALLBACK BackForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<BackForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->window_) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT BackForm::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_SETCURSOR) {
        ::GetCursorPos(&client);
        ::ScreenToClient(window_, &client);
    }
    const bool mouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_SETCURSOR;
    if (mouse && !drag_.dragging() && widgetInput_ && widgetInput_(message, client)) return TRUE;
    switch (message) {
        case WM_LBUTTONDOWN:
            mouseDown(DragButton::Left, client);
            return 0;
        case WM_RBUTTONDOWN:
            mouseDown(DragButton::Right, client);
            return 0;
        case WM_MBUTTONDOWN:
            mouseDown(DragButton::Middle, client);
            return 0;
        case WM_MOUSEMOVE:
            mouseMove();
            return 0;
        case WM_LBUTTONUP:
            mouseUp(DragButton::Left);
            return 0;
        case WM_RBUTTONUP:
            mouseUp(DragButton::Right);
            return 0;
        case WM_MBUTTONUP:
            mouseUp(DragButton::Middle);
            return 0;
        case WM_CAPTURECHANGED:
            if (drag_.dragging()) mouseUp(DragButton::Other);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // the widget comes forward, not the backdrop
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

void BackForm::mouseDown(DragButton button, POINT client)
{
    drag_.mouseDown(button, {client.x, client.y});
    // Moves keep coming while the cursor outruns the window.
    if (drag_.dragging()) ::SetCapture(window_);
}

void BackForm::mouseMove()
{
    if (!drag_.dragging()) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    drag_.mouseMove({cursor.x, cursor.y});
}

void BackForm::mouseUp(DragButton button)
{
    const bool wasDragging = drag_.dragging();
    drag_.mouseUp(button);
    if (::GetCapture() == window_) ::ReleaseCapture();
    if (wasDragging && dragFinished_) dragFinished_();
}

void BackForm::raiseWidget()
{
    // A window manager may have raised the backdrop over the widget on the click.
    if (raiseWidget_) raiseWidget_();
}

void BackForm::moveBackground(ScreenPoint topLeft)
{
    ::SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ScreenPoint BackForm::backgroundTopLeft() const
{
    RECT box{};
    ::GetWindowRect(window_, &box);
    return {box.left, box.top};
}

void BackForm::moveWidget(ScreenPoint topLeft)
{
    if (widget_) {
        ::SetWindowPos(widget_, nullptr, topLeft.x, topLeft.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace pelmora
