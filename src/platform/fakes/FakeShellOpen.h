#pragma once
#include <string>
#include <vector>

#include "platform/ShellOpen.h"

namespace pelmora {

class FakeShellOpen : public ShellOpen {
public:
    void open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

}  // namespace pelmora
