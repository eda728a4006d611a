// The settings key file when things go wrong: files that are not registry
// files, folders that cannot be written, writes that fail or are killed
// half-way. Nothing may be lost and nothing may crash.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <random>
#include <set>

#include "SettingsTestSupport.h"
#include "platform/ConfigLocation.h"
#include "settings/PlacementFile.h"
#include "settings/RegFileSettingsStore.h"

namespace pelmora {
namespace {

using testing::readBytes;
using testing::TempConfigHome;
using testing::writeBytes;

const std::string kKeyText =
    "Windows Registry Editor Version "
    "5.00\n\n[HKEY_CURRENT_USER\\Software\\Talvessa]\n\"RefreshSpeed\"=\"30\"\n";

void expectWriteRefused(SettingsStore& store, const std::string& name)
{
    try {
        store.WriteString(name, "5");
        ADD_FAILURE() << "the write of " << name << " went through";
    } catch (const SettingsError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to set data for '" + name + "'");
    }
}

TEST(SettingsStoreFailure, FilesThatAreNotRegistryFilesAreReadAsEmptyAndNeverWritten)
{
    std::string binary;
    std::mt19937 random(7);
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>(random() & 0xFF);
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"no version line", "[HKEY_CURRENT_USER\\Software\\Talvessa]\n\"RefreshSpeed\"=\"30\"\n"},
        {"version line after other text", "; note\n" + kKeyText},
        {"random bytes", binary},
        {"NUL bytes", std::string("\0\0\0\0", 4) + kKeyText},
        {"UTF-16LE without a byte order mark", std::string("W\0i\0n\0", 6)},
        {"UTF-16LE with an odd length", std::string("\xFF\xFEW\0i", 5)},
        {"UTF-16LE with a lone surrogate", std::string("\xFF\xFE\x00\xD8W\0", 6)},
        {"UTF-16BE", std::string("\xFE\xFF\0W\0i", 6)},
        {"larger than any settings file", kKeyText + "; " + std::string(5u << 20, 'x') + "\n"},
        {"more values than any settings file",
         [] {
             std::string text = kKeyText;
             for (int i = 0; i < 20000; ++i) text += "\"a\"=\"1\"\n";
             return text;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempConfigHome home;
        const std::filesystem::path file = settingsFilePath();
        writeBytes(file, c.bytes);
        RegFileSettingsStore store(file);
        EXPECT_FALSE(store.open());
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 1);
        EXPECT_EQ(store.ReadString("Drive1", "x"), "x");
        expectWriteRefused(store, "RefreshSpeed");
        EXPECT_EQ(readBytes(file), c.bytes);
    }
}

// How far the peak resident memory of a child process grows while it runs
// `work`, in MiB; -1 when the child fails.
long peakGrowthMiB(const std::function<void()>& work)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        rusage before{}, after{};
        ::getrusage(RUSAGE_SELF, &before);
        work();
        ::getrusage(RUSAGE_SELF, &after);
        const long growth = (after.ru_maxrss - before.ru_maxrss) / 1024;
        if (::write(pipeEnds[1], &growth, sizeof growth) != sizeof growth) _exit(2);
        _exit(0);
    }
    ::close(pipeEnds[1]);
    long growth = -1;
    if (::read(pipeEnds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return growth;
}

TEST(SettingsStoreFailure, FilesOfMillionsOfBlankLinesCostLittleMoreThanTheirBytes)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory says nothing about the program's";
#endif
    TempConfigHome home;
    const std::string blankLines((4u << 20) - 4096, '\n');
    const std::filesystem::path file = settingsFilePath();
    writeBytes(file, kKeyText + blankLines + "; end\n");
    const std::filesystem::path placement = placementFilePath();
    writeBytes(placement, "[TBackForm]\n" + blankLines + "NormPos=10,20,30,40\n");

    // The bound is generous (the file is 4 MiB and read into a few buffers);
    // a parser that spends an object per line needs hundreds of MiB here.
    constexpr long kBoundMiB = 32;
    const long settingsGrowth = peakGrowthMiB([&] {
        RegFileSettingsStore store(file);
        for (int tick = 0; tick < 3; ++tick) {
            SettingsKeyScope scope(store);
            if (store.ReadInteger("RefreshSpeed", 1) != 30) _exit(5);
        }
        store.open();
        store.WriteString("Drive1", "C");
    });
    EXPECT_GE(settingsGrowth, 0);
    EXPECT_LT(settingsGrowth, kBoundMiB);
    const long placementGrowth = peakGrowthMiB([&] {
        CurrentWindow window;
        window.width = 100;
        window.height = 100;
        const auto restored = restorePlacement(placement, kBackgroundWindowSection, window, true);
        if (!restored || !restored->geometry || restored->geometry->left != 10) _exit(5);
        savePlacement(placement, kBackgroundWindowSection, restored->stored, 1920, 1080, true);
    });
    EXPECT_GE(placementGrowth, 0);
    EXPECT_LT(placementGrowth, kBoundMiB);
    EXPECT_EQ(readBytes(file).find(kKeyText), 0u);
}

TEST(SettingsStoreFailure, LinesThatDoNotParseAreKeptAndCostNoMoreThanOthers)
{
    TempConfigHome home;
    const std::filesystem::path file = settingsFilePath();
    // Every line looks like the start of a wrapped value and none is one;
    // a parser that retried each line against all the following ones would
    // not finish here.
    std::string text = kKeyText;
    // 7000 pairs stay within the lines a settings file may hold.
    for (int i = 0; i < 7000; ++i) text += "\"a\"=\"x\\\n\"b\"=hex:01,\\\n";
    const std::string malformed = "\"c\"=dword:zz\n\"d\"=hex(2):4g\n";
    writeBytes(file, text + malformed);
    RegFileSettingsStore store(file);
    ASSERT_TRUE(store.open());
    for (const char* name : {"a", "c", "d"}) EXPECT_EQ(store.ReadString(name, "default"), "default") << name;
    EXPECT_THROW(store.ReadString("b", ""), SettingsError);  // the last wrapped one, ended by the file
    store.WriteString("a", "set");  // after the key's last value line, before the malformed ones
    EXPECT_TRUE(readBytes(file) == text + "\"a\"=\"set\"\n" + malformed);
}

TEST(SettingsStoreFailure, UnreachableFileGivesDefaultsAndRefusesWrites)
{
    TempConfigHome home;
    const struct {
        const char* label;
        std::function<std::filesystem::path()> make;
    } cases[] = {
        // Root ignores permission bits, so the folder is made unusable otherwise.
        {"folder below a plain file",
         [&] {
             writeBytes(home.root() / "plain", "x");
             return home.root() / "plain" / "Talvessa" / "Talvessa.reg";
         }},
        {"a folder in the file's place",
         [&] {
             std::filesystem::create_directories(home.root() / "dir" / "Talvessa.reg");
             return home.root() / "dir" / "Talvessa.reg";
         }},
        {"a pipe in the file's place",
         [&] {
             std::filesystem::create_directories(home.root() / "fifo");
             const auto path = home.root() / "fifo" / "Talvessa.reg";
             EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
             return path;
         }},
        {"no home at all", [] { return std::filesystem::path(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegFileSettingsStore store(c.make());
        EXPECT_FALSE(store.open());  // and does not hang on the pipe
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 1);
        expectWriteRefused(store, "RefreshSpeed");
    }
}

// Runs `check` in a child process in which `folder` cannot be written: by
// its mode for a normal user, by a read-only bind mount for root. The child
// reports the first failed check on stdout-like pipe text; empty = passed.
std::string inReadOnlyFolder(const std::filesystem::path& folder, const std::function<std::string()>& check)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string result;
        if (::geteuid() != 0) {
            ::chmod(folder.c_str(), 0500);
        } else if (::unshare(CLONE_NEWNS) != 0 ||
                   ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                   ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                   ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                       0) {
            result = "SKIP";
        }
        if (result.empty()) result = check();
        if (::write(pipeEnds[1], result.data(), result.size()) < 0) _exit(2);
        _exit(0);
    }
    ::close(pipeEnds[1]);
    std::string result;
    char buffer[256];
    ssize_t got;
    while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.c_str(), 0700);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child crashed";
    return result;
}

TEST(SettingsStoreFailure, ReadableFileInAReadOnlyFolderOpensForReadingOnly)
{
    TempConfigHome home;
    const std::filesystem::path file = settingsFilePath();
    writeBytes(file, kKeyText);
    const std::filesystem::path folder = file.parent_path();
    const std::string result = inReadOnlyFolder(folder, [&]() -> std::string {
        RegFileSettingsStore store(file);
        if (!store.open()) return "did not open";
        if (store.ReadInteger("RefreshSpeed", 1) != 30) return "wrong value";
        try {
            store.WriteInteger("RefreshSpeed", 5);
            return "write went through";
        } catch (const SettingsError& error) {
            if (std::string(error.what()) != "Failed to set data for 'RefreshSpeed'") return error.what();
        }
        if (store.ReadInteger("RefreshSpeed", 1) != 30) return "refused write changed the reads";
        // Without the key's section the file can neither be read for it nor extended.
        RegFileSettingsStore other(folder / "nokey.reg");
        if (other.open()) return "opened a key it could not create";
        return "";
    });
    if (result == "SKIP") GTEST_SKIP() << "cannot make a read-only folder here";
    EXPECT_EQ(result, "");
    EXPECT_EQ(readBytes(file), kKeyText);
    EXPECT_EQ(testing::strayFiles(folder, "Talvessa.reg"), 0);
}

TEST(SettingsStoreFailure, WriteThatFailsHalfWayLeavesTheFileAndNoTemporaryFile)
{
    TempConfigHome home;
    const std::filesystem::path file = settingsFilePath();
    const std::string original = kKeyText + "; " + std::string(3000, 'x') + "\n";
    writeBytes(file, original);
    RegFileSettingsStore store(file);
    ASSERT_TRUE(store.open());

    // A file size limit below the file's size makes the temporary file's
    // write fail part-way, as a full disk would.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    expectWriteRefused(store, "Drive1");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readBytes(file), original);
    EXPECT_EQ(testing::strayFiles(file.parent_path(), "Talvessa.reg"), 0);
    EXPECT_EQ(store.ReadString("Drive1", "none"), "none");
    store.WriteString("Drive1", "C");  // the store goes on once writing works again
    EXPECT_EQ(store.ReadString("Drive1", ""), "C");
}

// Runs `writeForever` in child processes killed at random points of their
// writes, 40 times, and hands the file each one left to `check`.
void killWritesAtRandomPoints(const std::function<void(RegFileSettingsStore&, unsigned)>& writeForever,
                              const std::function<void(RegFileSettingsStore&, int)>& check)
{
    const std::filesystem::path file = settingsFilePath();
    std::mt19937 random(42);
    for (int round = 0; round < 40; ++round) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            RegFileSettingsStore store(file);
            if (!store.open()) _exit(3);
            for (unsigned i = 0;; ++i) {
                writeForever(store, i);
                if (::write(progress[1], "w", 1) != 1) _exit(4);
            }
        }
        ::close(progress[1]);
        // Wait for a random number of finished writes, then a random number of yields,
        // so that the kill lands at a different point of a write each round.
        const int writes = static_cast<int>(random() % 4);
        char byte;
        for (int i = 0; i < writes && ::read(progress[0], &byte, 1) == 1; ++i) {
        }
        for (unsigned yields = random() % 64; yields > 0; --yields) ::sched_yield();
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(progress[0]);

        RegFileSettingsStore reader(file);
        ASSERT_TRUE(reader.open()) << "round " << round;
        check(reader, round);
    }
}

TEST(SettingsStoreFailure, WriteKilledAtAnyPointLeavesTheOldOrTheNewFile)
{
    TempConfigHome home;
    const std::string oldText(2000, 'o'), newText(2000, 'n');
    {
        RegFileSettingsStore store(settingsFilePath());
        ASSERT_TRUE(store.open());
        store.WriteString("Drive1", oldText);
    }
    killWritesAtRandomPoints([&](RegFileSettingsStore& store,
                                 unsigned i) { store.WriteString("Drive1", (i % 2) ? oldText : newText); },
                             [&](RegFileSettingsStore& reader, int round) {
                                 const std::string value = reader.ReadString("Drive1", "");
                                 ASSERT_TRUE(value == oldText || value == newText)
                                     << "round " << round << ": " << value.size() << " bytes";
                             });
}

TEST(SettingsStoreFailure, SevenValuesWrittenTogetherAreAllOldOrAllNewWhereverTheWriteIsKilled)
{
    TempConfigHome home;
    const std::vector<NamedText> before{{"Drive1", "C"},      {"Drive2", "D"},    {"NrDrives", "2"},
                                        {"NrNetwork", "0"},   {"Network1", "-1"}, {"Network2", "-1"},
                                        {"RefreshSpeed", "1"}};
    const std::vector<NamedText> after{{"Drive1", "E"},       {"Drive2", "F"},   {"NrDrives", "1"},
                                       {"NrNetwork", "2"},    {"Network1", "3"}, {"Network2", "8"},
                                       {"RefreshSpeed", "60"}};
    {
        RegFileSettingsStore store(settingsFilePath());
        ASSERT_TRUE(store.open());
        store.writeValues(before);
    }
    killWritesAtRandomPoints(
        [&](RegFileSettingsStore& store, unsigned i) { store.writeValues((i % 2) ? before : after); },
        [&](RegFileSettingsStore& reader, int round) {
            const bool isBefore = reader.ReadString("Drive1", "") == "C";
            for (const NamedText& value : isBefore ? before : after)
                ASSERT_EQ(reader.ReadString(value.name, ""), value.text)
                    << "round " << round << " mixes old and new values";
        });
}

TEST(SettingsStoreFailure, TemporaryFilesOfKilledWritesAreSweptWhenTheStoreOpens)
{
    TempConfigHome home;
    const std::filesystem::path file = settingsFilePath();
    writeBytes(file, kKeyText);
    const std::filesystem::path folder = file.parent_path();
    const auto make = [&](const std::string& name, int ageSeconds) {
        writeBytes(folder / name, "partial");
        timespec times[2]{};
        ::clock_gettime(CLOCK_REALTIME, &times[1]);
        times[1].tv_sec -= ageSeconds;
        times[0] = times[1];
        ::utimensat(AT_FDCWD, (folder / name).c_str(), times, 0);
    };
    make(".Talvessa.reg.tmp-aB3xY9", 120);  // killed two minutes ago: goes
    make(".Talvessa.reg.tmp-Qw12Er", 5);    // a write under way: stays
    make(".Talvessa.reg.tmp-long-name", 120);
    make(".pelmora.INI.tmp-aB3xY9", 120);  // not this store's
    make("Talvessa.reg.tmp-aB3xY9", 120);
    std::filesystem::create_directories(folder / ".Talvessa.reg.tmp-dir123");

    RegFileSettingsStore store(file);
    ASSERT_TRUE(store.open());
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"Talvessa.reg", ".Talvessa.reg.tmp-Qw12Er",
                                           ".Talvessa.reg.tmp-long-name", ".pelmora.INI.tmp-aB3xY9",
                                           "Talvessa.reg.tmp-aB3xY9", ".Talvessa.reg.tmp-dir123"}));
}

}  // namespace
}  // namespace pelmora
