#pragma once
// Where every control of the widget stands, with its design text and look.
// Pixels of the 587 x 352 widget window; nothing is scaled.
#include <span>

#include "shell/FontSubstitutions.h"
#include "shell/QtLabel.h"

namespace pelmora::layout {

struct Box {
    int left, top, width, height;
};

struct Rgb {
    int red, green, blue;
};

struct LabelRow {
    const char* name;
    Box box;
    const char* text;
    unsigned styles = Regular;
    TextAlignment alignment = TextAlignment::Left;
    bool fixedBox = false;
    const char* family = "Myriad Pro";
    int pixelSize = 12;
};

enum class BarColourSet { Processor, PhysicalMemory, VirtualMemory, Network, Drive };

struct BarRow {
    const char* name;
    Box box;
    BarColourSet colours;
};

struct BarColourRow {
    Rgb background, fillTop, fillBottom, fillBorder;
};

struct FrameRow {
    const char* name;
    Box box;
};

struct IconRow {
    const char* name;
    Box box;
    const char* picture;  // resource alias
    int reflectionSize;
    int reflectionAxis;
};

struct HotAreaRow {
    const char* name;
    Box box;
};

// Labels in their stacking order: the icons' captions first (above the
// icons, beneath nothing else), then the panels' texts, then the footer.
std::span<const LabelRow> labelRows();
std::span<const BarRow> barRows();
BarColourRow barColours(BarColourSet set);
std::span<const FrameRow> frameRows();
std::span<const IconRow> iconRows();  // the footer's logo strip last

inline constexpr Box kWindow{0, 0, 587, 352};
inline constexpr Rgb kColourKey{0, 128, 255};
inline constexpr int kWindowOpacity = 217;  // of 255

inline constexpr Box kBodyPicture{18, 63, 559, 276};  // Image2
inline constexpr const char* kBodyPictureAlias = "body.jpg";
inline constexpr Box kRule{32, 317, 537, 2};  // Shape1
inline constexpr Rgb kRuleColour{0, 128, 192};
inline constexpr Box kGauge{12, 10, 64, 66};  // CPU1
inline constexpr double kGaugeDesignValue = 50;
inline constexpr HotAreaRow kSettingsArea{"imgSettings", {464, 36, 49, 17}};
inline constexpr HotAreaRow kLinkArea{"Image1", {320, 324, 249, 17}};
inline constexpr Box kMinimizeButton{522, 31, 22, 22};
inline constexpr Box kCloseButton{547, 31, 22, 22};

}  // namespace pelmora::layout
