#include "win32/dialog/SettingsForm.h"

// clang-format off
#include <objidl.h>
#include <gdiplus.h>
#include <commctrl.h>
#include <windowsx.h>
// clang-format on

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/NumberFormat.h"
#include "core/SettingsFormTable.h"
#include "core/SettingsRecord.h"
#include "platform/windows/WideText.h"
#include "settings/SettingsChoices.h"
#include "win32/TaskMessage.h"
#include "win32/dialog/DriveTree.h"
#include "win32/dialog/FormSurface.h"
#include "win32/dialog/InterfaceList.h"
#include "win32/dialog/SpeedTrackBar.h"

namespace pelmora {

namespace sf = settingsform;

namespace {

constexpr wchar_t kWindowClass[] = L"TSettingsForm";
constexpr UINT_PTR kSystemMenuClose = 1;

// The folder of the running executable, with its separator.
std::string executableFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return toUtf8(path.substr(0, path.find_last_of(L"\\/") + 1));
}

// GDI+ for the dialog's painting, running while the dialog is open.
class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (started_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

class ComSession {
public:
    ComSession() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComSession()
    {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

private:
    HRESULT result_;
};

class TSettingsForm {
public:
    TSettingsForm(SettingsStore& store, const CurrentDrives& current, Drives& drives,
                  const TrafficList& traffic, const VersionInfo& version, ShellOpen& shell)
        : store_(store),
          current_(current),
          drives_(drives),
          traffic_(traffic),
          version_(version),
          shell_(shell)
    {
    }
    ~TSettingsForm()
    {
        DrivesTreeView.reset();
        NetworkInterface.reset();
        if (window_) ::DestroyWindow(window_);
        if (trackBackground_) ::DeleteObject(trackBackground_);
    }
    TSettingsForm(const TSettingsForm&) = delete;
    TSettingsForm& operator=(const TSettingsForm&) = delete;

    bool create(HWND owner);
    // Runs the dialog's own message loop until it closes; true when Apply wrote.
    bool runModal(HWND owner);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void createControls();
    void FillDriveTree();
    void FillNetworkList();
    void btnApplyClick();
    void btnCancelClick();
    void TitleBarHelpBtnClick();
    void showSystemMenu();
    void showWarning(const TaskMessageText& message);
    void press(FormButton button);
    void setButtons(FormButtonState state);
    void finish(bool applied);

    SettingsStore& store_;
    CurrentDrives current_;
    Drives& drives_;
    const TrafficList& traffic_;
    const VersionInfo& version_;
    ShellOpen& shell_;

    HWND window_ = nullptr;
    std::unique_ptr<FormSurface> surface_;
    std::unique_ptr<DriveTree> DrivesTreeView;
    HWND trackSpeed = nullptr;
    std::unique_ptr<InterfaceList> NetworkInterface;
    HBRUSH trackBackground_ = nullptr;
    FormButtonState buttons_;
    bool trackingLeave_ = false;
    bool done_ = false;
    bool applied_ = false;

    std::string FirstDrive;
    std::string SecondDrive;
    std::vector<int32_t> interfacePositions_;  // the monitor position of each interface row
};

bool registerWindowClass()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kWindowClass, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DROPSHADOW;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&windowClass) != 0;
}

bool TSettingsForm::create(HWND owner)
{
    if (!registerWindowClass()) return false;
    // Centred on the owner's screen, or on the main one.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    const int left = screen.left + (screen.right - screen.left - sf::kClientWidth) / 2;
    const int top = screen.top + (screen.bottom - screen.top - sf::kClientHeight) / 2;

    const std::wstring caption = toWide(sf::kCaption);
    window_ = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_CONTROLPARENT, kWindowClass, caption.c_str(),
                                WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU, left, top, sf::kClientWidth,
                                sf::kClientHeight, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSettingsForm::windowProc));
    ::SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(sf::kOpacity), LWA_ALPHA);
    FormCreate();
    return true;
}

void TSettingsForm::FormCreate()
{
    // The dialog is painted off-screen and shown in one copy, so it does not
    // flicker; the class gives it its drop shadow.
    surface_ = std::make_unique<FormSurface>();
    surface_->paint(buttons_);
    createControls();
    FillDriveTree();
    FillNetworkList();
}

void TSettingsForm::createControls()
{
    const POINT general = FormSurface::sectionOrigin(sf::kGroupBox2);
    const RECT track = FormSurface::clientRect(sf::kTrackSpeed, general);
    const POINT disks = FormSurface::sectionOrigin(sf::kGroupBox1);
    const POINT network = FormSurface::sectionOrigin(sf::kGroupBox3);

    // Created in the keyboard order: drive tree, trackbar, interface list.
    DrivesTreeView = std::make_unique<DriveTree>(window_, FormSurface::clientRect(sf::kDrivesTreeView, disks),
                                                 surface_->controlFont());
    trackSpeed = ::CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS,
                                   track.left, track.top, track.right - track.left, track.bottom - track.top,
                                   window_, nullptr, nullptr, nullptr);
    ::SendMessageW(trackSpeed, TBM_SETRANGEMIN, FALSE, SettingsRecord::RefreshSpeed.minimum);
    ::SendMessageW(trackSpeed, TBM_SETRANGEMAX, FALSE, SettingsRecord::RefreshSpeed.maximum);
    ::SendMessageW(trackSpeed, TBM_SETTICFREQ, 1, 0);
    ::SendMessageW(trackSpeed, TBM_SETLINESIZE, 0, sf::kTrackLineStep);
    ::SendMessageW(trackSpeed, TBM_SETPAGESIZE, 0, sf::kTrackPageStep);
    ::SendMessageW(trackSpeed, TBM_SETPOS, TRUE, SettingsRecord::RefreshSpeed.defaultValue);
    NetworkInterface =
        std::make_unique<InterfaceList>(window_, FormSurface::clientRect(sf::kNetworkInterface, network),
                                        surface_->controlFont(), sf::kInterfaceItemHeight);

    // The trackbar shows the painted body behind it.
    trackBackground_ = ::CreatePatternBrush(surface_->canvas().bitmap());
}

void TSettingsForm::FillDriveTree()
{
    const DialogDriveSettings settings = readDriveSettings(store_, current_);
    FirstDrive = settings.firstDrive;
    SecondDrive = settings.secondDrive;
    // A stored speed outside the range shows at its nearer end.
    const int32_t speed = std::clamp(settings.refreshSpeed, SettingsRecord::RefreshSpeed.minimum,
                                     SettingsRecord::RefreshSpeed.maximum);
    ::SendMessageW(trackSpeed, TBM_SETPOS, TRUE, speed);

    for (const DriveNode& node : listFixedDrives(drives_, settings, localeNumberSeparators()))
        DrivesTreeView->addNode(node.text, sf::kDiskNodePicture, node.stateIndex);
}

void TSettingsForm::FillNetworkList()
{
    const DialogNetworkSettings settings = readNetworkSettings(store_);
    const std::vector<NetworkEntry> entries = networkEntries(traffic_, settings);
    for (const NetworkEntry& entry : entries) {
        NetworkInterface->addEntry(entry.text);
        interfacePositions_.push_back(entry.position);
    }
    NetworkInterface->fitHorizontalExtent(kExtentBeyondWidestEntry);

    for (int32_t row : storedInterfaceRows(settings, entries)) NetworkInterface->setChecked(row, true);
}

void TSettingsForm::btnApplyClick()
{
    const int32_t speed = static_cast<int32_t>(::SendMessageW(trackSpeed, TBM_GETPOS, 0, 0));
    const std::optional<TaskMessageText> refusal =
        applySettings(store_, DrivesTreeView->nodes(), NetworkInterface->checkedStates(), speed, FirstDrive,
                      SecondDrive, interfacePositions_);
    if (refusal) {
        showWarning(*refusal);
        return;
    }
    finish(true);
}

void TSettingsForm::btnCancelClick()
{
    finish(false);
}

void TSettingsForm::TitleBarHelpBtnClick()
{
    shell_.open(executableFolder() + kHelpFileName);  // a missing file or opener is not reported
}

void TSettingsForm::showWarning(const TaskMessageText& message)
{
    ShowTaskMessage(window_, message.title, message.title, message.content, kTaskButtonOk, kTaskIconWarning,
                    version_);
}

void TSettingsForm::showSystemMenu()
{
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    ::AppendMenuW(menu, MF_STRING, kSystemMenuClose, L"Close");
    const RECT button = FormSurface::buttonRect(FormButton::SystemMenu);
    POINT below{button.left, button.bottom};
    ::ClientToScreen(window_, &below);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                           below.x, below.y, 0, window_, nullptr));
    ::DestroyMenu(menu);
    if (chosen == kSystemMenuClose) btnCancelClick();
}

void TSettingsForm::press(FormButton button)
{
    switch (button) {
        case FormButton::SystemMenu:
            showSystemMenu();
            break;
        case FormButton::Close:
        case FormButton::Cancel:
            btnCancelClick();
            break;
        case FormButton::Apply:
            btnApplyClick();
            break;
        case FormButton::None:
            break;
    }
}

void TSettingsForm::setButtons(FormButtonState state)
{
    if (state.hovered == buttons_.hovered && state.pressed == buttons_.pressed) return;
    buttons_ = state;
    surface_->paint(buttons_);
    ::InvalidateRect(window_, nullptr, FALSE);
}

void TSettingsForm::finish(bool applied)
{
    applied_ = applied;
    done_ = true;
}

LRESULT CALLBACK TSettingsForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<TSettingsForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return ::DefWindowProcW(window, message, wParam, lParam);
    return form->handle(message, wParam, lParam);
}

LRESULT TSettingsForm::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window_, &paint);
            const RECT& area = paint.rcPaint;
            ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     surface_->canvas().dc(), area.left, area.top, SRCCOPY);
            ::EndPaint(window_, &paint);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            // The trackbar's background: the body as painted, aligned to the trackbar.
            RECT child{};
            ::GetWindowRect(reinterpret_cast<HWND>(lParam), &child);
            ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&child), 2);
            ::SetBrushOrgEx(reinterpret_cast<HDC>(wParam), -child.left, -child.top, nullptr);
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(trackBackground_);
        }
        case WM_NCHITTEST: {
            // The title bar drags the dialog, except over its buttons.
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ScreenToClient(window_, &point);
            if (point.y >= 0 && point.y < sf::kTitleBarHeight &&
                FormSurface::buttonAt(point) == FormButton::None)
                return HTCAPTION;
            return HTCLIENT;
        }
        case WM_SETCURSOR: {
            POINT point{};
            ::GetCursorPos(&point);
            ::ScreenToClient(window_, &point);
            const FormButton button = FormSurface::buttonAt(point);
            if (reinterpret_cast<HWND>(wParam) == window_ &&
                (button == FormButton::Apply || button == FormButton::Cancel)) {
                ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        }
        case WM_MOUSEMOVE: {
            if (!trackingLeave_) {
                TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
                trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
            }
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            setButtons({FormSurface::buttonAt(point), buttons_.pressed});
            return 0;
        }
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            setButtons({FormButton::None, buttons_.pressed});
            return 0;
        case WM_LBUTTONDOWN: {
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const FormButton button = FormSurface::buttonAt(point);
            if (button != FormButton::None) {
                ::SetCapture(window_);
                setButtons({button, button});
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            const FormButton pressed = buttons_.pressed;
            if (pressed == FormButton::None) return 0;
            ::ReleaseCapture();
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const FormButton released = FormSurface::buttonAt(point);
            setButtons({released, FormButton::None});
            if (released == pressed) press(pressed);
            return 0;
        }
        case WM_CAPTURECHANGED:
            setButtons({buttons_.hovered, FormButton::None});
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == trackSpeed && header.code == NM_CUSTOMDRAW)
                return drawSpeedTrackBar(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
            LRESULT result = 0;
            if (DrivesTreeView &&
                DrivesTreeView->handleNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
                return result;
            break;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (NetworkInterface && item.hwndItem == NetworkInterface->window()) {
                NetworkInterface->drawItem(item);
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            // Enter and Escape arrive as OK and Cancel: neither button is bound to a key.
            return 0;
        case WM_HELP:
            TitleBarHelpBtnClick();
            return TRUE;
        case WM_CLOSE:
            btnCancelClick();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

bool TSettingsForm::runModal(HWND owner)
{
    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
    ::ShowWindow(window_, SW_SHOW);
    ::SetFocus(DrivesTreeView->window());

    MSG message;
    while (!done_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the loop and pass the request on.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        const bool ours = message.hwnd == window_ || ::IsChild(window_, message.hwnd);
        if (ours && message.message == WM_KEYDOWN && message.wParam == VK_F1) {
            TitleBarHelpBtnClick();
            continue;
        }
        if (::IsDialogMessageW(window_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // The owner takes the activation back before the dialog disappears.
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    ::ShowWindow(window_, SW_HIDE);
    return applied_;
}

}  // namespace

bool ShowSettingsForm(HWND owner, SettingsStore& store, const CurrentDrives& current, Drives& drives,
                      const TrafficList& traffic, const VersionInfo& version, ShellOpen& shell)
{
    const ComSession com;
    const GdiplusSession gdiplus;
    if (!gdiplus.started()) return false;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    TSettingsForm form(store, current, drives, traffic, version, shell);
    if (!form.create(owner)) return false;
    return form.runModal(owner);
}

}  // namespace pelmora
