#include "win32/PopupMenu.h"

namespace pelmora {

PopupMenu::PopupMenu() : menu_(::CreatePopupMenu())
{
    ::AppendMenuW(menu_, MF_STRING | MF_CHECKED, StayOnTop, L"&Stay on top");
    ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu_, MF_STRING, Close, L"Close");
}

PopupMenu::~PopupMenu()
{
    ::DestroyMenu(menu_);
}

void PopupMenu::setStayOnTopChecked(bool checked)
{
    ::CheckMenuItem(menu_, StayOnTop, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

PopupMenu::Command PopupMenu::popup(HWND owner, POINT screen)
{
    // The owner in the foreground, so a click elsewhere closes the menu.
    ::SetForegroundWindow(owner);
    const auto picked = ::TrackPopupMenu(menu_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x,
                                         screen.y, 0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return static_cast<Command>(picked);
}

}  // namespace pelmora
