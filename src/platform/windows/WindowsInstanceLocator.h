#pragma once
// A running widget found by the class of its top-level window, visible or
// hidden, and asked to come to the foreground. Which of several starts runs
// the widget is decided by a named mutex of the session, held while this
// object lives.
#include "platform/InstanceLocator.h"

namespace pelmora {

// Posted to the running widget's window before it is brought forward, so a
// widget hidden in the notification area shows itself again.
inline constexpr const wchar_t* kComeBackMessage = L"Pelmora.ComeBack";

class WindowsInstanceLocator : public InstanceLocator {
public:
    WindowsInstanceLocator() = default;
    ~WindowsInstanceLocator() override;
    WindowsInstanceLocator(const WindowsInstanceLocator&) = delete;
    WindowsInstanceLocator& operator=(const WindowsInstanceLocator&) = delete;

    WindowHandle findWindow(const std::string& className) override;
    void setForegroundWindow(WindowHandle window) override;
    bool claimInstance() override;

private:
    void* mutex_ = nullptr;  // HANDLE
};

}  // namespace pelmora
