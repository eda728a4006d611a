#pragma once
// What is kept of a picture drawn once, once the window's backing store
// holds its pixels: copies of its parts under the controls above it that
// repaint. A paint within them draws the same pixels as the whole picture
// (blended the same way over what lies beneath); a paint beyond them needs
// the picture again.
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <utility>
#include <vector>

namespace pelmora {

class KeptParts {
public:
    // `drawn`'s pixels within `region` (in its pixels, drawn unscaled),
    // instead of what was kept before.
    void keep(const QImage& drawn, const QRegion& region);
    const QRegion& region() const { return region_; }
    // The kept parts that meet `within`, each at its place.
    void draw(QPainter& painter, const QRect& within) const;

    // Whether `painter` paints the pixels of an unscaled screen (the
    // window's, or an image's of scale 1), the only ones kept parts serve.
    static bool paintsUnscaled(QPainter& painter);

private:
    QRegion region_;
    std::vector<std::pair<QRect, QImage>> parts_;
};

}  // namespace pelmora
