// The per-user files on Windows: the placement file's folder, the one-time
// adoption of a placement file left in the Windows folder, and whole-file
// replacement.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ConfigLocation.h"
#include "platform/windows/WindowsConfigLocation.h"
#include "settings/AtomicFile.h"
#include "settings/PlacementFile.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
    {
        path_ = fs::temp_directory_path() / ("pelmora-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(path_ / "file", fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(WindowsFiles, ThePlacementFileLivesInTheUsersApplicationData)
{
    const fs::path file = placementFilePath();
    EXPECT_EQ(file.filename(), "pelmora.INI");
    EXPECT_EQ(file.parent_path().filename(), "Talvessa");
    wchar_t windows[MAX_PATH + 1] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH + 1), 0u);
    EXPECT_NE(file.parent_path().parent_path(), fs::path(windows));
    EXPECT_TRUE(settingsFilePath().empty());  // the settings are in the registry
}

TEST(WindowsFiles, AnOlderPlacementInTheWindowsFolderIsAdoptedOnce)
{
    TempFolder temp;
    const fs::path ours = temp.path() / "AppData" / "Talvessa";
    const fs::path windows = temp.path() / "Windows";
    fs::create_directories(windows);
    writeFile(windows / "pelmora.INI", "[TBackForm]\nNormPos=1,2,3,4\n");

    const fs::path file = placementFileIn(ours, windows);
    EXPECT_EQ(file, ours / "pelmora.INI");
    EXPECT_EQ(contents(file), "[TBackForm]\nNormPos=1,2,3,4\n");

    // Once ours exists, the older file is never read again.
    writeFile(file, "[TBackForm]\nNormPos=5,6,7,8\n");
    writeFile(windows / "pelmora.INI", "changed");
    EXPECT_EQ(contents(placementFileIn(ours, windows)), "[TBackForm]\nNormPos=5,6,7,8\n");
}

TEST(WindowsFiles, WithoutAnOlderPlacementNothingIsCreated)
{
    TempFolder temp;
    const fs::path file = placementFileIn(temp.path() / "Talvessa", temp.path() / "Windows");
    EXPECT_EQ(file, temp.path() / "Talvessa" / "pelmora.INI");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(placementFileIn({}, temp.path()).empty());
}

TEST(WindowsFiles, ReplacementWritesTheWholeFileAndLeavesNoTemporaryFile)
{
    TempFolder temp;
    const fs::path file = temp.path() / "file";
    ASSERT_TRUE(replaceFileAtomically(file, "first", nullptr));
    ASSERT_TRUE(replaceFileAtomically(file, "second\r\n", nullptr));
    EXPECT_EQ(contents(file), "second\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);

    const FileRead read = readWholeFile(file);
    EXPECT_EQ(read.status, FileRead::Status::Ok);
    EXPECT_EQ(read.bytes, "second\r\n");
    EXPECT_EQ(readWholeFile(temp.path() / "none").status, FileRead::Status::Missing);
    EXPECT_EQ(readWholeFile(temp.path()).status, FileRead::Status::Failed);
    EXPECT_EQ(readWholeFile(file, 3).status, FileRead::Status::Failed);
}

TEST(WindowsFiles, AReadOnlyFileIsNotReplaced)
{
    TempFolder temp;
    const fs::path file = temp.path() / "file";
    writeFile(file, "kept");
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string error;
    EXPECT_FALSE(replaceFileAtomically(file, "lost", &error));
    EXPECT_FALSE(error.empty());
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(contents(file), "kept");
}

TEST(WindowsFiles, APlacementSavedIsRestored)
{
    TempFolder temp;
    const fs::path file = temp.path() / "Talvessa" / "pelmora.INI";
    WindowPlacement placement;
    placement.norm[0] = 100;
    placement.norm[1] = 200;
    placement.norm[2] = 687;
    placement.norm[3] = 552;
    ASSERT_TRUE(savePlacement(file, kMainWindowSection, placement, 1920, 1080, false));

    CurrentWindow current;
    current.width = 587;
    current.height = 352;
    current.screenWidth = 1920;
    current.screenHeight = 1080;
    const std::optional<RestoredPlacement> restored =
        restorePlacement(file, kMainWindowSection, current, false);
    ASSERT_TRUE(restored && restored->geometry);
    EXPECT_EQ(restored->geometry->left, 100);
    EXPECT_EQ(restored->geometry->top, 200);
}

}  // namespace
}  // namespace pelmora
