// The whole-file reads and crash-safe replacement of AtomicFile.h on Windows:
// a temporary file in the target's folder, flushed to disk, then moved over
// the target in one step with write-through.
#include <windows.h>

#include <fstream>
#include <iterator>

#include "settings/AtomicFile.h"

namespace pelmora {

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, std::string text)
{
    if (error) *error = std::move(text);
}

std::string describe(const std::string& what, const fs::path& path)
{
    return what + " " + path.string() + " (error " + std::to_string(::GetLastError()) + ")";
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool closeChecked()
    {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

FileRead readWholeFile(const fs::path& file, std::size_t maxBytes)
{
    FileRead result;
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        result.status = FileRead::Status::Missing;
        result.error = "missing: " + file.string();
        return result;
    }
    if (status.type() != fs::file_type::regular) {
        result.error = "not a regular file: " + file.string();
        return result;
    }
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > maxBytes) {
        result.error = "file too large or unreadable: " + file.string();
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        result.error = "cannot open " + file.string();
        return result;
    }
    result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad() || result.bytes.size() > maxBytes) {
        result.bytes.clear();
        result.error = "cannot read " + file.string();
        return result;
    }
    result.status = FileRead::Status::Ok;
    return result;
}

bool ensureDirectory(const fs::path& folder, std::string* error)
{
    if (folder.empty()) return true;
    std::error_code failure;
    if (fs::is_directory(folder, failure)) return true;
    if (fs::create_directories(folder, failure) || fs::is_directory(folder)) return true;
    setError(error, "cannot create " + folder.string() + ": " + failure.message());
    return false;
}

bool replaceFileAtomically(const fs::path& target, std::string_view bytes, std::string* error)
{
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            setError(error, "not a regular file: " + target.string());
            return false;
        }
        // A file its owner made read-only stays as it is, although the
        // folder would allow replacing it.
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            setError(error, "not writable: " + target.string());
            return false;
        }
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    wchar_t tempName[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(folder.c_str(), L"pel", 0, tempName) == 0) {
        setError(error, describe("cannot create a temporary file in", folder));
        return false;
    }
    const fs::path temp(tempName);
    const auto fail = [&](const char* what) {
        setError(error, describe(what, temp));
        ::DeleteFileW(temp.c_str());
        return false;
    };
    FileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return fail("cannot open");
    if (!writeAll(file.get(), bytes)) return fail("cannot write");
    if (!::FlushFileBuffers(file.get())) return fail("cannot flush");
    if (!file.closeChecked()) return fail("cannot close");
    if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail("cannot rename");
    return true;
}

// Our temporaries are named by GetTempFileNameW: "pel", up to four hex
// digits, ".tmp", in the target's folder.
int removeStaleTemporaries(const fs::path& target, std::chrono::seconds age)
{
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const auto before = fs::file_time_type::clock::now() - age;
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::wstring name = it->path().filename().wstring();
        const bool ours = name.size() >= 8 && name.size() <= 11 &&
                          ::_wcsnicmp(name.c_str(), L"pel", 3) == 0 &&
                          ::_wcsicmp(name.c_str() + name.size() - 4, L".tmp") == 0;
        if (!ours || !it->is_regular_file(error)) continue;
        if (it->last_write_time(error) >= before || error) continue;
        if (fs::remove(it->path(), error)) ++removed;
    }
    return removed;
}

}  // namespace pelmora
