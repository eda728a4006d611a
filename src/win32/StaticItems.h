#pragma once
// The controls of the widget that never change after start-up: the body
// picture, the rule, the panels' rounded frames, the icons with their
// reflections, the hot areas and the title buttons.
#include <string>

#include "core/LayoutTable.h"
#include "win32/Picture.h"
#include "win32/SurfaceItem.h"

namespace pelmora {

// A picture as it is (the body photo); a right-click on it opens the menu.
class PictureItem : public SurfaceItem {
public:
    PictureItem(const char* name, const RECT& box, const Picture& picture);
    RECT bounds() const override;
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;

private:
    DibCanvas canvas_;
};

class RuleItem : public SurfaceItem {
public:
    RuleItem(const char* name, const RECT& box, layout::Rgb colour) : SurfaceItem(name, box), colour_(colour)
    {
    }
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;

private:
    layout::Rgb colour_;
};

// A panel's white one-pixel outline with corners a quarter of its shorter side.
class FrameItem : public SurfaceItem {
public:
    using SurfaceItem::SurfaceItem;
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;
};

// An icon with its reflection fading out below it, composed once.
class IconItem : public SurfaceItem {
public:
    IconItem(const char* name, const RECT& box, const Picture& picture, int reflectionSize,
             int reflectionAxis);
    RECT bounds() const override;
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;

private:
    DibCanvas canvas_;
};

// An invisible area that takes clicks (the settings and web links).
class HotAreaItem : public SurfaceItem {
public:
    using SurfaceItem::SurfaceItem;
    void paint(HDC, Gdiplus::Graphics&) override {}
    bool pointsAtSomething() const override { return true; }
};

// A picture button, lighter while the mouse is over it and no button is held.
class ButtonItem : public SurfaceItem {
public:
    static constexpr uint32_t kTransparentRgb = 0xff00ff;  // magenta

    ButtonItem(const char* name, int left, int top, const Picture& normal, const Picture& hover,
               bool closeGlyph);
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;
    bool setHovered(bool hovered) override;
    bool setPressed(bool pressed) override;
    bool pointsAtSomething() const override { return true; }
    bool showsHoverPicture() const { return hovered_ && !pressed_; }

private:
    DibCanvas normal_;
    DibCanvas hover_;
    bool closeGlyph_;
    bool hovered_ = false;
    bool pressed_ = false;
};

}  // namespace pelmora
