#include "platform/linux/LinuxVolumeLabel.h"

#include <blkid/blkid.h>
#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <memory>

#include "core/TextTrim.h"
#include "platform/linux/RootPath.h"
#include "platform/linux/SharedLibrary.h"
#include "platform/linux/SysfsText.h"

namespace pelmora {

namespace {

// The library is loaded only for a device this process may read (as a rule
// only root may), and unloaded after the probe.
bool blkidLabel(const std::string& device, std::string& label, const char* probeLibrary)
{
    if (access(device.c_str(), R_OK) != 0) return false;
    const SharedLibrary blkid(probeLibrary);
#define PELMORA_BLKID_FUNCTION(name) blkid.function<decltype(&blkid_##name)>("blkid_" #name)
    const auto newProbe = PELMORA_BLKID_FUNCTION(new_probe_from_filename);
    const auto freeProbe = PELMORA_BLKID_FUNCTION(free_probe);
    const auto enableSuperblocks = PELMORA_BLKID_FUNCTION(probe_enable_superblocks);
    const auto setSuperblocksFlags = PELMORA_BLKID_FUNCTION(probe_set_superblocks_flags);
    const auto doSafeprobe = PELMORA_BLKID_FUNCTION(do_safeprobe);
    const auto lookupValue = PELMORA_BLKID_FUNCTION(probe_lookup_value);
#undef PELMORA_BLKID_FUNCTION
    if (!newProbe || !freeProbe || !enableSuperblocks || !setSuperblocksFlags || !doSafeprobe ||
        !lookupValue) {
        return false;
    }
    std::unique_ptr<blkid_struct_probe, void (*)(blkid_probe)> probe(newProbe(device.c_str()), freeProbe);
    if (!probe) return false;
    enableSuperblocks(probe.get(), 1);
    setSuperblocksFlags(probe.get(), BLKID_SUBLKS_LABEL);
    const char* value = nullptr;
    size_t length = 0;
    if (doSafeprobe(probe.get()) != 0 || lookupValue(probe.get(), "LABEL", &value, &length) != 0 || !value) {
        return false;
    }
    label.assign(value, length > 0 && value[length - 1] == '\0' ? length - 1 : length);
    return true;
}

bool byLabelLink(const std::string& root, const std::string& device, std::string& label)
{
    const std::string folder = underRoot(root, "/dev/disk/by-label");
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return false;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        char target[4096];
        const ssize_t length = readlink((folder + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        if (length <= 0) continue;
        const std::string link(target, static_cast<size_t>(length));
        const std::string resolved = lexicallyNormal(link[0] == '/' ? link : "/dev/disk/by-label/" + link);
        if (resolved == device) {
            label = decodeUdevEscapes(entry->d_name);
            return true;
        }
    }
    return false;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::string decodeUdevEscapes(const std::string& name)
{
    std::string decoded;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && hexDigit(name[i + 2]) >= 0 &&
            hexDigit(name[i + 3]) >= 0) {
            decoded += static_cast<char>(hexDigit(name[i + 2]) * 16 + hexDigit(name[i + 3]));
            i += 3;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

std::string mountDeviceNode(const std::string& root, const MountEntry& mount)
{
    const std::string folder = blockDeviceFolder(root, mount);
    if (!folder.empty()) {
        std::string_view uevent;
        const auto text = readSmallFile((folder + "/uevent").c_str());
        if (text) uevent = *text;
        for (std::string_view line; takeLine(uevent, line);) {
            if (line.starts_with("DEVNAME=") && line.size() > 8) return "/dev/" + std::string(line.substr(8));
        }
    }
    return followDeviceLink(root, mount.source);
}

bool readVolumeLabel(const std::string& root, const MountEntry& mount, std::string& label,
                     const char* probeLibrary)
{
    const std::string device = mountDeviceNode(root, mount);
    if (device.rfind("/dev/", 0) != 0) return false;
    return blkidLabel(underRoot(root, device), label, probeLibrary) || byLabelLink(root, device, label);
}

}  // namespace pelmora
