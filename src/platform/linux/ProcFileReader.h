#pragma once
// Reads a small /proc file whole into a buffer kept from read to read, so a
// steady reader allocates nothing. A file of the proc file system stays open
// between reads: each read from its start makes the kernel write it anew, so
// only the first read pays for finding the file (for /proc/self/status, the
// process behind "self" as well). Any other file is opened for each read, so
// a file replaced in between is read as it is now.
//
// Most small proc files (meminfo, stat, a process's status) are written by
// the kernel in one piece: a read that leaves room in the buffer has all of
// it. For those a reader made with `Pieces::One` stops there, a system call
// a read fewer than asking on for the end, which returns nothing. Files
// written a record at a time (mountinfo, cpuinfo) come in short pieces and
// are read until the end.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/FileDescriptor.h"

namespace pelmora {

class ProcFileReader {
public:
    // Files are read up to this size; the rest of a longer one is left out.
    static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

    enum class Pieces { Many, One };

    explicit ProcFileReader(std::string path, size_t initialBytes = 4096, Pieces pieces = Pieces::Many);

    // The file's contents, valid until the next read; empty when it cannot
    // be opened or a read fails.
    std::string_view read();

private:
    // The whole file from its start, or nothing when a read fails.
    std::optional<std::string_view> readFrom(int fd);

    std::string path_;
    std::vector<char> buffer_;
    Pieces pieces_;
    FileDescriptor kept_;  // open only for a file of the proc file system
};

}  // namespace pelmora
