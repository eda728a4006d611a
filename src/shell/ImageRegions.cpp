#include "shell/ImageRegions.h"

#include <QBitmap>
#include <QPainter>
#include <cmath>

namespace pelmora {

QRegion regionWithoutColour(const QImage& image, const QColor& key)
{
    if (image.isNull()) return {};
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    // MaskInColor: the key's pixels become color0, so the region, made of the
    // color1 pixels, is everything else. (MaskOutColor would give the key's.)
    return QRegion(QBitmap::fromImage(opaque.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
}

QRegion regionOfVisiblePixels(const QImage& image)
{
    if (image.isNull()) return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage mask(argb.size(), QImage::Format_MonoLSB);
    mask.setColorCount(2);
    mask.setColor(0, qRgb(255, 255, 255));  // color0: left out
    mask.setColor(1, qRgb(0, 0, 0));        // color1: in the region
    mask.fill(0);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(row[x]) > 0) mask.setPixel(x, y, 1);
        }
    }
    return QRegion(QBitmap::fromImage(mask));
}

QImage drawnAt(const QImage& image, QSize size, qreal ratio)
{
    const QSize devicePixels = (QSizeF(size) * ratio).toSize();
    if (image.isNull() || (image.size() == devicePixels && image.devicePixelRatio() == ratio)) return image;
    QImage drawn(devicePixels, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    drawn.setDevicePixelRatio(ratio);
    QPainter painter(&drawn);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), image);
    painter.end();
    return drawn;
}

QRegion regionCovering(const QRegion& devicePixels, qreal ratio)
{
    if (ratio == 1.0) return devicePixels;
    QRegion covering;
    for (const QRect& r : devicePixels) {
        const int left = static_cast<int>(std::floor(r.left() / ratio));
        const int top = static_cast<int>(std::floor(r.top() / ratio));
        const int right = static_cast<int>(std::ceil((r.right() + 1) / ratio));
        const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) / ratio));
        covering += QRect(left, top, right - left, bottom - top);
    }
    return covering;
}

}  // namespace pelmora
