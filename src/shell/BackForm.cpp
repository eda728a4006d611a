#include "shell/BackForm.h"

#include <QMouseEvent>
#include <QPainter>

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

BackForm::BackForm(QWidget* parent) : BackForm(loadResourcePicture(QStringLiteral("MAINFORM")), parent)
{
}

BackForm::BackForm(const QImage& picture, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
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
    picture_ = QPixmap::fromImage(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    setFixedSize(picture.size());
    // Clicks on fully transparent pixels reach whatever lies beneath.
    setMask(regionOfVisiblePixels(picture));
}

void BackForm::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, picture_);
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
