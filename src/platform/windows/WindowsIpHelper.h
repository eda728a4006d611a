#pragma once
// The system's interface and IPv4 address tables, copied row by row into the
// layouts of platform/MibLayout.h and answered with the same two-call size
// protocol. Keeps no state, so any thread may ask.
#include "platform/IpHelper.h"

namespace pelmora {

class WindowsIpHelper : public IpHelperService {
public:
    uint32_t getIfTable(uint8_t* table, uint32_t* size, bool sorted) override;
    uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted) override;
};

}  // namespace pelmora
