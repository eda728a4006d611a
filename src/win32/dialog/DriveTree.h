#pragma once
// The drive tree on a common tree view: each node shows a state picture
// (check box or radio button) at its left, then its node picture and text.
// Only a click on the state picture, or the space bar, toggles a node; nodes
// never collapse.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>
#include <vector>

#include "settings/SettingsChoices.h"

namespace pelmora {

class DriveTree {
public:
    // Creates the tree view as a child of `parent` at `area`.
    DriveTree(HWND parent, RECT area, HFONT font);
    ~DriveTree();
    DriveTree(const DriveTree&) = delete;
    DriveTree& operator=(const DriveTree&) = delete;

    HWND window() const { return tree_; }

    void addNode(const std::string& text, int nodePicture, int stateIndex);
    // Every top-level node in tree order, as the settings decisions see them.
    std::vector<DriveNode> nodes() const;

    // The tree's notifications; true when `result` answers it.
    bool handleNotify(const NMHDR& header, LRESULT& result);

private:
    void toggle(HTREEITEM item);

    HWND tree_ = nullptr;
    HIMAGELIST statePictures_ = nullptr;
    HIMAGELIST nodePictures_ = nullptr;
};

}  // namespace pelmora
