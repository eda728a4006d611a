#include <fcntl.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/linux/FileDescriptor.h"
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
