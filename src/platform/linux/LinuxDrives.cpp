#include "platform/linux/LinuxDrives.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <memory>
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

LinuxDrives::LinuxDrives(std::string root, std::chrono::milliseconds deadline)
    : root_(std::move(root)),
      mountInfoPath_(underRoot(root_, "proc/self/mountinfo")),
      labelLinksPath_(underRoot(root_, "dev/disk/by-label")),
      runner_(deadline)
{
}

void LinuxDrives::beginRound()
{
    inRound_ = true;
    lookedThisRound_ = false;
}

void LinuxDrives::endRound()
{
    inRound_ = false;
}

bool LinuxDrives::tableChanged()
{
    if (inRound_) {
        if (lookedThisRound_ && loaded_) return false;
        lookedThisRound_ = true;
    }
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
        letters_[static_cast<size_t>(mount.letter - 'A')] =
            Letter{mount, mountDriveType(root_, mount), std::nullopt};
    }
    // Without a descriptor to watch, look again on the next call.
    loaded_ = watchFd_.isOpen();
}

LinuxDrives::Letter* LinuxDrives::find(char letter)
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

std::string LinuxDrives::pathOf(const Letter& found) const
{
    return underRoot(root_, found.mount.mount.mountPoint);
}

bool LinuxDrives::diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes)
{
    const Letter* found = find(letter);
    if (!found) return false;
    struct Space {
        bool read = false;
        uint64_t free = 0;
        uint64_t total = 0;
    };
    auto space = std::make_shared<Space>();
    const std::string path = pathOf(*found);
    const auto query = [space, path] {
        struct statvfs answer {};
        if (statvfs(path.c_str(), &answer) != 0) return;
        const uint64_t unit = answer.f_frsize ? answer.f_frsize : answer.f_bsize;
        space->free = static_cast<uint64_t>(answer.f_bavail) * unit;
        space->total = static_cast<uint64_t>(answer.f_blocks) * unit;
        space->read = true;
    };
    // The root file system is asked here: this thread reads files on it
    // anyway (the names, the libraries it loads), so a worker would not keep
    // it from hanging with it, and the hand-over costs two wake-ups a tick.
    if (found->mount.kind == MountKind::Root) {
        query();
    } else if (runner_.run(path, query) != DeadlineRunner::Outcome::Answered) {
        return false;
    }
    if (!space->read) return false;
    freeToCaller = space->free;
    totalBytes = space->total;
    return true;
}

bool LinuxDrives::volumeLabel(char letter, std::string& label)
{
    Letter* found = find(letter);
    if (!found || found->mount.kind == MountKind::Network) return false;
    const auto now = std::chrono::steady_clock::now();
    // A look at the links costs a stat on /dev (which cannot hang); a read
    // hands over to the worker, and as root loads the probing library.
    const std::optional<FileStamp> links = stampOf(labelLinksPath_);
    if (!found->label || now - found->label->readAt >= kLabelKept || found->label->links != links) {
        auto answer = std::make_shared<KeptLabel>();
        const auto query = [answer, root = root_, mount = found->mount.mount] {
            answer->read = readVolumeLabel(root, mount, answer->text);
        };
        // A query past its deadline is not kept: the next tick asks again.
        if (runner_.run(pathOf(*found), query) != DeadlineRunner::Outcome::Answered) return false;
        answer->readAt = now;
        answer->links = links;
        found->label = *answer;
    }
    if (!found->label->read) return false;
    label = found->label->text;
    return true;
}

std::string LinuxDrives::fixedDriveLetters()
{
    if (tableChanged()) reload();
    std::string letters;
    for (size_t index = 0; index < letters_.size(); ++index) {
        if (letters_[index] && letters_[index]->type == kDriveFixed)
            letters += static_cast<char>('A' + index);
    }
    return letters;
}

bool LinuxDrives::responding(char letter)
{
    const Letter* found = find(letter);
    return !found || !runner_.hanging(pathOf(*found));
}

}  // namespace pelmora
