#pragma once
// What is kept of a picture drawn once, once the window's backing store
// holds its pixels: copies of its parts under the controls above it that
// repaint. A paint within them draws the same pixels as the whole picture
// (blended the same way over what lies beneath); a paint beyond them needs
// the picture again.
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace pelmora {

class KeptParts {
public:
    // `drawn`'s pixels within `region` (in its pixels, drawn unscaled),
    // instead of what was kept before.
    void keep(const QImage& drawn, const QRegion& region);
    const QRegion& region() const { return region_; }

    // Draws the kept parts for a paint of `region` when they are all it
    // needs (`paintedOver`: what other controls paint over in the same
    // pass), on the pixels of an unscaled screen, the only ones they serve;
    // false, drawing nothing, when the paint needs the picture.
    bool drawIfEnough(QPainter& painter, const QRegion& region, const QRegion& paintedOver = {}) const;

    // Runs `letGo` once, after the paint pass under way and any others
    // queued with it, for a widget that is shown.
    void letGoAfterPaint(QWidget& widget, std::function<void()> letGo);

private:
    QRegion region_;
    std::vector<std::pair<QRect, QImage>> parts_;
    bool letGoPending_ = false;
};

}  // namespace pelmora
