#pragma once
// Small text files of /sys, /proc and /etc, read with plain system calls.
// No file stream: a stream's first use builds the C++ library's locale
// (every facet, for narrow and wide characters), and a failing read inside
// one throws and catches an exception, and both leave code and unwinding
// tables of the C++ runtime resident for the rest of the run.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace pelmora {

// The whole file, up to `maxBytes`; nothing when it cannot be opened or a
// read fails (a down link's `speed` answers EINVAL, a folder EISDIR).
std::optional<std::string> readSmallFile(const char* path, size_t maxBytes = 1 << 20);

// The first line of a small /sys or /proc text file, without trailing blanks
// and control characters; nothing when it cannot be read or is empty.
std::optional<std::string> readFirstLine(const std::filesystem::path& file);

}  // namespace pelmora
