#pragma once
// Drive letters over the mounted file systems (letter rules in
// LinuxMountTable.h). Meant for one thread, the one that runs the ticks; the
// queries that touch a file system or a device (space, label) run on a
// worker with a deadline, so a hung mount never holds that thread longer
// than the deadline, and only once. The root file system's space is the
// exception: it is asked on the calling thread.
#include <sys/types.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "platform/DeadlineRunner.h"
#include "platform/Drives.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/LinuxMountTable.h"

namespace pelmora {

class LinuxDrives : public Drives {
public:
    // Reads <root>/proc/self/mountinfo and the sysfs and /dev folders under root.
    explicit LinuxDrives(std::string root = "/", std::chrono::milliseconds deadline = kQueryDeadline);
    LinuxDrives(const LinuxDrives&) = delete;
    LinuxDrives& operator=(const LinuxDrives&) = delete;

    // Letters are case-insensitive; a letter without a file system (or any
    // other character) has no root folder.
    DriveType driveType(char letter) override;
    // From statvfs of the mount point: blocks available to unprivileged
    // users (so reserved blocks and quotas count as used) and all blocks.
    bool diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes) override;
    bool volumeLabel(char letter, std::string& label) override;
    bool responding(char letter) override;
    std::string fixedDriveLetters() override;
    // Within a round the mount table's change flag is looked at once.
    void beginRound() override;
    void endRound() override;

private:
    // A label read is kept until the mount table changes or udev changes its
    // links in /dev/disk/by-label (as it does when a mounted file system is
    // given another label), and at most this long where no udev keeps them.
    static constexpr std::chrono::seconds kLabelKept{60};
    struct FileStamp {
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct KeptLabel {
        bool read = false;
        std::string text;
        std::chrono::steady_clock::time_point readAt;
        std::optional<FileStamp> links;  // of /dev/disk/by-label when read
    };
    struct Letter {
        LetteredMount mount;
        DriveType type = kDriveNoRootDir;
        std::optional<KeptLabel> label;
    };
    Letter* find(char letter);
    // The mount point as seen from here: the runner's subject for the drive.
    std::string pathOf(const Letter& found) const;
    bool tableChanged();
    void reload();

    std::string root_;
    std::string mountInfoPath_;
    std::string labelLinksPath_;
    FileDescriptor watchFd_;    // the kernel flags a changed mount table on it
    bool watchesProc_ = false;  // false for a plain file (a test tree): compare its stat instead
    static std::optional<FileStamp> stampOf(const std::string& path);
    std::optional<FileStamp> seen_;
    bool loaded_ = false;
    bool inRound_ = false;
    bool lookedThisRound_ = false;
    std::array<std::optional<Letter>, 26> letters_;
    DeadlineRunner runner_;
};

}  // namespace pelmora
