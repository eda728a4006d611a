#pragma once
// The system's power status: mains, battery flag, charge and remaining time.
#include "platform/SystemStatus.h"

namespace pelmora {

class WindowsPower : public Power {
public:
    bool systemPowerStatus(PowerStatus& status) override;
};

}  // namespace pelmora
