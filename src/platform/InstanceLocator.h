#pragma once
#include <cstdint>
#include <string>

namespace pelmora {

using WindowHandle = uint64_t;  // 0 means none

// Finds a running widget by the class of its top-level window.
class InstanceLocator {
public:
    virtual ~InstanceLocator() = default;
    virtual WindowHandle findWindow(const std::string& className) = 0;
    virtual void setForegroundWindow(WindowHandle window) = 0;
};

}  // namespace pelmora
