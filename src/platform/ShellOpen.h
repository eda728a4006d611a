#pragma once
#include <string>

namespace pelmora {

// Hands a file or web address to the desktop's opener; never a shell line.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void open(const std::string& target) = 0;
};

}  // namespace pelmora
