#include "shell/dialog/DriveTreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "settings/SettingsChoices.h"

namespace pelmora {

namespace {

constexpr int kGap = 3;
constexpr int kRowHeight = DriveTreeView::kNodePictureSize + 2;
constexpr int kTextLeft = DriveTreeView::kStatePictureLeft + DriveTreeView::kStatePictureSize + kGap +
                          DriveTreeView::kNodePictureSize + kGap;

// Draws state picture, node picture and text; selection marks the text only.
class DriveNodeDelegate : public QStyledItemDelegate {
public:
    explicit DriveNodeDelegate(DriveTreeView* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect row = option.rect;
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);  // pictures drawn for a larger scale
        const int stateTop = row.top() + (row.height() - DriveTreeView::kStatePictureSize) / 2;
        if (const QImage* state = tree_->statePicture(index.data(DriveTreeView::kStateIndexRole).toInt()))
            painter->drawImage(QPoint(row.left() + DriveTreeView::kStatePictureLeft, stateTop), *state);
        const int nodeTop = row.top() + (row.height() - DriveTreeView::kNodePictureSize) / 2;
        if (const QImage* node = tree_->nodePicture(index.data(DriveTreeView::kNodePictureRole).toInt()))
            painter->drawImage(QPoint(row.left() + DriveTreeView::kStatePictureLeft +
                                          DriveTreeView::kStatePictureSize + kGap,
                                      nodeTop),
                               *node);

        const QString text = index.data(Qt::DisplayRole).toString();
        const QFontMetrics metrics(option.font);
        QRect textRect(row.left() + kTextLeft, row.top() + (row.height() - metrics.height()) / 2 - 1,
                       metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
        const bool selected = option.state & QStyle::State_Selected;
        const bool focused = option.state & QStyle::State_HasFocus || tree_->hasFocus();
        if (selected) {
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(focused ? option.palette.color(QPalette::Highlight) : QColor(205, 220, 240));
            painter->drawRoundedRect(QRectF(textRect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        }
        painter->setFont(option.font);
        painter->setPen(selected && focused ? option.palette.color(QPalette::HighlightedText)
                                            : option.palette.color(QPalette::Text));
        painter->drawText(textRect, Qt::AlignCenter, text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(option.font);
        return {kTextLeft + metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 10,
                kRowHeight};
    }

private:
    DriveTreeView* tree_;
};

// The toggle's view of a tree widget.
class TreeWidgetStates : public NodeStateTree<QTreeWidgetItem*> {
public:
    explicit TreeWidgetStates(QTreeWidget& tree) : tree_(tree) {}
    int stateIndex(QTreeWidgetItem* node) const override { return DriveTreeView::stateIndex(node); }
    void setStateIndex(QTreeWidgetItem* node, int index) override
    {
        DriveTreeView::setStateIndex(node, index);
    }
    std::vector<QTreeWidgetItem*> siblingsOf(QTreeWidgetItem* node) const override
    {
        std::vector<QTreeWidgetItem*> siblings;
        QTreeWidgetItem* parent = node->parent();
        const int count = parent ? parent->childCount() : tree_.topLevelItemCount();
        for (int i = 0; i < count; ++i) siblings.push_back(parent ? parent->child(i) : tree_.topLevelItem(i));
        return siblings;
    }
    std::vector<QTreeWidgetItem*> childrenOf(QTreeWidgetItem* node) const override
    {
        std::vector<QTreeWidgetItem*> children;
        for (int i = 0; i < node->childCount(); ++i) children.push_back(node->child(i));
        return children;
    }

private:
    QTreeWidget& tree_;
};

}  // namespace

DriveTreeView::DriveTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setIndentation(settingsform::kTreeIndent);
    setRootIsDecorated(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformRowHeights(true);
    setItemDelegate(new DriveNodeDelegate(this));
    // Nodes never collapse: the user cannot, and a collapse from code is undone.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeView::collapsed, this, &QTreeView::expand);
}

void DriveTreeView::setStatePictures(std::vector<QImage> pictures)
{
    statePictures_ = std::move(pictures);
    viewport()->update();
}

void DriveTreeView::setNodePictures(std::vector<QImage> pictures)
{
    nodePictures_ = std::move(pictures);
    viewport()->update();
}

const QImage* DriveTreeView::statePicture(int index) const
{
    if (index <= 0 || index >= static_cast<int>(statePictures_.size())) return nullptr;
    return &statePictures_[index];
}

const QImage* DriveTreeView::nodePicture(int index) const
{
    if (index < 0 || index >= static_cast<int>(nodePictures_.size())) return nullptr;
    return &nodePictures_[index];
}

QTreeWidgetItem* DriveTreeView::addNode(const QString& text, int nodePicture, int stateIndex)
{
    auto* item = new QTreeWidgetItem(this, QStringList{text});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setData(0, kNodePictureRole, nodePicture);
    item->setData(0, kStateIndexRole, stateIndex);
    return item;
}

int DriveTreeView::stateIndex(const QTreeWidgetItem* item)
{
    return item->data(0, kStateIndexRole).toInt();
}

void DriveTreeView::setStateIndex(QTreeWidgetItem* item, int index)
{
    item->setData(0, kStateIndexRole, index);
}

QRect DriveTreeView::statePictureRect(const QTreeWidgetItem* item) const
{
    const QRect row = visualItemRect(item);
    if (row.isEmpty() || stateIndex(item) <= 0) return {};
    return {row.left() + kStatePictureLeft, row.top() + (row.height() - kStatePictureSize) / 2,
            kStatePictureSize, kStatePictureSize};
}

QTreeWidgetItem* DriveTreeView::itemAtStatePicture(const QPoint& viewportPos) const
{
    QTreeWidgetItem* item = itemAt(viewportPos);
    return item && statePictureRect(item).contains(viewportPos) ? item : nullptr;
}

void DriveTreeView::toggleSelectedNode()
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return;
    TreeWidgetStates states(*this);
    ToggleNodeState<QTreeWidgetItem*>(states, selected.first(), kDialogStateIndices);
}

void DriveTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    // Pressing has already selected the node under the mouse.
    if (event->button() == Qt::LeftButton && itemAtStatePicture(event->position().toPoint()))
        toggleSelectedNode();
}

void DriveTreeView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        toggleSelectedNode();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace pelmora
