#include "net/TrafficUnit.h"

#include <algorithm>

namespace pelmora {

namespace {

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The first dwDescrLen - 1 bytes (the length counts the terminating zero),
// never more than bDescr holds and never past a zero byte, without leading
// and trailing blanks and control characters.
std::string descriptionOf(const MIB_IFROW& row)
{
    const size_t withZero = std::min<size_t>(row.dwDescrLen, kMaxLenIfDescr);
    const size_t length = withZero == 0 ? 0 : withZero - 1;
    const auto* bytes = reinterpret_cast<const char*>(row.bDescr);
    std::string text(bytes, std::find(bytes, bytes + length, '\0'));

    const auto first = std::find_if_not(text.begin(), text.end(), isBlankOrControl);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlankOrControl).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

uint64_t linkSpeedOf(const InterfaceRow64& row)
{
    return std::max(row.TransmitLinkSpeed, row.ReceiveLinkSpeed);
}

TTraffic::TTraffic(const InterfaceRow64& row, const AddressSnapshot& addresses,
                   std::chrono::steady_clock::time_point now)
    : IPAddress(LookupIPAddress(row.dwIndex, addresses)),
      InterfaceIndex(row.dwIndex),
      LastInOctets(row.InOctets),
      Description(descriptionOf(row)),
      LastOutOctets(row.OutOctets),
      Speed(linkSpeedOf(row)),
      LastUpdate(now)
{
}

void TTraffic::UpdateCounters(uint64_t inOctets, uint64_t outOctets, uint64_t speed,
                              std::chrono::steady_clock::time_point now)
{
    Speed = speed;
    // Unsigned subtraction: a counter that wrapped once still gives the true difference.
    InDelta = inOctets - LastInOctets;
    LastInOctets = inOctets;
    OutDelta = outOctets - LastOutOctets;
    LastOutOctets = outOctets;
    IntervalSeconds = std::max(0.0, std::chrono::duration<double>(now - LastUpdate).count());
    LastUpdate = now;
}

void TTraffic::markNotConnected()
{
    IsConnected = false;
    InDelta = 0;
    OutDelta = 0;
}

std::string TTraffic::StatusText() const
{
    return IsConnected ? "Connected" : "Not Connected";
}

std::string TTraffic::LookupIPAddress(uint32_t interfaceIndex, IpHelperService& ipHelper)
{
    TMibIPAddrArray addresses;
    ReadAddressTable(ipHelper, addresses);
    return LookupIPAddress(interfaceIndex, AddressSnapshot(addresses));
}

std::string TTraffic::LookupIPAddress(uint32_t interfaceIndex, const AddressSnapshot& addresses)
{
    const auto address = addresses.firstAddressOf(interfaceIndex);
    return address ? AddressText(*address) : kAddressNotFound;
}

}  // namespace pelmora
