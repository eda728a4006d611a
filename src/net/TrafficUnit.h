#pragma once
// The record of one network interface: identity, speed, last counters and the
// octets moved between its two latest updates.
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/IpHelper.h"
#include "platform/MibLayout.h"

namespace pelmora {

inline constexpr const char* kAddressNotFound = "!not_found!";

class TTraffic {
public:
    TTraffic() = default;
    // Builds the record from a row, looking its address up in a fresh
    // address table of `ipHelper`. `now` is when the row was read.
    TTraffic(const MIB_IFROW& row, IpHelperService& ipHelper, std::chrono::steady_clock::time_point now);

    // Renews deltas (32-bit wrap-around), last counters, speed and timing.
    void UpdateCounters(uint32_t inOctets, uint32_t outOctets, uint32_t speed,
                        std::chrono::steady_clock::time_point now);
    // The interface left the table or lost its address: it moves nothing any
    // more, so its deltas drop to 0 until it is found again.
    void markNotConnected();
    std::string StatusText() const;  // "Connected" / "Not Connected"
    // The first address of the interface in the sorted address table, as
    // AddressText writes it, or "!not_found!".
    static std::string LookupIPAddress(uint32_t interfaceIndex, IpHelperService& ipHelper);

    std::string IPAddress;
    uint32_t InDelta = 0;
    uint32_t InterfaceIndex = 0;
    uint32_t LastInOctets = 0;
    std::string Description;
    uint32_t OutDelta = 0;
    uint32_t LastOutOctets = 0;
    bool IsConnected = true;
    uint32_t Speed = 0;
    // When the counters were last renewed, and the seconds between the two
    // latest renewals (0 until the first update), so loads are per second.
    std::chrono::steady_clock::time_point LastUpdate;
    double IntervalSeconds = 0;
};

}  // namespace pelmora
