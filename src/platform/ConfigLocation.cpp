#include "platform/ConfigLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace pelmora {

namespace {

// $HOME, else the home folder of the user's account entry; empty when
// neither is known. A shared fallback such as /tmp would let another user
// plant the settings.
std::filesystem::path homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir == '/') {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

std::filesystem::path configDirectory()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base
    // directory rules ask.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::filesystem::path(xdg) / "Talvessa";
    const std::filesystem::path home = homeFolder();
    if (home.empty()) return {};
    return home / ".config" / "Talvessa";
}

std::filesystem::path settingsFilePath()
{
    const std::filesystem::path folder = configDirectory();
    return folder.empty() ? folder : folder / "Talvessa.reg";
}

std::filesystem::path placementFilePath()
{
    const std::filesystem::path folder = configDirectory();
    return folder.empty() ? folder : folder / "pelmora.INI";
}

}  // namespace pelmora
