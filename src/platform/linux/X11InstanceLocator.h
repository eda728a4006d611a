#pragma once
#include "platform/InstanceLocator.h"

namespace pelmora {

// Looks for a top-level X11 window by its WM_CLASS class, mapped or not (a
// widget hidden in the notification area still counts). Without a display
// there is no running instance to find.
class X11InstanceLocator : public InstanceLocator {
public:
    WindowHandle findWindow(const std::string& className) override;
    void setForegroundWindow(WindowHandle window) override;
};

}  // namespace pelmora
