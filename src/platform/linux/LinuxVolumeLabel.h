#pragma once
// The label of the file system on a mounted block device.
#include <string>

#include "platform/linux/LinuxMountTable.h"

namespace pelmora {

// The device node of a mount: /dev/<DEVNAME> from the uevent of its sysfs
// folder (so /dev/root resolves), else its source with a udev link followed.
std::string mountDeviceNode(const std::string& root, const MountEntry& mount);

// "My\x20Disk" -> "My Disk": the escaping udev uses in /dev/disk/by-label.
std::string decodeUdevEscapes(const std::string& name);

// The label as libblkid reads it from the device (which needs read access
// to the device; the library is loaded only then, and only for the probe),
// else the name of the <root>/dev/disk/by-label link that points at the
// device. False when neither knows a label. A `probeLibrary` that cannot be
// loaded leaves the by-label link.
inline constexpr const char* kBlkidLibrary = "libblkid.so.1";
bool readVolumeLabel(const std::string& root, const MountEntry& mount, std::string& label,
                     const char* probeLibrary = kBlkidLibrary);

}  // namespace pelmora
