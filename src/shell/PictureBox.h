#pragma once
// A picture drawn as it is (the body picture). A right-click on it asks for
// the widget's popup menu.
#include <QPixmap>
#include <QWidget>

namespace pelmora {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(const QImage& picture, QWidget* parent = nullptr);

signals:
    void contextMenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace pelmora
