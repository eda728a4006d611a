#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace pelmora {

// The first line of a small /sys or /proc text file, without trailing blanks
// and control characters; nothing when it cannot be read (a down link's
// `speed` answers EINVAL, for instance).
std::optional<std::string> readFirstLine(const std::filesystem::path& file);

}  // namespace pelmora
