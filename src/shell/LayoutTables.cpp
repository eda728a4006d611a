#include "shell/LayoutTables.h"

namespace pelmora::layout {

namespace {

constexpr auto Right = TextAlignment::Right;
constexpr auto Centre = TextAlignment::Centre;
constexpr auto Left = TextAlignment::Left;

// clang-format off
constexpr LabelRow kLabels[] = {
    // Section captions: bold, centred, fixed boxes.
    {"Label17", {24, 128, 89, 14}, "CPU", Bold, Centre, true},
    {"Label10", {25, 219, 81, 15}, "Hard-Disk", Bold, Centre, true},
    {"Label13", {25, 296, 81, 15}, "System", Bold, Centre, true},
    {"Label5", {313, 127, 73, 15}, "Memory", Bold, Centre, true},
    {"Label6", {316, 226, 65, 15}, "Network", Bold, Centre, true},
    {"Label16", {315, 298, 65, 15}, "Battery", Bold, Centre, true},
    // Title strip.
    {"Label11", {96, 34, 155, 20}, "Pelmora", Bold, Left, false, "MS Sans Serif", 16},
    {"Label15", {467, 36, 42, 14}, "Settings", Underlined},
    // Processor panel.
    {"Label2", {117, 70, 96, 14}, "Overall CPU usage:"},
    {"lblCPU", {247, 70, 57, 15}, "0%", Bold, Right, true},
    {"Label12", {117, 110, 60, 14}, "Core usage:"},
    // Drive panel.
    {"lblDrive1", {117, 158, 140, 14}, "Drive C: (SYSTEM)", Regular, Left, true},
    {"lblDrive1Free", {247, 161, 57, 15}, "0% free", Bold, Right, true},
    {"lblDrive2", {117, 201, 132, 14}, "Drive D: (WORK)", Regular, Left, true},
    {"lblDrive2Free", {247, 201, 57, 15}, "0% free", Bold, Right, true},
    // System panel.
    {"Label9", {117, 250, 86, 14}, "Computer name:"},
    {"lblCompName", {210, 250, 103, 14}, "Unknown", Bold, Left, true},
    {"Label4", {117, 264, 57, 14}, "User name:"},
    {"lblLocalUser", {181, 264, 129, 14}, "Unknown", Bold, Left, true},
    {"Label14", {117, 279, 61, 14}, "Workgroup:"},
    {"lblDomainName", {184, 279, 126, 14}, "Unknown", Bold, Left, true},
    {"Label20", {117, 294, 57, 14}, "Resolution:"},
    {"lblRes", {181, 294, 132, 14}, "Unknown", Bold, Left, true},
    // Memory panel.
    {"Label3", {389, 72, 89, 14}, "Physical memory:"},
    {"lblPhys", {503, 75, 57, 15}, "0%", Bold, Right, true},
    {"Label7", {389, 114, 82, 14}, "Virtual memory:"},
    // Network panel.
    {"lblAdapter1", {389, 163, 140, 14}, "192.168.0.1", Regular, Left, true},
    {"lblA1", {503, 163, 57, 15}, "0%", Bold, Right, true},
    {"lblAdapter2", {389, 203, 140, 14}, "192.168.10.1", Regular, Left, true},
    {"lblA2", {503, 203, 57, 15}, "0%", Bold, Right, true},
    // Battery and status panel.
    {"Label8", {389, 250, 73, 14}, "Battery status:"},
    {"lblBatStatus", {469, 250, 92, 14}, "Unknown", Bold, Left, true},
    {"Label19", {389, 265, 65, 14}, "Battery time:"},
    {"lblBatTime", {461, 265, 100, 14}, "Unknown", Bold, Left, true},
    {"Label18", {389, 280, 40, 14}, "Uptime:"},
    {"lblUpTime", {437, 280, 124, 14}, "Unknown", Bold, Left, true},
    {"Label23", {389, 295, 69, 14}, "Volume level:"},
    {"lblVol", {464, 295, 97, 14}, "Unknown", Bold, Left, true},
    // Footer.
    {"lblCPU_ID", {32, 325, 297, 13}, "Unknown CPU", Italic, Left, true},
    {"Label1", {443, 324, 124, 14}, "View outdated drivers...", Bold | Underlined, Right},
};

constexpr BarRow kBars[] = {
    {"CPU", {117, 84, 188, 23}, BarColourSet::Processor},
    {"Core1", {117, 124, 43, 23}, BarColourSet::Processor},
    {"Core2", {165, 124, 43, 23}, BarColourSet::Processor},
    {"Core3", {213, 124, 43, 23}, BarColourSet::Processor},
    {"Core4", {261, 124, 43, 23}, BarColourSet::Processor},
    {"Drive1", {117, 175, 188, 23}, BarColourSet::Drive},
    {"Drive2", {117, 215, 188, 23}, BarColourSet::Drive},
    {"Phys", {389, 88, 172, 23}, BarColourSet::PhysicalMemory},
    {"Virt", {389, 128, 172, 23}, BarColourSet::VirtualMemory},
    {"LAN1", {389, 177, 172, 23}, BarColourSet::Network},
    {"LAN2", {389, 217, 172, 23}, BarColourSet::Network},
};

constexpr FrameRow kFrames[] = {
    {"Shape2", {106, 69, 209, 83}},
    {"Shape3", {106, 155, 209, 88}},
    {"Shape4", {106, 247, 209, 63}},
    {"Shape5", {382, 70, 185, 85}},
    {"Shape6", {382, 158, 185, 87}},
    {"Shape7", {382, 248, 185, 63}},
};

constexpr IconRow kIcons[] = {
    {"AdvReflectionImage1", {27, 67, 80, 95}, "icon-cpu.png", 15, 0},
    {"AdvReflectionImage2", {33, 163, 64, 79}, "icon-disk.png", 15, -15},
    {"AdvReflectionImage6", {37, 243, 64, 79}, "icon-card.png", 15, -15},
    {"AdvReflectionImage3", {316, 74, 64, 84}, "icon-memory.png", 20, -20},
    {"AdvReflectionImage4", {320, 165, 58, 73}, "icon-network.png", 15, 0},
    {"AdvReflectionImage7", {318, 244, 60, 65}, "icon-battery.png", 5, -10},
    {"AdvReflectionImage5", {328, 324, 108, 14}, "logo-strip.png", 0, -7},
};
// clang-format on

}  // namespace

std::span<const LabelRow> labelRows()
{
    return kLabels;
}

std::span<const BarRow> barRows()
{
    return kBars;
}

std::span<const FrameRow> frameRows()
{
    return kFrames;
}

std::span<const IconRow> iconRows()
{
    return kIcons;
}

BarColourRow barColours(BarColourSet set)
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
