#include "shell/GlideBar.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

QColor mix(const QColor& from, const QColor& to, double share)
{
    auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
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
        // Only the columns between the old and the new edge of the fill
        // change, the fill's border column beside each edge included.
        const int from = std::min(filled, paintedFill_);
        const int to = std::max(filled, paintedFill_);
        paintedFill_ = filled;
        clock_.repaintLater(this, QRect(from, 0, to - from + 2, height()));
    }
    return moving;
}

int GlideBar::stepsUntilVisibleChange(int limit) const
{
    return stepsUntilDrawnChange(glide_, paintedFill_, limit,
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
    // The fill runs inside the grey border.
    const int track = std::max(0, QWidget::width() - 2);
    return static_cast<int>(std::lrint(track * position / BarGlide::kMaximum));
}

void GlideBar::resizeEvent(QResizeEvent*)
{
    renderFill();
    paintedFill_ = filledWidth();
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
    for (int row = 0; row < rows; ++row) {
        const double share = rows > 1 ? static_cast<double>(row) / (rows - 1) : 0.0;
        painter.fillRect(0, row, inner.width(), 1, mix(colours_.fillTop, colours_.fillBottom, share));
    }
}

void GlideBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect box = rect();
    painter.fillRect(box, colours_.background);
    painter.setPen(borderColour());
    painter.drawRect(box.adjusted(0, 0, -1, -1));

    const int filled = filledWidth();
    if (filled <= 0) return;
    const QRect progress(1, 1, filled, height() - 2);
    if (progress.width() > 2 && progress.height() > 2) {
        painter.drawPixmap(2, 2, fill_, 0, 0, progress.width() - 2, progress.height() - 2);
    }
    painter.setPen(colours_.fillBorder);
    painter.drawRect(progress.adjusted(0, 0, -1, -1));
}

}  // namespace pelmora
