#pragma once
// The interface-table and address-table rows in their published layouts, so
// tables built on any platform are walked the same way.
#include <cstddef>
#include <cstdint>

namespace pelmora {

inline constexpr int kMaxInterfaceNameLen = 256;
inline constexpr int kMaxLenPhysAddr = 8;
inline constexpr int kMaxLenIfDescr = 256;

struct MIB_IFROW {
    char16_t wszName[kMaxInterfaceNameLen];
    uint32_t dwIndex;
    uint32_t dwType;
    uint32_t dwMtu;
    uint32_t dwSpeed;
    uint32_t dwPhysAddrLen;
    uint8_t bPhysAddr[kMaxLenPhysAddr];
    uint32_t dwAdminStatus;
    uint32_t dwOperStatus;
    uint32_t dwLastChange;
    uint32_t dwInOctets;
    uint32_t dwInUcastPkts;
    uint32_t dwInNUcastPkts;
    uint32_t dwInDiscards;
    uint32_t dwInErrors;
    uint32_t dwInUnknownProtos;
    uint32_t dwOutOctets;
    uint32_t dwOutUcastPkts;
    uint32_t dwOutNUcastPkts;
    uint32_t dwOutDiscards;
    uint32_t dwOutErrors;
    uint32_t dwOutQLen;
    uint32_t dwDescrLen;
    uint8_t bDescr[kMaxLenIfDescr];
};
static_assert(sizeof(MIB_IFROW) == 860);

struct MIB_IFTABLE {
    uint32_t dwNumEntries;
    MIB_IFROW table[1];
};

// A row of the interface tables here: the published row, whose octet
// counters wrap every 4 GiB (3.4 s at 10 Gbit/s) and whose speed saturates
// at 4.29 Gbit/s, followed by the counters and link speeds at 64 bits, named
// as in the 64-bit interface table (MIB_IF_ROW2). The published fields keep
// their 32-bit meaning: counters cut to 32 bits, speed saturated.
struct InterfaceRow64 : MIB_IFROW {
    uint64_t InOctets;
    uint64_t OutOctets;
    // Bits per second; 0 when the system does not know the speed.
    uint64_t TransmitLinkSpeed;
    uint64_t ReceiveLinkSpeed;
};

struct MIB_IPADDRROW {
    uint32_t dwAddr;  // network byte order: first octet in the lowest byte
    uint32_t dwIndex;
    uint32_t dwMask;
    uint32_t dwBCastAddr;
    uint32_t dwReasmSize;
    uint16_t unused1;
    uint16_t wType;
};
static_assert(sizeof(MIB_IPADDRROW) == 24);

struct MIB_IPADDRTABLE {
    uint32_t dwNumEntries;
    MIB_IPADDRROW table[1];
};

// Both tables are the row count followed by the rows, with no padding.
inline constexpr uint32_t kTableHeaderBytes = sizeof(uint32_t);
static_assert(offsetof(MIB_IFTABLE, table) == kTableHeaderBytes);
static_assert(offsetof(MIB_IPADDRTABLE, table) == kTableHeaderBytes);

}  // namespace pelmora
