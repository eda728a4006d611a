#include "shell/dialog/CheckListBox.h"

namespace pelmora {

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent)
{
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
}

void CheckListBox::setItemHeight(int pixels)
{
    itemHeight_ = pixels;
    for (int row = 0; row < count(); ++row) item(row)->setSizeHint(entrySize());
}

void CheckListBox::addEntry(const QString& text)
{
    auto* entry = new QListWidgetItem(text, this);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
    entry->setSizeHint(entrySize());
}

bool CheckListBox::isChecked(int row) const
{
    return item(row) && item(row)->checkState() == Qt::Checked;
}

void CheckListBox::setChecked(int row, bool checked)
{
    if (QListWidgetItem* entry = item(row)) entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<bool> CheckListBox::checkedStates() const
{
    std::vector<bool> states;
    for (int row = 0; row < count(); ++row) states.push_back(isChecked(row));
    return states;
}

void CheckListBox::setHorizontalExtent(int pixels)
{
    // Every entry is as wide as the extent, so the view scrolls across it.
    horizontalExtent_ = pixels;
    for (int row = 0; row < count(); ++row) item(row)->setSizeHint(entrySize());
}

}  // namespace pelmora
