#include "shell/ImageRegions.h"

#include <QPainter>
#include <cmath>
#include <utility>
#include <vector>

namespace pelmora {

namespace {

// The region of the pixels `inside(pixel)` accepts, from each row's runs of
// them: rows with the same runs make one band, and the bands' rectangles go
// to the region as they are, already in the order and form it keeps them in
// (no rectangle-by-rectangle union, no bitmap between).
template <typename Inside>
QRegion regionOfRuns(const QImage& image, Inside inside)
{
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band, runs;  // [left, right) of each run
    int bandTop = 0;
    const auto closeBand = [&](int bottom) {
        for (const auto& [left, right] : band)
            rects.emplace_back(left, bandTop, right - left, bottom - bandTop);
    };
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        runs.clear();
        for (int x = 0; x < image.width();) {
            if (!inside(row[x])) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < image.width() && inside(row[x])) ++x;
            runs.emplace_back(left, x);
        }
        if (runs != band) {
            closeBand(y);
            band.swap(runs);
            bandTop = y;
        }
    }
    closeBand(image.height());
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

}  // namespace

QRegion regionWithoutColour(const QImage& image, const QColor& key)
{
    if (image.isNull()) return {};
    // Both formats keep the colour in the low 24 bits as it is drawn.
    const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage pixels = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    const QRgb colour = key.rgb() & RGB_MASK;
    return regionOfRuns(pixels, [colour](QRgb pixel) { return (pixel & RGB_MASK) != colour; });
}

QRegion regionOfVisiblePixels(const QImage& image)
{
    if (image.isNull()) return {};
    // Premultiplied or not, the alpha is the same.
    const bool direct = image.format() == QImage::Format_ARGB32 ||
                        image.format() == QImage::Format_ARGB32_Premultiplied ||
                        image.format() == QImage::Format_RGB32;
    const QImage pixels = direct ? image : image.convertToFormat(QImage::Format_ARGB32);
    return regionOfRuns(pixels, [](QRgb pixel) { return qAlpha(pixel) > 0; });
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
