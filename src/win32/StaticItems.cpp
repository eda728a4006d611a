#include "win32/StaticItems.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/ReflectionRows.h"
#include "win32/ResourcePictures.h"

namespace pelmora {

namespace {

RECT sized(const RECT& box, const DibCanvas& canvas)
{
    if (canvas.isNull()) return box;
    return rectOf(box.left, box.top, canvas.width(), canvas.height());
}

using Premultiplied = std::array<double, 4>;  // alpha, red, green, blue

Premultiplied premultiply(uint32_t pixel, double opacity)
{
    const double alpha = (pixel >> 24) * opacity;
    return {alpha, (pixel >> 16 & 0xff) * alpha / 255.0, (pixel >> 8 & 0xff) * alpha / 255.0,
            (pixel & 0xff) * alpha / 255.0};
}

uint32_t packed(const Premultiplied& p)
{
    auto byte = [](double value) { return static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L)); };
    return byte(p[0]) << 24 | byte(p[1]) << 16 | byte(p[2]) << 8 | byte(p[3]);
}

}  // namespace

PictureItem::PictureItem(const char* name, const RECT& box, const Picture& picture)
    : SurfaceItem(name, box), canvas_(premultipliedCanvas(picture))
{
}

RECT PictureItem::bounds() const
{
    return sized(box_, canvas_);
}

void PictureItem::paint(HDC dc, Gdiplus::Graphics&)
{
    blendCanvas(dc, box_.left, box_.top, canvas_);
}

void RuleItem::paint(HDC dc, Gdiplus::Graphics&)
{
    HBRUSH brush = ::CreateSolidBrush(RGB(colour_.red, colour_.green, colour_.blue));
    ::FillRect(dc, &box_, brush);
    ::DeleteObject(brush);
}

void FrameItem::paint(HDC, Gdiplus::Graphics& graphics)
{
    const float width = static_cast<float>(box_.right - box_.left);
    const float height = static_cast<float>(box_.bottom - box_.top);
    // The corners' diameter is a quarter of the shorter side. Pixel centres
    // stand on whole coordinates, so the one-pixel outline through the
    // outermost pixels' centres covers whole pixels.
    const float diameter = static_cast<float>(static_cast<int>(std::min(width, height)) / 4);
    const auto left = static_cast<float>(box_.left), top = static_cast<float>(box_.top);
    const auto right = static_cast<float>(box_.right - 1), bottom = static_cast<float>(box_.bottom - 1);
    Gdiplus::GraphicsPath path;
    if (diameter > 0) {
        path.AddArc(left, top, diameter, diameter, 180, 90);
        path.AddArc(right - diameter, top, diameter, diameter, 270, 90);
        path.AddArc(right - diameter, bottom - diameter, diameter, diameter, 0, 90);
        path.AddArc(left, bottom - diameter, diameter, diameter, 90, 90);
        path.CloseFigure();
    } else {
        path.AddRectangle(Gdiplus::RectF(left, top, right - left, bottom - top));
    }
    Gdiplus::Pen pen(Gdiplus::Color(255, 255, 255, 255), 1.0f);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.DrawPath(&pen, &path);
}

IconItem::IconItem(const char* name, const RECT& box, const Picture& picture, int reflectionSize,
                   int reflectionAxis)
    : SurfaceItem(name, box)
{
    if (picture.isNull()) return;
    const int width = picture.width, height = picture.height;
    const int reflection = std::max(reflectionSize, 0);
    canvas_ = DibCanvas(width, height + reflection);
    if (canvas_.isNull()) return;
    ::GdiFlush();
    uint32_t* out = canvas_.bits();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out[y * width + x] = packed(premultiply(picture.at(x, y), 1.0));
    }
    // The flipped, fading picture is stretched into a band as high as the
    // picture plus the axis (a negative axis squeezes it), cut where the
    // canvas ends; rows blend linearly, as a smooth stretch does.
    const int band = height + reflectionAxis;
    const std::vector<int> opacity = reflectionOpacityRows(reflectionSize, height);
    auto flipped = [&](int row, int x) {
        row = std::clamp(row, 0, height - 1);
        return premultiply(picture.at(x, height - 1 - row), opacity[static_cast<size_t>(row)] / 255.0);
    };
    for (int r = 0; r < reflection; ++r) {
        uint32_t* line = out + static_cast<size_t>(height + r) * width;
        if (band <= 0 || r >= band) {
            std::fill(line, line + width, 0u);
            continue;
        }
        const double source = std::max(0.0, (r + 0.5) * height / band - 0.5);
        const int upper = static_cast<int>(source);
        const double share = source - upper;
        for (int x = 0; x < width; ++x) {
            const Premultiplied a = flipped(upper, x), b = flipped(upper + 1, x);
            Premultiplied mixed;
            for (size_t c = 0; c < 4; ++c) mixed[c] = a[c] + (b[c] - a[c]) * share;
            line[x] = packed(mixed);
        }
    }
}

RECT IconItem::bounds() const
{
    return sized(box_, canvas_);
}

void IconItem::paint(HDC dc, Gdiplus::Graphics&)
{
    blendCanvas(dc, box_.left, box_.top, canvas_);
}

namespace {

// Drawn when a button's picture is missing, so it stays visible and usable.
void paintFallbackButton(Gdiplus::Graphics& graphics, const RECT& box, bool closeGlyph, bool light)
{
    const auto side = static_cast<float>(box.right - box.left);
    const auto left = static_cast<float>(box.left), top = static_cast<float>(box.top);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::SolidBrush fill(light ? Gdiplus::Color(255, 125, 165, 224) : Gdiplus::Color(255, 0, 45, 150));
    Gdiplus::Pen rim(Gdiplus::Color(255, 227, 239, 255), 1.0f);
    graphics.FillEllipse(&fill, left + 1.5f, top + 1.5f, side - 3, side - 3);
    graphics.DrawEllipse(&rim, left + 1.5f, top + 1.5f, side - 3, side - 3);
    Gdiplus::Pen glyph(Gdiplus::Color(255, 255, 255, 255), 2.0f);
    glyph.SetStartCap(Gdiplus::LineCapRound);
    glyph.SetEndCap(Gdiplus::LineCapRound);
    if (closeGlyph) {
        graphics.DrawLine(&glyph, left + 8, top + 8, left + 14, top + 14);
        graphics.DrawLine(&glyph, left + 14, top + 8, left + 8, top + 14);
    } else {
        graphics.DrawLine(&glyph, left + 7, top + 11, left + 15, top + 11);
    }
}

constexpr int kButtonSide = 22;

}  // namespace

ButtonItem::ButtonItem(const char* name, int left, int top, const Picture& normal, const Picture& hover,
                       bool closeGlyph)
    : SurfaceItem(name, rectOf(left, top, kButtonSide, kButtonSide)),
      normal_(premultipliedCanvas(keyedOut(normal, kTransparentRgb))),
      hover_(premultipliedCanvas(keyedOut(hover, kTransparentRgb))),
      closeGlyph_(closeGlyph)
{
    if (!normal_.isNull()) box_ = sized(box_, normal_);
}

void ButtonItem::paint(HDC dc, Gdiplus::Graphics& graphics)
{
    const DibCanvas& picture = showsHoverPicture() ? hover_ : normal_;
    if (picture.isNull()) {
        paintFallbackButton(graphics, box_, closeGlyph_, showsHoverPicture());
        return;
    }
    blendCanvas(dc, box_.left, box_.top, picture);
}

bool ButtonItem::setHovered(bool hovered)
{
    const bool before = showsHoverPicture();
    hovered_ = hovered;
    return before != showsHoverPicture();
}

bool ButtonItem::setPressed(bool pressed)
{
    const bool before = showsHoverPicture();
    pressed_ = pressed;
    return before != showsHoverPicture();
}

}  // namespace pelmora
