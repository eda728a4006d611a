#include "shell/ImageRegions.h"

#include <QBitmap>

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

}  // namespace pelmora
