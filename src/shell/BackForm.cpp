#include "shell/BackForm.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "shell/ImageRegions.h"
#include "shell/ResourcePicture.h"

namespace pelmora {

namespace {

DragButton dragButton(Qt::MouseButton button)
{
    switch (button) {
        case Qt::LeftButton:
            return DragButton::Left;
        case Qt::RightButton:
            return DragButton::Right;
        case Qt::MiddleButton:
            return DragButton::Middle;
        default:
            return DragButton::Other;
    }
}

ScreenPoint screenPoint(QPoint point)
{
    return {point.x(), point.y()};
}

}  // namespace

namespace {

const QString kPictureAlias = QStringLiteral("MAINFORM");

QImage premultiplied(QImage picture)
{
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);  // in place: no second copy
    return picture;
}

}  // namespace

BackForm::BackForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setPicture(loadResourcePicture(kPictureAlias, devicePixelRatioF()));
    reloadable_ = showsPicture_;
}

QString BackForm::pictureAlias()
{
    return kPictureAlias;
}

BackForm::BackForm(const QImage& picture, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setPicture(picture);
}

void BackForm::setPicture(QImage picture)
{
    setWindowTitle(QStringLiteral("BackForm"));
    if (picture.isNull()) {
        // No picture: an ordinary borderless window.
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Button);
        setFixedSize(kFallbackWidth, kFallbackHeight);
        return;
    }
    // The translucency has to be asked for before the window exists.
    setAttribute(Qt::WA_TranslucentBackground);
    showsPicture_ = true;
    setFixedSize(picture.deviceIndependentSize().toSize());
    screenRatio_ = devicePixelRatioF();
    picture_ = premultiplied(std::move(picture));
    // Clicks on fully transparent pixels reach whatever lies beneath: the
    // shape is cut from the picture as it lands on the screen's pixels.
    visibleDevicePixels_ = regionOfVisiblePixels(drawnAt(picture_, size(), screenRatio_));
    applyShape();
}

void BackForm::setDeviceShapeHandler(std::function<bool(const QRegion& devicePixels)> handler)
{
    deviceShape_ = std::move(handler);
    applyShape();
}

void BackForm::applyShape()
{
    if (!showsPicture_) return;
    if (screenRatio_ != 1.0 && deviceShape_) {
        // A shape in this window's own pixels would be scaled up to whole
        // blocks of device pixels: take it off first, then cut the exact one.
        if (!mask().isEmpty()) clearMask();
        if (deviceShape_(visibleDevicePixels_)) return;
    }
    // (A device pixel half outside the window at a fractional scale stays out.)
    setMask(regionCovering(visibleDevicePixels_, screenRatio_).intersected(rect()));
}

void BackForm::setPixelKeeper(std::function<bool(const QImage& devicePixels)> keeper)
{
    if (!showsPicture_ || !keeper) return;
    keeper_ = std::move(keeper);
    keptDeviceSize_ = QSize();
    // Qt then sends the paint events of exposures here without a backing store to paint into.
    setAttribute(Qt::WA_PaintOnScreen);
    update();
}

void BackForm::handPixelsToKeeper()
{
    const qreal ratio = windowHandle() ? windowHandle()->devicePixelRatio() : devicePixelRatioF();
    const QSize deviceSize = size() * ratio;
    if (deviceSize == keptDeviceSize_) return;  // the keeper shows them
    QImage pixels(deviceSize, QImage::Format_ARGB32_Premultiplied);
    pixels.setDevicePixelRatio(ratio);
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    drawPicture(painter);
    painter.end();
    if (keeper_(pixels)) {
        keptDeviceSize_ = deviceSize;
        return;
    }
    keeper_ = nullptr;
    setAttribute(Qt::WA_PaintOnScreen, false);
    update();
}

void BackForm::drawPicture(QPainter& painter)
{
    if (picture_.isNull() && reloadable_) {
        picture_ = premultiplied(loadResourcePicture(kPictureAlias, screenRatio_));
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
    if (reloadable_) picture_ = QImage();
}

void BackForm::paintEvent(QPaintEvent*)
{
    if (!showsPicture_) return;
    if (testAttribute(Qt::WA_PaintOnScreen)) {
        handPixelsToKeeper();
        return;
    }
    QPainter painter(this);
    drawPicture(painter);
}

void BackForm::formMouseDown(Qt::MouseButton button, QPoint clientPos, QPoint)
{
    drag_.mouseDown(dragButton(button), screenPoint(clientPos));
}

void BackForm::formMouseMove(QPoint, QPoint globalPos)
{
    drag_.mouseMove(screenPoint(globalPos));
}

void BackForm::formMouseUp(Qt::MouseButton button, QPoint, QPoint)
{
    const bool wasDragging = drag_.dragging();
    drag_.mouseUp(dragButton(button));
    if (wasDragging && !drag_.dragging()) emit dragFinished();
}

void BackForm::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    formMouseDown(event->button(), event->position().toPoint(), event->globalPosition().toPoint());
}

void BackForm::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    formMouseMove(event->position().toPoint(), event->globalPosition().toPoint());
}

void BackForm::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    formMouseUp(event->button(), event->position().toPoint(), event->globalPosition().toPoint());
}

void BackForm::raiseWidget()
{
    if (widgetWindow_) widgetWindow_->raise();
}

void BackForm::moveBackground(ScreenPoint topLeft)
{
    move(topLeft.x, topLeft.y);
}

ScreenPoint BackForm::backgroundTopLeft() const
{
    return screenPoint(pos());
}

void BackForm::moveWidget(ScreenPoint topLeft)
{
    if (widgetWindow_) widgetWindow_->move(topLeft.x, topLeft.y);
}

}  // namespace pelmora
