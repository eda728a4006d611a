#pragma once
// The platform family and version as the system's version query answers them.
#include "platform/VersionInfo.h"

namespace pelmora {

class WindowsVersionInfo : public VersionInfo {
public:
    // Platform 0 (unknown) when the query fails, which the start-up treats
    // like any family other than the one it is written for.
    OsVersion version() const override;
};

}  // namespace pelmora
