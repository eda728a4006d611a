#include <gtest/gtest.h>
#include "readings/RefreshCycle.h"
TEST(RefreshInterval, ClampsIntoOneToSixtySeconds)
{
    EXPECT_EQ(pelmora::refreshIntervalMs(0), 1000u);
    EXPECT_EQ(pelmora::refreshIntervalMs(30), 30000u);
    EXPECT_EQ(pelmora::refreshIntervalMs(90), 60000u);
}
