#include "platform/windows/WindowsInstanceLocator.h"

#include <windows.h>

namespace pelmora {

WindowHandle WindowsInstanceLocator::findWindow(const std::string& className)
{
    return reinterpret_cast<WindowHandle>(::FindWindowA(className.c_str(), nullptr));
}

void WindowsInstanceLocator::setForegroundWindow(WindowHandle window)
{
    if (window != 0) ::SetForegroundWindow(reinterpret_cast<HWND>(window));
}

}  // namespace pelmora
