#include "win32/dialog/SpeedTrackBar.h"

// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <vector>

namespace pelmora {

namespace {

constexpr float kRailHeight = 5;
constexpr int kHandleWidth = 11;
constexpr int kTickLength = 4;

Gdiplus::Color argb(int alpha, int red, int green, int blue)
{
    return Gdiplus::Color(static_cast<BYTE>(alpha), static_cast<BYTE>(red), static_cast<BYTE>(green),
                          static_cast<BYTE>(blue));
}

RECT thumbRect(HWND track)
{
    RECT thumb{};
    ::SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return thumb;
}

// The x of every value's tick: the centre of the thumb at that value, which
// travels the channel less its own width.
std::vector<int> tickPositions(HWND track)
{
    const int minimum = static_cast<int>(::SendMessageW(track, TBM_GETRANGEMIN, 0, 0));
    const int maximum = static_cast<int>(::SendMessageW(track, TBM_GETRANGEMAX, 0, 0));
    RECT channel{};
    ::SendMessageW(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const RECT thumb = thumbRect(track);
    const int thumbWidth = thumb.right - thumb.left;
    const int travel = channel.right - channel.left - thumbWidth;
    std::vector<int> ticks;
    if (maximum <= minimum) return ticks;
    for (int value = minimum; value <= maximum; ++value)
        ticks.push_back(channel.left + thumbWidth / 2 + travel * (value - minimum) / (maximum - minimum));
    return ticks;
}

void drawRail(Gdiplus::Graphics& graphics, HWND track, const RECT& channel)
{
    const std::vector<int> ticks = tickPositions(track);
    const float centreY = (channel.top + channel.bottom) / 2.0f;
    const float left = ticks.empty() ? channel.left : ticks.front() - 2.0f;
    const float right = ticks.empty() ? channel.right : ticks.back() + 2.0f;
    const Gdiplus::RectF rail(left, centreY - kRailHeight / 2, right - left, kRailHeight);
    Gdiplus::GraphicsPath shape;
    const float diameter = kRailHeight;
    shape.AddArc(rail.X, rail.Y, diameter, diameter, 90, 180);
    shape.AddArc(rail.X + rail.Width - diameter, rail.Y, diameter, diameter, 270, 180);
    shape.CloseFigure();
    Gdiplus::LinearGradientBrush fill(Gdiplus::RectF(rail.X, rail.Y - 0.5f, rail.Width, rail.Height + 1),
                                      argb(255, 70, 100, 150), argb(255, 196, 214, 238),
                                      Gdiplus::LinearGradientModeVertical);
    graphics.FillPath(&fill, &shape);
    Gdiplus::Pen outline(argb(200, 46, 78, 132), 1);
    graphics.DrawPath(&outline, &shape);
}

void drawTicks(Gdiplus::Graphics& graphics, HWND track)
{
    const std::vector<int> ticks = tickPositions(track);
    const RECT thumb = thumbRect(track);
    Gdiplus::SolidBrush ink(argb(190, 34, 62, 112));
    for (size_t i = 0; i < ticks.size(); ++i) {
        const bool end = i == 0 || i + 1 == ticks.size();
        graphics.FillRectangle(&ink, ticks[i], static_cast<int>(thumb.bottom) + 3, 1,
                               kTickLength + (end ? 2 : 0));
    }
}

// A glass tab pointing down at the ticks.
void drawHandle(Gdiplus::Graphics& graphics, const RECT& thumb, bool active)
{
    const float centre = (thumb.left + thumb.right) / 2.0f + 0.5f;
    const float half = kHandleWidth / 2.0f;
    const float top = static_cast<float>(thumb.top);
    const float tip = static_cast<float>(thumb.bottom);
    const float shoulder = tip - 5;
    Gdiplus::GraphicsPath handle;
    handle.AddBezier(centre - half, top + 2, centre - half, top + 1, centre - half + 1, top,
                     centre - half + 2, top);
    handle.AddLine(centre - half + 2, top, centre + half - 2, top);
    handle.AddBezier(centre + half - 2, top, centre + half - 1, top, centre + half, top + 1, centre + half,
                     top + 2);
    handle.AddLine(centre + half, top + 2, centre + half, shoulder);
    handle.AddLine(centre + half, shoulder, centre, tip);
    handle.AddLine(centre, tip, centre - half, shoulder);
    handle.CloseFigure();
    Gdiplus::LinearGradientBrush glass(Gdiplus::PointF(centre - half - 0.5f, 0),
                                       Gdiplus::PointF(centre + half + 0.5f, 0), argb(255, 246, 250, 255),
                                       argb(255, 150, 184, 228));
    Gdiplus::Color colours[] = {active ? argb(255, 255, 255, 255) : argb(255, 246, 250, 255),
                                active ? argb(255, 214, 232, 255) : argb(255, 204, 222, 246),
                                active ? argb(255, 170, 204, 245) : argb(255, 150, 184, 228)};
    Gdiplus::REAL positions[] = {0, 0.5f, 1};
    glass.SetInterpolationColors(colours, positions, 3);
    graphics.FillPath(&glass, &handle);
    Gdiplus::Pen outline(argb(255, 44, 78, 136), 1);
    graphics.DrawPath(&outline, &handle);
}

}  // namespace

LRESULT drawSpeedTrackBar(const NMCUSTOMDRAW& draw)
{
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;

    HWND track = draw.hdr.hwndFrom;
    Gdiplus::Graphics graphics(draw.hdc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    switch (draw.dwItemSpec) {
        case TBCD_CHANNEL:
            drawRail(graphics, track, draw.rc);
            return CDRF_SKIPDEFAULT;
        case TBCD_TICS:
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
            drawTicks(graphics, track);
            return CDRF_SKIPDEFAULT;
        case TBCD_THUMB:
            drawHandle(graphics, draw.rc, (draw.uItemState & (CDIS_HOT | CDIS_SELECTED)) != 0);
            return CDRF_SKIPDEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

}  // namespace pelmora
