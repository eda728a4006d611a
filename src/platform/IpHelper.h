#pragma once
// The operating system's interface and IPv4 address tables, in the layouts of
// net/MibLayout.h.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/MibLayout.h"

namespace pelmora {

// Both queries follow the two-call size protocol: a null `table` or too small
// a `*size` answers kErrorInsufficientBuffer and writes the needed size back;
// a large enough buffer receives the row count followed by that many rows.
// Interface rows are InterfaceRow64 and come in index order; address rows
// are MIB_IPADDRROW, sorted by address.
class IpHelperService {
public:
    virtual ~IpHelperService() = default;
    virtual uint32_t getIfTable(uint8_t* table, uint32_t* size, bool sorted) = 0;
    virtual uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted) = 0;
};

// Answers one query of the two-call protocol from the rows as they are now,
// for the implementations of IpHelperService. Rows that changed since the
// size query simply need another size, so the caller's buffer is never
// overrun.
template <typename Row>
uint32_t answerTableQuery(const std::vector<Row>& rows, uint8_t* table, uint32_t* size)
{
    if (size == nullptr) return kErrorInvalidParameter;
    const uint64_t needed = kTableHeaderBytes + uint64_t{sizeof(Row)} * rows.size();
    if (needed > UINT32_MAX) return kErrorInsufficientBuffer;
    if (table == nullptr || *size < needed) {
        *size = static_cast<uint32_t>(needed);
        return kErrorInsufficientBuffer;
    }
    const auto count = static_cast<uint32_t>(rows.size());
    std::memcpy(table, &count, sizeof count);
    if (!rows.empty()) std::memcpy(table + kTableHeaderBytes, rows.data(), sizeof(Row) * rows.size());
    return kSuccess;
}

}  // namespace pelmora
