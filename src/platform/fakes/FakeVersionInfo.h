#pragma once
#include "platform/VersionInfo.h"

namespace pelmora {

class FakeVersionInfo : public VersionInfo {
public:
    explicit FakeVersionInfo(OsVersion version = {2, 6}) : version_(version) {}
    OsVersion version() const override { return version_; }
    void set(OsVersion version) { version_ = version; }

private:
    OsVersion version_;
};

}  // namespace pelmora
