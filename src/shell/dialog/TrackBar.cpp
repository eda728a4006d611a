#include "shell/dialog/TrackBar.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionSlider>

namespace pelmora {

namespace {
constexpr int kRailCentreY = 13;
constexpr int kHandleWidth = 11;
constexpr int kHandleTop = 4;
constexpr int kHandleShoulder = 19;
constexpr int kHandleTip = 24;
constexpr int kTickTop = 27;
constexpr int kTickLength = 4;
}  // namespace

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
}

int TrackBar::handleCentreAt(int value) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = value;
    option.sliderValue = value;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this).center().x();
}

void TrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal railLeft = handleCentreAt(minimum()) - 2;
    const qreal railRight = handleCentreAt(maximum()) + 2;
    const QRectF rail(railLeft, kRailCentreY - 2.5, railRight - railLeft, 5);
    QLinearGradient railFill(0, rail.top(), 0, rail.bottom());
    railFill.setColorAt(0, QColor(70, 100, 150));
    railFill.setColorAt(1, QColor(196, 214, 238));
    painter.setPen(QColor(46, 78, 132, 200));
    painter.setBrush(railFill);
    painter.drawRoundedRect(rail, 2.5, 2.5);

    if (tickPosition() & QSlider::TicksBelow) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QColor(34, 62, 112, 190));
        const int step = std::max(1, tickInterval());
        for (int value = minimum(); value <= maximum(); value += step) {
            const int x = handleCentreAt(value);
            const bool end = value == minimum() || value == maximum();
            painter.drawLine(x, kTickTop, x, kTickTop + kTickLength + (end ? 2 : 0));
        }
        painter.setRenderHint(QPainter::Antialiasing);
    }

    // The handle: a glass tab pointing down at the ticks.
    const qreal centre = handleCentreAt(sliderPosition()) + 0.5;
    const qreal half = kHandleWidth / 2.0;
    QPainterPath handle;
    handle.moveTo(centre - half, kHandleTop + 2);
    handle.quadTo(centre - half, kHandleTop, centre - half + 2, kHandleTop);
    handle.lineTo(centre + half - 2, kHandleTop);
    handle.quadTo(centre + half, kHandleTop, centre + half, kHandleTop + 2);
    handle.lineTo(centre + half, kHandleShoulder);
    handle.lineTo(centre, kHandleTip);
    handle.lineTo(centre - half, kHandleShoulder);
    handle.closeSubpath();
    QLinearGradient glass(centre - half, 0, centre + half, 0);
    const bool active = isSliderDown() || underMouse();
    glass.setColorAt(0, active ? QColor(255, 255, 255) : QColor(246, 250, 255));
    glass.setColorAt(0.5, active ? QColor(214, 232, 255) : QColor(204, 222, 246));
    glass.setColorAt(1, active ? QColor(170, 204, 245) : QColor(150, 184, 228));
    painter.setPen(QPen(hasFocus() ? QColor(18, 64, 160) : QColor(44, 78, 136), hasFocus() ? 1.4 : 1.0));
    painter.setBrush(glass);
    painter.drawPath(handle);
}

}  // namespace pelmora
