#include <gtest/gtest.h>

#include "core/RecordingControls.h"
#include "platform/fakes/FakeSystemStatus.h"
#include "readings/StatusPanel.h"

using namespace pelmora;

namespace {

class StatusPanelTest : public ::testing::Test {
protected:
    void update()
    {
        StatusPanel panel(widget.controls(), tick, names, display, audio, power);
        panel.update();
    }
    WidgetControls& c() { return widget.controls(); }

    RecordingWidget widget;
    FakeTickCount tick;
    FakeNames names;
    FakeDisplay display;
    FakeAudio audio;
    FakePower power;
};

}  // namespace

TEST(Uptime, CountsWholeSecondsAndDoesNotWrapHours)
{
    struct Case {
        uint64_t ms;
        const char* text;
    } cases[] = {
        {0, "0 h, 0 min 0 sec"},
        {999, "0 h, 0 min 0 sec"},
        {1000, "0 h, 0 min 1 sec"},
        {60000, "0 h, 1 min 0 sec"},
        {3600000, "1 h, 0 min 0 sec"},
        {5 * 3600000 + 12 * 60000 + 3999, "5 h, 12 min 3 sec"},
        {24 * 3600000ull, "24 h, 0 min 0 sec"},
        {26 * 3600000ull, "26 h, 0 min 0 sec"},
        {(1ull << 32) + 1000, "1193 h, 2 min 48 sec"},  // past 49.7 days: no wrap
        {UINT64_MAX, "5124095576030 h, 25 min 51 sec"},
    };
    for (const Case& c : cases) EXPECT_EQ(uptimeCaption(c.ms), c.text) << c.ms;
}

TEST(ScreenMode, WritesTheModeAndTakesSixtyForAnUnknownFrequency)
{
    EXPECT_EQ(screenModeCaption({1920, 1080, 32, 60}), "1920x1080 32bpp, 60Hz");
    EXPECT_EQ(screenModeCaption({2560, 1440, 24, 144}), "2560x1440 24bpp, 144Hz");
    EXPECT_EQ(screenModeCaption({1024, 768, 16, 0}), "1024x768 16bpp, 60Hz");
    EXPECT_EQ(screenModeCaption({1024, 768, 16, 1}), "1024x768 16bpp, 60Hz");
    EXPECT_EQ(screenModeCaption({800, 600, 8, 2}), "800x600 8bpp, 2Hz");
}

TEST(Volume, TurnsEachWordIntoATruncatedPercentage)
{
    EXPECT_EQ(volumeCaption(0), "L: 0%, R: 0%");
    EXPECT_EQ(volumeCaption(0xFFFFFFFF), "L: 100%, R: 100%");
    EXPECT_EQ(volumeCaption(32767u | 32767u << 16), "L: 49%, R: 49%");
    EXPECT_EQ(volumeCaption(65535u | 0u << 16), "L: 100%, R: 0%");
    EXPECT_EQ(volumeCaption(655u | 48496u << 16), "L: 0%, R: 74%");
}

TEST(BatteryFlag, ClassifiesByBitsInAFixedOrder)
{
    struct Case {
        uint8_t flag;
        BatteryState state;
        const char* caption;
    } cases[] = {
        {0, BatteryState::Medium, "Medium battery"},     {1, BatteryState::High, "High battery"},
        {2, BatteryState::Low, "Low battery"},           {4, BatteryState::Critical, "Critical battery"},
        {6, BatteryState::Critical, "Critical battery"}, {8, BatteryState::Charging, "Charging"},
        {9, BatteryState::Charging, "Charging"},         {10, BatteryState::Charging, "Charging"},
        {128, BatteryState::NoBattery, "No battery"},    {136, BatteryState::NoBattery, "No battery"},
        {255, BatteryState::Unknown, "Unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classifyBattery(c.flag), c.state) << int(c.flag);
        EXPECT_EQ(batteryStateCaption(c.state), c.caption) << int(c.flag);
    }
}

TEST(BatteryTime, ShowsChargeAndTimeOnlyWithABatteryThatKnowsThem)
{
    const auto status = [](uint8_t percent, uint32_t seconds) {
        PowerStatus s;
        s.batteryLifePercent = percent;
        s.batteryLifeTime = seconds;
        return s;
    };
    EXPECT_EQ(batteryTimeCaption(BatteryState::High, status(85, 12345)), "85% (12345)");
    EXPECT_EQ(batteryTimeCaption(BatteryState::Medium, status(57, 3600)), "57% (3600)");
    EXPECT_EQ(batteryTimeCaption(BatteryState::High, status(100, 0xFFFFFFFF)), "100%");
    EXPECT_EQ(batteryTimeCaption(BatteryState::Charging, status(40, 0)), "40% (0)");
    EXPECT_EQ(batteryTimeCaption(BatteryState::Low, status(255, 600)), "N/A");  // charge unknown
    EXPECT_EQ(batteryTimeCaption(BatteryState::NoBattery, status(100, 100)), "N/A");
    EXPECT_EQ(batteryTimeCaption(BatteryState::Unknown, status(100, 100)), "N/A");
}

TEST_F(StatusPanelTest, WritesAllEightReadings)
{
    tick.ms = 5 * 3600000 + 12 * 60000 + 3000;
    names.computer = "LAB7";
    names.user = "anna";
    names.group = "OFFICE";
    display.mode = {1920, 1080, 32, 1};
    audio.volume = 48496u | 48496u << 16;
    power.status = {1, 1, 100, 0xFFFFFFFF};
    update();
    EXPECT_EQ(c().lblUpTime->text(), "5 h, 12 min 3 sec");
    EXPECT_EQ(c().lblCompName->text(), "LAB7");
    EXPECT_EQ(c().lblLocalUser->text(), "anna");
    EXPECT_EQ(c().lblDomainName->text(), "OFFICE");
    EXPECT_EQ(c().lblRes->text(), "1920x1080 32bpp, 60Hz");
    EXPECT_EQ(c().lblVol->text(), "L: 74%, R: 74%");
    EXPECT_EQ(c().lblBatStatus->text(), "High battery");
    EXPECT_EQ(c().lblBatTime->text(), "100%");
}

TEST_F(StatusPanelTest, FailedQueriesLeaveEmptyNamesAndPlainCaptions)
{
    names.computerKnown = false;
    names.userKnown = false;
    display.available = false;
    power.queryWorks = false;
    c().lblCompName->setText("old");
    update();
    EXPECT_EQ(c().lblCompName->text(), "");
    EXPECT_EQ(c().lblLocalUser->text(), "");
    EXPECT_EQ(c().lblDomainName->text(), "");
    EXPECT_EQ(c().lblRes->text(), "Unknown");
    EXPECT_EQ(c().lblBatStatus->text(), "Unknown");
    EXPECT_EQ(c().lblBatTime->text(), "N/A");
}

TEST_F(StatusPanelTest, VolumeIsZeroWithoutADeviceAControlOrAReading)
{
    struct Case {
        const char* name;
        bool present;
        uint32_t support;
        bool readable;
    } cases[] = {
        {"no device", false, kVolumeControlCapability, true},
        {"no volume control", true, 0, true},
        {"only other capabilities", true, 8, true},
        {"volume query fails", true, kVolumeControlCapability, false},
    };
    for (const Case& k : cases) {
        audio.present = k.present;
        audio.support = k.support;
        audio.volumeReadable = k.readable;
        audio.volume = 0xFFFFFFFF;
        update();
        EXPECT_EQ(c().lblVol->text(), "L: 0%, R: 0%") << k.name;
    }
}

TEST_F(StatusPanelTest, BatteryCaptionsFollowTheFlag)
{
    struct Case {
        PowerStatus status;
        const char* state;
        const char* time;
    } cases[] = {
        {{0, 0, 57, 3600}, "Medium battery", "57% (3600)"},
        {{0, 1, 85, 12345}, "High battery", "85% (12345)"},
        {{1, 9, 90, 0xFFFFFFFF}, "Charging", "90%"},
        {{0, 4, 3, 240}, "Critical battery", "3% (240)"},
        {{1, 128, 255, 0xFFFFFFFF}, "No battery", "N/A"},
        {{255, 255, 255, 0xFFFFFFFF}, "Unknown", "N/A"},
    };
    for (const Case& k : cases) {
        power.status = k.status;
        update();
        EXPECT_EQ(c().lblBatStatus->text(), k.state) << int(k.status.batteryFlag);
        EXPECT_EQ(c().lblBatTime->text(), k.time) << int(k.status.batteryFlag);
    }
}
