#include "platform/linux/SysfsText.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/FileDescriptor.h"

namespace pelmora {

namespace {

// Reads until `stop` says the text so far is enough, the end of the file, or
// `maxBytes`; false when the file cannot be opened or a read fails.
template <typename Stop>
bool readUntil(const char* path, size_t maxBytes, std::string& text, Stop stop)
{
    FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen()) return false;
    constexpr size_t kChunk = 4096;  // a sysfs attribute is at most a page
    text.clear();
    while (text.size() < maxBytes) {
        const size_t used = text.size();
        text.resize(used + std::min(kChunk, maxBytes - used));
        const ssize_t got = ::read(fd.get(), text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR) {
            text.resize(used);
            continue;
        }
        if (got < 0) return false;
        text.resize(used + static_cast<size_t>(got));
        if (got == 0 || stop(std::string_view(text).substr(used))) break;
    }
    return true;
}

}  // namespace

std::optional<std::string> readSmallFile(const char* path, size_t maxBytes)
{
    std::string text;
    if (!readUntil(path, maxBytes, text, [](std::string_view) { return false; })) return std::nullopt;
    return text;
}

std::optional<std::string> readFirstLine(const std::filesystem::path& file)
{
    std::string text;
    constexpr size_t kMaxLine = 1 << 20;
    if (!readUntil(file.c_str(), kMaxLine, text,
                   [](std::string_view added) { return added.find('\n') != std::string_view::npos; }) ||
        text.empty()) {
        return std::nullopt;
    }
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32) line.pop_back();
    return line;
}

}  // namespace pelmora
