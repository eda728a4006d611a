#include "platform/linux/LinuxNames.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <vector>

#include "core/TextTrim.h"
#include "platform/linux/RootPath.h"
#include "platform/linux/SysfsText.h"

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

std::vector<std::string> blankSeparatedFields(std::string_view text)
{
    std::vector<std::string> fields;
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    for (auto at = text.begin(); at != text.end();) {
        at = std::find_if_not(at, text.end(), isSpace);
        const auto end = std::find_if(at, text.end(), isSpace);
        if (at != end) fields.emplace_back(at, end);
        at = end;
    }
    return fields;
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

std::string sambaWorkgroup(std::string_view smbConf)
{
    std::string workgroup;
    bool inGlobal = true;
    std::string logical;
    for (std::string_view physical; takeLine(smbConf, physical);) {
        std::string line(physical);
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

std::string hostsFileDomain(std::string_view hosts, const std::string& hostName)
{
    const std::string shortName = hostName.substr(0, hostName.find('.'));
    if (shortName.empty()) return {};
    for (std::string_view line; takeLine(hosts, line);) {
        // The address, then the names.
        std::vector<std::string> names = blankSeparatedFields(line.substr(0, line.find('#')));
        if (names.empty()) continue;
        names.erase(names.begin());
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
    const Found& user = kept(user_, [this] { return readUserName(); });
    if (!user.found) return false;
    name = user.value;
    return true;
}

std::string LinuxNames::workgroup()
{
    return kept(workgroup_, [this] { return readWorkgroup(); }).value;
}

template <typename Read>
const LinuxNames::Found& LinuxNames::kept(std::optional<Kept>& slot, Read read)
{
    const auto now = std::chrono::steady_clock::now();
    if (!slot || now - slot->readAt >= kKeptFor) slot = Kept{read(), now};
    return slot->answer;
}

LinuxNames::Found LinuxNames::readUserName() const
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
    if (error != 0 || found == nullptr || found->pw_name == nullptr) return {};
    return {true, found->pw_name};
}

LinuxNames::Found LinuxNames::readWorkgroup() const
{
    if (const auto smbConf = readSmallFile(path("/etc/samba/smb.conf").c_str())) {
        std::string group = sambaWorkgroup(*smbConf);
        if (!group.empty()) return {true, group};
    }
    std::string hostName;
    if (!hostName_(hostName)) return {};
    std::string domain = domainAfterFirstDot(hostName);
    if (!domain.empty()) return {true, domain};
    const auto hosts = readSmallFile(path("/etc/hosts").c_str());
    return {true, hosts ? hostsFileDomain(*hosts, hostName) : std::string()};
}

}  // namespace pelmora
