#include "shell/Shapes.h"

#include <QPainter>

namespace pelmora {

RoundedFrame::RoundedFrame(QWidget* parent) : QWidget(parent)
{
}

void RoundedFrame::paintEvent(QPaintEvent*)
{
    // Drawn in the screen's own pixels: the outline is a whole number of them
    // wide (2 at a scale of 1.5 or 2) and lies on whole pixels, so a scaled
    // screen shows it as sharp as an unscaled one.
    const qreal ratio = devicePixelRatioF();
    if (rendered_.deviceIndependentSize() != QSizeF(size()) || rendered_.devicePixelRatio() != ratio) {
        const QSize devicePixels = (QSizeF(size()) * ratio).toSize();
        rendered_ = QPixmap(devicePixels);
        rendered_.fill(Qt::transparent);
        QPainter painter(&rendered_);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal width = std::max(1, qRound(ratio));
        painter.setPen(QPen(outlineColour(), width));
        painter.setBrush(Qt::NoBrush);
        const double radius = cornerDiameter() * ratio / 2.0;
        const qreal inset = width / 2.0;
        painter.drawRoundedRect(
            QRectF(QPointF(0, 0), QSizeF(devicePixels)).adjusted(inset, inset, -inset, -inset), radius,
            radius);
        painter.end();
        rendered_.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, rendered_);
}

FilledRule::FilledRule(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FilledRule::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

}  // namespace pelmora
