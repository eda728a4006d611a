#include "platform/linux/LinuxNames.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/linux/RootPath.h"

namespace pelmora {

namespace {

constexpr size_t kComputerNameMaxChars = 15;

std::string trimmed(const std::string& text)
{
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    const auto first = std::find_if(text.begin(), text.end(), notSpace);
    const auto last = std::find_if(text.rbegin(), text.rend(), notSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

// Lower case with every blank removed: "Work Group" and "workgroup" match.
std::string parameterKey(const std::string& name)
{
    std::string key;
    for (unsigned char c : name) {
        if (!std::isspace(c)) key += static_cast<char>(std::tolower(c));
    }
    return key;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string domainAfterFirstDot(const std::string& name)
{
    const size_t dot = name.find('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

}  // namespace

std::string shortComputerName(const std::string& hostName)
{
    return hostName.substr(0, std::min(hostName.find('.'), kComputerNameMaxChars));
}

std::string sambaWorkgroup(std::istream& smbConf)
{
    std::string workgroup;
    bool inGlobal = true;
    std::string line;
    std::string logical;
    while (std::getline(smbConf, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.back() == '\\') {
            logical += line.substr(0, line.size() - 1);
            continue;
        }
        logical += line;
        const std::string text = trimmed(logical);
        logical.clear();
        if (text.empty() || text[0] == '#' || text[0] == ';') continue;
        if (text[0] == '[') {
            const size_t close = text.find(']');
            const std::string section =
                trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inGlobal = equalsIgnoringCase(section, "global");
            continue;
        }
        const size_t equals = text.find('=');
        if (!inGlobal || equals == std::string::npos) continue;
        if (parameterKey(text.substr(0, equals)) == "workgroup") workgroup = trimmed(text.substr(equals + 1));
    }
    return workgroup;
}

std::string hostsFileDomain(std::istream& hosts, const std::string& hostName)
{
    const std::string shortName = hostName.substr(0, hostName.find('.'));
    if (shortName.empty()) return {};
    std::string line;
    while (std::getline(hosts, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string address;
        std::vector<std::string> names;
        fields >> address;
        for (std::string name; fields >> name;) names.push_back(name);
        const bool hostLine = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return equalsIgnoringCase(name, hostName) || equalsIgnoringCase(name, shortName);
        });
        if (!hostLine) continue;
        for (const std::string& name : names) {
            const std::string domain = domainAfterFirstDot(name);
            if (!domain.empty() && equalsIgnoringCase(name.substr(0, name.find('.')), shortName))
                return domain;
        }
    }
    return {};
}

bool LinuxNames::kernelHostName(std::string& hostName)
{
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return false;
    hostName = buffer;
    return true;
}

LinuxNames::LinuxNames(std::string root, HostNameSource hostName)
    : root_(std::move(root)), hostName_(hostName)
{
}

std::string LinuxNames::path(const char* relative) const
{
    return underRoot(root_, relative);
}

bool LinuxNames::computerName(std::string& name)
{
    std::string hostName;
    if (!hostName_(hostName)) return false;
    name = shortComputerName(hostName);
    return true;
}

bool LinuxNames::userName(std::string& name)
{
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 1024);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    while ((error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (error != 0 || found == nullptr || found->pw_name == nullptr) return false;
    name = found->pw_name;
    return true;
}

std::string LinuxNames::workgroup()
{
    std::ifstream smbConf(path("/etc/samba/smb.conf"));
    if (smbConf) {
        std::string group = sambaWorkgroup(smbConf);
        if (!group.empty()) return group;
    }
    std::string hostName;
    if (!hostName_(hostName)) return {};
    std::string domain = domainAfterFirstDot(hostName);
    if (!domain.empty()) return domain;
    std::ifstream hosts(path("/etc/hosts"));
    return hosts ? hostsFileDomain(hosts, hostName) : std::string();
}

}  // namespace pelmora
