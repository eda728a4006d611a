#pragma once
// Where the per-user files live on Windows: the roaming application-data
// folder, never the Windows folder, where a standard user cannot write.
#include <filesystem>

namespace pelmora {

// pelmora.INI in `folder`. When it does not exist yet and `olderFolder`
// holds a placement file of that name, that file is copied over first, so a
// placement kept in the Windows folder by an earlier version is read once and
// then left alone. Failures to copy leave the new file missing.
std::filesystem::path placementFileIn(const std::filesystem::path& folder,
                                      const std::filesystem::path& olderFolder);

}  // namespace pelmora
