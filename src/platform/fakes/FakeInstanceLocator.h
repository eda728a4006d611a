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
    bool claimInstance() override
    {
        ++claims;
        return !claimedElsewhere;
    }

    WindowHandle running = 0;
    std::vector<std::string> lookups;
    std::vector<WindowHandle> foregrounded;
    bool claimedElsewhere = false;
    int claims = 0;
};

}  // namespace pelmora
