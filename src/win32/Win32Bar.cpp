#include "win32/Win32Bar.h"

#include <algorithm>

#include "core/BarDrawing.h"
#include "win32/Win32AnimationClock.h"

namespace pelmora {

namespace {

COLORREF colourRef(const layout::Rgb& rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

void fill(HDC dc, const RECT& box, const layout::Rgb& colour)
{
    ::SetDCBrushColor(dc, colourRef(colour));
    ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void outline(HDC dc, const RECT& box, const layout::Rgb& colour)
{
    ::SetDCBrushColor(dc, colourRef(colour));
    ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

}  // namespace

Win32Bar::Win32Bar(const char* name, const RECT& box, const layout::BarColours& colours,
                   Win32AnimationClock& clock)
    : SurfaceItem(name, box), colours_(colours), clock_(clock)
{
}

void Win32Bar::setPosition(double position)
{
    glide_.setTarget(position);
    if (glide_.moving()) clock_.wake(this);
}

double Win32Bar::position() const
{
    clock_.catchUp();
    return glide_.position();
}

int Win32Bar::filledWidth() const
{
    return barFillWidth(width(), glide_.position());
}

bool Win32Bar::advance()
{
    const bool moving = glide_.step();
    const int filled = filledWidth();
    if (filled != paintedFill_) {
        const BarColumns changed = barChangedColumns(paintedFill_, filled);
        paintedFill_ = filled;
        if (visible_) {
            clock_.repaintLater(
                rectOf(box_.left + changed.left, box_.top, changed.width, box_.bottom - box_.top));
        }
    }
    return moving;
}

int Win32Bar::stepsUntilVisibleChange(int limit, int pixels) const
{
    return stepsUntilDrawnChange(glide_, paintedFill_, limit, pixels,
                                 [this](double position) { return barFillWidth(width(), position); });
}

void Win32Bar::reshape(const RECT& box)
{
    if (visible_) clock_.repaintLater(box_);
    box_ = box;
    paintedFill_ = filledWidth();
    if (visible_) clock_.repaintLater(box_);
}

void Win32Bar::setVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    clock_.repaintLater(box_);
}

void Win32Bar::setLeft(int left)
{
    if (left == box_.left) return;
    reshape(rectOf(left, box_.top, width(), box_.bottom - box_.top));
}

void Win32Bar::setWidth(int width)
{
    if (width == this->width()) return;
    reshape(rectOf(box_.left, box_.top, width, box_.bottom - box_.top));
}

void Win32Bar::paint(HDC dc, Gdiplus::Graphics&)
{
    fill(dc, box_, colours_.background);
    outline(dc, box_, kBarBorder);
    const int filled = paintedFill_;
    if (filled <= 0) return;
    const int height = box_.bottom - box_.top;
    const RECT progress = rectOf(box_.left + 1, box_.top + 1, filled, height - 2);
    if (filled > 2 && height > 4) {
        const int rows = height - 4;
        for (int row = 0; row < rows; ++row) {
            const RECT line = rectOf(progress.left + 1, progress.top + 1 + row, filled - 2, 1);
            fill(dc, line, barGradientRow(colours_.fillTop, colours_.fillBottom, row, rows));
        }
    }
    outline(dc, progress, colours_.fillBorder);
}

}  // namespace pelmora
