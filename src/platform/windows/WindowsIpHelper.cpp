#include "platform/windows/WindowsIpHelper.h"

// clang-format off
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <cstring>
#include <unordered_map>
#include <vector>

namespace pelmora {

namespace {

// A table that keeps growing between the size query and the read is given
// up after this many attempts, as a failed snapshot.
constexpr int kReadAttempts = 3;

// Fills `buffer` with one of the system's tables through `query`, which
// follows the two-call size protocol; the system's answer otherwise.
template <typename Query>
uint32_t readSystemTable(std::vector<uint8_t>& buffer, Query query)
{
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        ULONG size = static_cast<ULONG>(buffer.size());
        const DWORD answer = query(buffer.empty() ? nullptr : buffer.data(), &size);
        if (answer != ERROR_INSUFFICIENT_BUFFER) return answer;
        buffer.resize(size);
    }
    return kErrorInsufficientBuffer;
}

// The 32-bit table's counters and speed fill the 64-bit fields as they are
// (wrapping at 32 bits, saturated at 4.29 Gbit/s) until widenCounters puts
// in the 64-bit table's.
InterfaceRow64 interfaceRow(const ::MIB_IFROW& system)
{
    InterfaceRow64 row{};
    static_assert(sizeof row.wszName == sizeof system.wszName);
    std::memcpy(row.wszName, system.wszName, sizeof row.wszName);
    row.dwIndex = system.dwIndex;
    row.dwType = system.dwType;
    row.dwMtu = system.dwMtu;
    row.dwSpeed = system.dwSpeed;
    row.dwPhysAddrLen = system.dwPhysAddrLen;
    std::memcpy(row.bPhysAddr, system.bPhysAddr, sizeof row.bPhysAddr);
    row.dwAdminStatus = system.dwAdminStatus;
    row.dwOperStatus = system.dwOperStatus;
    row.dwLastChange = system.dwLastChange;
    row.dwInOctets = system.dwInOctets;
    row.dwInUcastPkts = system.dwInUcastPkts;
    row.dwInNUcastPkts = system.dwInNUcastPkts;
    row.dwInDiscards = system.dwInDiscards;
    row.dwInErrors = system.dwInErrors;
    row.dwInUnknownProtos = system.dwInUnknownProtos;
    row.dwOutOctets = system.dwOutOctets;
    row.dwOutUcastPkts = system.dwOutUcastPkts;
    row.dwOutNUcastPkts = system.dwOutNUcastPkts;
    row.dwOutDiscards = system.dwOutDiscards;
    row.dwOutErrors = system.dwOutErrors;
    row.dwOutQLen = system.dwOutQLen;
    // A description length beyond its field would read past the row.
    row.dwDescrLen = system.dwDescrLen < sizeof row.bDescr ? system.dwDescrLen : sizeof row.bDescr;
    std::memcpy(row.bDescr, system.bDescr, sizeof row.bDescr);
    row.InOctets = system.dwInOctets;
    row.OutOctets = system.dwOutOctets;
    row.TransmitLinkSpeed = system.dwSpeed;
    row.ReceiveLinkSpeed = system.dwSpeed;
    return row;
}

MIB_IPADDRROW addressRow(const ::MIB_IPADDRROW& system)
{
    MIB_IPADDRROW row{};
    row.dwAddr = system.dwAddr;
    row.dwIndex = system.dwIndex;
    row.dwMask = system.dwMask;
    row.dwBCastAddr = system.dwBCastAddr;
    row.dwReasmSize = system.dwReasmSize;
    row.wType = system.wType;
    return row;
}

// What the 64-bit table answers for a speed it does not know; not every
// set of headers names it.
constexpr ULONG64 kLinkSpeedUnknown = ~ULONG64{0};

uint64_t knownSpeed(ULONG64 bitsPerSecond)
{
    return bitsPerSecond == kLinkSpeedUnknown ? 0 : bitsPerSecond;
}

// The 64-bit counters and link speeds of the table that neither wraps nor
// saturates on fast links, matched by interface index; rows it does not
// list, or a system without it, keep the 32-bit values.
void widenCounters(std::vector<InterfaceRow64>& rows)
{
    PMIB_IF_TABLE2 wide = nullptr;
    if (::GetIfTable2(&wide) != NO_ERROR || wide == nullptr) return;
    std::unordered_map<uint32_t, InterfaceRow64*> byIndex;
    byIndex.reserve(rows.size());
    for (InterfaceRow64& row : rows) byIndex.emplace(row.dwIndex, &row);
    for (ULONG i = 0; i < wide->NumEntries; ++i) {
        const MIB_IF_ROW2& system = wide->Table[i];
        const auto found = byIndex.find(system.InterfaceIndex);
        if (found == byIndex.end()) continue;
        InterfaceRow64& row = *found->second;
        row.InOctets = system.InOctets;
        row.OutOctets = system.OutOctets;
        row.TransmitLinkSpeed = knownSpeed(system.TransmitLinkSpeed);
        row.ReceiveLinkSpeed = knownSpeed(system.ReceiveLinkSpeed);
    }
    ::FreeMibTable(wide);
}

// The rows of a system table whose header is a row count, bounded by the
// bytes the system wrote.
template <typename SystemRow, typename Row>
std::vector<Row> rowsOf(const std::vector<uint8_t>& buffer, Row (*convert)(const SystemRow&))
{
    std::vector<Row> rows;
    DWORD count = 0;
    if (buffer.size() < sizeof count) return rows;
    std::memcpy(&count, buffer.data(), sizeof count);
    const size_t fits = (buffer.size() - kTableHeaderBytes) / sizeof(SystemRow);
    if (count > fits) count = static_cast<DWORD>(fits);
    rows.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        SystemRow system;
        std::memcpy(&system, buffer.data() + kTableHeaderBytes + i * sizeof(SystemRow), sizeof system);
        rows.push_back(convert(system));
    }
    return rows;
}

// Reads one of the system's tables and answers the caller's query from its
// rows in our layout.
template <typename SystemRow, typename Row, typename Query>
uint32_t answerFromSystem(Query query, Row (*convert)(const SystemRow&), uint8_t* table, uint32_t* size)
{
    if (size == nullptr) return kErrorInvalidParameter;
    std::vector<uint8_t> systemTable;
    const uint32_t answer = readSystemTable(systemTable, query);
    if (answer != kSuccess) return answer;
    return answerTableQuery(rowsOf(systemTable, convert), table, size);
}

}  // namespace

uint32_t WindowsIpHelper::getIfTable(uint8_t* table, uint32_t* size, bool sorted)
{
    if (size == nullptr) return kErrorInvalidParameter;
    const auto query = [sorted](uint8_t* buffer, ULONG* bytes) {
        return ::GetIfTable(reinterpret_cast<PMIB_IFTABLE>(buffer), bytes, sorted);
    };
    std::vector<uint8_t> systemTable;
    const uint32_t answer = readSystemTable(systemTable, query);
    if (answer != kSuccess) return answer;
    std::vector<InterfaceRow64> rows = rowsOf(systemTable, interfaceRow);
    widenCounters(rows);
    return answerTableQuery(rows, table, size);
}

uint32_t WindowsIpHelper::getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted)
{
    const auto query = [sorted](uint8_t* buffer, ULONG* bytes) {
        return ::GetIpAddrTable(reinterpret_cast<PMIB_IPADDRTABLE>(buffer), bytes, sorted);
    };
    return answerFromSystem(query, addressRow, table, size);
}

}  // namespace pelmora
