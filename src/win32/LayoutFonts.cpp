#include "win32/LayoutFonts.h"

#include <cmath>
#include <string>
#include <string_view>

#include "platform/windows/WideText.h"

namespace pelmora {

namespace {

// Open Sans runs about a tenth wider than the labels' own face; the Qt
// widget narrows it to 84 % (docs/fonts.md). GDI advances each glyph by
// whole hinted pixels, about 2 % wider over a label than Qt's fractional
// ones: at 84 % "Drive C: (SYSTEM) [232.88 GB]" took 143 of its 140 pixels.
constexpr double kOpenSansWidthShare = 0.82;

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

bool fontInstalled(const std::wstring& face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &wanted, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

LOGFONTW pixelFont(const std::wstring& face, int pixelSize, unsigned styles)
{
    LOGFONTW font{};
    font.lfHeight = -pixelSize;  // negative: the em, not the cell
    font.lfWeight = styles & Bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = styles & Italic ? TRUE : FALSE;
    font.lfUnderline = styles & Underlined ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    // Grey antialiasing: coloured fringes would show against the colour key.
    font.lfQuality = ANTIALIASED_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return font;
}

std::wstring firstInstalledFace(std::span<const char* const> families)
{
    for (const char* family : families) {
        std::wstring face = toWide(family);
        if (fontInstalled(face)) return face;
    }
    return L"";  // the system's default face
}

std::wstring layoutFace(const char* family)
{
    const std::string_view name(family);
    if (name == "Myriad Pro") {
        // Segoe UI: Windows' own humanist sans, where neither free face is.
        static constexpr const char* kFaces[] = {"Myriad Pro", "Open Sans", "Segoe UI", "DejaVu Sans"};
        return firstInstalledFace(kFaces);
    }
    if (name == "MS Sans Serif") {
        static constexpr const char* kFaces[] = {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"};
        return firstInstalledFace(kFaces);
    }
    if (name == "Tahoma" || name == "Verdana") {
        const char* faces[] = {family, "DejaVu Sans"};
        return firstInstalledFace(faces);
    }
    return toWide(family);
}

LayoutFont::LayoutFont(const layout::FontDesign& design)
{
    const std::wstring face = layoutFace(design.family);
    LOGFONTW font = pixelFont(face, design.pixelSize, design.styles);
    natural_ = ::CreateFontIndirectW(&font);
    widthShare_ = face == L"Open Sans" ? kOpenSansWidthShare : 1.0;
    drawn_ = natural_;
    if (widthShare_ == 1.0) return;
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, natural_);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen, &metrics);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    if (metrics.tmAveCharWidth <= 0) return;
    font.lfWidth = static_cast<LONG>(std::lround(metrics.tmAveCharWidth * widthShare_));
    drawn_ = ::CreateFontIndirectW(&font);
}

LayoutFont::~LayoutFont()
{
    if (drawn_ != natural_) ::DeleteObject(drawn_);
    ::DeleteObject(natural_);
}

const LayoutFont& LayoutFonts::fontFor(const layout::FontDesign& design)
{
    for (const Entry& entry : fonts_) {
        if (entry.family == design.family && entry.pixelSize == design.pixelSize &&
            entry.styles == design.styles)
            return *entry.font;
    }
    fonts_.push_back({design.family, design.pixelSize, design.styles, std::make_unique<LayoutFont>(design)});
    return *fonts_.back().font;
}

}  // namespace pelmora
