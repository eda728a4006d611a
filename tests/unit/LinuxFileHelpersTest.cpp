#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "platform/linux/FileDescriptor.h"
#include "platform/linux/LinuxMemoryStatus.h"
#include "platform/linux/ProcFileReader.h"
#include "platform/linux/RootPath.h"

using namespace pelmora;

TEST(RootPath, JoinsWithOneSlashWhateverEitherSideHas)
{
    struct Case {
        const char* root;
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"/", "/proc/stat", "/proc/stat"},
        {"", "proc/stat", "/proc/stat"},
        {"/tmp/tree", "/sys/class/net", "/tmp/tree/sys/class/net"},
        {"/tmp/tree//", "proc/self/mountinfo", "/tmp/tree/proc/self/mountinfo"},
        {"/tmp/tree", "overlay", "/tmp/tree/overlay"},  // a mount source that is no path stays under root
        {"/", "/", "/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(underRoot(c.root, c.path), c.expected) << c.root << " + " << c.path;
    }
}

namespace {

bool isOpenDescriptor(int fd)
{
    return fcntl(fd, F_GETFD) != -1;
}

}  // namespace

TEST(FileDescriptor, ClosesOnceWhereverItWasMovedTo)
{
    const int kept = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int replaced = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(kept, 0);
    ASSERT_GE(replaced, 0);
    {
        FileDescriptor first(kept);
        FileDescriptor second(std::move(first));
        FileDescriptor third(replaced);
        third = std::move(second);
        EXPECT_FALSE(isOpenDescriptor(replaced));
        EXPECT_TRUE(isOpenDescriptor(kept));
        EXPECT_EQ(third.get(), kept);
    }
    EXPECT_FALSE(isOpenDescriptor(kept));

    FileDescriptor failedOpen(open("/no/such/file", O_RDONLY | O_CLOEXEC));
    EXPECT_FALSE(failedOpen.isOpen());
    EXPECT_FALSE(failedOpen.closeChecked());
}

TEST(ProcFileReader, EachReadSeesTheFileAsItIsNow)
{
    // A proc file, kept open between reads, is written anew for each one.
    ProcFileReader status("/proc/self/status");
    uint64_t sizeBefore = 0, sizeAfter = 0;
    ASSERT_TRUE(procKilobytes(status.read(), "VmSize", sizeBefore));
    constexpr size_t kMapped = 64 << 20;
    void* mapped = mmap(nullptr, kMapped, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    ASSERT_TRUE(procKilobytes(status.read(), "VmSize", sizeAfter));
    munmap(mapped, kMapped);
    EXPECT_GE(sizeAfter, sizeBefore + kMapped / 1024);

    // Any other file replaced between reads is read as it is now.
    const std::string folder = testing::TempDir() + "proc-file-reader";
    std::filesystem::create_directories(folder);
    const auto write = [](const std::string& path, const char* text) { std::ofstream(path) << text; };
    write(folder + "/value", "one");
    ProcFileReader value(folder + "/value");
    EXPECT_EQ(value.read(), "one");
    write(folder + "/next", "two");
    std::filesystem::rename(folder + "/next", folder + "/value");
    EXPECT_EQ(value.read(), "two");
    std::filesystem::remove_all(folder);
}

// A file written in one piece is read whole, however small the buffer it starts with.
TEST(ProcFileReader, ReadsAOnePieceFileToItsEnd)
{
    ProcFileReader status("/proc/self/status", 64, ProcFileReader::Pieces::One);
    for (int read = 0; read < 2; ++read) {
        const std::string_view text = status.read();
        EXPECT_NE(text.find("\nnonvoluntary_ctxt_switches:"), std::string_view::npos) << text;
    }
}
