#include "shell/ReflectionImage.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace pelmora {

QImage fadedReflection(const QImage& picture, int reflectionSize)
{
    QImage flipped = picture.convertToFormat(QImage::Format_ARGB32).mirrored(false, true);
    const std::vector<int> opacity = reflectionOpacityRows(reflectionSize, flipped.height());
    for (int y = 0; y < flipped.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(flipped.scanLine(y));
        const int rowOpacity = opacity[static_cast<size_t>(y)];
        for (int x = 0; x < flipped.width(); ++x) {
            const int alpha = qAlpha(row[x]) * rowOpacity / 255;
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), alpha);
        }
    }
    return flipped;
}

ReflectionImage::ReflectionImage(const QImage& picture, int reflectionSize, int reflectionAxis,
                                 QWidget* parent)
    : QWidget(parent), reflectionSize_(reflectionSize), reflectionAxis_(reflectionAxis)
{
    if (picture.isNull()) return;
    const QSize pictureSize = picture.deviceIndependentSize().toSize();
    resize(pictureSize.width(), pictureSize.height() + std::max(reflectionSize, 0));
    drawPictureAndReflection(picture);
}

void ReflectionImage::keepOnlyUnder(std::function<QRegion()> repaintedAbove, std::function<QImage()> reload)
{
    repaintedAbove_ = std::move(repaintedAbove);
    reload_ = std::move(reload);
}

void ReflectionImage::drawPictureAndReflection(const QImage& picture)
{
    if (picture.isNull()) return;
    // Sizes in pixels; a picture drawn for a scaled screen has more device
    // pixels, and so does the canvas.
    const qreal ratio = picture.devicePixelRatio();
    const QSize pictureSize = picture.deviceIndependentSize().toSize();
    const int pictureWidth = pictureSize.width();
    const int pictureHeight = pictureSize.height();
    const int height = pictureHeight + std::max(reflectionSize_, 0);

    QImage canvas(QSize(pictureWidth, height) * ratio, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, picture);
    const int bandHeight = pictureHeight + reflectionAxis_;
    if (reflectionSize_ > 0 && bandHeight > 0) {
        // The canvas ends reflectionSize rows below the picture: that is the cut.
        painter.drawImage(QRect(0, pictureHeight, pictureWidth, bandHeight),
                          fadedReflection(picture, static_cast<int>(reflectionSize_ * ratio)));
    }
    painter.end();
    rendered_ = QPixmap::fromImage(canvas);
}

void ReflectionImage::letGoButKeptParts()
{
    if (rendered_.isNull() || devicePixelRatioF() != 1.0) return;
    kept_.keep(rendered_.toImage(), kept_.region() | repaintedAbove_());
    rendered_ = QPixmap();
}

void ReflectionImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (rendered_.isNull() && reload_) {
        if (kept_.drawIfEnough(painter, event->region())) return;
        drawPictureAndReflection(reload_());
    }
    if (rendered_.isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, rendered_);
    if (repaintedAbove_) kept_.letGoAfterPaint(*this, [this] { letGoButKeptParts(); });
}

}  // namespace pelmora
