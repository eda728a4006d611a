#include "platform/windows/WindowsConfigLocation.h"

// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

#include "platform/ConfigLocation.h"

namespace pelmora {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlacementFileName = "pelmora.INI";  // the executable's name + ".INI"

fs::path windowsFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return {};
    return fs::path(folder);
}

}  // namespace

fs::path placementFileIn(const fs::path& folder, const fs::path& olderFolder)
{
    if (folder.empty()) return {};
    const fs::path file = folder / kPlacementFileName;
    std::error_code error;
    if (fs::exists(file, error) || olderFolder.empty()) return file;
    const fs::path older = olderFolder / kPlacementFileName;
    if (!fs::is_regular_file(older, error)) return file;
    fs::create_directories(folder, error);
    fs::copy_file(older, file, fs::copy_options::skip_existing, error);
    return file;
}

fs::path configDirectory()
{
    PWSTR appData = nullptr;
    fs::path folder;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData) == S_OK)
        folder = fs::path(appData) / "Talvessa";
    ::CoTaskMemFree(appData);
    return folder;
}

fs::path settingsFilePath()
{
    return {};  // the settings key is the registry's own
}

fs::path placementFilePath()
{
    return placementFileIn(configDirectory(), windowsFolder());
}

}  // namespace pelmora
