#include "platform/ConfigLocation.h"

#include <cstdlib>

namespace pelmora {

std::filesystem::path configDirectory()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::filesystem::path(xdg) / "Talvessa";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".config" / "Talvessa";
}

std::filesystem::path settingsFilePath() { return configDirectory() / "Talvessa.reg"; }

std::filesystem::path placementFilePath() { return configDirectory() / "pelmora.INI"; }

}  // namespace pelmora
