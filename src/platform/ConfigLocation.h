#pragma once
#include <filesystem>

namespace pelmora {

// The folder of the per-user files: $XDG_CONFIG_HOME/Talvessa, or
// ~/.config/Talvessa on Linux; %APPDATA%\Talvessa on Windows. Empty when
// it is not known (the stores then read defaults and refuse writes).
std::filesystem::path configDirectory();
std::filesystem::path settingsFilePath();   // Talvessa.reg in that folder; empty on Windows (the registry)
std::filesystem::path placementFilePath();  // pelmora.INI in that folder (executable name + ".INI")

}  // namespace pelmora
