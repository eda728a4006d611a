#pragma once
#include <cstdint>

namespace pelmora {

// The interface and IPv4 address tables in the MibLayout.h layouts, with the
// two-call size protocol: too small a `*size` answers
// kErrorInsufficientBuffer and writes the needed size back.
class IpHelperService {
public:
    virtual ~IpHelperService() = default;
    virtual uint32_t getIfTable(uint8_t* table, uint32_t* size, bool sorted) = 0;
    virtual uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted) = 0;
};

}  // namespace pelmora
