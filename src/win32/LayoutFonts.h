#pragma once
// The GDI fonts of the widget's texts: the layout's family where the system
// has it, else the substitute docs/fonts.md names. Sizes are pixels, never
// points: "character height 12" is a 12-pixel em.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/LayoutTable.h"

namespace pelmora {

// The fonts of one text, never null: the system's own face stands in when no
// named face is installed. A face that runs wider than the layout's is drawn
// narrowed to `widthShare`: its glyphs from a font of about that width (GDI
// narrows by whole pixels of average width), placed at the natural font's
// advances times the share, so the text's width is exact.
class LayoutFont {
public:
    explicit LayoutFont(const layout::FontDesign& design);
    ~LayoutFont();
    LayoutFont(const LayoutFont&) = delete;
    LayoutFont& operator=(const LayoutFont&) = delete;

    HFONT drawn() const { return drawn_; }
    HFONT natural() const { return natural_; }
    double widthShare() const { return widthShare_; }

private:
    HFONT natural_;
    HFONT drawn_;
    double widthShare_;
};

// The fonts of the widget's labels, each distinct design made once: the
// labels share a handful of designs, and each font costs a look through the
// installed faces and one or two GDI handles.
class LayoutFonts {
public:
    const LayoutFont& fontFor(const layout::FontDesign& design);

private:
    struct Entry {
        std::string family;
        int pixelSize;
        unsigned styles;
        std::unique_ptr<LayoutFont> font;
    };
    std::vector<Entry> fonts_;
};

// Whether the system has a face of that family.
bool fontInstalled(const std::wstring& face);
// The first of `families` (UTF-8) the system has; empty for the system's own.
std::wstring firstInstalledFace(std::span<const char* const> families);
// A font of `face` (empty: the system's own) at `pixelSize` pixels per em.
LOGFONTW pixelFont(const std::wstring& face, int pixelSize, unsigned styles);

// The face LayoutFont uses for a family of the layout.
std::wstring layoutFace(const char* family);

}  // namespace pelmora
