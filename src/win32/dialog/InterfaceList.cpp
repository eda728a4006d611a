#include "win32/dialog/InterfaceList.h"

// clang-format off
#include <commctrl.h>
#include <windowsx.h>
// clang-format on

#include <algorithm>

#include "platform/windows/WideText.h"

namespace pelmora {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kCheckBoxSide = 11;
constexpr int kCheckBoxLeft = 1;
constexpr int kTextLeft = kCheckBoxLeft + kCheckBoxSide + 4;

std::wstring entryText(HWND list, int row)
{
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

InterfaceList::InterfaceList(HWND parent, RECT area, HFONT font, int itemHeight) : font_(font)
{
    list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                                  LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              area.left, area.top, area.right - area.left, area.bottom - area.top, parent,
                              nullptr, nullptr, nullptr);
    if (!list_) return;
    ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(list_, LB_SETITEMHEIGHT, 0, itemHeight);
    ::SetWindowSubclass(list_, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

InterfaceList::~InterfaceList()
{
    if (!list_) return;
    ::RemoveWindowSubclass(list_, subclassProc, kSubclassId);
    ::DestroyWindow(list_);
}

void InterfaceList::addEntry(const std::string& text)
{
    const std::wstring entry = toWide(text);
    const LRESULT row = ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    if (row >= 0) ::SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(row), 0);
}

void InterfaceList::setChecked(int row, bool checked)
{
    if (row < 0 || row >= static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0))) return;
    ::SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(row), checked ? 1 : 0);
    RECT area{};
    if (::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&area)) !=
        LB_ERR)
        ::InvalidateRect(list_, &area, FALSE);
}

bool InterfaceList::isChecked(int row) const
{
    const LRESULT data = ::SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    return data != LB_ERR && data != 0;
}

std::vector<bool> InterfaceList::checkedStates() const
{
    std::vector<bool> states;
    const int count = static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) states.push_back(isChecked(row));
    return states;
}

void InterfaceList::fitHorizontalExtent(int beyond)
{
    HDC dc = ::GetDC(list_);
    const HGDIOBJ previous = ::SelectObject(dc, font_);
    int widest = 0;
    const int count = static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        const std::wstring text = entryText(list_, row);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(list_, dc);
    ::SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + beyond), 0);
}

int InterfaceList::horizontalExtent() const
{
    return static_cast<int>(::SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0));
}

void InterfaceList::toggle(int row)
{
    if (row >= 0) setChecked(row, !isChecked(row));
}

void InterfaceList::drawItem(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int row = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));

    const int boxTop = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - kCheckBoxSide) / 2;
    RECT box{item.rcItem.left + kCheckBoxLeft, boxTop, item.rcItem.left + kCheckBoxLeft + kCheckBoxSide,
             boxTop + kCheckBoxSide};
    ::DrawFrameControl(item.hDC, &box, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (isChecked(row) ? DFCS_CHECKED : 0));

    const std::wstring text = entryText(list_, row);
    const HGDIOBJ previous = ::SelectObject(item.hDC, font_);
    SIZE size{};
    ::GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &size);
    RECT label{item.rcItem.left + kTextLeft, item.rcItem.top, item.rcItem.left + kTextLeft + size.cx + 4,
               item.rcItem.bottom};
    if (selected) ::FillRect(item.hDC, &label, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textArea = label;
    textArea.left += 2;
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textArea,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &label);
    ::SelectObject(item.hDC, previous);
}

LRESULT CALLBACK InterfaceList::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR self)
{
    auto* list = reinterpret_cast<InterfaceList*>(self);
    switch (message) {
        case WM_LBUTTONDOWN: {
            const LRESULT hit = ::SendMessageW(window, LB_ITEMFROMPOINT, 0, lParam);
            const int row = LOWORD(hit);
            RECT area{};
            if (HIWORD(hit) == 0 && ::SendMessageW(window, LB_GETITEMRECT, static_cast<WPARAM>(row),
                                                   reinterpret_cast<LPARAM>(&area)) != LB_ERR) {
                const int x = GET_X_LPARAM(lParam);
                if (x >= area.left + kCheckBoxLeft && x < area.left + kCheckBoxLeft + kCheckBoxSide + 2)
                    list->toggle(row);
            }
            break;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                list->toggle(static_cast<int>(::SendMessageW(window, LB_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L' ') return 0;  // no search for the blank
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace pelmora
