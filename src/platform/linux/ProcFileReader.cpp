#include "platform/linux/ProcFileReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/FileDescriptor.h"

namespace pelmora {

ProcFileReader::ProcFileReader(std::string path, size_t initialBytes)
    : path_(std::move(path)), buffer_(std::clamp<size_t>(initialBytes, 1, kMaxBytes))
{
}

std::string_view ProcFileReader::read()
{
    const FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen()) return {};
    size_t used = 0;
    bool failed = false;
    for (;;) {
        if (used == buffer_.size()) {
            if (buffer_.size() >= kMaxBytes) break;
            buffer_.resize(std::min(buffer_.size() * 2, kMaxBytes));
        }
        const ssize_t got = ::read(fd.get(), buffer_.data() + used, buffer_.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failed = true;
        if (got <= 0) break;
        used += static_cast<size_t>(got);
    }
    if (failed) return {};
    return {buffer_.data(), used};
}

}  // namespace pelmora
