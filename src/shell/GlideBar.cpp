#include "shell/GlideBar.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/BarDrawing.h"

namespace pelmora {

namespace {

QColor toColour(const layout::Rgb& rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

layout::Rgb toRgb(const QColor& colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

// The outermost pixels of `box`.
void fillOutline(QPainter& painter, const QRect& box, const QColor& colour)
{
    if (box.isEmpty()) return;
    painter.fillRect(box.left(), box.top(), box.width(), 1, colour);
    painter.fillRect(box.left(), box.bottom(), box.width(), 1, colour);
    painter.fillRect(box.left(), box.top(), 1, box.height(), colour);
    painter.fillRect(box.right(), box.top(), 1, box.height(), colour);
}

}  // namespace

GlideBar::GlideBar(const BarColours& colours, AnimationClock& clock, QWidget* parent)
    : QWidget(parent), colours_(colours), clock_(clock)
{
    // The bar covers its whole box, so nothing beneath needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GlideBar::setPosition(double position)
{
    glide_.setTarget(position);
    if (glide_.moving()) clock_.wake(this, this);
}

bool GlideBar::advance()
{
    const bool moving = glide_.step();
    const int filled = filledWidth();
    if (filled != paintedFill_) {
        paintedFill_ = filled;
        clock_.changed(this, this);
    }
    return moving;
}

void GlideBar::reportChanges()
{
    if (paintedFill_ == shownFill_) return;
    const BarColumns changed = barChangedColumns(shownFill_, paintedFill_);
    shownFill_ = paintedFill_;
    // The bar covers its box: a frame draws just the changed columns.
    clock_.repaintLater(this, this, QRect(changed.left, 0, changed.width, height()));
}

int GlideBar::stepsUntilVisibleChange(int limit, int pixels) const
{
    return stepsUntilDrawnChange(glide_, paintedFill_, limit, pixels,
                                 [this](double position) { return filledWidthFor(position); });
}

void GlideBar::setVisible(bool visible)
{
    const bool wasShown = isVisible();
    QWidget::setVisible(visible);
    if (wasShown != visible) emit shapeChanged();
}

bool GlideBar::isVisible() const
{
    return parentWidget() ? isVisibleTo(parentWidget()) : QWidget::isVisible();
}

void GlideBar::setLeft(int left)
{
    if (left == x()) return;
    move(left, y());
    emit shapeChanged();
}

void GlideBar::setWidth(int width)
{
    if (width == QWidget::width()) return;
    resize(width, height());
    emit shapeChanged();
}

int GlideBar::filledWidthFor(double position) const
{
    return barFillWidth(QWidget::width(), position);
}

void GlideBar::resizeEvent(QResizeEvent*)
{
    renderFill();
    paintedFill_ = shownFill_ = filledWidth();
}

void GlideBar::renderFill()
{
    // Row by row, so the top row is exactly the first colour and the bottom
    // row exactly the second.
    const QSize inner(std::max(0, QWidget::width() - 4), std::max(0, height() - 4));
    fill_ = QPixmap(inner);
    if (inner.isEmpty()) return;
    QPainter painter(&fill_);
    const int rows = inner.height();
    const layout::Rgb top = toRgb(colours_.fillTop);
    const layout::Rgb bottom = toRgb(colours_.fillBottom);
    for (int row = 0; row < rows; ++row) {
        painter.fillRect(0, row, inner.width(), 1, toColour(barGradientRow(top, bottom, row, rows)));
    }
}

void GlideBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    draw(painter);
}

void GlideBar::draw(QPainter& painter) const
{
    // One-pixel outlines as four filled strips each: the same pixels as an
    // outline drawn with a one-pixel pen, at a fraction of the raster
    // engine's cost for the few columns a frame draws.
    const QRect box = rect();
    painter.fillRect(box.adjusted(1, 1, -1, -1), colours_.background);
    fillOutline(painter, box, borderColour());

    const int filled = filledWidth();
    if (filled <= 0) return;
    const QRect progress(1, 1, filled, height() - 2);
    if (progress.width() > 2 && progress.height() > 2) {
        painter.drawPixmap(2, 2, fill_, 0, 0, progress.width() - 2, progress.height() - 2);
    }
    fillOutline(painter, progress, colours_.fillBorder);
}

}  // namespace pelmora
