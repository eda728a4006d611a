#pragma once
// Window shapes cut from drawn pixels.
#include <QColor>
#include <QImage>
#include <QRegion>

namespace pelmora {

// Every pixel whose colour is not exactly `key` (alpha ignored).
QRegion regionWithoutColour(const QImage& image, const QColor& key);

// Every pixel whose alpha is above 0.
QRegion regionOfVisiblePixels(const QImage& image);

// The image as a window on a screen of `ratio` device pixels per pixel
// shows it when it paints it into its `size` pixels, smoothly scaled: one
// image pixel per device pixel, premultiplied. The image itself when it is
// drawn for that ratio already.
QImage drawnAt(const QImage& image, QSize size, qreal ratio);

// The smallest region of whole pixels that covers `devicePixels` on a screen
// of `ratio` device pixels per pixel (the region itself at ratio 1).
QRegion regionCovering(const QRegion& devicePixels, qreal ratio);

}  // namespace pelmora
