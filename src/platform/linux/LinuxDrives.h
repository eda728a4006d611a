#pragma once
// Drive letters over the mounted file systems (letter rules in
// LinuxMountTable.h). Meant for one thread, the one that runs the ticks.
#include <sys/types.h>

#include <array>
#include <optional>
#include <string>

#include "platform/Drives.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/LinuxMountTable.h"

namespace pelmora {

class LinuxDrives : public Drives {
public:
    // Reads <root>/proc/self/mountinfo and the sysfs and /dev folders under root.
    explicit LinuxDrives(std::string root = "/");
    LinuxDrives(const LinuxDrives&) = delete;
    LinuxDrives& operator=(const LinuxDrives&) = delete;

    // Letters are case-insensitive; a letter without a file system (or any
    // other character) has no root folder.
    DriveType driveType(char letter) override;
    // From statvfs of the mount point: blocks available to unprivileged
    // users (so reserved blocks and quotas count as used) and all blocks.
    bool diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes) override;
    bool volumeLabel(char letter, std::string& label) override;

private:
    struct Letter {
        LetteredMount mount;
        DriveType type = kDriveNoRootDir;
    };
    const Letter* find(char letter);
    bool tableChanged();
    void reload();

    std::string root_;
    std::string mountInfoPath_;
    FileDescriptor watchFd_;    // the kernel flags a changed mount table on it
    bool watchesProc_ = false;  // false for a plain file (a test tree): compare its stat instead
    struct FileStamp {
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static std::optional<FileStamp> stampOf(const std::string& path);
    std::optional<FileStamp> seen_;
    bool loaded_ = false;
    std::array<std::optional<Letter>, 26> letters_;
};

}  // namespace pelmora
