#pragma once
// The interface list: an owner-drawn list box whose entries carry check
// boxes, in the order they were added. A click on a check box or the space
// bar toggles it. The horizontal scroll extent reaches past the widest
// entry, so wide entries can be scrolled into view.
#include <windows.h>

#include <string>
#include <vector>

namespace pelmora {

class InterfaceList {
public:
    InterfaceList(HWND parent, RECT area, HFONT font, int itemHeight);
    ~InterfaceList();
    InterfaceList(const InterfaceList&) = delete;
    InterfaceList& operator=(const InterfaceList&) = delete;

    HWND window() const { return list_; }

    void addEntry(const std::string& text);
    void setChecked(int row, bool checked);
    bool isChecked(int row) const;
    std::vector<bool> checkedStates() const;

    // FitHorizontalExtent: the widest entry's text plus `beyond` pixels.
    void fitHorizontalExtent(int beyond);
    int horizontalExtent() const;

    // The owner's WM_DRAWITEM for this list.
    void drawItem(const DRAWITEMSTRUCT& item) const;

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void toggle(int row);

    HWND list_ = nullptr;
    HFONT font_;
};

}  // namespace pelmora
