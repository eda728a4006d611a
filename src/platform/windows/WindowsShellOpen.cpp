#include "platform/windows/WindowsShellOpen.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace pelmora {

void WindowsShellOpen::open(const std::string& target)
{
    ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace pelmora
