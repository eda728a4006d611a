#pragma once
// Hands a file or web address to the shell's "open" verb: the program the
// user chose for it starts; no command line is built.
#include "platform/ShellOpen.h"

namespace pelmora {

class WindowsShellOpen : public ShellOpen {
public:
    void open(const std::string& target) override;
};

}  // namespace pelmora
