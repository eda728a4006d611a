#pragma once
#include <cstdint>

namespace pelmora {

struct OsVersion {
    uint32_t platformId = 0;    // 2 for the family the widget runs on
    uint32_t majorVersion = 0;  // 6 or later: titled task messages
};

class VersionInfo {
public:
    virtual ~VersionInfo() = default;
    virtual OsVersion version() const = 0;
};

}  // namespace pelmora
