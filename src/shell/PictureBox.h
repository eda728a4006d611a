#pragma once
// A picture drawn as it is (the body picture). A right-click on it asks for
// the widget's popup menu.
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "shell/KeptParts.h"

namespace pelmora {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(const QImage& picture, QWidget* parent = nullptr);

    // Once on an unscaled screen, an opaque picture is let go but for its
    // parts under `repaintedAbove` (in this box's pixels: the controls over
    // it that repaint): the window's backing store holds the rest. Under
    // `coveredAbove` (the shown controls over it that paint every pixel of
    // their box opaque) nothing is kept or drawn: a paint there is painted
    // over in the same pass. A paint that reaches beyond both, or onto pixels
    // of another scale, takes the picture from `reload` again, and the parts
    // kept then take in what the controls cover by then. On a scaled screen
    // the picture stays whole.
    void keepOnlyUnder(std::function<QRegion()> repaintedAbove, std::function<QRegion()> coveredAbove,
                       std::function<QImage()> reload);
    // Whether the whole picture is held, and which parts of it are (for the tests).
    bool holdsWholePicture() const { return !picture_.isNull(); }
    QRegion keptRegion() const { return kept_.region(); }

signals:
    void contextMenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void letGoButKeptParts();

    QPixmap picture_;
    std::function<QRegion()> repaintedAbove_;
    std::function<QRegion()> coveredAbove_;
    std::function<QImage()> reload_;
    KeptParts kept_;
};

}  // namespace pelmora
