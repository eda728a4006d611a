#pragma once
// Where every control of the widget stands and how it looks: one row per
// control in stacking order (the first beneath all others), with its design
// text, font, pictures and colours. Pixels of the 587 x 352 widget window;
// nothing is scaled. Every front end builds its widget from these rows.
#include <span>
#include <string_view>
#include <variant>

#include "core/TextStyle.h"

namespace pelmora::layout {

struct Box {
    int left, top, width, height;
};

struct Rgb {
    int red, green, blue;
};

// Family names as the design gives them; a front end substitutes installed faces.
struct FontDesign {
    const char* family;
    int pixelSize;
    unsigned styles = Regular;
};

// A picture drawn as it is; a right-click on it opens the widget's menu.
struct PictureDesign {
    const char* picture;  // resource alias
};

// A rectangle filled with one colour.
struct RuleDesign {
    Rgb colour;
};

// A panel's rounded white outline.
struct FrameDesign {};

// An icon with its reflection beneath it.
struct IconDesign {
    const char* picture;  // resource alias
    int reflectionSize;
    int reflectionAxis;
};

// A text; a fixed box keeps its size and clips, any other label fits its text.
struct LabelDesign {
    const char* text;
    unsigned styles = Regular;
    TextAlignment alignment = TextAlignment::Left;
    bool fixedBox = false;
    const char* family = "Myriad Pro";
    int pixelSize = 12;

    constexpr FontDesign font() const { return {family, pixelSize, styles}; }
};

// An invisible area that takes clicks.
struct HotAreaDesign {};

// A picture button, lighter while the mouse is over it; it takes its
// picture's size.
struct ButtonDesign {
    const char* picture;  // resource alias
    const char* hoverPicture;
};

// The processor's dial gauge.
struct GaugeDesign {
    double designValue;
    FontDesign scaleFont;
    FontDesign valueFont;
};

enum class BarColourSet { Processor, PhysicalMemory, VirtualMemory, Network, Drive };

struct BarDesign {
    BarColourSet colours;
};

struct BarColours {
    Rgb background, fillTop, fillBottom, fillBorder;
};

using ControlDesign = std::variant<PictureDesign, RuleDesign, FrameDesign, IconDesign, LabelDesign,
                                   HotAreaDesign, ButtonDesign, GaugeDesign, BarDesign>;

struct ControlRow {
    const char* name;
    Box box;
    ControlDesign design;

    // The design of kind D, or null when the control is of another kind.
    template <typename D>
    const D* as() const
    {
        return std::get_if<D>(&design);
    }
};

// Every control, the body picture first and the bars last.
std::span<const ControlRow> controlRows();
// The row of the control so named; throws std::out_of_range for any other name.
const ControlRow& controlRow(std::string_view name);
BarColours barColours(BarColourSet set);

inline constexpr Box kWindow{0, 0, 587, 352};
// The widget's surface colour, cut out of the window so the background shows.
inline constexpr Rgb kColourKey{0, 128, 255};
inline constexpr int kWindowOpacity = 217;  // of 255, over the whole window

}  // namespace pelmora::layout
