#pragma once
// A running widget found by the class of its top-level window, visible or
// hidden, and asked to come to the foreground.
#include "platform/InstanceLocator.h"

namespace pelmora {

class WindowsInstanceLocator : public InstanceLocator {
public:
    WindowHandle findWindow(const std::string& className) override;
    void setForegroundWindow(WindowHandle window) override;
};

}  // namespace pelmora
