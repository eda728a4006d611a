#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "platform/linux/LinuxAudio.h"

using namespace pelmora;

TEST(MixerLevel, ScalesTheControlRangeOntoSixteenBits)
{
    struct Case {
        long value, min, max;
        uint16_t level;
    } cases[] = {
        {0, 0, 100, 0},
        {100, 0, 100, 65535},
        {50, 0, 100, 32768},
        {87, 0, 87, 65535},
        {-6400, -6400, 0, 0},
        {-3200, -6400, 0, 32768},  // dB-like ranges
        {120, 0, 100, 65535},
        {-5, 0, 100, 0},  // outside: clamped
        {5, 5, 5, 0},
        {5, 10, 0, 0},  // empty or reversed range
        {1, 0, 65536, 1},
        {LONG_MAX, LONG_MIN, LONG_MAX, 65535},
        {0, LONG_MIN, LONG_MAX, 32768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scaleMixerLevel(c.value, c.min, c.max), c.level)
            << c.value << " in " << c.min << ".." << c.max;
}

TEST(LinuxAudio, WaitsLongerAfterEachFailedOpenUpToFiveMinutes)
{
    const std::pair<int, int> cases[] = {{1, 10},  {2, 20},  {3, 40},       {5, 160},
                                         {6, 300}, {7, 300}, {1000000, 300}};
    for (const auto& [failures, seconds] : cases) {
        EXPECT_EQ(mixerRetryPause(failures), std::chrono::seconds(seconds)) << failures << " failures";
    }
}

TEST(LinuxAudio, TriesAgainOnlyWhenWhatTheOpenDependsOnChangedOrAtTheLongestPause)
{
    using std::chrono::seconds;
    EXPECT_FALSE(mixerRetryDue(1, seconds(9), true));     // within the pause, even with a change
    EXPECT_TRUE(mixerRetryDue(1, seconds(10), true));     // a sound server started, a card came
    EXPECT_FALSE(mixerRetryDue(5, seconds(299), false));  // it would fail the same way
    EXPECT_TRUE(mixerRetryDue(6, seconds(300), false));   // a server ALSA reaches some other way
    EXPECT_FALSE(mixerRetryDue(7, seconds(200), true));   // the longest pause holds as before
}

TEST(LinuxAudio, MissingDeviceOrControlFailsEveryTimeWithoutNoise)
{
    // A user's ALSA configuration makes the library load even without a card.
    const std::filesystem::path home = std::filesystem::path(testing::TempDir()) / "pelmora-audio-home";
    std::filesystem::create_directories(home);
    std::ofstream(home / ".asoundrc") << "# nothing\n";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    // A device name ALSA does not know and a control no card has.
    for (auto [device, control] :
         {std::pair{"pelmora-no-such-device", "Master"}, std::pair{"default", "Pelmora No Such Control"}}) {
        LinuxAudio audio(device, control);
        for (int tick = 0; tick < 3; ++tick) {
            uint32_t support = 77, volume = 77;
            EXPECT_FALSE(audio.outputCapabilities(support)) << device;
            EXPECT_FALSE(audio.outputVolume(volume)) << device;
            EXPECT_EQ(support, 77u);
            EXPECT_EQ(volume, 77u);
        }
    }
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(LinuxAudio, DefaultDeviceAnswersConsistently)
{
    LinuxAudio audio;
    uint32_t support = 0;
    if (!audio.outputCapabilities(support)) GTEST_SKIP() << "no sound card with a Master control";
    uint32_t volume = 0;
    EXPECT_EQ(audio.outputVolume(volume), (support & kVolumeControlCapability) != 0);
}
