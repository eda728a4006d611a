#pragma once
// The widget's icon in the notification area: one icon for one owner window,
// whose mouse events come back to that window as a callback message. The
// owner's window procedure hands every message to handleMessage first; a
// double-click on the icon (or Enter on it from the keyboard) calls restore.
// A single click and a right-click do nothing: a single click also starts
// every double-click.
//
// The shell forgets its icons when it restarts and then broadcasts
// "TaskbarCreated"; the icon is added again if it is meant to be shown. It is
// also meant to be shown when the shell was not there to take it (a sign-in
// start before the taskbar), so it appears once the taskbar does.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace pelmora {

// The message the icon's mouse events arrive as, WM_USER + 1024.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 1024;
// The icon's resource in the executable (win32/TrayIcon.rc): the tray picture
// at 48, 32, 24 and 16 pixels.
inline constexpr const wchar_t* kTrayIconResource = L"PELMORA_TRAY";

class TrayIcon {
public:
    // Loads the icon from the executable's resources at the notification
    // area's size; shows nothing yet.
    TrayIcon(HWND owner, UINT callbackMessage, std::string_view hint, std::function<void()> restore);
    ~TrayIcon();  // takes the icon out of the notification area
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // True when the shell has the icon. Either way it is meant to be shown
    // from now on, and a later "TaskbarCreated" adds it.
    bool show();
    void hide();
    bool isShown() const { return wanted_; }
    void setHint(std::string_view hint);

    // True when the message was the icon's (its callback or "TaskbarCreated").
    // restore runs inside it, so restore must not destroy the icon.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool notify(DWORD action, UINT flags);
    bool add();

    HWND owner_;
    UINT callbackMessage_;
    UINT taskbarCreated_;
    HICON ownIcon_;  // loaded from the resource; destroyed with the icon
    HICON icon_;
    std::wstring tip_;
    std::function<void()> restore_;
    bool wanted_ = false;  // meant to be shown
    bool added_ = false;   // the shell has it
};

// The hint as the shell takes it: UTF-16, at most 127 units (a character
// beyond them is left out whole, never half of a surrogate pair), bytes that
// are not UTF-8 as U+FFFD.
std::wstring notifyTipText(std::string_view hint);

}  // namespace pelmora
