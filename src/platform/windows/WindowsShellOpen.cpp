#include "platform/windows/WindowsShellOpen.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "platform/windows/WideText.h"

namespace pelmora {

void WindowsShellOpen::open(const std::string& target)
{
    // Targets are UTF-8 (a help file beside the program may sit in a folder
    // named in any language): the wide call, never the code page's.
    ::ShellExecuteW(nullptr, L"open", toWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace pelmora
