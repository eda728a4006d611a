#pragma once
// The widget window (class TVantelMainForm): a borderless tool window, no
// taskbar button, layered with the colour key RGB(0,128,255) cut out and a
// constant alpha of 217, standing directly above its background window. It
// drives the refresh cycle, owns the readings engine, the popup menu and the
// notification-area icon, and opens the settings and the maker's web page.
#include <windows.h>

#include <memory>

#include "readings/ReadingsEngine.h"
#include "readings/WidgetDependencies.h"
#include "win32/Picture.h"
#include "win32/PopupMenu.h"
#include "win32/SurfaceItem.h"
#include "win32/TrayIcon.h"
#include "win32/WidgetSurface.h"
#include "win32/Win32RefreshTimer.h"
#include "win32/Win32WindowPlacement.h"

namespace pelmora {

class BackForm;

inline constexpr const char* kMakerWebAddress = "https://www.talvessa.com/drivers/";

class VantelMainForm : private SurfaceRepaint {
public:
    static constexpr const wchar_t* kClassName = L"TVantelMainForm";

    using Dependencies = WidgetDependencies;

    // Runs the creation steps: tool window, monitor thread, processor label,
    // first refresh.
    explicit VantelMainForm(const Dependencies& dependencies);
    // Stops the monitor thread and waits for it to end.
    ~VantelMainForm() override;
    VantelMainForm(const VantelMainForm&) = delete;
    VantelMainForm& operator=(const VantelMainForm&) = delete;

    HWND handle() const { return window_; }
    void setBackForm(BackForm* backForm);
    // Shows both windows where they stood last time, the widget above.
    void FormShow();
    void savePlacementWhileShown() { placement_.saveWhileShown(); }

    void RefreshTimerTimer();
    void StayOnTopTimerTimer();
    void Stayontop1Click();
    void Close1Click();
    void btnMinimizeClick();
    void imgSettingsClick();
    void Image1Click();
    void TrayIconDblClick();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void repaintLater(const RECT& box) override;
    void paint();
    void mouseDown(UINT message, POINT client);
    void mouseUp(UINT message, POINT client);
    void mouseMove(POINT client);
    void hover(SurfaceItem* item);
    bool pointerOverLink() const { return hovered_ && hovered_->pointsAtSomething(); }
    // Mouse messages of the backdrop at the widget's links and buttons.
    bool backdropInput(UINT message, POINT client);
    void click(const SurfaceItem& item);
    void applyStacking();
    // The monitor's pixels per inch: the whole widget grows by dpi / 96.
    void applyScale(UINT dpi);
    POINT layoutPoint(POINT client) const;
    void hideBoth();
    void closeForm();

    Dependencies deps_;
    HWND window_ = nullptr;
    BackForm* backForm_ = nullptr;
    DibCanvas backBuffer_;    // the layout's 587 x 352 pixels
    DibCanvas scaledBuffer_;  // them at the monitor's scale, when it is not 1
    double scale_ = 1.0;
    std::unique_ptr<WidgetSurface> surface_;
    Win32RefreshTimer refreshTimer_;
    std::unique_ptr<ReadingsEngine> readings_;
    PopupMenu popupMenu_;
    std::unique_ptr<TrayIcon> trayIcon_;
    UINT comeBackMessage_ = 0;  // a second start's request to come forward
    Win32WindowPlacement placement_;
    bool stayOnTop_ = false;
    bool stayOnTopPending_ = true;
    bool trackingLeave_ = false;
    SurfaceItem* hovered_ = nullptr;
    SurfaceItem* pressed_ = nullptr;
};

}  // namespace pelmora
