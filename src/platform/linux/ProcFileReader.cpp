#include "platform/linux/ProcFileReader.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace pelmora {

ProcFileReader::ProcFileReader(std::string path, size_t initialBytes, Pieces pieces)
    : path_(std::move(path)), buffer_(std::clamp<size_t>(initialBytes, 1, kMaxBytes)), pieces_(pieces)
{
}

std::optional<std::string_view> ProcFileReader::readFrom(int fd)
{
    size_t used = 0;
    for (;;) {
        if (used == buffer_.size()) {
            if (buffer_.size() >= kMaxBytes) break;
            buffer_.resize(std::min(buffer_.size() * 2, kMaxBytes));
        }
        const ssize_t got =
            ::pread(fd, buffer_.data() + used, buffer_.size() - used, static_cast<off_t>(used));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        used += static_cast<size_t>(got);
        if (pieces_ == Pieces::One && used < buffer_.size()) break;
    }
    return std::string_view(buffer_.data(), used);
}

std::string_view ProcFileReader::read()
{
    if (kept_.isOpen()) {
        if (const auto text = readFrom(kept_.get())) return *text;
        kept_ = FileDescriptor();  // opened afresh below
    }
    FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen()) return {};
    const auto text = readFrom(fd.get());
    if (!text) return {};
    struct statfs fs {};
    if (::fstatfs(fd.get(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC) kept_ = std::move(fd);
    return *text;
}

}  // namespace pelmora
