#include <gtest/gtest.h>

#include "app/Startup.h"
#include "platform/fakes/FakeInstanceLocator.h"
#include "platform/fakes/FakeVersionInfo.h"

namespace pelmora {
namespace {

struct Recorder {
    std::vector<std::string> messages;
    int widgetRuns = 0;
    StartupActions actions()
    {
        return {[this](const std::string& text) { messages.push_back(text); },
                [this] {
                    ++widgetRuns;
                    return 0;
                }};
    }
};

TEST(Startup, ARunningInstanceIsBroughtForwardAndNoWidgetIsCreated)
{
    FakeInstanceLocator instances;
    instances.running = 0x2a00007;
    FakeVersionInfo version({1, 4});  // the instance check comes before the platform check
    Recorder recorder;

    EXPECT_EQ(runStartup(instances, version, recorder.actions()), 0);
    EXPECT_EQ(recorder.widgetRuns, 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(instances.foregrounded, std::vector<WindowHandle>{0x2a00007});
    EXPECT_EQ(instances.lookups.front(), "TVantelMainForm");
}

TEST(Startup, AStartThatLosesTheClaimEndsWithoutAWidget)
{
    // Two starts at once: neither window exists yet, only one claim succeeds.
    FakeInstanceLocator instances;
    instances.claimedElsewhere = true;
    FakeVersionInfo version({2, 6});
    Recorder recorder;

    EXPECT_EQ(runStartup(instances, version, recorder.actions()), 0);
    EXPECT_EQ(recorder.widgetRuns, 0);
    EXPECT_EQ(instances.claims, 1);
}

TEST(Startup, AWrongPlatformShowsTheMessageAndCreatesNoWidget)
{
    FakeInstanceLocator instances;
    FakeVersionInfo version({1, 4});
    Recorder recorder;

    EXPECT_EQ(runStartup(instances, version, recorder.actions()), 0);
    EXPECT_EQ(recorder.widgetRuns, 0);
    EXPECT_EQ(recorder.messages, std::vector<std::string>{"This program requires Windows NT."});
}

TEST(Startup, OtherwiseTheWidgetRunsAndItsExitCodeIsReturned)
{
    FakeInstanceLocator instances;
    FakeVersionInfo version({2, 6});
    Recorder recorder;
    StartupActions actions = recorder.actions();
    actions.runWidget = [&] {
        ++recorder.widgetRuns;
        return 3;
    };
    EXPECT_EQ(runStartup(instances, version, actions), 3);
    EXPECT_EQ(recorder.widgetRuns, 1);
    EXPECT_TRUE(instances.foregrounded.empty());
}

}  // namespace
}  // namespace pelmora
