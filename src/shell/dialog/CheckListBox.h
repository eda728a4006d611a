#pragma once
// A list of entries with check boxes, in the order they were added. Clicking
// a check box or pressing the space bar toggles it. The horizontal scroll
// extent is set from outside, so wide entries can be scrolled into view.
#include <QListWidget>
#include <vector>

namespace pelmora {

class CheckListBox : public QListWidget {
public:
    explicit CheckListBox(QWidget* parent = nullptr);

    void setItemHeight(int pixels);

    void addEntry(const QString& text);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    std::vector<bool> checkedStates() const;

    // The width in pixels the entries can be scrolled across; when it exceeds
    // the list's own width, a horizontal scroll bar appears.
    void setHorizontalExtent(int pixels);
    int horizontalExtent() const { return horizontalExtent_; }

private:
    QSize entrySize() const { return {horizontalExtent_, itemHeight_}; }

    int itemHeight_ = 13;
    int horizontalExtent_ = 0;
};

}  // namespace pelmora
