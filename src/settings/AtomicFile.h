#pragma once
// Whole-file reads and crash-safe whole-file replacement for the small
// per-user files (settings key, window placement).
#include <sys/stat.h>
#include <time.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// What tells one version of a file from another without reading it: any
// write or rename changes one of these (the change time cannot be set back).
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const FileStamp& other) const;
};

struct FileRead {
    enum class Status { Ok, Missing, Failed };
    Status status = Status::Failed;
    std::string bytes;
    std::string error;  // why it failed, for messages
    FileStamp stamp;    // of the file as read (Ok only)
};

// Largest file read; anything bigger is not one of our files.
inline constexpr std::size_t kMaxStoreFileBytes = 4u << 20;

// Reads a regular file without blocking on special files (a FIFO or a device
// in the file's place is a failure, not a hang).
FileRead readWholeFile(const std::filesystem::path& file, std::size_t maxBytes = kMaxStoreFileBytes);

// Nothing when the file cannot be reached.
std::optional<FileStamp> stampOf(const std::filesystem::path& file);

// True when another write within the same clock step of the file system
// could still give the file the same stamp: it was modified less than two
// seconds before `readAt` (or after it). Such a file is read again next time.
bool isRacy(const FileStamp& stamp, const timespec& readAt);

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

// A killed write's temporary file is older than this; one under way is younger.
inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

// Removes the temporary files replaceFileAtomically leaves beside the target
// when the writing process is killed: only names of its own pattern, only
// regular files, and only those last modified longer ago than `age` (a write
// under way is younger). Returns how many went.
int removeStaleTemporaries(const std::filesystem::path& target, std::chrono::seconds age);

}  // namespace pelmora
