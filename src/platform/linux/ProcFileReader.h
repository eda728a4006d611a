#pragma once
// Reads a small /proc file whole with read(2) into a buffer kept from read
// to read, so a steady reader allocates nothing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

class ProcFileReader {
public:
    // Files are read up to this size; the rest of a longer one is left out.
    static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

    explicit ProcFileReader(std::string path, size_t initialBytes = 4096);

    // The file's contents, valid until the next read; empty when it cannot
    // be opened or a read fails.
    std::string_view read();

private:
    std::string path_;
    std::vector<char> buffer_;
};

}  // namespace pelmora
