#pragma once
// Whole-file reads and crash-safe whole-file replacement for the small
// per-user files (settings key, window placement).
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelmora {

struct FileRead {
    enum class Status { Ok, Missing, Failed };
    Status status = Status::Failed;
    std::string bytes;
    std::string error;  // why it failed, for messages
};

// Largest file read; anything bigger is not one of our files.
inline constexpr std::size_t kMaxStoreFileBytes = 4u << 20;

// Reads a regular file without blocking on special files (a FIFO or a device
// in the file's place is a failure, not a hang).
FileRead readWholeFile(const std::filesystem::path& file, std::size_t maxBytes = kMaxStoreFileBytes);

// Follows symbolic links so that a replacement lands on the linked file
// instead of turning the link into a plain file.
std::filesystem::path resolveSymlinks(const std::filesystem::path& file);

// Creates the folder and any missing parent with mode 0700.
bool ensureDirectory(const std::filesystem::path& folder, std::string* error);

// Writes a temporary file in the target's folder, flushes it to disk, renames
// it over the target and flushes the folder: the target holds either the old
// or the new bytes, never a mix or nothing. The temporary file is removed on
// failure. A new file gets mode 0600, a replaced one keeps its mode; an
// existing target that is not writable for us is refused.
bool replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes, std::string* error);

}  // namespace pelmora
