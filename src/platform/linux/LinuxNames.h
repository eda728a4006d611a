#pragma once
// Computer, user and workgroup names on Linux.
#include <istream>
#include <string>

#include "platform/SystemStatus.h"

namespace pelmora {

// The host name up to its first dot, at most 15 characters (as long as the
// name of a computer on a Windows network may be).
std::string shortComputerName(const std::string& hostName);

// The `workgroup` of the [global] section of a Samba configuration: names of
// parameters compare without case and blanks, as Samba compares them; lines
// ending in a backslash continue; ';' and '#' start comments; parameters
// before the first section count as global; the last setting wins. Empty
// when not set.
std::string sambaWorkgroup(std::istream& smbConf);

// The DNS domain of a host from a hosts file: the part after the first dot
// of a name, on the host's line, that starts with the host's short name.
std::string hostsFileDomain(std::istream& hosts, const std::string& hostName);

class LinuxNames : public Names {
public:
    using HostNameSource = bool (*)(std::string& hostName);
    static bool kernelHostName(std::string& hostName);

    // Files are read under `root`; the host name comes from `hostName`.
    explicit LinuxNames(std::string root = "/", HostNameSource hostName = kernelHostName);

    bool computerName(std::string& name) override;
    // The login name of the effective user.
    bool userName(std::string& name) override;
    // The Samba workgroup of <root>/etc/samba/smb.conf when it sets one,
    // otherwise the host's DNS domain (from a fully qualified host name, then
    // from <root>/etc/hosts), otherwise empty. Never asks a name server, so a
    // tick cannot wait on the network.
    std::string workgroup() override;

private:
    std::string path(const char* relative) const;

    std::string root_;
    HostNameSource hostName_;
};

}  // namespace pelmora
