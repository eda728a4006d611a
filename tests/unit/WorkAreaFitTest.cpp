#include <gtest/gtest.h>

#include "settings/WorkAreaFit.h"

namespace pelmora {

void PrintTo(const WindowGeometry& g, std::ostream* os)
{
    *os << g.left << "," << g.top << " " << g.width << "x" << g.height;
}

namespace {

// Two side by side (a 1920 laptop panel left of a 1280 one, 28 pixels of
// panel at the top of the first), as many docks have them.
const std::vector<WindowGeometry> kTwoMonitors = {{0, 28, 1920, 1052}, {1920, 0, 1280, 1024}};

TEST(WorkAreaFit, KeepsWhatOneAreaHoldsAndMovesTheRestWhollyOntoTheNearest)
{
    struct Case {
        const char* what;
        WindowGeometry window;
        std::vector<WindowGeometry> areas;
        WindowGeometry expected;
    };
    const std::vector<Case> cases = {
        {"wholly on the first", {100, 100, 587, 352}, kTwoMonitors, {100, 100, 587, 352}},
        {"wholly on the second", {2000, 600, 587, 352}, kTwoMonitors, {2000, 600, 587, 352}},
        {"astride both: onto the one it overlaps most",
         {1500, 100, 587, 352},
         kTwoMonitors,
         {1920 - 587, 100, 587, 352}},
        {"astride both, more on the second", {1700, 100, 587, 352}, kTwoMonitors, {1920, 100, 587, 352}},
        {"the second monitor unplugged",
         {1862, 364, 587, 352},
         {{0, 0, 1920, 1080}},
         {1920 - 587, 364, 587, 352}},
        {"under the panel", {300, 10, 587, 352}, kTwoMonitors, {300, 28, 587, 352}},
        {"far off to the lower right: the nearest corner",
         {9000, 9000, 587, 352},
         kTwoMonitors,
         {3200 - 587, 1024 - 352, 587, 352}},
        {"far off to the left", {-5000, 500, 587, 352}, kTwoMonitors, {0, 500, 587, 352}},
        {"bigger than the area: its corner on it",
         {-10, -10, 800, 600},
         {{0, 0, 640, 480}},
         {0, 0, 800, 600}},
        {"no work area known", {-5000, -5000, 587, 352}, {}, {-5000, -5000, 587, 352}},
        {"extreme stored values do not overflow",
         {INT32_MAX - 10, INT32_MIN, 587, 352},
         {{0, 0, 1920, 1080}},
         {1920 - 587, 0, 587, 352}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitOntoWorkAreas(c.window, c.areas), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace pelmora
