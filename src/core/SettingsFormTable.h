#pragma once
// Where every control of the settings dialog stands, with its text: pixels
// relative to the control's parent, never scaled. Both front ends build the
// dialog from these values.
#include "core/LayoutTable.h"

namespace pelmora::settingsform {

using layout::Box;
using layout::Rgb;

inline constexpr const char* kCaption = "Configure Settings";
inline constexpr int kClientWidth = 656;
inline constexpr int kClientHeight = 379;
inline constexpr int kTitleBarHeight = 37;
inline constexpr int kOpacity = 217;  // of 255

inline constexpr Rgb kBodyColour{216, 229, 250};
inline constexpr Rgb kGradientTop{97, 142, 199};
inline constexpr Rgb kGradientBottom{222, 232, 243};
inline constexpr Rgb kCaptionText{22, 50, 96};

// Fonts: the first family installed wins; the fallbacks have similar widths.
// The dialog's own font and the section captions (bold):
inline constexpr const char* kDialogFontFamilies[] = {"Verdana", "DejaVu Sans", "Sans Serif"};
// Labels, the tree and the list:
inline constexpr const char* kControlFontFamilies[] = {"Tahoma", "DejaVu Sans Condensed", "Liberation Sans",
                                                       "Sans Serif"};
// 8 point at 96 pixels per inch.
inline constexpr int kSmallFontPixels = 11;
inline constexpr int kTitleFontPixels = 12;

// The parent of each box is named beside it.
inline constexpr Box kBackPanel{0, kTitleBarHeight, kClientWidth, kClientHeight - kTitleBarHeight};  // dialog
inline constexpr Box kPanel1{8, 8, 641, 297};              // BackPanel
inline constexpr Box kGroupBox2{8, 8, 625, 97};            // Panel1
inline constexpr Box kGroupBox1{8, 112, 305, 155};         // Panel1
inline constexpr Box kGroupBox3{320, 112, 313, 155};       // Panel1
inline constexpr Box kTrackSpeed{72, 40, 537, 36};         // GroupBox2
inline constexpr Box kDrivesTreeView{80, 38, 217, 106};    // GroupBox1
inline constexpr Box kNetworkInterface{72, 40, 233, 105};  // GroupBox3
inline constexpr Box kBtnApply{227, 311, 99, 25};          // BackPanel
inline constexpr Box kBtnCancel{331, 311, 99, 25};         // BackPanel

inline constexpr const char* kGroupBox2Caption = " General ";
inline constexpr const char* kGroupBox1Caption = " Hard-Disk ";
inline constexpr const char* kGroupBox3Caption = " Network ";
inline constexpr const char* kBtnApplyText = "Apply Settings";
inline constexpr const char* kBtnCancelText = "Cancel";

// Labels take the size of their text, except Label4: right-aligned in its
// width, growing to the left when the font is wider.
struct LabelPlace {
    const char* text;
    int left, top;
    bool italic = false;
    int rightAlignedWidth = 0;  // 0: left-aligned, as wide as the text
};
inline constexpr LabelPlace kLabel2{"Select refresh speed (1-60 seconds):", 81, 24};           // GroupBox2
inline constexpr LabelPlace kLabel3{"Fastest", 81, 74, true};                                  // GroupBox2
inline constexpr LabelPlace kLabel4{"Slowest", 567, 74, true, 37};                             // GroupBox2
inline constexpr LabelPlace kLabel1{"Please choose up to two drives to monitor:", 80, 24};     // GroupBox1
inline constexpr LabelPlace kLabel5{"Choose up to two network adapters to monitor:", 72, 24};  // GroupBox3

// Section pictures with their reflection; each takes the size of its picture.
struct PicturePlace {
    const char* picture;  // resource alias
    int left, top;
    int reflectionAxis;
};
inline constexpr int kReflectionSize = 15;
inline constexpr PicturePlace kAdvReflectionImage2{"dlg-bolt.png", 8, 23, -15};  // GroupBox2
inline constexpr PicturePlace kAdvReflectionImage1{"dlg-disk.png", 9, 19, -15};  // GroupBox1
inline constexpr PicturePlace kAdvReflectionImage3{"dlg-globe.png", 7, 26, 0};   // GroupBox3

// The drive tree's pictures by index; the state pictures' index 0 shows none.
inline constexpr const char* kStatePictures[] = {nullptr,
                                                 "state-unchecked.png",
                                                 "state-checked.png",
                                                 "state-radio-off.png",
                                                 "state-radio-on.png",
                                                 "state-document.png",
                                                 "state-folder.png"};
inline constexpr const char* kNodePictures[] = {"drive-disk.png", "drive-computer.png",
                                                "drive-removable.png"};
inline constexpr int kDiskNodePicture = 0;
inline constexpr int kStatePictureSize = 16;
inline constexpr int kNodePictureSize = 32;
inline constexpr int kTreeIndent = 35;
// The trackbar's arrow and page keys.
inline constexpr int kTrackLineStep = 1;
inline constexpr int kTrackPageStep = 2;
inline constexpr int kInterfaceItemHeight = 13;

}  // namespace pelmora::settingsform
