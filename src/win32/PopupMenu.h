#pragma once
// The widget's popup menu on the body picture: "Stay on top" (checked from
// the start) and "Close".
#include <windows.h>

namespace pelmora {

class PopupMenu {
public:
    enum Command : UINT { None = 0, StayOnTop = 1, Close = 2 };

    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    void setStayOnTopChecked(bool checked);
    // Opens at `screen` for `owner` and returns the command picked, if any.
    Command popup(HWND owner, POINT screen);

private:
    HMENU menu_;
};

}  // namespace pelmora
