#pragma once
#include "platform/ShellOpen.h"

namespace pelmora {

// The desktop's opener (xdg-open behind QDesktopServices): no shell command
// line is ever built from the target.
class QtShellOpen : public ShellOpen {
public:
    void open(const std::string& target) override;
};

}  // namespace pelmora
