#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "platform/fakes/FakeDrives.h"
#include "readings/RefreshCycle.h"
#include "settings/RegFileSettingsStore.h"

namespace pelmora {
namespace {

// One log for the timer and the panels, so the order of a tick shows.
struct Log {
    std::vector<std::string> events;
};

class FakeTimer : public RefreshTimer {
public:
    explicit FakeTimer(Log& log) : log_(log) {}
    void setEnabled(bool enabled) override { log_.events.push_back(enabled ? "enable" : "disable"); }
    void setInterval(uint32_t ms) override
    {
        interval = ms;
        log_.events.push_back("interval " + std::to_string(ms));
    }
    uint32_t interval = 0;

private:
    Log& log_;
};

class FakePanels : public PanelSteps {
public:
    explicit FakePanels(Log& log) : log_(log) {}
    void network(int32_t nr, int32_t n1, int32_t n2) override
    {
        log_.events.push_back("network " + std::to_string(nr) + " " + std::to_string(n1) + " " +
                              std::to_string(n2));
        if (failNetwork) throw std::runtime_error("no table");
    }
    void memory() override { log_.events.push_back("memory"); }
    void drives(const CurrentDrives& d) override
    {
        log_.events.push_back("drives " + d.first + "|" + d.second);
    }
    void systemStatus() override { log_.events.push_back("status"); }
    void processor() override
    {
        log_.events.push_back("processor");
        if (failProcessor) throw std::runtime_error("Unable to locate the \"Processor\" performance object");
    }
    bool failNetwork = false;
    bool failProcessor = false;

private:
    Log& log_;
};

class RefreshCycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drives.add('C');
        drives.add('D');
        drives.add('E').type = kDriveRemovable;
    }

    void writeSettings(const std::string& values)
    {
        testing::writeBytes(file(),
                            "Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Talvessa]\r\n" +
                                values);
    }
    std::filesystem::path file() const { return home_.root() / "Talvessa.reg"; }

    testing::TempConfigHome home_;
    Log log;
    FakeTimer timer{log};
    FakePanels panels{log};
    FakeDrives drives;
    std::atomic<uint32_t> intervalMs{kDesignRefreshIntervalMs};
};

TEST_F(RefreshCycleTest, EmptyStoreRunsEveryStepInOrderOnDefaults)
{
    RegFileSettingsStore store(file());
    RefreshCycle cycle(store, timer, drives, panels, intervalMs);
    cycle.RefreshTimerTimer();

    const std::vector<std::string> expected{"disable",    "interval 1000", "network 0 -1 -1", "memory",
                                            "drives C|D", "status",        "processor",       "enable"};
    EXPECT_EQ(log.events, expected);
    EXPECT_TRUE(std::filesystem::exists(file())) << "the first tick creates the key";
    EXPECT_EQ(intervalMs.load(), 1000u);
}

TEST_F(RefreshCycleTest, IntervalFollowsRefreshSpeedWithinOneToSixtySeconds)
{
    struct Case {
        const char* stored;
        uint32_t intervalMs;
    };
    for (const Case& c : {Case{"60", 60000}, Case{"1", 1000}, Case{"30", 30000}, Case{"0", 1000},
                          Case{"-5", 1000}, Case{"99999999", 60000}, Case{"fast", 1000}}) {
        writeSettings(std::string("\"RefreshSpeed\"=\"") + c.stored + "\"\r\n");
        RegFileSettingsStore store(file());
        RefreshCycle cycle(store, timer, drives, panels, intervalMs);
        cycle.RefreshTimerTimer();
        EXPECT_EQ(timer.interval, c.intervalMs) << c.stored;
    }
}

TEST_F(RefreshCycleTest, AValueChangedByHandIsUsedByTheNextTick)
{
    writeSettings("\"RefreshSpeed\"=\"5\"\r\n");
    RegFileSettingsStore store(file());
    RefreshCycle cycle(store, timer, drives, panels, intervalMs);
    cycle.RefreshTimerTimer();
    EXPECT_EQ(timer.interval, 5000u);

    writeSettings("\"RefreshSpeed\"=\"7\"\r\n\"NrDrives\"=\"1\"\r\n\"Drive1\"=\"d:\\\\data\"\r\n");
    cycle.RefreshTimerTimer();
    EXPECT_EQ(timer.interval, 7000u);
    EXPECT_EQ(cycle.currentDrives().first, "d:\\data");
    EXPECT_EQ(cycle.currentDrives().second, "");
}

TEST_F(RefreshCycleTest, AFailingStepLeavesTheRestOfTheTickAndReEnablesTheTimer)
{
    panels.failNetwork = true;
    panels.failProcessor = true;
    RegFileSettingsStore store(file());
    RefreshCycle cycle(store, timer, drives, panels, intervalMs);
    cycle.RefreshTimerTimer();

    EXPECT_EQ(log.events.back(), "enable");
    EXPECT_NE(std::find(log.events.begin(), log.events.end(), "status"), log.events.end());
    ASSERT_EQ(cycle.failedSteps().size(), 2u);
    EXPECT_EQ(cycle.failedSteps()[0], "network: no table");

    panels.failNetwork = panels.failProcessor = false;
    cycle.RefreshTimerTimer();
    EXPECT_TRUE(cycle.failedSteps().empty()) << "failures are per tick";
}

TEST_F(RefreshCycleTest, AWrongTypedValueReadsAsItsDefaultAndIsReported)
{
    writeSettings("\"RefreshSpeed\"=dword:0000001e\r\n\"NrNetwork\"=\"1\"\r\n\"Network1\"=\"0\"\r\n");
    RegFileSettingsStore store(file());
    RefreshCycle cycle(store, timer, drives, panels, intervalMs);
    cycle.RefreshTimerTimer();
    EXPECT_EQ(timer.interval, 1000u);
    EXPECT_NE(std::find(log.events.begin(), log.events.end(), "network 1 0 -1"), log.events.end());
    ASSERT_EQ(cycle.failedSteps().size(), 1u);
    EXPECT_EQ(cycle.failedSteps()[0], "settings: Invalid data type for 'RefreshSpeed'");
}

TEST(DerivedDrives, FollowTheStoredChoiceAndTheFixedDrives)
{
    FakeDrives drives;
    drives.add('C');
    drives.add('D').type = kDriveRemovable;
    drives.add('F');
    struct Case {
        const char* drive1;
        const char* drive2;
        int32_t nrDrives;
        const char* first;
        const char* second;
    };
    for (const Case& c : {Case{"", "", 2, "C", "F"}, Case{"F", "", 2, "F", "C"}, Case{"", "X", 1, "C", ""},
                          Case{"C:\\", "Q", 2, "C:\\", "Q"}, Case{"", "", 7, "C", ""},
                          Case{"e", "", 2, "e", "C"}, Case{"c", "", 2, "c", "F"}}) {
        const CurrentDrives derived = deriveDrives(c.drive1, c.drive2, c.nrDrives, drives);
        EXPECT_EQ(derived.first, c.first) << c.drive1 << "/" << c.drive2 << "/" << c.nrDrives;
        EXPECT_EQ(derived.second, c.second) << c.drive1 << "/" << c.drive2 << "/" << c.nrDrives;
    }

    FakeDrives single;
    single.add('C');
    EXPECT_EQ(deriveDrives("", "", 2, single).second, "") << "one fixed drive leaves no second";
    FakeDrives none;
    EXPECT_EQ(deriveDrives("", "", 2, none).first, "");
}

}  // namespace
}  // namespace pelmora
