#pragma once
// A private $XDG_CONFIG_HOME per test, and small file helpers for the
// settings store and placement tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace pelmora::testing {

class TempConfigHome {
public:
    TempConfigHome()
    {
        char pattern[] = "/tmp/pelmora-settings-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made) throw std::runtime_error("mkdtemp failed");
        root_ = made;
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldValue_ = old;
        ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    }
    ~TempConfigHome()
    {
        if (oldValue_) {
            ::setenv("XDG_CONFIG_HOME", oldValue_->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
    std::optional<std::string> oldValue_;
};

inline std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string fixture(const std::string& name)
{
    return readBytes(std::filesystem::path(PELMORA_FIXTURES) / "settings" / name);
}

inline unsigned modeOf(const std::filesystem::path& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Files in the folder other than `keep`: left-over temporary files.
inline int strayFiles(const std::filesystem::path& folder, const std::string& keep)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename() != keep) ++count;
    }
    return count;
}

}  // namespace pelmora::testing
