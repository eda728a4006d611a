#include "win32/Win32Gauge.h"

#include <algorithm>
#include <cmath>

#include "core/GaugeScale.h"
#include "platform/windows/WideText.h"
#include "win32/LayoutFonts.h"
#include "win32/Win32AnimationClock.h"

namespace pelmora {

namespace {

using Gdiplus::Color;
using Gdiplus::PointF;
using Gdiplus::REAL;
using Gdiplus::RectF;

// The dial's colours.
const Color kMarks(255, 0, 45, 150);
const Color kOuterCircle(255, 175, 210, 255);
const Color kInnerCircle(255, 175, 210, 255);
const Color kArc(255, 227, 239, 255);
const Color kNeedle(255, 175, 210, 255);
const Color kNeedleShine(255, 227, 239, 255);
const Color kCapOuter(255, 173, 209, 255);
const Color kReadoutBox(255, 227, 239, 255);
constexpr double kOuterCircleWidth = 0.03;  // shares of the dial's size
constexpr double kArcWidth = 0.03;
constexpr int kOuterRimWidth = 2;
constexpr int kDivisionMark = 5;  // pixels
constexpr int kSubdivisionMark = 2;
constexpr double kPi = 3.14159265358979323846;

Color darker(const Color& colour, int percent)
{
    auto channel = [percent](BYTE value) { return static_cast<BYTE>(value * 100 / percent); };
    return Color(255, channel(colour.GetR()), channel(colour.GetG()), channel(colour.GetB()));
}

PointF polar(const PointF& centre, double radius, double angleDeg)
{
    const double radians = angleDeg * kPi / 180.0;
    return PointF(static_cast<REAL>(centre.X + radius * std::cos(radians)),
                  static_cast<REAL>(centre.Y - radius * std::sin(radians)));
}

RectF disc(const PointF& centre, double radius)
{
    const auto r = static_cast<REAL>(radius);
    return RectF(centre.X - r, centre.Y - r, 2 * r, 2 * r);
}

// The largest size up to the design's at which `sample` fits the box.
std::unique_ptr<Gdiplus::Font> fittedFont(const layout::FontDesign& design, const wchar_t* sample,
                                          double width, double height)
{
    const std::wstring face = layoutFace(design.family);
    Gdiplus::FontFamily family(face.c_str());
    const Gdiplus::FontFamily* use = family.IsAvailable() ? &family : Gdiplus::FontFamily::GenericSansSerif();
    HDC screen = ::GetDC(nullptr);
    std::unique_ptr<Gdiplus::Font> font;
    {
        Gdiplus::Graphics measure(screen);
        for (int size = design.pixelSize; size > 5; --size) {
            font = std::make_unique<Gdiplus::Font>(use, static_cast<REAL>(size), Gdiplus::FontStyleRegular,
                                                   Gdiplus::UnitPixel);
            RectF bounds;
            measure.MeasureString(sample, -1, font.get(), PointF(0, 0), &bounds);
            // The digits' height is about 0.7 of the em.
            if (bounds.Width <= width && size * 0.7 <= height) break;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return font;
}

struct Needle {
    double faceRadius;
    PointF centre, tip, tail, left, right;
};

Needle needleAt(const RECT& box, int angleKey)
{
    Needle needle;
    const int width = box.right - box.left, height = box.bottom - box.top;
    needle.faceRadius = std::min(width, height) / 2.0 - 4;
    needle.centre = PointF(box.left + width / 2.0f, box.top + height / 2.0f);
    const double angle = angleKey;
    needle.tip = polar(needle.centre, gauge::kNeedleLength * needle.faceRadius, angle);
    needle.tail = polar(needle.centre, 0.20 * needle.faceRadius, angle + 180);
    needle.left = polar(needle.centre, 0.11 * needle.faceRadius, angle + 90);
    needle.right = polar(needle.centre, 0.11 * needle.faceRadius, angle - 90);
    return needle;
}

}  // namespace

Win32Gauge::Win32Gauge(const char* name, const RECT& box, const layout::GaugeDesign& design,
                       Win32AnimationClock& clock)
    : SurfaceItem(name, box), design_(design), clock_(clock), glide_(design.designValue)
{
    paintedAngleKey_ = gauge::drawnAngleKey(glide_.position());
    const double side = std::min(box.right - box.left, box.bottom - box.top);
    const double faceRadius = side / 2.0 - std::max(1.0, kOuterCircleWidth * side) - kOuterRimWidth;
    scaleFont_ = fittedFont(design.scaleFont, L"100", 0.42 * faceRadius, 0.22 * faceRadius);
    valueFont_ = fittedFont(design.valueFont, L"000.00", 0.60 * side - 4, std::max(9.0, 0.19 * side) - 4);
}

Win32Gauge::~Win32Gauge() = default;

void Win32Gauge::setValue(double value)
{
    if (!(value >= gauge::kMinimum && value <= gauge::kMaximum)) return;
    if (value == glide_.target()) return;
    glide_.setTarget(value);
    clock_.repaintLater(box_);  // the read-out
    if (glide_.moving()) clock_.wake(this);
}

bool Win32Gauge::advance()
{
    const bool moving = glide_.step();
    const int key = gauge::drawnAngleKey(glide_.position());
    if (key != paintedAngleKey_) {
        // Only where the needle stood and where it stands now.
        RECT swept;
        const RECT before = needleBounds(paintedAngleKey_);
        paintedAngleKey_ = key;
        const RECT after = needleBounds(key);
        ::UnionRect(&swept, &before, &after);
        clock_.repaintLater(swept);
    }
    return moving;
}

int Win32Gauge::stepsUntilVisibleChange(int limit, int pixels) const
{
    const double tipRadius = gauge::kNeedleLength * needleAt(box_, paintedAngleKey_).faceRadius;
    return stepsUntilDrawnChange(glide_, paintedAngleKey_, limit,
                                 gauge::needleTurnForTipTravel(pixels, tipRadius),
                                 [](double value) { return gauge::drawnAngleKey(value); });
}

RECT Win32Gauge::needleBounds(int angleKey) const
{
    const Needle n = needleAt(box_, angleKey);
    const double cap = 0.17 * n.faceRadius;
    double left = n.centre.X - cap, right = n.centre.X + cap, top = n.centre.Y - cap,
           bottom = n.centre.Y + cap;
    for (const PointF& p : {n.tip, n.left, n.tail, n.right}) {
        left = std::min<double>(left, p.X);
        right = std::max<double>(right, p.X);
        top = std::min<double>(top, p.Y);
        bottom = std::max<double>(bottom, p.Y);
    }
    // The outline and the antialiasing reach a pixel beyond; two more keep
    // rounding out of the question.
    return {static_cast<LONG>(std::floor(left)) - 3, static_cast<LONG>(std::floor(top)) - 3,
            static_cast<LONG>(std::ceil(right)) + 3, static_cast<LONG>(std::ceil(bottom)) + 3};
}

void Win32Gauge::paint(HDC, Gdiplus::Graphics& graphics)
{
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    paintDial(graphics);
    paintReadout(graphics);
    paintNeedle(graphics);
}

void Win32Gauge::paintDial(Gdiplus::Graphics& graphics) const
{
    const int width = box_.right - box_.left, height = box_.bottom - box_.top;
    const double side = std::min(width, height);
    const double radius = side / 2.0;
    const PointF centre(box_.left + width / 2.0f, box_.top + height / 2.0f);
    const double ring = std::max(1.0, kOuterCircleWidth * side);

    // Light outer circle, dark rim, then the glassy face lit from the top left.
    Gdiplus::SolidBrush outer(kOuterCircle), rim(kMarks);
    graphics.FillEllipse(&outer, disc(centre, radius));
    graphics.FillEllipse(&rim, disc(centre, radius - ring));
    const double face = radius - ring - kOuterRimWidth;
    Gdiplus::GraphicsPath facePath;
    facePath.AddEllipse(disc(centre, face));
    Gdiplus::PathGradientBrush faceBrush(&facePath);
    faceBrush.SetCenterPoint(
        PointF(static_cast<REAL>(centre.X - 0.35 * face), static_cast<REAL>(centre.Y - 0.45 * face)));
    faceBrush.SetCenterColor(kArc);
    Color edge = darker(kInnerCircle, 118);
    int count = 1;
    faceBrush.SetSurroundColors(&edge, &count);
    graphics.FillPath(&faceBrush, &facePath);

    // The threshold band: a ring sector under the arc.
    const double arcRadius = gauge::kArcRadius * face;
    const double arcWidth = std::max(1.0, kArcWidth * side);
    const auto from = static_cast<REAL>(gauge::angleForValue(gauge::kThresholdFrom));
    const auto to = static_cast<REAL>(gauge::angleForValue(gauge::kThresholdTo));
    Gdiplus::GraphicsPath band;
    // GDI+ angles run clockwise from 3 o'clock: the negatives of ours.
    band.AddArc(disc(centre, arcRadius), -from, from - to);
    band.AddArc(disc(centre, gauge::kBandInner * face), -to, to - from);
    band.CloseFigure();
    Gdiplus::SolidBrush bandBrush(darker(kOuterCircle, 112));
    graphics.FillPath(&bandBrush, &band);

    Gdiplus::Pen arcPen(kArc, static_cast<REAL>(arcWidth));
    graphics.DrawArc(&arcPen, disc(centre, arcRadius), static_cast<REAL>(-gauge::kStartAngleDeg),
                     static_cast<REAL>(gauge::kSweepDeg));

    // Division and subdivision marks, pointing inwards from the arc.
    const int steps = gauge::kDivisions * gauge::kSubdivisions;
    for (int step = 0; step <= steps; ++step) {
        const bool division = step % gauge::kSubdivisions == 0;
        const double angle = gauge::kStartAngleDeg - gauge::kSweepDeg * step / steps;
        const double length = division ? kDivisionMark : kSubdivisionMark;
        Gdiplus::Pen mark(kMarks, division ? 1.3f : 1.0f);
        graphics.DrawLine(&mark, polar(centre, arcRadius + arcWidth / 2, angle),
                          polar(centre, arcRadius + arcWidth / 2 - length - arcWidth, angle));
    }

    // Numbers at both ends and the middle of the scale.
    Gdiplus::SolidBrush ink(kMarks);
    Gdiplus::StringFormat centred;
    centred.SetAlignment(Gdiplus::StringAlignmentCenter);
    centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    const double numberRadius = arcRadius - kDivisionMark - arcWidth - 0.14 * face;
    for (const double value : {gauge::kMinimum, (gauge::kMinimum + gauge::kMaximum) / 2, gauge::kMaximum}) {
        const std::wstring text = std::to_wstring(static_cast<int>(value));
        const PointF at = polar(centre, numberRadius, gauge::angleForValue(value));
        const RectF box(static_cast<REAL>(at.X - face / 2), static_cast<REAL>(at.Y - face / 4),
                        static_cast<REAL>(face), static_cast<REAL>(face / 2));
        graphics.DrawString(text.c_str(), -1, scaleFont_.get(), box, &centred, &ink);
    }
}

void Win32Gauge::paintReadout(Gdiplus::Graphics& graphics) const
{
    const int width = box_.right - box_.left, height = box_.bottom - box_.top;
    const double side = std::min(width, height);
    const double face = side / 2.0 - std::max(1.0, kOuterCircleWidth * side) - kOuterRimWidth;
    const double boxWidth = 0.60 * side;
    const double boxHeight = std::max(9.0, 0.19 * side);
    const RectF box(static_cast<REAL>(box_.left + width / 2.0 - boxWidth / 2 + 0.5),
                    static_cast<REAL>(box_.top + height / 2.0 + 0.52 * face + 0.5),
                    static_cast<REAL>(boxWidth - 1), static_cast<REAL>(boxHeight - 1));
    Gdiplus::GraphicsPath rounded;
    const REAL d = 4;
    rounded.AddArc(box.X, box.Y, d, d, 180, 90);
    rounded.AddArc(box.X + box.Width - d, box.Y, d, d, 270, 90);
    rounded.AddArc(box.X + box.Width - d, box.Y + box.Height - d, d, d, 0, 90);
    rounded.AddArc(box.X, box.Y + box.Height - d, d, d, 90, 90);
    rounded.CloseFigure();
    Gdiplus::SolidBrush fill(kReadoutBox);
    Gdiplus::Pen outline(kMarks, 1.0f);
    graphics.FillPath(&fill, &rounded);
    graphics.DrawPath(&outline, &rounded);
    Gdiplus::StringFormat centred;
    centred.SetAlignment(Gdiplus::StringAlignmentCenter);
    centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    Gdiplus::SolidBrush ink(kMarks);
    const std::wstring text = toWide(gauge::formatReadout(glide_.target()));
    graphics.DrawString(text.c_str(), -1, valueFont_.get(), box, &centred, &ink);
}

void Win32Gauge::paintNeedle(Gdiplus::Graphics& graphics) const
{
    const Needle n = needleAt(box_, paintedAngleKey_);
    // Two halves, one in the shine colour, give the needle a ridge.
    Gdiplus::SolidBrush body(kNeedle), shine(kNeedleShine);
    const PointF leftHalf[] = {n.tip, n.left, n.tail};
    const PointF rightHalf[] = {n.tip, n.right, n.tail};
    graphics.FillPolygon(&body, leftHalf, 3);
    graphics.FillPolygon(&shine, rightHalf, 3);
    // A dark outline sets the light needle off against the light face.
    Gdiplus::Pen outline(kMarks, 1.0f);
    const PointF whole[] = {n.tip, n.left, n.tail, n.right};
    graphics.DrawPolygon(&outline, whole, 4);

    const double cap = 0.17 * n.faceRadius;
    Gdiplus::SolidBrush capBrush(kCapOuter);
    Gdiplus::Pen capPen(kMarks, 0.8f);
    graphics.FillEllipse(&capBrush, disc(n.centre, cap));
    graphics.DrawEllipse(&capPen, disc(n.centre, cap));
    Gdiplus::SolidBrush inner(Color(255, 182, 218, 255));  // the inner circle a shade lighter
    graphics.FillEllipse(&inner, disc(n.centre, cap * 0.55));
}

}  // namespace pelmora
