#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/loop.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxMountTable.h"
#include "platform/linux/LinuxVolumeLabel.h"

using namespace pelmora;
namespace fs = std::filesystem;

namespace {

std::string mountsFixture(const char* name)
{
    return std::string(PELMORA_FIXTURES) + "/mounts/" + name;
}

struct ExpectedDrive {
    char letter;
    const char* mountPoint;
    DriveType type;
    std::optional<std::string> label;
};

struct FixtureCase {
    const char* fixture;
    std::vector<ExpectedDrive> drives;  // every lettered drive; the next letter has none
};

// A scratch root folder with a mountinfo file that the test can replace.
class ScratchRoot {
public:
    ScratchRoot()
    {
        char pattern[] = "/tmp/pelmora-drives-XXXXXX";
        path_ = mkdtemp(pattern);
        fs::create_directories(path_ + "/proc/self");
    }
    ~ScratchRoot() { fs::remove_all(path_); }
    const std::string& path() const { return path_; }
    // Written beside and renamed over, as a new inode, like a fresh table.
    void writeMountInfo(const std::string& text) const
    {
        const std::string target = path_ + "/proc/self/mountinfo";
        std::ofstream(target + ".new") << text;
        fs::rename(target + ".new", target);
    }

private:
    std::string path_;
};

std::string readFile(const std::string& path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The folder a letter stands for in <root>/proc/self/mountinfo, empty when none.
std::string letteredMountPoint(const std::string& root, char letter)
{
    std::vector<MountEntry> mounts;
    if (!readMountTable(root + "/proc/self/mountinfo", mounts)) mounts.clear();
    for (const LetteredMount& m : assignDriveLetters(mounts)) {
        if (m.letter == letter) return m.mount.mountPoint;
    }
    return {};
}

}  // namespace

TEST(LinuxDrives, LettersTheFixtureMachines)
{
    const FixtureCase cases[] = {
        {"desktop",
         {{'C', "/", kDriveFixed, "system"},
          {'D', "/home", kDriveFixed, "My Data"},
          {'E', "/media/anna/KINGSTON", kDriveRemovable, "KINGSTON"}}},
        {"laptop",
         {{'C', "/", kDriveFixed, "fedora"},
          {'D', "/run/media/lee/Backup", kDriveRemovable, "backup"},
          {'E', "/run/media/lee/Ubuntu 22.04.3 LTS amd64", kDriveCdrom, "Ubuntu 22.04.3 LTS amd64"}}},
        {"readonly-root", {{'C', "/", kDriveFixed, "rootfs"}, {'D', "/data", kDriveFixed, "data"}}},
        {"container", {{'C', "/", kDriveFixed, std::nullopt}}},
        {"nfs",
         {{'C', "/", kDriveFixed, std::nullopt},
          {'D', "/srv/backup", kDriveFixed, std::nullopt},
          {'E', "/home", kDriveRemote, std::nullopt},
          {'F', "/mnt/build", kDriveRemote, std::nullopt},
          {'G', "/mnt/media", kDriveRemote, std::nullopt}}},
        {"damaged",
         {{'C', "/", kDriveFixed, std::nullopt},
          {'D', "/srv/backup", kDriveFixed, std::nullopt},
          {'E', "/srv/data", kDriveFixed, std::nullopt}}},
        {"no-such-machine", {{'C', "/", kDriveFixed, std::nullopt}}},
    };
    for (const FixtureCase& c : cases) {
        SCOPED_TRACE(c.fixture);
        LinuxDrives drives(mountsFixture(c.fixture));
        EXPECT_EQ(drives.driveType('A'), kDriveNoRootDir);
        EXPECT_EQ(drives.driveType('B'), kDriveNoRootDir);
        for (const ExpectedDrive& d : c.drives) {
            SCOPED_TRACE(d.letter);
            EXPECT_EQ(letteredMountPoint(mountsFixture(c.fixture), d.letter), d.mountPoint);
            EXPECT_EQ(drives.driveType(d.letter), d.type);
            EXPECT_EQ(drives.driveType(static_cast<char>(d.letter - 'A' + 'a')), d.type);
            std::string label = "left over";
            EXPECT_EQ(drives.volumeLabel(d.letter, label), d.label.has_value());
            if (d.label) {
                EXPECT_EQ(label, *d.label);
            }
        }
        std::string fixed;
        for (const ExpectedDrive& d : c.drives) {
            if (d.type == kDriveFixed) fixed += d.letter;
        }
        EXPECT_EQ(drives.fixedDriveLetters(), fixed);
        const char next = static_cast<char>(c.drives.back().letter + 1);
        EXPECT_EQ(drives.driveType(next), kDriveNoRootDir);
        uint64_t freeBytes = 0, totalBytes = 0;
        EXPECT_FALSE(drives.diskFreeSpace(next, freeBytes, totalBytes));
        std::string label;
        EXPECT_FALSE(drives.volumeLabel(next, label));
    }
}

TEST(LinuxDrives, OtherCharactersHaveNoDrive)
{
    LinuxDrives drives(mountsFixture("desktop"));
    for (char c : {'\0', '1', ':', '\\', '[', '@', static_cast<char>(0xC4)}) {
        EXPECT_EQ(drives.driveType(c), kDriveNoRootDir) << int(c);
        uint64_t freeBytes = 0, totalBytes = 0;
        EXPECT_FALSE(drives.diskFreeSpace(c, freeBytes, totalBytes));
    }
}

TEST(LinuxDrives, MeasuresTheRealRootWithStatvfsOnThisThread)
{
    LinuxDrives drives;
    ASSERT_EQ(drives.driveType('c'), kDriveFixed);
    const auto threads = [] {
        const std::filesystem::directory_iterator tasks("/proc/self/task");
        return std::distance(begin(tasks), end(tasks));
    };
    const auto before = threads();
    uint64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(drives.diskFreeSpace('c', freeBytes, totalBytes));
    EXPECT_EQ(threads(), before);  // no worker started for it
    struct statvfs root {};
    ASSERT_EQ(statvfs("/", &root), 0);
    EXPECT_EQ(totalBytes, static_cast<uint64_t>(root.f_blocks) * root.f_frsize);
    EXPECT_LE(freeBytes, totalBytes);
    EXPECT_GT(totalBytes, 0u);
}

TEST(LinuxDrives, FollowsTheMountTableWhenItChanges)
{
    ScratchRoot root;
    root.writeMountInfo(readFile(mountsFixture("desktop") + "/proc/self/mountinfo"));
    LinuxDrives drives(root.path());
    EXPECT_EQ(drives.driveType('D'), kDriveFixed);
    EXPECT_EQ(drives.driveType('E'), kDriveFixed);  // no sysfs in the scratch root to call it removable

    // The stick is pulled out.
    std::string table = readFile(mountsFixture("desktop") + "/proc/self/mountinfo");
    std::string withoutStick;
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("/dev/sdb1") == std::string::npos) withoutStick += line + "\n";
    }
    root.writeMountInfo(withoutStick);
    EXPECT_EQ(drives.driveType('E'), kDriveNoRootDir);
    EXPECT_EQ(drives.driveType('D'), kDriveFixed);

    // The table disappears altogether: C is still the root.
    fs::remove(root.path() + "/proc/self/mountinfo");
    EXPECT_EQ(drives.driveType('D'), kDriveNoRootDir);
    EXPECT_EQ(drives.driveType('C'), kDriveFixed);

    root.writeMountInfo(readFile(mountsFixture("nfs") + "/proc/self/mountinfo"));
    EXPECT_EQ(drives.driveType('D'), kDriveFixed);
    EXPECT_EQ(drives.driveType('E'), kDriveRemote);
}

// A tick's queries share one look at the table; the next round sees a change.
TEST(LinuxDrives, LooksAtTheTableOnceARound)
{
    ScratchRoot root;
    root.writeMountInfo(readFile(mountsFixture("desktop") + "/proc/self/mountinfo"));
    LinuxDrives drives(root.path());
    {
        const DrivesRound round(drives);
        EXPECT_EQ(drives.driveType('E'), kDriveFixed);
        root.writeMountInfo(readFile(mountsFixture("nfs") + "/proc/self/mountinfo"));
        EXPECT_EQ(drives.driveType('E'), kDriveFixed);
    }
    const DrivesRound next(drives);
    EXPECT_EQ(drives.driveType('E'), kDriveRemote);
}

// A label is read once per mount, not on every tick; a changed mount
// table, or a change of the label links, reads it again.
TEST(LinuxDrives, KeepsALabelUntilTheMountTableOrItsLinksChange)
{
    ScratchRoot root;
    const std::string table = "25 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n";
    root.writeMountInfo(table);
    const fs::path labels = root.path() + "/dev/disk/by-label";
    fs::create_directories(labels);
    fs::create_directory_symlink("../../sda1", labels / "First");
    LinuxDrives drives(root.path());
    std::string label;
    ASSERT_TRUE(drives.volumeLabel('C', label));
    EXPECT_EQ(label, "First");

    // Renamed behind the folder's back (its time set back): not looked at again.
    const auto modified = fs::last_write_time(labels);
    fs::rename(labels / "First", labels / "Other");
    fs::last_write_time(labels, modified);
    ASSERT_TRUE(drives.volumeLabel('C', label));
    EXPECT_EQ(label, "First");

    root.writeMountInfo(table);
    ASSERT_TRUE(drives.volumeLabel('C', label));
    EXPECT_EQ(label, "Other");

    fs::rename(labels / "Other", labels / "Third");
    ASSERT_TRUE(drives.volumeLabel('C', label));
    EXPECT_EQ(label, "Third");
}

TEST(LinuxDrives, StopsAtZ)
{
    ScratchRoot root;
    std::string table = "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n";
    for (int i = 0; i < 30; ++i) {
        table += std::to_string(100 + i) + " 28 65:" + std::to_string(i) + " / /data/disk" +
                 (i < 10 ? "0" : "") + std::to_string(i) + " rw,relatime - ext4 /dev/vd" + std::to_string(i) +
                 " rw\n";
    }
    root.writeMountInfo(table);
    LinuxDrives drives(root.path());
    EXPECT_EQ(letteredMountPoint(root.path(), 'D'), "/data/disk00");
    EXPECT_EQ(letteredMountPoint(root.path(), 'Z'), "/data/disk22");
    EXPECT_EQ(drives.driveType('Z'), kDriveFixed);
}

// The kernel escapes a space, tab, newline or backslash in a field as three
// octal digits; other backslashes stand. Lines without the "-" before the
// type and source, or with a bad device number, are no mounts.
TEST(MountTable, UnescapesFieldsAndSkipsWhatIsNoMount)
{
    ScratchRoot root;
    root.writeMountInfo(
        "28 1 8:2 / / rw,relatime shared:1 master:3 - ext4 /dev/sda2 rw\n"
        "\n"
        "40 28 8:17 /sub\\134dir /mnt/my\\040disk\\011x rw - btrfs /dev/sdb1 rw\n"
        "41 28 8:33 / /mnt/odd\\400\\04 rw - ext4 /dev/sdc1 rw\n"
        "42 28 x:1 / /mnt/bad-device rw - ext4 /dev/sdd1 rw\n"
        "43 28 8:49 / /mnt/no-separator rw ext4 /dev/sde1 rw\n"
        "44 28 8:65 / /mnt/no-source rw - ext4\n"
        "45 28 0:50 / /mnt/share\\040one rw - nfs4 nas:/a\\040b rw");  // no final newline
    std::vector<MountEntry> mounts;
    ASSERT_TRUE(readMountTable(root.path() + "/proc/self/mountinfo", mounts));
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].source, "/dev/sda2");
    EXPECT_EQ(mounts[0].fsType, "ext4");
    EXPECT_EQ(mounts[0].major, 8u);
    EXPECT_EQ(mounts[0].minor, 2u);
    EXPECT_EQ(mounts[1].fsRoot, "/sub\\dir");
    EXPECT_EQ(mounts[1].mountPoint, "/mnt/my disk\tx");
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/odd\\400\\04");
    EXPECT_EQ(mounts[3].mountPoint, "/mnt/share one");
    EXPECT_EQ(mounts[3].source, "nas:/a b");

    EXPECT_FALSE(readMountTable(root.path() + "/proc/self/none", mounts));
}

TEST(DriveLetters, RootIsTheLastMountOnSlashAndClaimsItsDevice)
{
    const std::vector<MountEntry> mounts = {
        {"/", "rootfs", "rootfs", "/", 0, 1},
        {"/", "/dev/sda2", "ext4", "/", 8, 2},
        {"/mnt/again", "/dev/sda2", "ext4", "/", 8, 2},  // the root's device mounted once more
        {"/srv", "/dev/sdb1", "ext4", "/", 8, 17},
    };
    const std::vector<LetteredMount> letters = assignDriveLetters(mounts);
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[0].letter, 'C');
    EXPECT_EQ(letters[0].mount.source, "/dev/sda2");
    EXPECT_EQ(letters[1].letter, 'D');
    EXPECT_EQ(letters[1].mount.mountPoint, "/srv");
}

TEST(DriveLetters, KeepsTheFirstMountOfADeviceAndSortsByMountPoint)
{
    const std::vector<MountEntry> mounts = {
        {"/", "/dev/sda2", "ext4", "/", 8, 2},
        {"/zeta", "/dev/sdc1", "ext4", "/", 8, 33},
        {"/alpha", "/dev/sdc1", "ext4", "/", 8, 33},  // second mount of sdc1
        {"/beta", "/dev/sdd1", "xfs", "/", 8, 49},
        {"/a-share", "srv:/export", "nfs", "/", 0, 60},  // network after local
        {"/snap/core/1", "/dev/loop3", "squashfs", "/", 7, 3},
        {"/snap/tool/2", "/dev/loop4", "ext4", "/", 7, 4},  // a snap's loop of another type
        {"/mnt/image", "/dev/loop5", "ext4", "/", 7, 5},    // a loop image outside snap is a drive
        {"/boot", "/dev/sda1", "ext4", "/", 8, 1},
        {"/var/www", "/dev/sdd1", "xfs", "/www", 8, 49},
        {"/ram", "tmpfs", "tmpfs", "/", 0, 40},
    };
    std::vector<std::string> order;
    for (const LetteredMount& m : assignDriveLetters(mounts))
        order.push_back(std::string(1, m.letter) + m.mount.mountPoint);
    EXPECT_EQ(order, (std::vector<std::string>{"C/", "D/beta", "E/mnt/image", "F/zeta", "G/a-share"}));
}

TEST(VolumeLabel, DecodesUdevEscapesAndOnlyThem)
{
    EXPECT_EQ(decodeUdevEscapes("My\\x20Data"), "My Data");
    EXPECT_EQ(decodeUdevEscapes("a\\x2fb\\x5c"), "a/b\\");
    EXPECT_EQ(decodeUdevEscapes("trailing\\x2"), "trailing\\x2");
    EXPECT_EQ(decodeUdevEscapes("not\\xzz"), "not\\xzz");
    EXPECT_EQ(decodeUdevEscapes("plain"), "plain");
}

TEST(VolumeLabel, ResolvesDeviceNamesBeforeLookingUpLabels)
{
    EXPECT_EQ(lexicallyNormal("/dev/disk/by-label/../../sdb1"), "/dev/sdb1");
    EXPECT_EQ(lexicallyNormal("/../../x//y/./z"), "/x/y/z");
    // /dev/root resolves through the device's uevent, /dev/mapper through its link.
    EXPECT_EQ(mountDeviceNode(mountsFixture("readonly-root"), {"/", "/dev/root", "ext4", "/", 179, 2}),
              "/dev/mmcblk0p2");
    EXPECT_EQ(mountDeviceNode(
                  mountsFixture("laptop"),
                  {"/", "/dev/mapper/luks-3f1c7a2e-5b8d-4c9e-a0f1-6d2e8b7c4a10", "btrfs", "/root", 0, 27}),
              "/dev/dm-0");
    EXPECT_EQ(mountDeviceNode(mountsFixture("nfs"), {"/home", "nas:/export", "nfs4", "/", 0, 50}),
              "nas:/export");
}

// The probe's library is loaded only for a readable device: where it cannot
// be loaded, the by-label link still names the drive.
TEST(VolumeLabel, WithoutTheProbeLibraryTheLinkNamesTheDrive)
{
    ScratchRoot root;
    fs::create_directories(root.path() + "/dev/disk/by-label");
    std::ofstream(root.path() + "/dev/sdz1") << std::string(4096, '\0');
    fs::create_symlink("../../sdz1", root.path() + "/dev/disk/by-label/Backup");
    std::string label;
    ASSERT_TRUE(readVolumeLabel(root.path(), {"/data", "/dev/sdz1", "ext4", "/", 0, 0}, label,
                                "libpelmora-no-such-library.so"));
    EXPECT_EQ(label, "Backup");
}

namespace {

// Attaches an image file to a free loop device; the device path, or empty.
std::string attachLoop(const std::string& image)
{
    const int control = open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    if (control < 0) return {};
    const int number = ioctl(control, LOOP_CTL_GET_FREE);
    close(control);
    if (number < 0) return {};
    const std::string device = "/dev/loop" + std::to_string(number);
    const int loop = open(device.c_str(), O_RDWR | O_CLOEXEC);
    const int backing = open(image.c_str(), O_RDWR | O_CLOEXEC);
    const bool attached = loop >= 0 && backing >= 0 && ioctl(loop, LOOP_SET_FD, backing) == 0;
    if (backing >= 0) close(backing);
    if (loop >= 0) close(loop);
    return attached ? device : std::string();
}

void detachLoop(const std::string& device)
{
    const int loop = open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (loop >= 0) ioctl(loop, LOOP_CLR_FD, 0), close(loop);
}

char letterOf(const std::string& mountPoint)
{
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (letteredMountPoint("/", letter) == mountPoint) return letter;
    }
    return 0;
}

}  // namespace

// The kernel's change flag on the real table: a file system mounted after
// the first look gets a letter (and its label from the device), and loses
// the letter when unmounted. Runs in a
// child with a mount namespace of its own; needs the right to mount.
TEST(LinuxDrives, NoticesMountsOnTheRealTable)
{
    ScratchRoot scratch;
    const std::string image = scratch.path() + "/disk.img";
    const std::string folder = scratch.path() + "/mnt";
    fs::create_directories(folder);
    std::ofstream(image).close();
    fs::resize_file(image, 16 << 20);
    const std::string mkfs = "mkfs.ext4 -q -F -L Scratch\\ Disk " + image + " >/dev/null 2>&1";
    if (geteuid() != 0 || std::system(mkfs.c_str()) != 0) GTEST_SKIP() << "needs root and mkfs.ext4";

    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            _exit(10);
        const std::string device = attachLoop(image);
        if (device.empty()) _exit(10);
        LinuxDrives drives;
        int result = 0;
        drives.driveType('C');  // the first look, before the mount
        if (letterOf(folder) != 0) result = 1;
        if (result == 0 && mount(device.c_str(), folder.c_str(), "ext4", 0, nullptr) != 0) result = 10;
        if (result == 0) {
            const char letter = letterOf(folder);
            std::string label;
            if (letter == 0 || drives.driveType(letter) != kDriveFixed)
                result = 2;
            else if (!drives.volumeLabel(letter, label) || label != "Scratch Disk")
                result = 4;
            umount(folder.c_str());
            if (result == 0 && drives.volumeLabel(letter, label) && label == "Scratch Disk") result = 3;
        }
        detachLoop(device);
        _exit(result);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 10) GTEST_SKIP() << "no right to mount here";
    EXPECT_NE(WEXITSTATUS(status), 1) << "lettered before it was mounted";
    EXPECT_NE(WEXITSTATUS(status), 2) << "the new mount got no letter";
    EXPECT_NE(WEXITSTATUS(status), 3) << "the letter stayed after unmounting";
    EXPECT_NE(WEXITSTATUS(status), 4) << "libblkid did not read the label";
}
