#pragma once
#include <filesystem>

namespace pelmora {

// $XDG_CONFIG_HOME/Talvessa, or ~/.config/Talvessa; empty when no home
// folder is known (the stores then read defaults and refuse writes).
std::filesystem::path configDirectory();
std::filesystem::path settingsFilePath();   // Talvessa.reg in that folder
std::filesystem::path placementFilePath();  // pelmora.INI in that folder (executable name + ".INI")

}  // namespace pelmora
