#include "shell/HotArea.h"

#include <QMouseEvent>

namespace pelmora {

HotArea::HotArea(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void HotArea::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void HotArea::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a left press and release on the area.
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

}  // namespace pelmora
