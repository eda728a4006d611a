#pragma once
#include "platform/VersionInfo.h"

namespace pelmora {

// Linux answers as the platform family the widget is written for, at a
// version new enough for titled task messages.
class LinuxVersionInfo : public VersionInfo {
public:
    OsVersion version() const override { return {2, 6}; }
};

}  // namespace pelmora
