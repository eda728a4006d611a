#include "win32/dialog/DriveTree.h"

#include <algorithm>
#include <span>

#include "core/SettingsFormTable.h"
#include "platform/windows/WideText.h"
#include "win32/Picture.h"
#include "win32/ResourcePictures.h"

namespace pelmora {

namespace sf = settingsform;

namespace {

// A 32-bit top-down bitmap of the picture, in no device context, as an
// image list copies it; colours as they are, not multiplied by alpha.
HBITMAP pictureBitmap(const Picture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) std::copy(picture.pixels.begin(), picture.pixels.end(), static_cast<uint32_t*>(bits));
    return bitmap;
}

// The pictures at their indices; a missing one (index 0 of the state
// pictures) takes its place as a transparent square, so indices stay.
HIMAGELIST pictureList(std::span<const char* const> aliases, int side)
{
    HIMAGELIST list = ::ImageList_Create(side, side, ILC_COLOR32, static_cast<int>(aliases.size()), 0);
    if (!list) return nullptr;
    for (const char* alias : aliases) {
        Picture picture = alias ? loadResourcePicture(alias) : Picture{};
        if (picture.width != side || picture.height != side)
            picture = Picture{side, side, std::vector<uint32_t>(static_cast<size_t>(side) * side, 0)};
        HBITMAP bitmap = pictureBitmap(picture);
        ::ImageList_Add(list, bitmap, nullptr);
        if (bitmap) ::DeleteObject(bitmap);
    }
    return list;
}

int stateIndexOf(HWND tree, HTREEITEM item)
{
    return static_cast<int>(TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) >> 12);
}

// The toggle's view of a tree view.
class TreeViewStates : public NodeStateTree<HTREEITEM> {
public:
    explicit TreeViewStates(HWND tree) : tree_(tree) {}
    int stateIndex(HTREEITEM node) const override { return stateIndexOf(tree_, node); }
    void setStateIndex(HTREEITEM node, int index) override
    {
        TreeView_SetItemState(tree_, node, INDEXTOSTATEIMAGEMASK(index), TVIS_STATEIMAGEMASK);
    }
    std::vector<HTREEITEM> siblingsOf(HTREEITEM node) const override
    {
        const HTREEITEM parent = TreeView_GetParent(tree_, node);
        return children(parent ? TreeView_GetChild(tree_, parent) : TreeView_GetRoot(tree_));
    }
    std::vector<HTREEITEM> childrenOf(HTREEITEM node) const override
    {
        return children(TreeView_GetChild(tree_, node));
    }

private:
    std::vector<HTREEITEM> children(HTREEITEM first) const
    {
        std::vector<HTREEITEM> items;
        for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree_, item)) items.push_back(item);
        return items;
    }

    HWND tree_;
};

}  // namespace

DriveTree::DriveTree(HWND parent, RECT area, HFONT font)
{
    // No lines or buttons at the root, labels not editable.
    tree_ =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_SHOWSELALWAYS, area.left, area.top,
                          area.right - area.left, area.bottom - area.top, parent, nullptr, nullptr, nullptr);
    if (!tree_) return;
    ::SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    statePictures_ = pictureList(sf::kStatePictures, sf::kStatePictureSize);
    nodePictures_ = pictureList(sf::kNodePictures, sf::kNodePictureSize);
    TreeView_SetImageList(tree_, statePictures_, TVSIL_STATE);
    TreeView_SetImageList(tree_, nodePictures_, TVSIL_NORMAL);
    TreeView_SetIndent(tree_, sf::kTreeIndent);
    TreeView_SetItemHeight(tree_, sf::kNodePictureSize + 2);
}

DriveTree::~DriveTree()
{
    if (tree_) ::DestroyWindow(tree_);
    if (statePictures_) ::ImageList_Destroy(statePictures_);
    if (nodePictures_) ::ImageList_Destroy(nodePictures_);
}

void DriveTree::addNode(const std::string& text, int nodePicture, int stateIndex)
{
    std::wstring label = toWide(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    insert.item.pszText = label.data();
    insert.item.iImage = nodePicture;
    insert.item.iSelectedImage = nodePicture;
    insert.item.state = INDEXTOSTATEIMAGEMASK(stateIndex);
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    ::SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

std::vector<DriveNode> DriveTree::nodes() const
{
    std::vector<DriveNode> nodes;
    for (HTREEITEM item = TreeView_GetRoot(tree_); item; item = TreeView_GetNextSibling(tree_, item)) {
        wchar_t buffer[512] = {};
        TVITEMW entry{};
        entry.mask = TVIF_TEXT;
        entry.hItem = item;
        entry.pszText = buffer;
        entry.cchTextMax = static_cast<int>(std::size(buffer));
        ::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
        const std::string text = toUtf8(buffer);
        nodes.push_back({text.empty() ? '\0' : text[0], text, stateIndexOf(tree_, item)});
    }
    return nodes;
}

void DriveTree::toggle(HTREEITEM item)
{
    if (!item) return;
    TreeViewStates states(tree_);
    ToggleNodeState<HTREEITEM>(states, item, kDialogStateIndices);
}

bool DriveTree::handleNotify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != tree_) return false;
    switch (header.code) {
        case NM_CLICK: {  // DrivesTreeViewClick
            // Only a click on a state picture toggles, and it toggles the
            // node it was on, which the press has selected.
            TVHITTESTINFO hit{};
            ::GetCursorPos(&hit.pt);
            ::ScreenToClient(tree_, &hit.pt);
            const HTREEITEM item = TreeView_HitTest(tree_, &hit);
            if (item && (hit.flags & TVHT_ONITEMSTATEICON)) {
                TreeView_SelectItem(tree_, item);
                toggle(item);
            }
            result = 0;
            return true;
        }
        case TVN_KEYDOWN: {  // DrivesTreeViewKeyDown
            const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
            if (key.wVKey != VK_SPACE) return false;
            toggle(TreeView_GetSelection(tree_));
            result = TRUE;  // no incremental search for the blank
            return true;
        }
        case TVN_ITEMEXPANDINGW: {  // DrivesTreeViewCollapsing
            const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
            result = (change.action & TVE_COLLAPSE) ? TRUE : FALSE;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace pelmora
