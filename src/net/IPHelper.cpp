#include "net/IPHelper.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace pelmora {

namespace {

// The two-call size protocol without retry: a table that grows between the
// calls fails the second one and the snapshot stays empty.
template <typename Row, typename Query>
void readTable(Query query, std::vector<Row>& rows)
{
    uint32_t neededBytes = 0;
    if (query(nullptr, &neededBytes) != kErrorInsufficientBuffer) return;
    if (neededBytes < kTableHeaderBytes || neededBytes > kMaxTableBytes) return;

    std::vector<uint8_t> buffer(neededBytes);
    uint32_t givenBytes = neededBytes;
    if (query(buffer.data(), &givenBytes) != kSuccess) return;

    uint32_t rowCount = 0;
    std::memcpy(&rowCount, buffer.data(), sizeof rowCount);
    const size_t rowsInBuffer = (buffer.size() - kTableHeaderBytes) / sizeof(Row);
    if (rowCount == 0 || rowCount > rowsInBuffer) return;

    rows.resize(rowCount);
    std::memcpy(rows.data(), buffer.data() + kTableHeaderBytes, sizeof(Row) * rowCount);
}

}  // namespace

void ReadInterfaceTable(IpHelperService& ipHelper, TMIBIfArray& rows)
{
    readTable<InterfaceRow64>(
        [&](uint8_t* table, uint32_t* size) { return ipHelper.getIfTable(table, size, false); }, rows);
}

void ReadAddressTable(IpHelperService& ipHelper, TMibIPAddrArray& rows)
{
    readTable<MIB_IPADDRROW>(
        [&](uint8_t* table, uint32_t* size) { return ipHelper.getIpAddrTable(table, size, true); }, rows);
}

AddressSnapshot::AddressSnapshot(const TMibIPAddrArray& rows)
{
    firstByIndex_.reserve(rows.size());
    for (const MIB_IPADDRROW& row : rows) firstByIndex_.emplace_back(row.dwIndex, row.dwAddr);
    // Stable, so each index keeps its rows in the table's order.
    std::stable_sort(firstByIndex_.begin(), firstByIndex_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    firstByIndex_.erase(std::unique(firstByIndex_.begin(), firstByIndex_.end(),
                                    [](const auto& a, const auto& b) { return a.first == b.first; }),
                        firstByIndex_.end());
}

std::optional<uint32_t> AddressSnapshot::firstAddressOf(uint32_t interfaceIndex) const
{
    const auto found =
        std::lower_bound(firstByIndex_.begin(), firstByIndex_.end(), interfaceIndex,
                         [](const auto& entry, uint32_t index) { return entry.first < index; });
    if (found == firstByIndex_.end() || found->first != interfaceIndex) return std::nullopt;
    return found->second;
}

std::string AddressText(uint32_t address)
{
    char text[4 * 4 + 1];
    for (int octet = 0; octet < 4; ++octet) {
        std::snprintf(text + octet * 4, 5, "%3u.", (address >> (8 * octet)) & 0xFFu);
    }
    return std::string(text, 15);
}

}  // namespace pelmora
