#pragma once
// The drive tree: each node shows a state picture (check box or radio
// button) at its left, then its node picture and text. Only a click on the
// state picture, or the space bar, toggles a node; nodes never collapse.
#include <QImage>
#include <QTreeWidget>
#include <vector>

#include "core/SettingsFormTable.h"

namespace pelmora {

class DriveTreeView : public QTreeWidget {
public:
    static constexpr int kStateIndexRole = Qt::UserRole + 1;
    static constexpr int kNodePictureRole = Qt::UserRole + 2;
    static constexpr int kStatePictureLeft = 1;
    static constexpr int kStatePictureSize = settingsform::kStatePictureSize;
    static constexpr int kNodePictureSize = settingsform::kNodePictureSize;

    explicit DriveTreeView(QWidget* parent = nullptr);

    // State pictures by state index (index 0 shows none), node pictures by index.
    void setStatePictures(std::vector<QImage> pictures);
    void setNodePictures(std::vector<QImage> pictures);
    const QImage* statePicture(int index) const;
    const QImage* nodePicture(int index) const;

    QTreeWidgetItem* addNode(const QString& text, int nodePicture, int stateIndex);
    static int stateIndex(const QTreeWidgetItem* item);
    static void setStateIndex(QTreeWidgetItem* item, int index);

    // Where the item's state picture lies, in viewport coordinates.
    QRect statePictureRect(const QTreeWidgetItem* item) const;
    // The node whose state picture holds the point, if any.
    QTreeWidgetItem* itemAtStatePicture(const QPoint& viewportPos) const;

    // Toggles the selected node's state, if a node is selected.
    void toggleSelectedNode();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;  // DrivesTreeViewClick
    void keyPressEvent(QKeyEvent* event) override;        // DrivesTreeViewKeyDown

private:
    std::vector<QImage> statePictures_;
    std::vector<QImage> nodePictures_;
};

}  // namespace pelmora
