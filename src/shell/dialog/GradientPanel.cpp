#include "shell/dialog/GradientPanel.h"

#include <QPainter>

#include "core/Gradient.h"

namespace pelmora {

TGradientPanel::TGradientPanel(QWidget* parent)
    : QWidget(parent), baseColor_(palette().color(QPalette::Window))
{
}

void TGradientPanel::setDirection(GradientDirection direction)
{
    direction_ = direction;
    update();
}

void TGradientPanel::setColorStart(const QColor& color)
{
    colorStart_ = color;
    update();
}

void TGradientPanel::setColorEnd(const QColor& color)
{
    colorEnd_ = color;
    update();
}

void TGradientPanel::setCaptionAlign(CaptionAlignment align)
{
    captionAlign_ = align;
    update();
}

void TGradientPanel::setCaptionVAlign(CaptionVAlignment align)
{
    captionVAlign_ = align;
    update();
}

void TGradientPanel::setCaptionPadding(int pixels)
{
    captionPadding_ = pixels;
    update();
}

void TGradientPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TGradientPanel::setBaseColor(const QColor& color)
{
    baseColor_ = color;
    update();
}

QPoint TGradientPanel::captionOrigin(QSize panel, QSize text, CaptionAlignment align,
                                     CaptionVAlignment valign, int padding)
{
    // Halves are truncated toward zero, as integer division does.
    int x = padding;
    if (align == alCenter)
        x = panel.width() / 2 - text.width() / 2;
    else if (align == alRight)
        x = panel.width() - text.width() - padding;
    int y = padding;
    if (valign == alMiddle)
        y = panel.height() / 2 - text.height() / 2;
    else if (valign == alBottom)
        y = panel.height() - text.height() - padding;
    return {x, y};
}

void TGradientPanel::paintPanel(QPainter& painter, QSize size) const
{
    painter.fillRect(QRect(QPoint(0, 0), size), baseColor_);

    const int steps = direction_ == drLeftToRight ? size.width() : size.height();
    if (steps > 0) {
        for (int i = 0; i <= steps; ++i) {
            const QColor color(gradientComponent(colorStart_.red(), colorEnd_.red(), i, steps),
                               gradientComponent(colorStart_.green(), colorEnd_.green(), i, steps),
                               gradientComponent(colorStart_.blue(), colorEnd_.blue(), i, steps));
            // One-pixel rows or columns; the last one lies just outside and is clipped.
            if (direction_ == drLeftToRight)
                painter.fillRect(i, 0, 1, size.height(), color);
            else
                painter.fillRect(0, i, size.width(), 1, color);
        }
    }

    if (caption_.isEmpty()) return;
    const QFontMetrics metrics(font());
    const QSize text(metrics.horizontalAdvance(caption_), metrics.height());
    const QPoint origin = captionOrigin(size, text, captionAlign_, captionVAlign_, captionPadding_);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(origin.x(), origin.y() + metrics.ascent(), caption_);
}

void TGradientPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintPanel(painter, size());
}

}  // namespace pelmora
