#pragma once
// IPv4 addresses from a list the test gives, in place of the system's.
#include <utility>
#include <vector>

#include "platform/linux/LinuxIpHelper.h"

namespace pelmora {

class ListedIpv4Addresses : public Ipv4AddressSource {
public:
    explicit ListedIpv4Addresses(std::vector<InterfaceIpv4Address> list) : list_(std::move(list)) {}
    std::vector<InterfaceIpv4Address> addresses() override { return list_; }

private:
    std::vector<InterfaceIpv4Address> list_;
};

}  // namespace pelmora
