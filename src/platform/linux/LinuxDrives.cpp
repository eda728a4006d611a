#include "platform/linux/LinuxDrives.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <vector>

#include "platform/linux/LinuxVolumeLabel.h"
#include "platform/linux/RootPath.h"

namespace pelmora {

namespace {

std::optional<int> letterIndex(char letter)
{
    const int upper = std::toupper(static_cast<unsigned char>(letter));
    if (upper < 'A' || upper > 'Z') return std::nullopt;
    return upper - 'A';
}

}  // namespace

LinuxDrives::LinuxDrives(std::string root)
    : root_(std::move(root)), mountInfoPath_(underRoot(root_, "proc/self/mountinfo"))
{
}

bool LinuxDrives::tableChanged()
{
    if (!loaded_) return true;
    if (watchesProc_) {
        // The kernel reports POLLPRI once per change of the table since the
        // last poll of this descriptor: one cheap call per look.
        pollfd watch{watchFd_.get(), POLLPRI, 0};
        return poll(&watch, 1, 0) != 0;
    }
    return stampOf(mountInfoPath_) != seen_;
}

std::optional<LinuxDrives::FileStamp> LinuxDrives::stampOf(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{info.st_ino, info.st_size, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}

void LinuxDrives::reload()
{
    if (!watchFd_.isOpen()) {
        watchFd_ = FileDescriptor(open(mountInfoPath_.c_str(), O_RDONLY | O_CLOEXEC));
        struct statfs fs {};
        watchesProc_ =
            watchFd_.isOpen() && fstatfs(watchFd_.get(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
    }
    if (!watchesProc_) seen_ = stampOf(mountInfoPath_);

    // An unreadable table still leaves C as the root folder.
    std::vector<MountEntry> mounts;
    if (!readMountTable(mountInfoPath_, mounts)) mounts.clear();
    letters_ = {};
    for (const LetteredMount& mount : assignDriveLetters(mounts)) {
        letters_[static_cast<size_t>(mount.letter - 'A')] = Letter{mount, mountDriveType(root_, mount)};
    }
    // Without a descriptor to watch, look again on the next call.
    loaded_ = watchFd_.isOpen();
}

const LinuxDrives::Letter* LinuxDrives::find(char letter)
{
    if (tableChanged()) reload();
    const std::optional<int> index = letterIndex(letter);
    if (!index || !letters_[static_cast<size_t>(*index)]) return nullptr;
    return &*letters_[static_cast<size_t>(*index)];
}

DriveType LinuxDrives::driveType(char letter)
{
    const Letter* found = find(letter);
    return found ? found->type : kDriveNoRootDir;
}

bool LinuxDrives::diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes)
{
    const Letter* found = find(letter);
    if (!found) return false;
    const std::string path = underRoot(root_, found->mount.mount.mountPoint);
    struct statvfs space {};
    if (statvfs(path.c_str(), &space) != 0) return false;
    const uint64_t unit = space.f_frsize ? space.f_frsize : space.f_bsize;
    freeToCaller = static_cast<uint64_t>(space.f_bavail) * unit;
    totalBytes = static_cast<uint64_t>(space.f_blocks) * unit;
    return true;
}

bool LinuxDrives::volumeLabel(char letter, std::string& label)
{
    const Letter* found = find(letter);
    if (!found || found->mount.kind == MountKind::Network) return false;
    return readVolumeLabel(root_, found->mount.mount, label);
}

}  // namespace pelmora
