#include "platform/linux/LinuxIpHelper.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <system_error>
#include <tuple>

#include "platform/linux/NetlinkRoute.h"
#include "platform/linux/SysfsText.h"

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// Interface kinds as the interface table numbers them.
constexpr uint32_t kIfTypeOther = 1;
constexpr uint32_t kIfTypeEthernet = 6;
constexpr uint32_t kIfTypePpp = 23;
constexpr uint32_t kIfTypeLoopback = 24;
constexpr uint32_t kIfTypeWireless = 71;
// Link kinds of /sys/class/net/*/type (ARPHRD_*).
constexpr uint64_t kLinkEthernet = 1;
constexpr uint64_t kLinkPpp = 512;
constexpr uint64_t kLinkLoopback = 772;

constexpr uint32_t kAdminUp = 1;
constexpr uint32_t kAdminDown = 2;
constexpr uint32_t kOperNonOperational = 0;
constexpr uint32_t kOperDisconnected = 2;
constexpr uint32_t kOperConnecting = 3;
constexpr uint32_t kOperOperational = 5;
constexpr uint32_t kDefaultReassemblySize = 65535;
constexpr uint16_t kPrimaryAddress = 1;

template <typename Number>
std::optional<Number> readNumber(const fs::path& file, int base = 10)
{
    const auto line = readFirstLine(file);
    if (!line) return std::nullopt;
    std::string_view text = *line;
    if (base == 16 && text.starts_with("0x")) text.remove_prefix(2);
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

uint64_t counter(const fs::path& interfaceDir, const char* name)
{
    return readNumber<uint64_t>(interfaceDir / "statistics" / name).value_or(0);
}

// Mbit/s to bit/s; 0 when unknown (-1, unreadable, odd text).
uint64_t speedBitsPerSecond(const fs::path& interfaceDir)
{
    const auto megabits = readNumber<int64_t>(interfaceDir / "speed");
    constexpr int64_t kBitsPerMegabit = 1'000'000;
    if (!megabits || *megabits <= 0 || *megabits > INT64_MAX / kBitsPerMegabit) return 0;
    return static_cast<uint64_t>(*megabits * kBitsPerMegabit);
}

uint32_t interfaceType(const fs::path& interfaceDir, uint64_t linkType)
{
    std::error_code error;
    switch (linkType) {
        case kLinkEthernet:
            return fs::exists(interfaceDir / "wireless", error) ||
                           fs::exists(interfaceDir / "phy80211", error)
                       ? kIfTypeWireless
                       : kIfTypeEthernet;
        case kLinkPpp:
            return kIfTypePpp;
        case kLinkLoopback:
            return kIfTypeLoopback;
        default:
            return kIfTypeOther;
    }
}

uint32_t interfaceType(const fs::path& interfaceDir)
{
    return interfaceType(interfaceDir, readNumber<uint64_t>(interfaceDir / "type").value_or(0));
}

// `state` as /sys/class/net/*/operstate writes it.
void fillStatus(MIB_IFROW& row, bool adminUp, std::string_view state)
{
    row.dwAdminStatus = adminUp ? kAdminUp : kAdminDown;
    if (!adminUp) {
        row.dwOperStatus = kOperNonOperational;
    } else if (state == "up" || state == "unknown") {  // the loopback says unknown
        row.dwOperStatus = kOperOperational;
    } else if (state == "dormant") {
        row.dwOperStatus = kOperConnecting;
    } else {
        row.dwOperStatus = kOperDisconnected;
    }
}

void fillStatus(MIB_IFROW& row, const fs::path& interfaceDir)
{
    const bool adminUp = (readNumber<uint32_t>(interfaceDir / "flags", 16).value_or(0) & IFF_UP) != 0;
    fillStatus(row, adminUp, readFirstLine(interfaceDir / "operstate").value_or(""));
}

// The operstate text of an IF_OPER_* number.
std::string_view operStateText(uint8_t state)
{
    static constexpr std::string_view kTexts[] = {"unknown", "notpresent", "down", "lowerlayerdown",
                                                  "testing", "dormant",    "up"};
    return state < std::size(kTexts) ? kTexts[state] : "unknown";
}

void fillPhysicalAddress(MIB_IFROW& row, const fs::path& interfaceDir)
{
    const std::string text = readFirstLine(interfaceDir / "address").value_or("");
    uint32_t length = 0;
    for (size_t at = 0; at + 2 <= text.size() && length < kMaxLenPhysAddr; at += 3) {
        uint8_t octet = 0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + 2, octet, 16);
        if (error != std::errc() || end != text.data() + at + 2) return;  // odd text: no address
        if (at + 2 < text.size() && text[at + 2] != ':') return;
        row.bPhysAddr[length++] = octet;
    }
    row.dwPhysAddrLen = length;
}

// A cut inside a multi-byte UTF-8 character would leave half of it.
void truncateUtf8(std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes) return;
    size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
}

// The interface name, then the device model and the driver where the device
// tells them: "eth0 - e1000e", "usb0 - USB 10/100/1000 LAN - r8152".
std::string describe(const std::string& name, const fs::path& interfaceDir)
{
    std::string text = name;
    auto model = readFirstLine(interfaceDir / "device" / "product");
    if (!model)
        model = readFirstLine(interfaceDir / "device" / ".." / "product");  // USB: the interface's device
    if (model && !model->empty()) text += " - " + *model;
    std::error_code error;
    const fs::path driver = fs::read_symlink(interfaceDir / "device" / "driver", error);
    if (!error && !driver.filename().empty()) text += " - " + driver.filename().string();

    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
    truncateUtf8(text, kMaxLenIfDescr - 1);
    return text;
}

// Names come from outside; one that is not a single path element is not an
// interface of this tree.
bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::optional<uint32_t> interfaceIndex(const fs::path& interfaceDir)
{
    const auto index = readNumber<uint32_t>(interfaceDir / "ifindex");
    if (!index || *index == 0) return std::nullopt;
    return index;
}

void setIdentity(InterfaceRow64& row, const std::string& name, uint32_t index, const std::string& description)
{
    for (size_t i = 0; i < name.size() && i + 1 < kMaxInterfaceNameLen; ++i) {
        row.wszName[i] = static_cast<unsigned char>(name[i]);
    }
    row.dwIndex = index;
    std::copy(description.begin(), description.end(), row.bDescr);
    row.dwDescrLen = static_cast<uint32_t>(description.size() + 1);
}

// The published row's speed saturates and its counters wrap.
void setSpeedAndOctets(InterfaceRow64& row, uint64_t speed, uint64_t inOctets, uint64_t outOctets)
{
    row.TransmitLinkSpeed = row.ReceiveLinkSpeed = speed;
    row.dwSpeed = static_cast<uint32_t>(std::min<uint64_t>(speed, UINT32_MAX));
    row.InOctets = inOctets;
    row.OutOctets = outOctets;
    row.dwInOctets = static_cast<uint32_t>(inOctets);
    row.dwOutOctets = static_cast<uint32_t>(outOctets);
}

InterfaceRow64 interfaceRow(const std::string& name, const fs::path& dir, uint32_t index)
{
    InterfaceRow64 row{};
    setIdentity(row, name, index, describe(name, dir));
    row.dwType = interfaceType(dir);
    row.dwMtu = readNumber<uint32_t>(dir / "mtu").value_or(0);
    fillPhysicalAddress(row, dir);
    fillStatus(row, dir);
    // Packet, error and discard counts stay 0: nothing reads them, and each
    // is one more file to open on every pass.
    setSpeedAndOctets(row, speedBitsPerSecond(dir), counter(dir, "rx_bytes"), counter(dir, "tx_bytes"));
    return row;
}

// getifaddrs' list, freed with its owner.
class InterfaceAddressList {
public:
    InterfaceAddressList()
    {
        if (getifaddrs(&list_) != 0) list_ = nullptr;
    }
    ~InterfaceAddressList()
    {
        if (list_ != nullptr) freeifaddrs(list_);
    }
    InterfaceAddressList(const InterfaceAddressList&) = delete;
    InterfaceAddressList& operator=(const InterfaceAddressList&) = delete;
    const ifaddrs* first() const { return list_; }

private:
    ifaddrs* list_ = nullptr;
};

uint32_t ipv4Of(const sockaddr* address)
{
    if (address == nullptr || address->sa_family != AF_INET) return 0;
    return reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr;  // already network order
}

}  // namespace

std::vector<InterfaceIpv4Address> SystemIpv4Addresses::addresses()
{
    std::vector<InterfaceIpv4Address> found;
    if (const auto dumped = dumpNetlinkIpv4Addresses()) {
        for (const NetlinkIpv4Address& each : *dumped) {
            found.push_back({each.label, each.address, each.netmask, each.broadcast, each.interfaceIndex});
        }
        return found;
    }
    InterfaceAddressList list;
    for (const ifaddrs* entry = list.first(); entry != nullptr; entry = entry->ifa_next) {
        const bool ipv4 = entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET;
        if (!ipv4 || entry->ifa_name == nullptr) continue;
        InterfaceIpv4Address address;
        address.interfaceName = entry->ifa_name;
        address.address = ipv4Of(entry->ifa_addr);
        address.netmask = ipv4Of(entry->ifa_netmask);
        if ((entry->ifa_flags & IFF_BROADCAST) != 0) address.broadcast = ipv4Of(entry->ifa_broadaddr);
        found.push_back(address);
    }
    return found;
}

LinuxIpHelper::LinuxIpHelper(std::filesystem::path root, std::shared_ptr<Ipv4AddressSource> addresses)
    : live_(fs::path(root).lexically_normal() == "/"),
      netClass_(std::move(root) / "sys" / "class" / "net"),
      addresses_(std::move(addresses))
{
}

std::vector<InterfaceRow64> LinuxIpHelper::liveInterfaceRows(const std::vector<NetlinkLink>& links) const
{
    std::lock_guard lock(cacheMutex_);
    std::map<uint32_t, CachedInterface> cache;
    std::vector<InterfaceRow64> rows;
    rows.reserve(links.size());
    for (const NetlinkLink& link : links) {
        if (!isPlainName(link.name)) continue;  // never a path outside the tree
        const fs::path dir = netClass_ / link.name;
        const auto old = cache_.find(link.index);
        const bool known = old != cache_.end() && old->second.name == link.name;
        CachedInterface entry = known ? old->second : CachedInterface{};
        if (!known) {
            entry.name = link.name;
            entry.type = interfaceType(dir, link.linkType);
            entry.description = describe(link.name, dir);
        }
        // The speed changes only with the link: read again when it went down or up.
        if (!known || entry.carrierChanges != link.carrierChanges || entry.operState != link.operState) {
            entry.speed = speedBitsPerSecond(dir);
            entry.carrierChanges = link.carrierChanges;
            entry.operState = link.operState;
        }

        InterfaceRow64 row{};
        setIdentity(row, link.name, link.index, entry.description);
        row.dwType = entry.type;
        row.dwMtu = link.mtu;
        row.dwPhysAddrLen = std::min<uint32_t>(link.physicalAddressLength, kMaxLenPhysAddr);
        std::copy_n(link.physicalAddress.begin(), row.dwPhysAddrLen, row.bPhysAddr);
        fillStatus(row, (link.flags & IFF_UP) != 0, operStateText(link.operState));
        setSpeedAndOctets(row, entry.speed, link.receivedOctets, link.sentOctets);
        rows.push_back(row);
        cache.emplace(link.index, std::move(entry));
    }
    cache_ = std::move(cache);  // only interfaces there now
    std::sort(rows.begin(), rows.end(),
              [](const InterfaceRow64& a, const InterfaceRow64& b) { return a.dwIndex < b.dwIndex; });
    return rows;
}

std::vector<InterfaceRow64> LinuxIpHelper::interfaceRows(bool identitiesOnly) const
{
    if (live_) {
        if (const auto links = dumpNetlinkLinks()) {
            return identitiesOnly ? std::vector<InterfaceRow64>(links->size()) : liveInterfaceRows(*links);
        }
    }
    struct Found {
        uint32_t index;
        std::string name;
    };
    std::vector<Found> found;
    std::error_code error;
    fs::directory_iterator entry(netClass_, error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code typeError;
        if (!entry->is_directory(typeError)) continue;  // bonding_masters and other files
        if (const auto index = interfaceIndex(entry->path())) {
            found.push_back({*index, entry->path().filename().string()});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.index, a.name) < std::tie(b.index, b.name);
    });

    std::vector<InterfaceRow64> rows;
    rows.reserve(found.size());
    for (const Found& each : found) {
        if (identitiesOnly) {
            rows.push_back(InterfaceRow64{});
            rows.back().dwIndex = each.index;
        } else {
            rows.push_back(interfaceRow(each.name, netClass_ / each.name, each.index));
        }
    }
    return rows;
}

std::vector<MIB_IPADDRROW> LinuxIpHelper::addressRows() const
{
    return addressRows(addresses_->addresses());
}

std::vector<MIB_IPADDRROW> LinuxIpHelper::addressRows(
    const std::vector<InterfaceIpv4Address>& addresses) const
{
    std::vector<MIB_IPADDRROW> rows;
    for (const InterfaceIpv4Address& address : addresses) {
        std::string name = address.interfaceName;
        if (address.interfaceIndex == 0 && !isPlainName(name)) continue;
        auto index = address.interfaceIndex != 0 ? std::optional(address.interfaceIndex)
                                                 : interfaceIndex(netClass_ / name);
        if (!index && name.find(':') != std::string::npos) {
            name = name.substr(0, name.find(':'));  // an alias label names its interface first
            if (isPlainName(name)) index = interfaceIndex(netClass_ / name);
        }
        if (!index) continue;
        MIB_IPADDRROW row{};
        row.dwAddr = address.address;
        row.dwIndex = *index;
        row.dwMask = address.netmask;
        row.dwBCastAddr = address.broadcast;
        row.dwReasmSize = kDefaultReassemblySize;
        row.wType = kPrimaryAddress;
        rows.push_back(row);
    }
    // By address as a number: 10.0.0.1 before 192.168.0.1.
    std::sort(rows.begin(), rows.end(), [](const MIB_IPADDRROW& a, const MIB_IPADDRROW& b) {
        return std::pair(ntohl(a.dwAddr), a.dwIndex) < std::pair(ntohl(b.dwAddr), b.dwIndex);
    });
    return rows;
}

uint32_t LinuxIpHelper::getIfTable(uint8_t* table, uint32_t* size, bool /*sorted: always by index*/)
{
    if (size == nullptr) return kErrorInvalidParameter;
    const bool sizeQuery = table == nullptr || *size == 0;
    if (live_) {
        if (sizeQuery) {
            if (auto links = dumpNetlinkLinks()) {
                // Rows left out for their odd names make this an upper bound.
                const size_t count = links->size();
                heldLinks_.hold(std::move(*links));
                return answerTableQuery(std::vector<InterfaceRow64>(count), table, size);
            }
        } else if (const auto links = heldLinks_.take()) {
            return answerTableQuery(liveInterfaceRows(*links), table, size);
        }
    }
    return answerTableQuery(interfaceRows(sizeQuery), table, size);
}

uint32_t LinuxIpHelper::getIpAddrTable(uint8_t* table, uint32_t* size, bool /*sorted: always by address*/)
{
    if (size == nullptr) return kErrorInvalidParameter;
    if (table == nullptr || *size == 0) {
        std::vector<InterfaceIpv4Address> addresses = addresses_->addresses();
        // An upper bound will do, without looking up indexes.
        const size_t count = addresses.size();
        heldAddresses_.hold(std::move(addresses));
        return answerTableQuery(std::vector<MIB_IPADDRROW>(count), table, size);
    }
    const auto held = heldAddresses_.take();
    return answerTableQuery(held ? addressRows(*held) : addressRows(), table, size);
}

}  // namespace pelmora
