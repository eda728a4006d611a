#include "shell/Shapes.h"

#include <QPainter>

namespace pelmora {

RoundedFrame::RoundedFrame(QWidget* parent) : QWidget(parent)
{
}

void RoundedFrame::paintEvent(QPaintEvent*)
{
    // Drawn at the screen's resolution, so a scaled screen shows the outline
    // sharp instead of the pixels of a small drawing blown up.
    const qreal ratio = devicePixelRatioF();
    if (rendered_.deviceIndependentSize() != QSizeF(size()) || rendered_.devicePixelRatio() != ratio) {
        rendered_ = QPixmap((QSizeF(size()) * ratio).toSize());
        rendered_.setDevicePixelRatio(ratio);
        rendered_.fill(Qt::transparent);
        QPainter painter(&rendered_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(outlineColour(), 1.0));
        painter.setBrush(Qt::NoBrush);
        // Half a pixel in, so the one-pixel outline covers whole pixels.
        const double radius = cornerDiameter() / 2.0;
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
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
