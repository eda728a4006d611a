#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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

TEST(SoundCards, ListedOnlyByACardLine)
{
    const std::pair<const char*, bool> cases[] = {
        {" 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
         "                      HDA Intel PCH at 0xf7f10000 irq 32\n",
         true},
        {"--- no soundcards ---\n", false},
        {"", false},
        {"\n\n   \n", false},
        {"12 [Headset        ]: USB-Audio - USB Headset", true},  // no final newline
        {"                      HDA Intel PCH at 0xf7f10000 irq 32\n", false},
        {"0\n", false},
        {"7 Intel\n", false},
        {" [PCH]: no number\n", false},
        {"x0 [PCH]: not a number\n", false},
    };
    for (const auto& [text, listed] : cases) EXPECT_EQ(listsSoundCard(text), listed) << '"' << text << '"';
}

namespace {

// A fixture tree for the system files and an environment of its own.
struct SoundMachine {
    std::filesystem::path root =
        std::filesystem::path(testing::TempDir()) / ("pelmora-sound-machine-" + std::to_string(getpid()));
    std::map<std::string, std::string> environment;

    SoundMachine()
    {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "proc/asound");
        std::filesystem::create_directories(root / "dev/snd");
        std::filesystem::create_directories(root / "home");
        std::filesystem::create_directories(root / "run/user/1000");
        // A kernel with ALSA and no card: timer and sequencer nodes only.
        write("proc/asound/cards", "--- no soundcards ---\n");
        write("dev/snd/timer", "");
        write("dev/snd/seq", "");
        environment = {{"HOME", (root / "home").string()},
                       {"XDG_RUNTIME_DIR", (root / "run/user/1000").string()}};
    }
    ~SoundMachine() { std::filesystem::remove_all(root); }

    void write(const std::string& path, const std::string& text)
    {
        std::filesystem::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text;
    }
    SoundPlaces places() const
    {
        return {root.string(), [this](const char* name) -> const char* {
                    const auto it = environment.find(name);
                    return it == environment.end() ? nullptr : it->second.c_str();
                }};
    }
};

}  // namespace

TEST(SoundCards, SoundMayBeThereWithACardAServerOrAConfiguration)
{
    EXPECT_FALSE(soundMayBeThere(SoundMachine().places())) << "nothing ALSA could serve";
    const std::pair<const char*, std::function<void(SoundMachine&)>> cases[] = {
        {"a card listed",
         [](SoundMachine& m) { m.write("proc/asound/cards", " 0 [PCH ]: HDA-Intel - HDA\n"); }},
        {"a card's node where /proc/asound is hidden",
         [](SoundMachine& m) {
             std::filesystem::remove_all(m.root / "proc/asound");
             m.write("dev/snd/controlC0", "");
         }},
        {"the sound server's socket", [](SoundMachine& m) { m.write("run/user/1000/pipewire-0", ""); }},
        {"the other sound server's socket",
         [](SoundMachine& m) { m.write("run/user/1000/pulse/native", ""); }},
        {"a system-wide sound server", [](SoundMachine& m) { m.write("run/pulse/native", ""); }},
        {"a sound server's address", [](SoundMachine& m) { m.environment["PULSE_SERVER"] = "tcp:host"; }},
        {"the administrator's configuration", [](SoundMachine& m) { m.write("etc/asound.conf", ""); }},
        {"the user's configuration", [](SoundMachine& m) { m.write("home/.asoundrc", ""); }},
    };
    for (const auto& [what, make] : cases) {
        SoundMachine machine;
        make(machine);
        EXPECT_TRUE(soundMayBeThere(machine.places())) << what;
    }
    SoundMachine hidden;  // cards hidden, no card's node: none
    std::filesystem::remove_all(hidden.root / "proc/asound");
    hidden.environment["PULSE_SERVER"] = "";
    EXPECT_FALSE(soundMayBeThere(hidden.places()));
}

TEST(LinuxAudio, MachineWithNothingToServeNeverLoadsTheLibrary)
{
    if (dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD))
        GTEST_SKIP() << "an earlier test in this process loaded it";
    SoundMachine machine;
    LinuxAudio audio("default", "Master", machine.places());
    uint32_t support = 0, volume = 0;
    EXPECT_FALSE(audio.outputCapabilities(support));
    EXPECT_FALSE(audio.outputVolume(volume));
    EXPECT_EQ(dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD), nullptr);
}
