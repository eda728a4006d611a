#include "core/LayoutTable.h"

#include <stdexcept>
#include <string>

namespace pelmora::layout {

namespace {

constexpr auto Right = TextAlignment::Right;
constexpr auto Centre = TextAlignment::Centre;
constexpr auto Left = TextAlignment::Left;

using Label = LabelDesign;
using Icon = IconDesign;
using Bar = BarDesign;
constexpr FrameDesign Frame{};

// clang-format off
constexpr ControlRow kRows[] = {
    // Beneath everything: the body picture, the footer's rule, the panels' frames.
    {"Image2", {18, 63, 559, 276}, PictureDesign{"body.jpg"}},
    {"Shape1", {32, 317, 537, 2}, RuleDesign{{0, 128, 192}}},
    {"Shape2", {106, 69, 209, 83}, Frame},
    {"Shape3", {106, 155, 209, 88}, Frame},
    {"Shape4", {106, 247, 209, 63}, Frame},
    {"Shape5", {382, 70, 185, 85}, Frame},
    {"Shape6", {382, 158, 185, 87}, Frame},
    {"Shape7", {382, 248, 185, 63}, Frame},
    // The icons beneath their captions; the footer's logo strip last.
    {"AdvReflectionImage1", {27, 67, 80, 95}, Icon{"icon-cpu.png", 15, 0}},
    {"AdvReflectionImage2", {33, 163, 64, 79}, Icon{"icon-disk.png", 15, -15}},
    {"AdvReflectionImage6", {37, 243, 64, 79}, Icon{"icon-card.png", 15, -15}},
    {"AdvReflectionImage3", {316, 74, 64, 84}, Icon{"icon-memory.png", 20, -20}},
    {"AdvReflectionImage4", {320, 165, 58, 73}, Icon{"icon-network.png", 15, 0}},
    {"AdvReflectionImage7", {318, 244, 60, 65}, Icon{"icon-battery.png", 5, -10}},
    {"AdvReflectionImage5", {328, 324, 108, 14}, Icon{"logo-strip.png", 0, -7}},
    // Section captions: bold, centred, fixed boxes.
    {"Label17", {24, 128, 89, 14}, Label{"CPU", Bold, Centre, true}},
    {"Label10", {25, 219, 81, 15}, Label{"Hard-Disk", Bold, Centre, true}},
    {"Label13", {25, 296, 81, 15}, Label{"System", Bold, Centre, true}},
    {"Label5", {313, 127, 73, 15}, Label{"Memory", Bold, Centre, true}},
    {"Label6", {316, 226, 65, 15}, Label{"Network", Bold, Centre, true}},
    {"Label16", {315, 298, 65, 15}, Label{"Battery", Bold, Centre, true}},
    // Title strip.
    {"Label11", {96, 34, 155, 20}, Label{"Pelmora", Bold, Left, false, "MS Sans Serif", 16}},
    {"Label15", {467, 36, 42, 14}, Label{"Settings", Underlined}},
    // Processor panel.
    {"Label2", {117, 70, 96, 14}, Label{"Overall CPU usage:"}},
    {"lblCPU", {247, 70, 57, 15}, Label{"0%", Bold, Right, true}},
    {"Label12", {117, 110, 60, 14}, Label{"Core usage:"}},
    // Drive panel.
    {"lblDrive1", {117, 158, 140, 14}, Label{"Drive C: (SYSTEM)", Regular, Left, true}},
    {"lblDrive1Free", {247, 161, 57, 15}, Label{"0% free", Bold, Right, true}},
    {"lblDrive2", {117, 201, 132, 14}, Label{"Drive D: (WORK)", Regular, Left, true}},
    {"lblDrive2Free", {247, 201, 57, 15}, Label{"0% free", Bold, Right, true}},
    // System panel.
    {"Label9", {117, 250, 86, 14}, Label{"Computer name:"}},
    {"lblCompName", {210, 250, 103, 14}, Label{"Unknown", Bold, Left, true}},
    {"Label4", {117, 264, 57, 14}, Label{"User name:"}},
    {"lblLocalUser", {181, 264, 129, 14}, Label{"Unknown", Bold, Left, true}},
    {"Label14", {117, 279, 61, 14}, Label{"Workgroup:"}},
    {"lblDomainName", {184, 279, 126, 14}, Label{"Unknown", Bold, Left, true}},
    {"Label20", {117, 294, 57, 14}, Label{"Resolution:"}},
    {"lblRes", {181, 294, 132, 14}, Label{"Unknown", Bold, Left, true}},
    // Memory panel.
    {"Label3", {389, 72, 89, 14}, Label{"Physical memory:"}},
    {"lblPhys", {503, 75, 57, 15}, Label{"0%", Bold, Right, true}},
    {"Label7", {389, 114, 82, 14}, Label{"Virtual memory:"}},
    // Network panel.
    {"lblAdapter1", {389, 163, 140, 14}, Label{"192.168.0.1", Regular, Left, true}},
    {"lblA1", {503, 163, 57, 15}, Label{"0%", Bold, Right, true}},
    {"lblAdapter2", {389, 203, 140, 14}, Label{"192.168.10.1", Regular, Left, true}},
    {"lblA2", {503, 203, 57, 15}, Label{"0%", Bold, Right, true}},
    // Battery and status panel.
    {"Label8", {389, 250, 73, 14}, Label{"Battery status:"}},
    {"lblBatStatus", {469, 250, 92, 14}, Label{"Unknown", Bold, Left, true}},
    {"Label19", {389, 265, 65, 14}, Label{"Battery time:"}},
    {"lblBatTime", {461, 265, 100, 14}, Label{"Unknown", Bold, Left, true}},
    {"Label18", {389, 280, 40, 14}, Label{"Uptime:"}},
    {"lblUpTime", {437, 280, 124, 14}, Label{"Unknown", Bold, Left, true}},
    {"Label23", {389, 295, 69, 14}, Label{"Volume level:"}},
    {"lblVol", {464, 295, 97, 14}, Label{"Unknown", Bold, Left, true}},
    // Footer.
    {"lblCPU_ID", {32, 325, 297, 13}, Label{"Unknown CPU", Italic, Left, true}},
    {"Label1", {443, 324, 124, 14}, Label{"View outdated drivers...", Bold | Underlined, Right}},
    // Above the texts they cover: the settings and web-link hot areas, the title buttons.
    {"imgSettings", {464, 36, 49, 17}, HotAreaDesign{}},
    {"Image1", {320, 324, 249, 17}, HotAreaDesign{}},
    {"btnMinimize", {522, 31, 22, 22}, ButtonDesign{"btn-minimize.png", "btn-minimize-hover.png"}},
    {"btnClose", {547, 31, 22, 22}, ButtonDesign{"btn-close.png", "btn-close-hover.png"}},
    // Above all: the gauge and the bars.
    {"CPU1", {12, 10, 64, 66}, GaugeDesign{50, {"Tahoma", 19}, {"Tahoma", 15}}},
    {"CPU", {117, 84, 188, 23}, Bar{BarColourSet::Processor}},
    {"Core1", {117, 124, 43, 23}, Bar{BarColourSet::Processor}},
    {"Core2", {165, 124, 43, 23}, Bar{BarColourSet::Processor}},
    {"Core3", {213, 124, 43, 23}, Bar{BarColourSet::Processor}},
    {"Core4", {261, 124, 43, 23}, Bar{BarColourSet::Processor}},
    {"Drive1", {117, 175, 188, 23}, Bar{BarColourSet::Drive}},
    {"Drive2", {117, 215, 188, 23}, Bar{BarColourSet::Drive}},
    {"Phys", {389, 88, 172, 23}, Bar{BarColourSet::PhysicalMemory}},
    {"Virt", {389, 128, 172, 23}, Bar{BarColourSet::VirtualMemory}},
    {"LAN1", {389, 177, 172, 23}, Bar{BarColourSet::Network}},
    {"LAN2", {389, 217, 172, 23}, Bar{BarColourSet::Network}},
};
// clang-format on

}  // namespace

std::span<const ControlRow> controlRows()
{
    return kRows;
}

const ControlRow& controlRow(std::string_view name)
{
    for (const ControlRow& row : kRows) {
        if (name == row.name) return row;
    }
    throw std::out_of_range("no control named " + std::string(name) + " in the layout");
}

BarColours barColours(BarColourSet set)
{
    switch (set) {
        case BarColourSet::Processor:
            return {{175, 210, 255}, {0, 255, 0}, {51, 153, 102}, {0, 128, 0}};
        case BarColourSet::PhysicalMemory:
            return {{51, 153, 102}, {255, 255, 223}, {223, 223, 0}, {255, 255, 0}};
        case BarColourSet::VirtualMemory:
            return {{223, 223, 223}, {255, 243, 236}, {255, 102, 0}, {255, 102, 0}};
        case BarColourSet::Network:
            return {{175, 210, 255}, {203, 225, 252}, {125, 165, 224}, {0, 45, 150}};
        case BarColourSet::Drive:
            break;
    }
    return {{223, 223, 223}, {203, 225, 252}, {0, 0, 128}, {0, 0, 128}};
}

}  // namespace pelmora::layout
