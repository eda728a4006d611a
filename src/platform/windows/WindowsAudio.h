#pragma once
// The wave mapper's capabilities and output volume.
#include "platform/SystemStatus.h"

namespace pelmora {

class WindowsAudio : public Audio {
public:
    bool outputCapabilities(uint32_t& support) override;
    bool outputVolume(uint32_t& volume) override;
};

}  // namespace pelmora
