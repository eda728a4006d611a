#pragma once
#include <string>
#include <vector>

#include "platform/InstanceLocator.h"

namespace pelmora {

class FakeInstanceLocator : public InstanceLocator {
public:
    WindowHandle findWindow(const std::string& className) override
    {
        lookups.push_back(className);
        return running;
    }
    void setForegroundWindow(WindowHandle window) override { foregrounded.push_back(window); }

    WindowHandle running = 0;
    std::vector<std::string> lookups;
    std::vector<WindowHandle> foregrounded;
};

}  // namespace pelmora
