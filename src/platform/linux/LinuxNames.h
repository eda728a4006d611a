#pragma once
// Computer, user and workgroup names on Linux.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

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
std::string sambaWorkgroup(std::string_view smbConf);

// The DNS domain of a host from a hosts file: the part after the first dot
// of a name, on the host's line, that starts with the host's short name.
std::string hostsFileDomain(std::string_view hosts, const std::string& hostName);

// The user name and the workgroup are read again only once kKeptFor has
// passed since they were last read: they come from files (the account
// database, the Samba configuration, the hosts file) that change rarely,
// and a tick should not read them every second.
class LinuxNames : public Names {
public:
    static constexpr std::chrono::seconds kKeptFor{5};

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
    struct Found {
        bool found = false;
        std::string value;
    };
    struct Kept {
        Found answer;
        std::chrono::steady_clock::time_point readAt;
    };
    template <typename Read>
    static const Found& kept(std::optional<Kept>& slot, Read read);
    Found readUserName() const;
    Found readWorkgroup() const;
    std::string path(const char* relative) const;

    std::string root_;
    HostNameSource hostName_;
    std::optional<Kept> user_;
    std::optional<Kept> workgroup_;
};

}  // namespace pelmora
