#include "win32/TrayIcon.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <cwchar>
#include <utility>

namespace pelmora {

namespace {

constexpr UINT kIconId = 1;

// The small icon at the monitor's scale (the process is per-monitor aware),
// ours to destroy.
HICON loadOwnIcon()
{
    HICON icon = nullptr;
    const HRESULT result = ::LoadIconMetric(::GetModuleHandleW(nullptr), kTrayIconResource, LIM_SMALL, &icon);
    return SUCCEEDED(result) ? icon : nullptr;
}

}  // namespace

std::wstring notifyTipText(std::string_view hint)
{
    std::wstring wide;
    if (!hint.empty()) {
        // Without MB_ERR_INVALID_CHARS a malformed byte becomes U+FFFD. Only
        // the first 127 units are kept: a few kilobytes are plenty.
        const int size = static_cast<int>(std::min<size_t>(hint.size(), 4096));
        const int length = ::MultiByteToWideChar(CP_UTF8, 0, hint.data(), size, nullptr, 0);
        wide.resize(static_cast<size_t>(std::max(length, 0)));
        ::MultiByteToWideChar(CP_UTF8, 0, hint.data(), size, wide.data(), length);
    }
    wide = wide.substr(0, wide.find(L'\0'));
    constexpr size_t kLimit = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) - 1;
    if (wide.size() > kLimit) {
        size_t cut = kLimit;
        if (IS_HIGH_SURROGATE(wide[cut - 1])) --cut;
        wide.resize(cut);
    }
    return wide;
}

TrayIcon::TrayIcon(HWND owner, UINT callbackMessage, std::string_view hint, std::function<void()> restore)
    : owner_(owner),
      callbackMessage_(callbackMessage),
      taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      ownIcon_(loadOwnIcon()),
      // Without the resource, Windows' shared application icon, so the
      // widget can still be brought back.
      icon_(ownIcon_ ? ownIcon_ : ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512))),  // IDI_APPLICATION
      tip_(notifyTipText(hint)),
      restore_(std::move(restore))
{
    // An elevated process gets the shell's broadcast only when it lets it through.
    ::ChangeWindowMessageFilterEx(owner_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

TrayIcon::~TrayIcon()
{
    hide();
    if (ownIcon_) ::DestroyIcon(ownIcon_);
}

bool TrayIcon::notify(DWORD action, UINT flags)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon_;
    std::wcsncpy(data.szTip, tip_.c_str(), sizeof data.szTip / sizeof(wchar_t) - 1);
    data.uVersion = NOTIFYICON_VERSION_4;  // read by NIM_SETVERSION only
    return ::Shell_NotifyIconW(action, &data);
}

bool TrayIcon::add()
{
    // With version 4 the tip shows only when asked for (NIF_SHOWTIP), and
    // Enter on the icon arrives as NIN_KEYSELECT.
    constexpr UINT kFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    // An icon the shell still holds (a "TaskbarCreated" without a restart) is
    // updated instead.
    added_ = notify(NIM_ADD, kFlags) || notify(NIM_MODIFY, kFlags);
    if (added_) notify(NIM_SETVERSION, 0);
    return added_;
}

bool TrayIcon::show()
{
    wanted_ = true;
    return added_ || add();
}

void TrayIcon::hide()
{
    wanted_ = false;
    if (!added_) return;
    notify(NIM_DELETE, 0);
    added_ = false;
}

void TrayIcon::setHint(std::string_view hint)
{
    tip_ = notifyTipText(hint);
    if (!added_) return;
    notify(NIM_MODIFY, NIF_TIP | NIF_SHOWTIP);
}

bool TrayIcon::handleMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (wanted_) add();
        return true;
    }
    if (message != callbackMessage_) return false;
    // The event is the low word of lParam with version 4, and all of it
    // before (where the high word is 0).
    const UINT event = LOWORD(lParam);
    if ((event == WM_LBUTTONDBLCLK || event == NIN_KEYSELECT) && restore_) restore_();
    return true;
}

}  // namespace pelmora
