#pragma once
// How a text of the layout is set: its font's styles and its alignment in its
// box. The layout table names them; each front end maps them onto its fonts.

namespace pelmora {

enum FontStyle : unsigned {
    Regular = 0,
    Bold = 1u << 0,
    Italic = 1u << 1,
    Underlined = 1u << 2,
};

enum class TextAlignment { Left, Right, Centre };

}  // namespace pelmora
