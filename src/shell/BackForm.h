#pragma once
// The background window: a borderless top-level window beneath the widget
// window that shows the backdrop picture "MAINFORM" with its per-pixel alpha,
// takes the mouse only where the picture is not fully transparent, and owns
// the drag that moves both windows.
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "core/DragState.h"

namespace pelmora {

class BackForm : public QWidget, private DragWindows {
    Q_OBJECT
public:
    static constexpr int kFallbackWidth = 587;
    static constexpr int kFallbackHeight = 352;

    // Loads the picture "MAINFORM" from the program's resources, the one
    // drawn for the screen's scale.
    explicit BackForm(QWidget* parent = nullptr);
    static QString pictureAlias();
    // With a picture already decoded (its device pixel ratio gives its size
    // in pixels); a null one gives the fallback window: a plain borderless
    // 587 x 352 window in the palette's button colour.
    explicit BackForm(const QImage& picture, QWidget* parent = nullptr);

    bool showsPicture() const { return showsPicture_; }

    // The pixels of the picture as the window draws it on the screen (device
    // pixels) that are not fully transparent.
    const QRegion& visibleDevicePixels() const { return visibleDevicePixels_; }

    // Sets the window's shape in device pixels; false when it cannot. On a
    // scaled screen the shape is cut in device pixels through it, so that
    // it follows the picture's edge exactly; without it, or where it fails,
    // the shape is the pixels that cover a visible device pixel.
    void setDeviceShapeHandler(std::function<bool(const QRegion& devicePixels)> handler);

    // Hands the window's pixels, drawn at its size in device pixels, to a
    // keeper that shows them from then on without this process (on X11 the
    // server, as the window's background, which it repaints exposures from).
    // While one keeps them, Qt keeps no backing store for the window and the
    // picture is let go; a keeper that cannot (false) leaves the window
    // painting as any other. Drawn again only when the window's size in
    // device pixels changes (a screen of another scale).
    void setPixelKeeper(std::function<bool(const QImage& devicePixels)> keeper);

    // The widget window that the drag raises and moves along.
    void setWidgetWindow(QWidget* widgetWindow) { widgetWindow_ = widgetWindow; }
    QWidget* widgetWindow() const { return widgetWindow_; }

    // The drag: the background window's own mouse events come here, and the
    // widget window passes its surface's events on unchanged. Client
    // positions of either window measure from the same corner.
    void formMouseDown(Qt::MouseButton button, QPoint clientPos, QPoint globalPos);
    void formMouseMove(QPoint clientPos, QPoint globalPos);
    void formMouseUp(Qt::MouseButton button, QPoint clientPos, QPoint globalPos);
    const DragState& dragState() const { return drag_; }

signals:
    // The mouse was let go after a drag: the windows stand at a new place.
    void dragFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    QPaintEngine* paintEngine() const override
    {
        return nullptr;
    }  // painting to the screen: nothing to paint with
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setPicture(QImage picture);
    void drawPicture(QPainter& painter);
    void handPixelsToKeeper();
    void applyShape();
    void raiseWidget() override;
    void moveBackground(ScreenPoint topLeft) override;
    ScreenPoint backgroundTopLeft() const override;
    void moveWidget(ScreenPoint topLeft) override;

    // Premultiplied once, for painting. Once on screen the window's own
    // pixels hold it: a picture from the resources is let go after each
    // paint and decoded again should the window ever need painting anew.
    QImage picture_;
    bool showsPicture_ = false;
    bool reloadable_ = false;
    qreal screenRatio_ = 1.0;  // device pixels per pixel of the screen the picture was chosen for
    QRegion visibleDevicePixels_;
    std::function<bool(const QRegion&)> deviceShape_;
    std::function<bool(const QImage&)> keeper_;
    QSize keptDeviceSize_;
    QPointer<QWidget> widgetWindow_;
    DragState drag_{*this};  // one drag for the process: there is one background window
};

}  // namespace pelmora
