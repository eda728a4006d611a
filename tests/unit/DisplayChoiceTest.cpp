#include <gtest/gtest.h>

#include "app/DisplayChoice.h"

namespace pelmora {
namespace {

TEST(DisplayChoice, WaylandSessionsRunOnTheirXServerUnlessTheUserChoseAPlatform)
{
    struct Case {
        const char* display;
        const char* wayland;
        const char* platform;
        DisplayChoice expected;
    };
    const Case cases[] = {
        {":0", nullptr, nullptr, DisplayChoice::AsSet},
        {":0", "", "", DisplayChoice::AsSet},
        {":0", "wayland-0", nullptr, DisplayChoice::X11},
        {":0", "wayland-0", "", DisplayChoice::X11},
        {":0", "wayland-0", "wayland", DisplayChoice::AsSet},
        {nullptr, "wayland-0", nullptr, DisplayChoice::NoDisplay},
        {"", "wayland-0", nullptr, DisplayChoice::NoDisplay},
        {nullptr, nullptr, nullptr, DisplayChoice::NoDisplay},
        {nullptr, nullptr, "offscreen", DisplayChoice::AsSet},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseDisplay(c.display, c.wayland, c.platform), c.expected)
            << (c.display ? c.display : "-") << " " << (c.wayland ? c.wayland : "-") << " "
            << (c.platform ? c.platform : "-");
    }
    EXPECT_NE(noDisplayMessage("wayland-0").find("Wayland"), std::string::npos);
    EXPECT_EQ(noDisplayMessage(nullptr).find("Wayland"), std::string::npos);
}

}  // namespace
}  // namespace pelmora
