#pragma once
// The primary display's mode as stored for it in the registry.
#include "platform/SystemStatus.h"

namespace pelmora {

class WindowsDisplay : public Display {
public:
    // A refresh rate of 0 or 1 is passed on; the panel shows its default.
    bool currentMode(DisplayMode& mode) override;
};

}  // namespace pelmora
