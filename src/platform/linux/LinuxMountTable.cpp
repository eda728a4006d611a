#include "platform/linux/LinuxMountTable.h"

#include <libmount/libmount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "platform/linux/RootPath.h"
#include "platform/linux/SysfsText.h"

namespace pelmora {

namespace {

constexpr std::array<std::string_view, 15> kNetworkFsTypes = {
    "nfs",       "nfs4",           "cifs",  "smb3",       "smbfs", "ncpfs",       "afs",       "ceph",
    "glusterfs", "fuse.glusterfs", "sshfs", "fuse.sshfs", "davfs", "fuse.davfs2", "fuse.davfs"};

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool isAtOrBelow(const std::string& path, const std::string& folder)
{
    return path == folder || startsWith(path, folder + "/");
}

bool isNetwork(const MountEntry& m)
{
    return std::find(kNetworkFsTypes.begin(), kNetworkFsTypes.end(), m.fsType) != kNetworkFsTypes.end();
}

bool isLocal(const MountEntry& m)
{
    if (!startsWith(m.source, "/dev/") || m.fsType == "squashfs") return false;
    if (startsWith(m.source, "/dev/loop") &&
        (isAtOrBelow(m.mountPoint, "/snap") || isAtOrBelow(m.mountPoint, "/var/lib/snapd"))) {
        return false;
    }
    if (isAtOrBelow(m.mountPoint, "/boot")) return false;
    return m.fsRoot == "/" || m.fsType == "btrfs";
}

int ignoreBadLine(libmnt_table*, const char*, int)
{
    return 1;
}  // 1: skip the line, go on

std::string text(const char* value)
{
    return value ? value : "";
}

std::string baseName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

bool readMountTable(const std::string& path, std::vector<MountEntry>& entries)
{
    std::unique_ptr<libmnt_table, void (*)(libmnt_table*)> table(mnt_new_table(), mnt_unref_table);
    if (!table) return false;
    mnt_table_set_parser_errcb(table.get(), ignoreBadLine);
    if (access(path.c_str(), R_OK) != 0 || mnt_table_parse_file(table.get(), path.c_str()) != 0) return false;
    std::unique_ptr<libmnt_iter, void (*)(libmnt_iter*)> iter(mnt_new_iter(MNT_ITER_FORWARD), mnt_free_iter);
    if (!iter) return false;
    entries.clear();
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        MountEntry entry;
        entry.mountPoint = text(mnt_fs_get_target(fs));
        entry.source = text(mnt_fs_get_source(fs));
        entry.fsType = text(mnt_fs_get_fstype(fs));
        entry.fsRoot = text(mnt_fs_get_root(fs));
        const dev_t device = mnt_fs_get_devno(fs);
        entry.major = major(device);
        entry.minor = minor(device);
        if (!entry.mountPoint.empty()) entries.push_back(std::move(entry));
    }
    return true;
}

std::vector<LetteredMount> assignDriveLetters(const std::vector<MountEntry>& mounts)
{
    std::vector<LetteredMount> lettered;
    const auto root =
        std::find_if(mounts.rbegin(), mounts.rend(), [](const MountEntry& m) { return m.mountPoint == "/"; });
    std::set<std::string> claimedSources;
    if (root != mounts.rend()) {
        lettered.push_back({'C', MountKind::Root, *root});
        claimedSources.insert(root->source);
    } else {
        lettered.push_back({'C', MountKind::Root, MountEntry{"/", "", "", "/", 0, 0}});
    }

    std::vector<MountEntry> local, network;
    for (const MountEntry& m : mounts) {
        if (m.mountPoint == "/") continue;
        const bool localMount = isLocal(m);
        if (!localMount && !isNetwork(m)) continue;
        if (!claimedSources.insert(m.source).second) continue;  // mounted before
        (localMount ? local : network).push_back(m);
    }
    const auto byMountPoint = [](const MountEntry& a, const MountEntry& b) {
        return a.mountPoint < b.mountPoint;
    };
    std::sort(local.begin(), local.end(), byMountPoint);
    std::sort(network.begin(), network.end(), byMountPoint);

    char letter = 'D';
    for (const auto& [group, kind] :
         {std::pair{&local, MountKind::Local}, std::pair{&network, MountKind::Network}}) {
        for (const MountEntry& m : *group) {
            if (letter > 'Z') return lettered;
            lettered.push_back({letter++, kind, m});
        }
    }
    return lettered;
}

std::string lexicallyNormal(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string& part : parts) normal += "/" + part;
    return normal.empty() ? "/" : normal;
}

std::string followDeviceLink(const std::string& root, const std::string& device)
{
    char target[4096];
    const ssize_t length = readlink(underRoot(root, device).c_str(), target, sizeof target - 1);
    if (length <= 0) return device;
    const std::string link(target, static_cast<size_t>(length));
    return lexicallyNormal(link[0] == '/' ? link : device.substr(0, device.rfind('/') + 1) + link);
}

std::string blockDeviceFolder(const std::string& root, const MountEntry& mount)
{
    struct stat info {};
    if (mount.major != 0) {
        const std::string byNumber = underRoot(
            root, "/sys/dev/block/" + std::to_string(mount.major) + ":" + std::to_string(mount.minor));
        if (stat(byNumber.c_str(), &info) == 0) return byNumber;
    }
    // File systems such as btrfs show an anonymous device number: go by name.
    if (!startsWith(mount.source, "/dev/")) return {};
    const std::string byName =
        underRoot(root, "/sys/class/block/" + baseName(followDeviceLink(root, mount.source)));
    return stat(byName.c_str(), &info) == 0 ? byName : std::string();
}

DriveType mountDriveType(const std::string& root, const LetteredMount& mount)
{
    if (mount.kind == MountKind::Root) return kDriveFixed;
    if (mount.kind == MountKind::Network) return kDriveRemote;
    const MountEntry& m = mount.mount;
    if ((m.fsType == "iso9660" || m.fsType == "udf") && startsWith(baseName(m.source), "sr"))
        return kDriveCdrom;

    const std::string folder = blockDeviceFolder(root, m);
    if (folder.empty()) return kDriveFixed;
    char target[4096];
    const ssize_t length = readlink(folder.c_str(), target, sizeof target - 1);
    const std::string devicePath =
        length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
    if (devicePath.find("/usb") != std::string::npos) return kDriveRemovable;
    struct stat info {};
    const bool partition = stat((folder + "/partition").c_str(), &info) == 0;
    const std::string disk = partition ? folder + "/.." : folder;
    return readFirstLine(disk + "/removable") == "1" ? kDriveRemovable : kDriveFixed;
}

}  // namespace pelmora
