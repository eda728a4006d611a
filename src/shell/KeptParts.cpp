#include "shell/KeptParts.h"

#include <QPaintEngine>

namespace pelmora {

void KeptParts::keep(const QImage& drawn, const QRegion& region)
{
    region_ = region & drawn.rect();
    parts_.clear();
    for (const QRect& box : region_) parts_.emplace_back(box, drawn.copy(box));
}

void KeptParts::draw(QPainter& painter, const QRect& within) const
{
    for (const auto& [box, pixels] : parts_) {
        if (box.intersects(within)) painter.drawImage(box.topLeft(), pixels);
    }
}

bool KeptParts::paintsUnscaled(QPainter& painter)
{
    const QPaintDevice* target = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    return target && target->devicePixelRatioF() == 1.0;
}

}  // namespace pelmora
