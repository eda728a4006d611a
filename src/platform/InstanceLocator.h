#pragma once
#include <cstdint>
#include <string>

namespace pelmora {

using WindowHandle = uint64_t;  // 0 means none

// Finds a running widget by the class of its top-level window, and decides
// which of several starts runs the widget.
class InstanceLocator {
public:
    virtual ~InstanceLocator() = default;
    virtual WindowHandle findWindow(const std::string& className) = 0;
    // Brings the running widget forward, out of hiding too.
    virtual void setForegroundWindow(WindowHandle window) = 0;
    // Takes the desktop's one widget for this process, atomically and for as
    // long as this object lives; false when another process holds it.
    virtual bool claimInstance() = 0;
};

}  // namespace pelmora
