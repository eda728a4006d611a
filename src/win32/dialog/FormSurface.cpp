#include "win32/dialog/FormSurface.h"

// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "core/Gradient.h"
#include "core/ReflectionRows.h"
#include "core/SettingsFormTable.h"
#include "platform/windows/WideText.h"
#include "win32/LayoutFonts.h"
#include "win32/ResourcePictures.h"
#include "win32/SurfaceItem.h"

namespace pelmora {

namespace sf = settingsform;
using Gdiplus::Color;
using Gdiplus::RectF;

namespace {

constexpr int kTitleButtonTop = 8;
constexpr int kTitleButtonMargin = 8;
constexpr SIZE kSystemMenuButtonSize{21, 21};
constexpr SIZE kCloseButtonSize{29, 21};

Color argb(int alpha, int red, int green, int blue)
{
    return Color(static_cast<BYTE>(alpha), static_cast<BYTE>(red), static_cast<BYTE>(green),
                 static_cast<BYTE>(blue));
}

COLORREF colourRef(sf::Rgb rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// A rectangle's outline with rounded corners, on half-pixel lines as the
// other front end draws it.
void addRoundedRect(Gdiplus::GraphicsPath& path, const RectF& area, float radius)
{
    const float diameter = radius * 2;
    path.AddArc(area.X, area.Y, diameter, diameter, 180, 90);
    path.AddArc(area.X + area.Width - diameter, area.Y, diameter, diameter, 270, 90);
    path.AddArc(area.X + area.Width - diameter, area.Y + area.Height - diameter, diameter, diameter, 0, 90);
    path.AddArc(area.X, area.Y + area.Height - diameter, diameter, diameter, 90, 90);
    path.CloseFigure();
}

struct Stop {
    float at;
    Color colour;
};

// A top-to-bottom gradient across `area` through the stops.
void fillVertical(Gdiplus::Graphics& graphics, const Gdiplus::GraphicsPath& shape, const RectF& area,
                  const std::vector<Stop>& stops)
{
    Gdiplus::LinearGradientBrush brush(RectF(area.X, area.Y - 0.5f, area.Width, area.Height + 1.0f),
                                       stops.front().colour, stops.back().colour,
                                       Gdiplus::LinearGradientModeVertical);
    std::vector<Color> colours;
    std::vector<Gdiplus::REAL> positions;
    for (const Stop& stop : stops) {
        colours.push_back(stop.colour);
        positions.push_back(stop.at);
    }
    brush.SetInterpolationColors(colours.data(), positions.data(), static_cast<INT>(stops.size()));
    brush.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.FillPath(&brush, &shape);
}

void fillRoundedVertical(Gdiplus::Graphics& graphics, const RectF& area, float radius,
                         const std::vector<Stop>& stops)
{
    Gdiplus::GraphicsPath path;
    addRoundedRect(path, area, radius);
    fillVertical(graphics, path, area, stops);
}

void strokeRounded(Gdiplus::Graphics& graphics, const RectF& area, float radius, Color pen,
                   float width = 1.0f)
{
    Gdiplus::GraphicsPath path;
    addRoundedRect(path, area, radius);
    Gdiplus::Pen stroke(pen, width);
    graphics.DrawPath(&stroke, &path);
}

void fillPixels(Gdiplus::Graphics& graphics, int left, int top, int width, int height, Color fill)
{
    Gdiplus::SolidBrush brush(fill);
    graphics.FillRectangle(&brush, left, top, width, height);
}

// The first installed family of the list, as the other front end picks it;
// without any, the system's own face. Pixel sizes: the dialog is never scaled.
HFONT makeFont(std::span<const char* const> families, int pixels, unsigned styles)
{
    const LOGFONTW font = pixelFont(firstInstalledFace(families), pixels, styles);
    return ::CreateFontIndirectW(&font);
}

SIZE textSize(HDC dc, HFONT font, const std::wstring& text)
{
    const HGDIOBJ previous = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    size.cy = metrics.tmHeight;
    ::SelectObject(dc, previous);
    return size;
}

void drawText(HDC dc, HFONT font, COLORREF colour, const std::wstring& text, RECT area, UINT format)
{
    const HGDIOBJ previous = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_NOPREFIX | DT_SINGLELINE);
    ::SelectObject(dc, previous);
}

// A picture as GDI+ draws it, sharing the pixels' memory.
class PictureBitmap {
public:
    explicit PictureBitmap(std::vector<uint32_t> pixels, int width, int height)
        : pixels_(std::move(pixels)),
          bitmap_(width, height, width * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels_.data()))
    {
    }
    Gdiplus::Bitmap* get() { return &bitmap_; }

private:
    std::vector<uint32_t> pixels_;
    Gdiplus::Bitmap bitmap_;
};

// The picture flipped upside down, each row's alpha faded by its reflection
// opacity; colours kept.
std::vector<uint32_t> fadedReflection(const Picture& picture, int reflectionSize)
{
    const std::vector<int> opacity = reflectionOpacityRows(reflectionSize, picture.height);
    std::vector<uint32_t> flipped(picture.pixels.size());
    for (int y = 0; y < picture.height; ++y) {
        const int rowOpacity = opacity[static_cast<size_t>(y)];
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t pixel = picture.at(x, picture.height - 1 - y);
            const uint32_t alpha = (pixel >> 24) * static_cast<uint32_t>(rowOpacity) / 255;
            flipped[static_cast<size_t>(y) * picture.width + x] = alpha << 24 | (pixel & 0xffffff);
        }
    }
    return flipped;
}

// The picture, and below it its reflection squeezed into a band as high as
// the picture plus the axis and cut reflectionSize rows below the picture.
void drawReflected(Gdiplus::Graphics& graphics, const Picture& picture, int left, int top, int axis)
{
    if (picture.isNull()) return;
    PictureBitmap upright(picture.pixels, picture.width, picture.height);
    graphics.DrawImage(upright.get(), left, top, picture.width, picture.height);
    const int band = picture.height + axis;
    if (band <= 0) return;
    PictureBitmap reflection(fadedReflection(picture, sf::kReflectionSize), picture.width, picture.height);
    const Gdiplus::GraphicsState saved = graphics.Save();
    graphics.SetClip(Gdiplus::Rect(left, top + picture.height, picture.width, sf::kReflectionSize));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImage(reflection.get(),
                       RectF(static_cast<float>(left), static_cast<float>(top + picture.height),
                             static_cast<float>(picture.width), static_cast<float>(band)));
    graphics.Restore(saved);
}

std::wstring wide(const char* text)
{
    return toWide(text);
}

}  // namespace

FormSurface::FormSurface()
    : canvas_(sf::kClientWidth, sf::kClientHeight),
      sectionPictures_{loadResourcePicture(sf::kAdvReflectionImage2.picture),
                       loadResourcePicture(sf::kAdvReflectionImage1.picture),
                       loadResourcePicture(sf::kAdvReflectionImage3.picture)},
      dialogFont_(makeFont(sf::kDialogFontFamilies, sf::kSmallFontPixels, Regular)),
      captionFont_(makeFont(sf::kDialogFontFamilies, sf::kSmallFontPixels, Bold)),
      titleFont_(makeFont(sf::kDialogFontFamilies, sf::kTitleFontPixels, Bold)),
      controlFont_(makeFont(sf::kControlFontFamilies, sf::kSmallFontPixels, Regular)),
      italicFont_(makeFont(sf::kControlFontFamilies, sf::kSmallFontPixels, Italic))
{
}

FormSurface::~FormSurface()
{
    for (HFONT font : {dialogFont_, captionFont_, titleFont_, controlFont_, italicFont_})
        ::DeleteObject(font);
}

RECT FormSurface::clientRect(layout::Box box, POINT parentOrigin)
{
    return rectOf(parentOrigin.x + box.left, parentOrigin.y + box.top, box.width, box.height);
}

POINT FormSurface::backPanelOrigin()
{
    return {sf::kBackPanel.left, sf::kBackPanel.top};
}

POINT FormSurface::sectionOrigin(layout::Box section)
{
    const POINT back = backPanelOrigin();
    return {back.x + sf::kPanel1.left + section.left, back.y + sf::kPanel1.top + section.top};
}

RECT FormSurface::buttonRect(FormButton button)
{
    switch (button) {
        case FormButton::SystemMenu:
            return rectOf(kTitleButtonMargin, kTitleButtonTop, kSystemMenuButtonSize.cx,
                          kSystemMenuButtonSize.cy);
        case FormButton::Close:
            return rectOf(sf::kClientWidth - kTitleButtonMargin - kCloseButtonSize.cx, kTitleButtonTop,
                          kCloseButtonSize.cx, kCloseButtonSize.cy);
        case FormButton::Apply:
            return clientRect(sf::kBtnApply, backPanelOrigin());
        case FormButton::Cancel:
            return clientRect(sf::kBtnCancel, backPanelOrigin());
        case FormButton::None:
            break;
    }
    return {};
}

FormButton FormSurface::buttonAt(POINT client)
{
    for (FormButton button :
         {FormButton::SystemMenu, FormButton::Close, FormButton::Apply, FormButton::Cancel}) {
        const RECT area = buttonRect(button);
        if (::PtInRect(&area, client)) return button;
    }
    return FormButton::None;
}

void FormSurface::paint(FormButtonState state)
{
    if (canvas_.isNull()) return;
    ::GdiFlush();
    paintBody();
    paintSections();
    paintPushButtons(state);
    paintFrame(state);
    paintTexts();
    ::GdiFlush();
}

void FormSurface::paintBody()
{
    // The body colour, then the gradient one row per step from the top of
    // the back panel; the last step lies just below the dialog and is cut.
    uint32_t* bits = canvas_.bits();
    const auto pixel = [](int red, int green, int blue) {
        return 0xff000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
               static_cast<uint32_t>(blue);
    };
    std::fill(bits, bits + sf::kClientWidth * sf::kClientHeight,
              pixel(sf::kBodyColour.red, sf::kBodyColour.green, sf::kBodyColour.blue));
    const int steps = sf::kBackPanel.height;
    for (int i = 0; i <= steps; ++i) {
        const int y = sf::kBackPanel.top + i;
        if (y >= sf::kBackPanel.top + sf::kBackPanel.height) break;
        const uint32_t row =
            pixel(gradientComponent(sf::kGradientTop.red, sf::kGradientBottom.red, i, steps),
                  gradientComponent(sf::kGradientTop.green, sf::kGradientBottom.green, i, steps),
                  gradientComponent(sf::kGradientTop.blue, sf::kGradientBottom.blue, i, steps));
        std::fill(bits + y * sf::kClientWidth + sf::kBackPanel.left,
                  bits + y * sf::kClientWidth + sf::kBackPanel.left + sf::kBackPanel.width, row);
    }
}

void FormSurface::paintSections()
{
    Gdiplus::Graphics graphics(canvas_.dc());
    const POINT back = backPanelOrigin();

    // Panel1: a raised bevel around a faintly lit glass area.
    const RECT panel = clientRect(sf::kPanel1, back);
    const int width = panel.right - panel.left;
    const int height = panel.bottom - panel.top;
    fillPixels(graphics, panel.left + 1, panel.top + 1, width - 2, height - 2, argb(38, 255, 255, 255));
    fillPixels(graphics, panel.left, panel.top, width, 1, argb(210, 255, 255, 255));
    fillPixels(graphics, panel.left, panel.top, 1, height, argb(210, 255, 255, 255));
    fillPixels(graphics, panel.left, panel.bottom - 1, width, 1, argb(170, 38, 72, 128));
    fillPixels(graphics, panel.right - 1, panel.top, 1, height, argb(170, 38, 72, 128));

    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    struct Section {
        layout::Box box;
        const char* caption;
        const sf::PicturePlace& picture;
        const Picture& decoded;
    };
    const Section sections[] = {
        {sf::kGroupBox2, sf::kGroupBox2Caption, sf::kAdvReflectionImage2, sectionPictures_[0]},
        {sf::kGroupBox1, sf::kGroupBox1Caption, sf::kAdvReflectionImage1, sectionPictures_[1]},
        {sf::kGroupBox3, sf::kGroupBox3Caption, sf::kAdvReflectionImage3, sectionPictures_[2]},
    };
    for (const Section& section : sections) {
        const POINT origin = sectionOrigin(section.box);
        const SIZE caption = textSize(canvas_.dc(), captionFont_, wide(section.caption));
        const float frameTop = static_cast<float>(caption.cy / 2);
        const RectF frame(origin.x + 0.5f, origin.y + frameTop + 0.5f, section.box.width - 1.0f,
                          section.box.height - frameTop - 1.0f);
        fillRoundedVertical(graphics, frame, 5,
                            {{0, argb(120, 255, 255, 255)}, {1, argb(70, 255, 255, 255)}});

        // The caption sits on a gap in the top edge.
        const Gdiplus::GraphicsState saved = graphics.Save();
        Gdiplus::Region outside(Gdiplus::Rect(origin.x, origin.y, section.box.width, section.box.height));
        outside.Exclude(Gdiplus::Rect(origin.x + 8 - 2, origin.y, caption.cx + 4, caption.cy));
        graphics.SetClip(&outside);
        strokeRounded(graphics, frame, 5, argb(200, 58, 96, 156));
        strokeRounded(graphics, RectF(frame.X + 1, frame.Y + 1, frame.Width - 2, frame.Height - 2), 4,
                      argb(170, 255, 255, 255));
        graphics.Restore(saved);

        drawReflected(graphics, section.decoded, origin.x + section.picture.left,
                      origin.y + section.picture.top, section.picture.reflectionAxis);
    }
}

void FormSurface::paintPushButtons(FormButtonState state)
{
    Gdiplus::Graphics graphics(canvas_.dc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    for (FormButton button : {FormButton::Apply, FormButton::Cancel}) {
        const RECT area = buttonRect(button);
        const RectF shape(area.left + 0.5f, area.top + 0.5f, area.right - area.left - 1.0f,
                          area.bottom - area.top - 1.0f);
        Color border = argb(255, 0x4a, 0x74, 0xad);
        std::vector<Stop> glass{{0, argb(255, 0xff, 0xff, 0xff)},
                                {0.48f, argb(255, 0xe4, 0xee, 0xfb)},
                                {0.52f, argb(255, 0xca, 0xdc, 0xf3)},
                                {1, argb(255, 0xe6, 0xef, 0xfb)}};
        if (state.pressed == button && state.hovered == button) {
            border = argb(255, 0x23, 0x50, 0x8f);
            glass = {{0, argb(255, 0xc2, 0xd6, 0xef)},
                     {0.5f, argb(255, 0xad, 0xc7, 0xea)},
                     {1, argb(255, 0xd3, 0xe2, 0xf5)}};
        } else if (state.hovered == button) {
            border = argb(255, 0x2f, 0x62, 0xb0);
            glass = {{0, argb(255, 0xff, 0xff, 0xff)},
                     {0.48f, argb(255, 0xea, 0xf4, 0xff)},
                     {0.52f, argb(255, 0xbc, 0xd8, 0xf7)},
                     {1, argb(255, 0xe2, 0xf0, 0xff)}};
        }
        fillRoundedVertical(graphics, shape, 3, glass);
        strokeRounded(graphics, shape, 3, border);
    }
}

void FormSurface::paintFrame(FormButtonState state)
{
    {
        Gdiplus::Graphics graphics(canvas_.dc());
        const RectF bar(0, 0, static_cast<float>(sf::kClientWidth), static_cast<float>(sf::kTitleBarHeight));
        Gdiplus::GraphicsPath barShape;
        barShape.AddRectangle(bar);
        fillVertical(graphics, barShape, bar,
                     {{0, argb(255, 134, 172, 224)},
                      {0.48f, argb(255, 90, 133, 196)},
                      {0.52f, argb(255, 68, 110, 176)},
                      {1, argb(255, 92, 137, 201)}});
        fillPixels(graphics, 0, 1, sf::kClientWidth, 1, argb(120, 255, 255, 255));
        fillPixels(graphics, 0, sf::kTitleBarHeight - 1, sf::kClientWidth, 1, argb(255, 36, 66, 120));

        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        // The close button: glass, red under the mouse.
        const RECT close = buttonRect(FormButton::Close);
        const RectF closeShape(close.left + 0.5f, close.top + 0.5f, close.right - close.left - 1.0f,
                               close.bottom - close.top - 1.0f);
        std::vector<Stop> closeFill{
            {0, argb(90, 255, 255, 255)}, {0.5f, argb(35, 255, 255, 255)}, {1, argb(60, 255, 255, 255)}};
        if (state.pressed == FormButton::Close && state.hovered == FormButton::Close)
            closeFill = {{0, argb(255, 150, 36, 26)}, {1, argb(255, 196, 62, 44)}};
        else if (state.hovered == FormButton::Close)
            closeFill = {
                {0, argb(255, 240, 128, 108)}, {0.5f, argb(255, 214, 66, 46)}, {1, argb(255, 232, 110, 84)}};
        fillRoundedVertical(graphics, closeShape, 4, closeFill);
        strokeRounded(graphics, closeShape, 4, argb(200, 28, 52, 100));
        Gdiplus::Pen cross(argb(255, 255, 255, 255), 2);
        cross.SetStartCap(Gdiplus::LineCapRound);
        cross.SetEndCap(Gdiplus::LineCapRound);
        const float centreX = closeShape.X + closeShape.Width / 2;
        const float centreY = closeShape.Y + closeShape.Height / 2;
        graphics.DrawLine(&cross, centreX - 4, centreY - 4, centreX + 4, centreY + 4);
        graphics.DrawLine(&cross, centreX - 4, centreY + 4, centreX + 4, centreY - 4);

        // The system-menu button: a small glass dial.
        const RECT menu = buttonRect(FormButton::SystemMenu);
        const RectF menuShape(menu.left + 0.5f, menu.top + 0.5f, menu.right - menu.left - 1.0f,
                              menu.bottom - menu.top - 1.0f);
        if (state.hovered == FormButton::SystemMenu) {
            Gdiplus::GraphicsPath lit;
            addRoundedRect(lit, menuShape, 4);
            Gdiplus::SolidBrush light(argb(state.pressed == FormButton::SystemMenu ? 40 : 70, 255, 255, 255));
            graphics.FillPath(&light, &lit);
        }
        const RectF dial(menuShape.X + 3, menuShape.Y + 3, menuShape.Width - 6, menuShape.Height - 6);
        Gdiplus::GraphicsPath glow;
        const float lightX = dial.X + dial.Width / 2 - 2;
        const float lightY = dial.Y + dial.Height / 2 - 3;
        glow.AddEllipse(lightX - dial.Width, lightY - dial.Width, dial.Width * 2, dial.Width * 2);
        Gdiplus::PathGradientBrush glass(&glow);
        glass.SetCenterPoint(Gdiplus::PointF(lightX, lightY));
        glass.SetCenterColor(argb(255, 235, 245, 255));
        Color rim = argb(255, 92, 142, 210);
        INT rims = 1;
        glass.SetSurroundColors(&rim, &rims);
        graphics.FillEllipse(&glass, dial);
        Gdiplus::Pen outline(argb(255, 26, 58, 112), 1);
        graphics.DrawEllipse(&outline, dial);
        Gdiplus::Pen hand(argb(255, 26, 58, 112), 1.6f);
        hand.SetStartCap(Gdiplus::LineCapRound);
        hand.SetEndCap(Gdiplus::LineCapRound);
        const float dialX = dial.X + dial.Width / 2;
        const float dialY = dial.Y + dial.Height / 2;
        graphics.DrawLine(&hand, dialX, dialY + 2, dialX + 4, dialY - 3);

        // The one-pixel black border, above everything else.
        fillPixels(graphics, 0, 0, sf::kClientWidth, 1, argb(255, 0, 0, 0));
        fillPixels(graphics, 0, sf::kClientHeight - 1, sf::kClientWidth, 1, argb(255, 0, 0, 0));
        fillPixels(graphics, 0, 0, 1, sf::kClientHeight, argb(255, 0, 0, 0));
        fillPixels(graphics, sf::kClientWidth - 1, 0, 1, sf::kClientHeight, argb(255, 0, 0, 0));
    }
}

void FormSurface::paintTexts()
{
    const HDC dc = canvas_.dc();

    // The caption, with a soft shadow one pixel below.
    const RECT menu = buttonRect(FormButton::SystemMenu);
    const RECT close = buttonRect(FormButton::Close);
    RECT caption{menu.right + 8, 0, close.left - 9, sf::kTitleBarHeight};
    RECT shadow = caption;
    ::OffsetRect(&shadow, 0, 1);
    drawText(dc, titleFont_, RGB(44, 70, 118), wide(sf::kCaption), shadow,
             DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    drawText(dc, titleFont_, RGB(255, 255, 255), wide(sf::kCaption), caption,
             DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);

    for (const auto& [box, text] :
         {std::pair{sf::kGroupBox2, sf::kGroupBox2Caption}, std::pair{sf::kGroupBox1, sf::kGroupBox1Caption},
          std::pair{sf::kGroupBox3, sf::kGroupBox3Caption}}) {
        const POINT origin = sectionOrigin(box);
        const SIZE size = textSize(dc, captionFont_, wide(text));
        drawText(dc, captionFont_, colourRef(sf::kCaptionText), wide(text),
                 rectOf(origin.x + 8, origin.y, size.cx, size.cy), DT_LEFT | DT_VCENTER);
    }

    const std::pair<layout::Box, const sf::LabelPlace&> labels[] = {
        {sf::kGroupBox2, sf::kLabel2}, {sf::kGroupBox2, sf::kLabel3}, {sf::kGroupBox2, sf::kLabel4},
        {sf::kGroupBox1, sf::kLabel1}, {sf::kGroupBox3, sf::kLabel5},
    };
    for (const auto& [section, label] : labels) {
        const POINT origin = sectionOrigin(section);
        const HFONT font = label.italic ? italicFont_ : controlFont_;
        const std::wstring text = wide(label.text);
        const SIZE size = textSize(dc, font, text);
        RECT area = rectOf(origin.x + label.left, origin.y + label.top, size.cx, size.cy);
        if (label.rightAlignedWidth > 0) {
            // Right-aligned under the maximum end: a wider font grows it to the left.
            const int width = std::max<int>(label.rightAlignedWidth, size.cx);
            area = rectOf(origin.x + label.left + label.rightAlignedWidth - width, origin.y + label.top,
                          width, size.cy);
        }
        drawText(dc, font, RGB(0, 0, 0), text, area, label.rightAlignedWidth > 0 ? DT_RIGHT : DT_LEFT);
    }

    for (FormButton button : {FormButton::Apply, FormButton::Cancel}) {
        drawText(dc, dialogFont_, RGB(0x10, 0x28, 0x4f),
                 wide(button == FormButton::Apply ? sf::kBtnApplyText : sf::kBtnCancelText),
                 buttonRect(button), DT_CENTER | DT_VCENTER);
    }
}

}  // namespace pelmora
