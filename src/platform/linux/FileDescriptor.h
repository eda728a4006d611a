#pragma once
// An open file descriptor that closes itself. Every descriptor the program
// opens lives in one, so no early return or exception leaks it.
#include <unistd.h>

#include <utility>

namespace pelmora {

class FileDescriptor {
public:
    FileDescriptor() = default;
    // Takes `fd` over; a negative one (a failed open) holds nothing.
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { closeQuietly(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            closeQuietly();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

    // Closing reports the last write errors of some file systems, so a
    // writer checks it. False also when nothing was open.
    bool closeChecked() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    void closeQuietly()
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
};

}  // namespace pelmora
