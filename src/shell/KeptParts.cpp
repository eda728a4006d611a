#include "shell/KeptParts.h"

#include <QPaintEngine>

namespace pelmora {

void KeptParts::keep(const QImage& drawn, const QRegion& region)
{
    region_ = region & drawn.rect();
    parts_.clear();
    for (const QRect& box : region_) parts_.emplace_back(box, drawn.copy(box));
}

bool KeptParts::drawIfEnough(QPainter& painter, const QRegion& region, const QRegion& paintedOver) const
{
    // The pixels painted into: the window's, or an image's of a scale of its own.
    const QPaintDevice* target = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!target || target->devicePixelRatioF() != 1.0) return false;
    if (!region.subtracted(region_ | paintedOver).isEmpty()) return false;
    const QRect within = region.boundingRect();
    for (const auto& [box, pixels] : parts_) {
        if (box.intersects(within)) painter.drawImage(box.topLeft(), pixels);
    }
    return true;
}

void KeptParts::letGoAfterPaint(QWidget& widget, std::function<void()> letGo)
{
    if (letGoPending_ || !widget.isVisible()) return;
    letGoPending_ = true;
    QMetaObject::invokeMethod(
        &widget,
        [this, letGo = std::move(letGo)] {
            letGoPending_ = false;
            letGo();
        },
        Qt::QueuedConnection);
}

}  // namespace pelmora
