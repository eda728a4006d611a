#pragma once
// The background window (class TBackForm): a layered window showing the
// backdrop picture "MAINFORM" with its per-pixel alpha through
// UpdateLayeredWindow, so the system lets clicks on its fully transparent
// pixels through to what lies beneath. It owns the drag that moves it and
// the widget window together (core/DragState).
#include <windows.h>

#include <functional>

#include "core/DragState.h"
#include "win32/Picture.h"

namespace pelmora {

class BackForm : private DragWindows {
public:
    static constexpr const wchar_t* kClassName = L"TBackForm";
    static constexpr int kFallbackWidth = 587;
    static constexpr int kFallbackHeight = 352;

    BackForm();
    ~BackForm() override;
    BackForm(const BackForm&) = delete;
    BackForm& operator=(const BackForm&) = delete;

    HWND handle() const { return window_; }
    // Shows the backdrop `scale` times its pictures' size (the monitor's
    // pixels per inch over 96).
    void setScale(double scale);
    // The widget window that the drag moves along, and how it is raised
    // directly above this window (its stacking depends on "Stay on top").
    void setWidgetWindow(HWND widget, std::function<void()> raise)
    {
        widget_ = widget;
        raiseWidget_ = std::move(raise);
    }
    // The widget window's links and buttons lie partly over its cut-out
    // pixels, whose clicks the system hands to this window: mouse messages
    // go to `handler` first (client point), and one it takes starts no drag.
    void onWidgetInput(std::function<bool(UINT message, POINT client)> handler)
    {
        widgetInput_ = std::move(handler);
    }
    // Called after a drag let go: the windows stand at a new place.
    void onDragFinished(std::function<void()> handler) { dragFinished_ = std::move(handler); }

    // The drag: the background window's own mouse messages come here, and
    // the widget window passes on those of its bare surface. Client
    // positions of either window measure from the same corner.
    void mouseDown(DragButton button, POINT client);
    void mouseMove();
    void mouseUp(DragButton button);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void showPicture();
    void raiseWidget() override;
    void moveBackground(ScreenPoint topLeft) override;
    ScreenPoint backgroundTopLeft() const override;
    void moveWidget(ScreenPoint topLeft) override;

    HWND window_ = nullptr;
    HWND widget_ = nullptr;
    bool showsPicture_ = false;
    double scale_ = 1.0;
    DragState drag_{*this};
    std::function<void()> raiseWidget_;
    std::function<bool(UINT, POINT)> widgetInput_;
    std::function<void()> dragFinished_;
};

}  // namespace pelmora
