#include "platform/windows/WindowsInstanceLocator.h"

#include <windows.h>

namespace pelmora {

WindowsInstanceLocator::~WindowsInstanceLocator()
{
    if (mutex_) ::CloseHandle(static_cast<HANDLE>(mutex_));
}

WindowHandle WindowsInstanceLocator::findWindow(const std::string& className)
{
    return reinterpret_cast<WindowHandle>(::FindWindowA(className.c_str(), nullptr));
}

void WindowsInstanceLocator::setForegroundWindow(WindowHandle window)
{
    if (window == 0) return;
    const HWND running = reinterpret_cast<HWND>(window);
    ::PostMessageW(running, ::RegisterWindowMessageW(kComeBackMessage), 0, 0);
    ::SetForegroundWindow(running);
}

bool WindowsInstanceLocator::claimInstance()
{
    if (mutex_) return true;
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "Local\\PelmoraInstance");
    if (mutex == nullptr) return true;  // nothing to decide with: let it run
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

}  // namespace pelmora
