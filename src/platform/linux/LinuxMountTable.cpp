#include "platform/linux/LinuxMountTable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <set>
#include <string_view>
#include <vector>

#include "core/TextTrim.h"
#include "platform/linux/ProcFileReader.h"
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

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The kernel writes a space, tab, newline or backslash inside a field as a
// backslash and three octal digits ("\040"); anything else stands as it is.
std::string unescapeField(std::string_view field)
{
    std::string text;
    text.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

template <typename Number>
bool parseNumber(std::string_view text, Number& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

// One line of a mountinfo table: "36 35 98:0 /root /mount/point rw,noatime
// [optional fields] - type source super,options". False when it is not one.
bool parseMountInfoLine(std::string_view line, MountEntry& entry)
{
    std::vector<std::string_view> fields;
    for (size_t start = 0; start < line.size();) {
        const size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    // The optional fields end at a lone "-"; the type and the source follow.
    const auto separator = std::find(fields.begin() + std::min<size_t>(fields.size(), 6), fields.end(), "-");
    if (fields.size() < 6 || fields.end() - separator < 3) return false;
    unsigned mountId = 0, parentId = 0;
    const std::string_view device = fields[2];
    const size_t colon = device.find(':');
    if (!parseNumber(fields[0], mountId) || !parseNumber(fields[1], parentId) ||
        colon == std::string_view::npos || !parseNumber(device.substr(0, colon), entry.major) ||
        !parseNumber(device.substr(colon + 1), entry.minor)) {
        return false;
    }
    entry.fsRoot = unescapeField(fields[3]);
    entry.mountPoint = unescapeField(fields[4]);
    entry.fsType = unescapeField(separator[1]);
    entry.source = unescapeField(separator[2]);
    return !entry.mountPoint.empty();
}

std::string baseName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

bool readMountTable(const std::string& path, std::vector<MountEntry>& entries)
{
    ProcFileReader reader(path, 16 * 1024);
    const std::string_view table = reader.read();
    if (table.empty()) return false;
    entries.clear();
    std::string_view rest = table;
    for (std::string_view line; takeLine(rest, line);) {
        MountEntry entry;
        if (parseMountInfoLine(line, entry)) entries.push_back(std::move(entry));
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
