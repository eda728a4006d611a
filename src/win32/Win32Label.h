#pragma once
// A text of the widget window: white, in its layout font and alignment. A
// fixed box keeps its size and cuts the text at its edges; any other label
// fits its box to its text (a right-aligned one keeps its right edge).
#include <string>
#include <vector>

#include "core/Controls.h"
#include "core/LayoutTable.h"
#include "win32/LayoutFonts.h"
#include "win32/SurfaceItem.h"

namespace pelmora {

class Win32Label : public SurfaceItem, public Label {
public:
    Win32Label(const char* name, const RECT& box, const layout::LabelDesign& design, const LayoutFont& font,
               SurfaceRepaint& repaint);
    ~Win32Label() override;

    void setText(const std::string& text) override;
    std::string text() const override { return text_; }
    void setVisible(bool visible) override;
    bool isVisible() const override { return visible_; }

    bool shown() const override { return visible_; }
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;
    bool pointsAtSomething() const override { return pointer_; }
    void setPointsAtSomething(bool pointer) { pointer_ = pointer; }
    // How wide the text is drawn in its font, in pixels.
    int textWidth() const { return textWidth_; }

private:
    void fitToText();
    void placeGlyphs();

    layout::LabelDesign design_;
    SurfaceRepaint& repaint_;
    const LayoutFont& font_;
    std::string text_;
    std::wstring wideText_;
    std::vector<INT> advances_;  // where each glyph of the text stands from the last
    int textWidth_ = 0;
    int lineHeight_ = 0;
    bool visible_ = true;
    bool pointer_ = false;
};

}  // namespace pelmora
