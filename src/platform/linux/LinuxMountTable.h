#pragma once
// Which mounted file systems get a drive letter, and of which type.
#include <string>
#include <vector>

#include "platform/Drives.h"

namespace pelmora {

// One line of a mountinfo table.
struct MountEntry {
    std::string mountPoint;
    std::string source;  // "/dev/sda1", "server:/export", "overlay", ...
    std::string fsType;
    std::string fsRoot;  // the folder of the file system that is mounted ("/" for all of it)
    unsigned major = 0;
    unsigned minor = 0;
};

// Reads a mountinfo file (proc_pid_mountinfo(5)), fields unescaped; lines
// that are not a mount are skipped. False when the file cannot be read or is
// empty.
//
// Parsed here rather than with libmount: the format is the kernel's, one
// line a mount with one escape, and the library with the two it brings
// (libblkid, libselinux) kept 0.6 MiB resident for the whole run.
bool readMountTable(const std::string& path, std::vector<MountEntry>& entries);

enum class MountKind { Root, Local, Network };

struct LetteredMount {
    char letter = 0;
    MountKind kind = MountKind::Local;
    MountEntry mount;
};

// The letters, in the mount table's terms:
// - C is the file system mounted on "/" (the last one mounted there, the one
//   that is seen), whatever its type.
// - Local file systems are those whose source is a device under /dev/, except
//   squashfs images (snap packages, live media), loop devices mounted under
//   /snap or /var/lib/snapd, anything mounted on /boot or below (boot and EFI
//   system partitions), and bind mounts of a folder or file (mountinfo's
//   root field other than "/"; btrfs subvolumes excepted). A device mounted
//   twice keeps its first mount in table order; the root's device counts as
//   mounted first.
// - Network file systems are nfs, nfs4, cifs, smb3, smbfs, ncpfs, afs, ceph,
//   glusterfs, sshfs and davfs (FUSE variants included); a share mounted twice
//   keeps its first mount.
// - Pseudo and memory file systems (proc, sysfs, tmpfs, cgroup, overlay
//   other than the root, ...) get no letter.
// Local file systems take D, E, ... sorted by mount point (byte order), then
// network file systems, also sorted by mount point; past Z nothing more.
// A and B stay unused.
std::vector<LetteredMount> assignDriveLetters(const std::vector<MountEntry>& mounts);

// The type of a lettered mount: C fixed; network remote; iso9660 or udf on
// an sr device optical; a local device whose disk is marked removable in
// sysfs, or sits on USB, removable; any other local device fixed. sysfs is
// read under `root`.
DriveType mountDriveType(const std::string& root, const LetteredMount& mount);

// A device path with one udev link followed: "/dev/mapper/crypt" ->
// "/dev/dm-0". The path itself when it is no link.
std::string followDeviceLink(const std::string& root, const std::string& device);

// "/dev/disk/by-label/../../sdb1" -> "/dev/sdb1", without touching the disk.
std::string lexicallyNormal(const std::string& path);

// The sysfs folder of a mount's block device under `root` (by device number,
// else by the device's name), or empty.
std::string blockDeviceFolder(const std::string& root, const MountEntry& mount);

}  // namespace pelmora
