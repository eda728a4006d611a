// The window placement file: the keys written, and the rules that decide
// what a window takes back from them.
#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "platform/ConfigLocation.h"
#include "settings/PlacementFile.h"

namespace pelmora {
namespace {

using testing::readBytes;
using testing::TempConfigHome;
using testing::writeBytes;

WindowPlacement samplePlacement()
{
    WindowPlacement placement;
    placement.flags = 0;
    placement.showCmd = 1;
    placement.pixelsPerInch = 96;
    placement.minMax[0] = placement.minMax[1] = placement.minMax[2] = placement.minMax[3] = -1;
    placement.norm[0] = 100;
    placement.norm[1] = 200;
    placement.norm[2] = 687;
    placement.norm[3] = 552;
    return placement;
}

// A borderless 587 x 352 window centred on a 1920 x 1080 screen at 96 dpi.
CurrentWindow centredWindow()
{
    CurrentWindow current;
    current.left = 666;
    current.top = 364;
    current.width = 587;
    current.height = 352;
    current.flags = 0;
    current.pixelsPerInch = 96;
    current.screenWidth = 1920;
    current.screenHeight = 1080;
    return current;
}

class PlacementFileTest : public ::testing::Test {
protected:
    std::optional<RestoredPlacement> restoreFrom(const std::string& sectionBody, const CurrentWindow& current,
                                                 bool restoreState = false)
    {
        writeBytes(file, "[TBackForm]\n" + sectionBody);
        return restorePlacement(file, kBackgroundWindowSection, current, restoreState);
    }

    TempConfigHome home;
    std::filesystem::path file = placementFilePath();
};

TEST_F(PlacementFileTest, SaveWritesEveryKeyInItsOrder)
{
    ASSERT_TRUE(savePlacement(file, kMainWindowSection, samplePlacement(), 1920, 1080, false));
    EXPECT_EQ(readBytes(file),
              "[TVantelMainForm]\n"
              "FormVersion=0\n"
              "Flags=0\n"
              "ShowCmd=1\n"
              "PixelsPerInch=96\n"
              "MinMaxPos(1920x1080)=-1,-1,-1,-1\n"
              "MinMaxPos=-1,-1,-1,-1\n"
              "NormPos(1920x1080)=100,200,687,552\n"
              "NormPos=100,200,687,552\n"
              "Visible=0\n");
    EXPECT_EQ(testing::modeOf(file), 0600u);
}

TEST_F(PlacementFileTest, SaveKeepsOtherSectionsAndRewritesKeysInPlace)
{
    writeBytes(
        file, "; placement\r\n[TBackForm]\r\nVisible=1\r\nCustom=x\r\nNormPos=1,2,3,4\r\n\r\n[Other]\r\nA=1");
    WindowPlacement placement = samplePlacement();
    placement.showCmd = 2;
    ASSERT_TRUE(savePlacement(file, kBackgroundWindowSection, placement, 800, 600, true));
    ASSERT_TRUE(savePlacement(file, kMainWindowSection, samplePlacement(), 800, 600, false));
    EXPECT_EQ(
        readBytes(file),
        "; placement\r\n[TBackForm]\r\nVisible=1\r\nCustom=x\r\nNormPos=100,200,687,552\r\n"
        "FormVersion=0\r\nFlags=0\r\nShowCmd=2\r\nPixelsPerInch=96\r\n"
        "MinMaxPos(800x600)=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\nNormPos(800x600)=100,200,687,552\r\n"
        "\r\n[Other]\r\nA=1\r\n"
        "\r\n[TVantelMainForm]\r\nFormVersion=0\r\nFlags=0\r\nShowCmd=1\r\nPixelsPerInch=96\r\n"
        "MinMaxPos(800x600)=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\nNormPos(800x600)=100,200,687,552\r\n"
        "NormPos=100,200,687,552\r\nVisible=0\r\n");
}

TEST_F(PlacementFileTest, SavedPlacementRestoresToTheSamePlace)
{
    ASSERT_TRUE(savePlacement(file, kBackgroundWindowSection, samplePlacement(), 1920, 1080, false));
    const auto restored = restorePlacement(file, kBackgroundWindowSection, centredWindow(), true);
    ASSERT_TRUE(restored && restored->geometry);
    EXPECT_EQ(restored->geometry->left, 100);
    EXPECT_EQ(restored->geometry->top, 200);
    EXPECT_EQ(restored->geometry->width, 587);
    EXPECT_EQ(restored->geometry->height, 352);
    EXPECT_EQ(restored->state, WindowState::Normal);
}

TEST_F(PlacementFileTest, ScreenSuffixKeyComesFirstThenThePlainKey)
{
    const struct {
        const char* label;
        std::string body;
        int32_t expectedLeft;
    } cases[] = {
        {"suffix key wins", "NormPos=10,10,20,20\nNormPos(1920x1080)=30,30,40,40\n", 30},
        {"empty suffix key", "NormPos(1920x1080)=\nNormPos=10,10,20,20\n", 10},
        {"other screen's suffix", "NormPos(800x600)=50,50,60,60\nNormPos=10,10,20,20\n", 10},
        {"suffix key only", "NormPos(1920x1080)=30,30,40,40\n", 30},
        {"blanks around", "  normpos(1920X1080) =  30 , 31 ,40,40  \n", 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto restored = restoreFrom(c.body, centredWindow());
        ASSERT_TRUE(restored && restored->geometry);
        EXPECT_EQ(restored->geometry->left, c.expectedLeft);
    }
}

TEST_F(PlacementFileTest, PositionIsAppliedOnlyWhenStoredAndAtTheSamePixelsPerInch)
{
    const struct {
        const char* label;
        std::string body;
        bool applied;
    } cases[] = {
        {"no position keys", "FormVersion=0\nPixelsPerInch=96\n", false},
        {"empty position keys", "NormPos=\nMinMaxPos=\n", false},
        {"saved at 120 dpi", "PixelsPerInch=120\nNormPos=10,10,20,20\n", false},
        {"same dpi", "PixelsPerInch=96\nNormPos=10,10,20,20\n", true},
        {"dpi missing takes the current", "NormPos=10,10,20,20\n", true},
        {"dpi unreadable takes the current", "PixelsPerInch=lots\nNormPos=10,10,20,20\n", true},
        {"MinMaxPos alone counts", "MinMaxPos=0,0,0,0\n", true},
        {"negative FormVersion", "FormVersion=-1\nNormPos=10,10,20,20\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto restored = restoreFrom(c.body, centredWindow());
        EXPECT_EQ(restored && restored->geometry.has_value(), c.applied);
    }
    EXPECT_FALSE(restoreFrom("FormVersion=-1\n", centredWindow()));
    EXPECT_TRUE(restoreFrom("FormVersion=x\n", centredWindow()));  // unreadable: 0
}

TEST_F(PlacementFileTest, UnreadableNumbersTakeTheirDefaults)
{
    const CurrentWindow current = centredWindow();
    const auto restored = restoreFrom("MinMaxPos=5,x\nNormPos=10,,abc\nFlags=z\n", current);
    ASSERT_TRUE(restored);
    const WindowPlacement& stored = restored->stored;
    EXPECT_EQ(std::vector<int32_t>(stored.minMax, stored.minMax + 4), (std::vector<int32_t>{5, 0, 0, 0}));
    EXPECT_EQ(
        std::vector<int32_t>(stored.norm, stored.norm + 4),
        (std::vector<int32_t>{10, current.top, current.left + current.width, current.top + current.height}));
    EXPECT_EQ(stored.flags, current.flags);
    ASSERT_TRUE(restored->geometry);
    EXPECT_EQ(restored->geometry->left, 10);
    EXPECT_EQ(restored->geometry->top, current.top);
}

TEST_F(PlacementFileTest, BorderlessWindowKeepsItsSizeAndNeedsLeftBeforeRight)
{
    CurrentWindow borderless = centredWindow();
    // Only left and top count: the stored right edge is not looked at.
    auto restored = restoreFrom("NormPos=500,10,400,20\n", borderless);
    ASSERT_TRUE(restored && restored->geometry);
    EXPECT_EQ(restored->geometry->left, 500);
    EXPECT_EQ(restored->geometry->width, 587);
    EXPECT_EQ(restored->geometry->height, 352);

    borderless.width = 0;  // a window without width makes no rectangle
    restored = restoreFrom("NormPos=500,10,400,20\n", borderless);
    ASSERT_TRUE(restored);
    EXPECT_FALSE(restored->geometry);

    CurrentWindow sizeable = centredWindow();
    sizeable.sizeable = true;
    for (const char* body : {"NormPos=500,10,400,20\n", "NormPos=500,10,500,20\n"}) {
        restored = restoreFrom(body, sizeable);
        ASSERT_TRUE(restored);
        EXPECT_FALSE(restored->geometry) << body;
    }
    restored = restoreFrom("NormPos=100,10,400,20\n", sizeable);
    ASSERT_TRUE(restored && restored->geometry);
    EXPECT_EQ(restored->geometry->width, 300);
    EXPECT_EQ(restored->geometry->height, 10);

    // Edges at the end of the 32-bit range do not wrap around.
    borderless.width = 587;
    restored = restoreFrom("NormPos=2147483647,0,0,0\n", borderless);
    ASSERT_TRUE(restored);
    EXPECT_FALSE(restored->geometry);
}

TEST_F(PlacementFileTest, ShowCmdGivesTheWindowState)
{
    const struct {
        const char* showCmd;
        WindowState state;
    } cases[] = {
        {"1", WindowState::Normal},    {"5", WindowState::Normal},    {"9", WindowState::Normal},
        {"2", WindowState::Minimised}, {"6", WindowState::Minimised}, {"7", WindowState::Minimised},
        {"3", WindowState::Maximised}, {"0", WindowState::Normal},    {"4", WindowState::Normal},
        {"8", WindowState::Normal},    {"-3", WindowState::Normal},   {"x", WindowState::Normal},
    };
    for (const auto& c : cases) {
        const auto restored = restoreFrom(std::string("ShowCmd=") + c.showCmd + "\n", centredWindow(), true);
        ASSERT_TRUE(restored);
        EXPECT_EQ(restored->state, c.state) << c.showCmd;
    }
    const auto positionOnly = restoreFrom("ShowCmd=3\n", centredWindow(), false);
    ASSERT_TRUE(positionOnly);
    EXPECT_FALSE(positionOnly->state);
}

TEST_F(PlacementFileTest, MissingFileRestoresNothingAndUnusableFilesNeverThrow)
{
    const auto fresh = restorePlacement(file, kMainWindowSection, centredWindow(), true);
    ASSERT_TRUE(fresh);  // first run: the windows centre themselves
    EXPECT_FALSE(fresh->geometry);
    EXPECT_EQ(fresh->state, WindowState::Normal);

    const std::filesystem::path folderInPlace = home.root() / "dir" / "pelmora.INI";
    std::filesystem::create_directories(folderInPlace);
    writeBytes(home.root() / "plain", "x");
    const std::filesystem::path underAFile = home.root() / "plain" / "pelmora.INI";
    for (const std::filesystem::path& path : {folderInPlace, underAFile, std::filesystem::path()}) {
        EXPECT_FALSE(restorePlacement(path, kMainWindowSection, centredWindow(), true)) << path;
        EXPECT_FALSE(savePlacement(path, kMainWindowSection, samplePlacement(), 1920, 1080, false)) << path;
    }

    // More entries than any placement file of ours: neither read nor written.
    std::string crowded = "[TBackForm]\nNormPos=1,2,3,4\n";
    for (int i = 0; i < 20000; ++i) crowded.append("k").append(std::to_string(i)).append("=1\n");
    writeBytes(file, crowded);
    EXPECT_FALSE(restorePlacement(file, kBackgroundWindowSection, centredWindow(), true));
    EXPECT_FALSE(savePlacement(file, kBackgroundWindowSection, samplePlacement(), 1920, 1080, false));
    EXPECT_EQ(readBytes(file), crowded);

    // Text that is not UTF-8 is kept byte for byte around the written keys.
    const char junkBytes[] = "junk\xFF\x00\x01\n[TBackForm]\nShowCmd=3\n";
    const std::string junk(junkBytes, sizeof junkBytes - 1);
    writeBytes(file, junk);
    ASSERT_TRUE(savePlacement(file, kMainWindowSection, samplePlacement(), 1920, 1080, false));
    const std::string saved = readBytes(file);
    EXPECT_EQ(saved.substr(0, junk.size()), junk);
    EXPECT_NE(saved.find("[TVantelMainForm]\nFormVersion=0\n"), std::string::npos);
}

TEST_F(PlacementFileTest, TrackerSavesOnlyAfterTheWindowWasShown)
{
    PlacementTracker tracker(file, kBackgroundWindowSection);
    EXPECT_FALSE(tracker.saveOnClose(samplePlacement(), 1920, 1080));
    EXPECT_FALSE(tracker.saveOnDestroy(samplePlacement(), 1920, 1080));
    EXPECT_FALSE(std::filesystem::exists(file));  // never shown: file untouched

    tracker.restore(centredWindow(), true);
    EXPECT_TRUE(tracker.restored());
    EXPECT_TRUE(tracker.saveOnClose(samplePlacement(), 1920, 1080));
    EXPECT_NE(readBytes(file).find("Visible=0\n"), std::string::npos);
    EXPECT_FALSE(tracker.saveOnDestroy(samplePlacement(), 1920, 1080));  // saved already

    // A save while the window stands says so and leaves the close's save to come.
    EXPECT_TRUE(tracker.saveWhileShown(samplePlacement(), 1920, 1080));
    EXPECT_NE(readBytes(file).find("[TBackForm]\nFormVersion=0"), std::string::npos);
    EXPECT_NE(readBytes(file).find("Visible=1\n"), std::string::npos);
    tracker.restore(centredWindow(), true);
    EXPECT_TRUE(tracker.saveWhileShown(samplePlacement(), 1920, 1080));
    EXPECT_TRUE(tracker.saveOnClose(samplePlacement(), 1920, 1080));
    EXPECT_FALSE(PlacementTracker(file, kMainWindowSection).saveWhileShown(samplePlacement(), 1920, 1080));

    PlacementTracker destroyedOnly(file, kMainWindowSection);
    destroyedOnly.restore(centredWindow(), false);
    EXPECT_TRUE(destroyedOnly.saveOnDestroy(samplePlacement(), 1920, 1080));
    const std::string text = readBytes(file);
    EXPECT_NE(text.find("[TVantelMainForm]"), std::string::npos);
    EXPECT_NE(text.find("Visible=1\n"), std::string::npos);
}

}  // namespace
}  // namespace pelmora
