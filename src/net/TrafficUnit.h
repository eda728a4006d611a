#pragma once
// The record of one network interface: identity, speed, last counters and the
// octets moved between its two latest updates.
#include <chrono>
#include <cstdint>
#include <string>

#include "net/IPHelper.h"
#include "platform/IpHelper.h"
#include "platform/MibLayout.h"

namespace pelmora {

inline constexpr const char* kAddressNotFound = "!not_found!";

// The speed a record keeps for a row: the faster of its two directions, in
// bits per second; 0 when unknown.
uint64_t linkSpeedOf(const InterfaceRow64& row);

class TTraffic {
public:
    TTraffic() = default;
    // Builds the record from a row, looking its address up in `addresses`,
    // the address snapshot of the pass that read the row at `now`.
    TTraffic(const InterfaceRow64& row, const AddressSnapshot& addresses,
             std::chrono::steady_clock::time_point now);

    // Renews deltas (64-bit wrap-around), last counters, speed and timing.
    void UpdateCounters(uint64_t inOctets, uint64_t outOctets, uint64_t speed,
                        std::chrono::steady_clock::time_point now);
    // The interface left the table or lost its address: it moves nothing any
    // more, so its deltas drop to 0 until it is found again.
    void markNotConnected();
    std::string StatusText() const;  // "Connected" / "Not Connected"
    // The first address of the interface in the sorted address table, as
    // AddressText writes it, or "!not_found!": from a fresh table of
    // `ipHelper`, or from a snapshot already taken.
    static std::string LookupIPAddress(uint32_t interfaceIndex, IpHelperService& ipHelper);
    static std::string LookupIPAddress(uint32_t interfaceIndex, const AddressSnapshot& addresses);

    std::string IPAddress;
    uint64_t InDelta = 0;
    uint32_t InterfaceIndex = 0;
    uint64_t LastInOctets = 0;
    std::string Description;
    uint64_t OutDelta = 0;
    uint64_t LastOutOctets = 0;
    bool IsConnected = true;
    uint64_t Speed = 0;  // bits per second
    // When the counters were last renewed, and the seconds between the two
    // latest renewals (0 until the first update), so loads are per second.
    std::chrono::steady_clock::time_point LastUpdate;
    double IntervalSeconds = 0;
};

}  // namespace pelmora
