#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/FileDescriptor.h"

namespace pelmora {

namespace fs = std::filesystem;

namespace {

std::string describe(const std::string& what, const fs::path& path, int errorNumber)
{
    return what + " " + path.string() + ": " + std::strerror(errorNumber);
}

FileStamp stampFrom(const struct stat& info)
{
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// ".Talvessa.reg.tmp-" for Talvessa.reg: mkostemp adds six characters.
std::string temporaryPrefix(const fs::path& target)
{
    std::string prefix = target.filename().string();
    prefix.insert(0, 1, '.');
    prefix.append(".tmp-");
    return prefix;
}

void setError(std::string* error, std::string text)
{
    if (error) *error = std::move(text);
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

std::optional<FileStamp> stampOf(const fs::path& file)
{
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return std::nullopt;
    return stampFrom(info);
}

bool isRacy(const FileStamp& stamp, const timespec& readAt)
{
    return readAt.tv_sec - stamp.modified.tv_sec < 2;
}

FileRead readWholeFile(const fs::path& file, std::size_t maxBytes)
{
    FileRead result;
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        result.status = (errno == ENOENT) ? FileRead::Status::Missing : FileRead::Status::Failed;
        result.error = describe("cannot open", file, errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        result.error = describe("cannot inspect", file, errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = "not a regular file: " + file.string();
        return result;
    }
    result.stamp = stampFrom(info);
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            result.error = describe("cannot read", file, errno);
            return result;
        }
        if (got == 0) break;
        if (result.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            result.bytes.clear();
            result.error = "file too large: " + file.string();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    result.status = FileRead::Status::Ok;
    return result;
}

bool ensureDirectory(const fs::path& folder, std::string* error)
{
    if (folder.empty()) return true;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return true;
        setError(error, describe("not a folder:", folder, ENOTDIR));
        return false;
    }
    if (errno != ENOENT) {
        setError(error, describe("cannot reach", folder, errno));
        return false;
    }
    if (folder.has_parent_path() && folder.parent_path() != folder &&
        !ensureDirectory(folder.parent_path(), error)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        setError(error, describe("cannot create", folder, errno));
        return false;
    }
    return true;
}

bool replaceFileAtomically(const fs::path& target, std::string_view bytes, std::string* error)
{
    mode_t mode = 0600;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            setError(error, "not a regular file: " + target.string());
            return false;
        }
        // A file made read-only by its owner stays as it is, although the
        // folder would allow replacing it.
        if (::access(target.c_str(), W_OK) != 0) {
            setError(error, describe("not writable:", target, errno));
            return false;
        }
        mode = existing.st_mode & 07777;
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / (temporaryPrefix(target) + "XXXXXX")).string();
    FileDescriptor temp(::mkostemp(pattern.data(), O_CLOEXEC));
    if (temp.get() < 0) {
        setError(error, describe("cannot create a temporary file in", folder, errno));
        return false;
    }
    const auto fail = [&](const char* what) {
        setError(error, describe(what, fs::path(pattern), errno));
        ::unlink(pattern.c_str());
        return false;
    };
    if (::fchmod(temp.get(), mode) != 0) return fail("cannot set the mode of");
    if (!writeAll(temp.get(), bytes)) return fail("cannot write");
    if (::fsync(temp.get()) != 0) return fail("cannot flush");
    if (!temp.closeChecked()) return fail("cannot close");
    if (::rename(pattern.c_str(), target.c_str()) != 0) return fail("cannot rename");

    // The new content is in place; flushing the folder makes the rename
    // itself durable. File systems that cannot flush a folder still hold the
    // new file, so a failure here is not reported as a lost write.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

int removeStaleTemporaries(const fs::path& target, std::chrono::seconds age)
{
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = temporaryPrefix(target);
    const time_t before = ::time(nullptr) - static_cast<time_t>(age.count());
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        if (info.st_mtim.tv_sec >= before) continue;
        if (::unlink(entry.path().c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace pelmora
