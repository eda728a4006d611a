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

}  // namespace pelmora
