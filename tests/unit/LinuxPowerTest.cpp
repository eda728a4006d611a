#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/linux/LinuxPower.h"

using namespace pelmora;

namespace {

constexpr uint32_t kUnknownTime = 0xFFFFFFFF;

std::string powerFixture(const char* name)
{
    return std::string(PELMORA_FIXTURES) + "/power_supply/" + name;
}

BatteryReading energyBattery(const char* status, int64_t now, int64_t full, std::optional<int64_t> power,
                             std::optional<int64_t> capacity = std::nullopt)
{
    BatteryReading b;
    b.status = status;
    b.energyNow = now;
    b.energyFull = full;
    b.powerNow = power;
    b.capacityPercent = capacity;
    return b;
}

}  // namespace

TEST(LinuxPower, ReadsTheFixtureMachines)
{
    struct Case {
        const char* fixture;
        uint8_t acLine, flag, percent;
        uint32_t seconds;
    } cases[] = {
        {"laptop-charging", 1, 8, 57, kUnknownTime},  // medium charge, charging
        {"laptop-discharging", 0, 1, 76, 14400},      // 38 Wh at 9.5 W
        {"laptop-two-batteries", 0, 0, 64, 18000},    // 30 of 47 Wh, one battery idle
        {"laptop-charge-units", 0, 0, 50, 7200},      // 2.5 Ah at 1.25 A
        {"desktop-ac-only", 1, 128, 255, kUnknownTime}, {"desktop-nothing", 255, 128, 255, kUnknownTime},
        {"peripherals", 1, 128, 255, kUnknownTime},  // a mouse, a pen and an empty bay
        {"unreadable", 255, 255, 255, kUnknownTime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        LinuxPower power(powerFixture(c.fixture));
        PowerStatus status;
        ASSERT_TRUE(power.systemPowerStatus(status));
        EXPECT_EQ(status.acLineStatus, c.acLine);
        EXPECT_EQ(status.batteryFlag, c.flag);
        EXPECT_EQ(status.batteryLifePercent, c.percent);
        EXPECT_EQ(status.batteryLifeTime, c.seconds);
    }
}

namespace {

std::chrono::steady_clock::time_point fakeNow;

std::chrono::steady_clock::time_point readFakeNow()
{
    return fakeNow;
}

}  // namespace

// The folder is listed once in a while, not every call: a battery taken out
// is seen at the next call, one put in once the listing is due.
TEST(LinuxPower, SeesABatteryComeAndGo)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(testing::TempDir()) / "power-come-and-go";
    fs::remove_all(root);
    fs::copy(powerFixture("laptop-two-batteries"), root, fs::copy_options::recursive);
    const fs::path folder = root / "sys/class/power_supply";
    const fs::path taken = root / "BAT1";
    LinuxPower power(root.string(), readFakeNow);
    PowerStatus status;
    ASSERT_TRUE(power.systemPowerStatus(status));
    EXPECT_EQ(status.batteryLifePercent, 64);  // 30 of 47 Wh

    fs::rename(folder / "BAT1", taken);
    ASSERT_TRUE(power.systemPowerStatus(status));
    const uint8_t alone = status.batteryLifePercent;
    EXPECT_NE(alone, 64);

    fs::rename(taken, folder / "BAT1");
    fakeNow += LinuxPower::kListKept - std::chrono::seconds(1);
    ASSERT_TRUE(power.systemPowerStatus(status));
    EXPECT_EQ(status.batteryLifePercent, alone);
    fakeNow += std::chrono::seconds(1);
    ASSERT_TRUE(power.systemPowerStatus(status));
    EXPECT_EQ(status.batteryLifePercent, 64);
    fs::remove_all(root);
}

TEST(LinuxPower, FailsWithoutAPowerSupplyFolder)
{
    LinuxPower power(powerFixture("no-such-machine"));
    PowerStatus status;
    status.batteryFlag = 42;
    EXPECT_FALSE(power.systemPowerStatus(status));
    EXPECT_EQ(status.batteryFlag, 42);
}

TEST(LinuxPower, RealMachineAnswersWithoutCrashing)
{
    LinuxPower power;
    PowerStatus status;
    if (power.systemPowerStatus(status)) {
        EXPECT_TRUE(status.batteryFlag == 128 || status.batteryFlag == 255 ||
                    status.batteryLifePercent <= 100);
    }
}

TEST(CombinedBatteries, LevelBitsFollowTheCharge)
{
    struct Case {
        int64_t percent;
        uint8_t flag;
    } cases[] = {{100, 1}, {67, 1}, {66, 0}, {33, 0}, {32, 2}, {5, 2}, {4, 4}, {0, 4}, {150, 1}, {-3, 4}};
    for (const Case& c : cases) {
        BatteryReading b;
        b.status = "Full";
        b.capacityPercent = c.percent;
        const PowerStatus status = combineBatteries({b}, 1);
        EXPECT_EQ(status.batteryFlag, c.flag) << c.percent;
        EXPECT_EQ(status.batteryLifePercent, std::clamp<int64_t>(c.percent, 0, 100)) << c.percent;
        EXPECT_EQ(status.batteryLifeTime, kUnknownTime) << c.percent;
    }
}

TEST(CombinedBatteries, ChargingAddsItsBitAndHidesTheTime)
{
    const PowerStatus status = combineBatteries({energyBattery("Charging", 45, 50, 20, 90)}, 255);
    EXPECT_EQ(status.batteryFlag, 8 | 1);
    EXPECT_EQ(status.batteryLifeTime, kUnknownTime);
    EXPECT_EQ(status.acLineStatus, 1);  // a charging battery means mains
}

TEST(CombinedBatteries, TimeLeftNeedsADrainOnEveryBattery)
{
    struct Case {
        const char* name;
        std::vector<BatteryReading> batteries;
        uint32_t seconds;
    } cases[] = {
        {"energy over power", {energyBattery("Discharging", 40000000, 50000000, 10000000)}, 14400},
        {"negative power as some drivers report it",
         {energyBattery("Discharging", 40000000, 50000000, -10000000)},
         14400},
        {"no drain reported", {energyBattery("Discharging", 40000000, 50000000, std::nullopt)}, kUnknownTime},
        {"zero drain", {energyBattery("Discharging", 40000000, 50000000, 0)}, kUnknownTime},
        {"not discharging", {energyBattery("Not charging", 40000000, 50000000, 10000000)}, kUnknownTime},
        {"two batteries",
         {energyBattery("Discharging", 10000000, 50000000, 5000000),
          energyBattery("Unknown", 20000000, 50000000, 1000000)},
         18000},
        {"a battery without energies",
         {energyBattery("Discharging", 10000000, 50000000, 5000000), BatteryReading{}},
         kUnknownTime},
        {"a whole year at a trickle",
         {energyBattery("Discharging", 1000000000000, 1000000000000, 1)},
         kUnknownTime - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(combineBatteries(c.batteries, 0).batteryLifeTime, c.seconds) << c.name;
}

TEST(CombinedBatteries, SeveralBatteriesCombineByEnergyOrElseByMeanCapacity)
{
    // 10 + 40 of 100 + 50 Wh: 33 %, though the capacities average 55.
    EXPECT_EQ(combineBatteries(
                  {energyBattery("Discharging", 10, 100, 1, 10), energyBattery("Full", 40, 50, 0, 100)}, 0)
                  .batteryLifePercent,
              33);
    BatteryReading capacityOnly;
    capacityOnly.status = "Discharging";
    capacityOnly.capacityPercent = 20;
    EXPECT_EQ(combineBatteries({energyBattery("Full", 40, 50, 0, 80), capacityOnly}, 0).batteryLifePercent,
              50);
    BatteryReading nothing;
    nothing.status = "Discharging";
    const PowerStatus unknownCharge = combineBatteries({nothing}, 0);
    EXPECT_EQ(unknownCharge.batteryLifePercent, 255);
    EXPECT_EQ(unknownCharge.batteryFlag, 0);  // a battery in use, its level unknown
}
