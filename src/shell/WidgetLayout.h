#pragma once
// The widget window's contents: every label, frame, icon, bar and the gauge
// at its place, with its design text, font and colours, on a surface of the
// colour key RGB(0,128,255) that is cut out of the window so the background
// window shows there.
#include <QColor>
#include <QHash>
#include <QPoint>
#include <QRegion>
#include <QSet>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "core/WidgetControls.h"
#include "shell/AnimationClock.h"

namespace pelmora {

class WidgetLayout : public QWidget {
    Q_OBJECT
public:
    static QColor colourKey();
    // The resource aliases of the pictures the controls draw, in the order
    // the controls are created.
    static QStringList pictureAliases();

    explicit WidgetLayout(QWidget* parent = nullptr);

    // Every control the readings write, by its layout name.
    WidgetControls& controls() { return controls_; }
    // The one clock that steps every bar and the gauge's needle.
    AnimationClock& animationClock() { return clock_; }

    // Any control by its layout name ("Label11", "Shape2", "btnClose", ...).
    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    }

    // The drawn surface less every pixel of exactly the colour key, in this
    // widget's coordinates.
    QRegion colourKeyMask();

    // The same at `ratio` device pixels per pixel, in device pixels: on a
    // scaled screen the key's edges fall between the pixels of this widget.
    QRegion colourKeyMaskInDevicePixels(qreal ratio);

    // Sets the top-level window's shape in device pixels; false when it
    // cannot. Used on scaled screens, where a shape in this widget's pixels
    // would leave fringes of the key colour or cut into the drawing.
    void setDeviceShapeHandler(std::function<bool(const QRegion& devicePixels)> handler);

    // On: the top-level window takes colourKeyMask() as its shape, renewed
    // whenever a label's text or a control's visibility or place changes,
    // and the window's opacity that of the layout table.
    void setColourKeyed(bool on);
    // The shape the top-level window now has (empty: none).
    QRegion windowShape() const;
    // How many times the shape was cut from the drawn surface, whole or in part.
    int shapeCuts() const { return shapeCuts_; }

signals:
    void settingsClicked();
    void linkClicked();
    void minimizeClicked();
    void closeClicked();
    // A right-click on the body picture, and only there.
    void bodyContextMenuRequested(QPoint globalPos);

    // Mouse events on the window's own surface (not on a control), for the
    // drag of both windows. Moves and releases are passed on wherever they
    // arrive, so a drag always ends.
    void surfaceMousePressed(Qt::MouseButton button, QPoint clientPos, QPoint globalPos);
    void surfaceMouseMoved(QPoint clientPos, QPoint globalPos);
    void surfaceMouseReleased(Qt::MouseButton button, QPoint clientPos, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void connectControls();
    void keepOfThePicturesOnlyWhatRepaints();
    void fillControls();
    void markShapeChanged(QWidget* control);
    void scheduleMaskUpdate();
    void applyMask();
    void setWindowShape(const QRegion& shape);
    QRegion colourKeyMaskWithin(const QRect& box);
    void findLabelsOverOpaquePixels();

    AnimationClock clock_;
    WidgetControls controls_;
    bool colourKeyed_ = false;
    bool maskUpdatePending_ = false;
    // The shape as last cut, the boxes to cut again, and where each control
    // stood when it was last cut (a label that sizes itself moves its edge).
    QRegion mask_;
    QRegion changed_;
    QHash<QWidget*, QRect> cutAt_;
    // Labels of a fixed box that lies wholly on pixels the pictures, frames
    // and rules beneath draw opaque: white text there never changes the
    // shape, so their changes cut nothing. Found when the window is first
    // colour-keyed.
    QSet<const QWidget*> overOpaque_;
    bool overOpaqueFound_ = false;
    int shapeCuts_ = 0;
    std::function<bool(const QRegion&)> deviceShape_;
};

}  // namespace pelmora
