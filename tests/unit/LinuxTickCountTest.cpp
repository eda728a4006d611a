#include <gtest/gtest.h>

#include <fstream>

#include "platform/linux/LinuxTickCount.h"

using namespace pelmora;

// /proc/uptime counts the same clock in seconds: the tick count must agree
// with it to within a second (catching a wrong clock or a wrong unit).
TEST(LinuxTickCount, AgreesWithTheKernelsUptime)
{
    LinuxTickCount tick;
    const uint64_t before = tick.milliseconds();
    double uptimeSeconds = 0;
    std::ifstream("/proc/uptime") >> uptimeSeconds;
    const uint64_t after = tick.milliseconds();
    ASSERT_GT(uptimeSeconds, 0);
    EXPECT_LE(before, after);
    EXPECT_NEAR(static_cast<double>(after), uptimeSeconds * 1000, 1000);
}
