#include "shell/Shapes.h"

#include <QPainter>
#include <cmath>

namespace pelmora {

RoundedFrame::RoundedFrame(QWidget* parent) : QWidget(parent)
{
}

void RoundedFrame::render(QSize devicePixels, qreal ratio)
{
    QImage rendered(devicePixels, QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = std::max(1, qRound(ratio));
    painter.setPen(QPen(outlineColour(), width));
    painter.setBrush(Qt::NoBrush);
    const double radius = cornerDiameter() * ratio / 2.0;
    const qreal inset = width / 2.0;
    painter.drawRoundedRect(
        QRectF(QPointF(0, 0), QSizeF(devicePixels)).adjusted(inset, inset, -inset, -inset), radius, radius);
    painter.end();

    // Past the corner's arc (and the antialiasing beside it) every column of
    // the top and bottom side is the same, and so is every row of the others.
    const int corner = static_cast<int>(std::ceil(radius + width)) + 2;
    const int w = devicePixels.width(), h = devicePixels.height();
    whole_ = QImage();
    if (2 * corner >= w || 2 * corner >= h) {
        whole_ = rendered;
        return;
    }
    corners_ = {rendered.copy(0, 0, corner, corner), rendered.copy(w - corner, 0, corner, corner),
                rendered.copy(0, h - corner, corner, corner),
                rendered.copy(w - corner, h - corner, corner, corner)};
    sides_ = {rendered.copy(corner, 0, 1, corner), rendered.copy(corner, h - corner, 1, corner),
              rendered.copy(0, corner, corner, 1), rendered.copy(w - corner, corner, corner, 1)};
}

void RoundedFrame::paintEvent(QPaintEvent*)
{
    // Drawn in the screen's own pixels: the outline is a whole number of them
    // wide (2 at a scale of 1.5 or 2) and lies on whole pixels, so a scaled
    // screen shows it as sharp as an unscaled one.
    const qreal ratio = devicePixelRatioF();
    const QSize devicePixels = (QSizeF(size()) * ratio).toSize();
    if (devicePixels != renderedSize_ || ratio != renderedRatio_) {
        render(devicePixels, ratio);
        renderedSize_ = devicePixels;
        renderedRatio_ = ratio;
    }
    QPainter painter(this);
    painter.scale(1 / ratio, 1 / ratio);  // device pixels
    if (!whole_.isNull()) {
        painter.drawImage(0, 0, whole_);
        return;
    }
    const int w = devicePixels.width(), h = devicePixels.height(), corner = corners_[0].width();
    painter.drawImage(0, 0, corners_[0]);
    painter.drawImage(w - corner, 0, corners_[1]);
    painter.drawImage(0, h - corner, corners_[2]);
    painter.drawImage(w - corner, h - corner, corners_[3]);
    painter.drawImage(QRect(corner, 0, w - 2 * corner, corner), sides_[0]);
    painter.drawImage(QRect(corner, h - corner, w - 2 * corner, corner), sides_[1]);
    painter.drawImage(QRect(0, corner, corner, h - 2 * corner), sides_[2]);
    painter.drawImage(QRect(w - corner, corner, corner, h - 2 * corner), sides_[3]);
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
