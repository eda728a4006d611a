#pragma once
// Drives by letter, as the system reports them at the root "X:\". A drive
// without a medium answers with a failure, never with a dialog asking for one.
#include "platform/Drives.h"

namespace pelmora {

class WindowsDrives : public Drives {
public:
    DriveType driveType(char letter) override;
    bool diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes) override;
    bool volumeLabel(char letter, std::string& label) override;
};

}  // namespace pelmora
