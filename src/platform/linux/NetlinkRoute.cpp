#include "platform/linux/NetlinkRoute.h"

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace pelmora {

namespace {

class Socket {
public:
    Socket() : fd_(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {}
    ~Socket()
    {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

using Parser = std::function<bool(const uint8_t*, size_t)>;

// Sends one dump request and hands every answer datagram to `parse` until
// the dump is done.
bool dump(uint16_t type, uint8_t family, const Parser& parse)
{
    const Socket socket;
    // A kernel that never answers must not hold the monitor past its stop.
    const timeval patience{2, 0};
    if (socket.fd() < 0 || setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience) != 0)
        return false;
    struct {
        nlmsghdr header;
        rtgenmsg message;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.message.rtgen_family = family;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (sendto(socket.fd(), &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&kernel),
               sizeof kernel) != static_cast<ssize_t>(sizeof request))
        return false;

    // Kept by each thread that dumps: allocated once, rather than mapped and
    // unmapped on every dump (each unmap of a multi-threaded process
    // interrupts every processor it ran on), and never cleared: only the
    // pages the dumps fill (a few KiB on most machines) become resident.
    constexpr size_t kBufferSize = 64 * 1024;
    thread_local const auto buffer = std::make_unique_for_overwrite<uint8_t[]>(kBufferSize);
    for (;;) {
        const ssize_t got = recv(socket.fd(), buffer.get(), kBufferSize, 0);
        if (got <= 0) return false;
        const auto size = static_cast<size_t>(got);
        // The end of the dump, or its failure, comes as a message of its own.
        bool done = false;
        size_t at = 0;
        while (at + sizeof(nlmsghdr) <= size) {
            nlmsghdr header;
            std::memcpy(&header, buffer.get() + at, sizeof header);
            if (header.nlmsg_len < sizeof header || header.nlmsg_len > size - at) return false;
            if (header.nlmsg_type == NLMSG_DONE) done = true;
            if (header.nlmsg_type == NLMSG_ERROR) return false;
            at += NLMSG_ALIGN(header.nlmsg_len);
        }
        if (!parse(buffer.get(), size)) return false;
        if (done) return true;
    }
}

// Walks the messages of one datagram of type `type`, handing each one's
// payload (after the family header of `headerSize` bytes) and its
// attributes to `each`.
template <typename Each>
bool walkMessages(const uint8_t* data, size_t size, uint16_t type, size_t headerSize, Each each)
{
    size_t at = 0;
    while (at + sizeof(nlmsghdr) <= size) {
        nlmsghdr header;
        std::memcpy(&header, data + at, sizeof header);
        if (header.nlmsg_len < sizeof header || header.nlmsg_len > size - at) return false;
        if (header.nlmsg_type == type) {
            const size_t payload = header.nlmsg_len - NLMSG_HDRLEN;
            if (payload < headerSize) return false;
            const uint8_t* body = data + at + NLMSG_HDRLEN;
            if (!each(body, body + NLMSG_ALIGN(headerSize),
                      payload > NLMSG_ALIGN(headerSize) ? payload - NLMSG_ALIGN(headerSize) : 0))
                return false;
        }
        at += NLMSG_ALIGN(header.nlmsg_len);
    }
    return true;
}

// Hands each attribute's type, value and length to `each`.
template <typename Each>
bool walkAttributes(const uint8_t* data, size_t size, Each each)
{
    size_t at = 0;
    while (at + sizeof(rtattr) <= size) {
        rtattr attribute;
        std::memcpy(&attribute, data + at, sizeof attribute);
        if (attribute.rta_len < sizeof attribute || attribute.rta_len > size - at) return false;
        each(attribute.rta_type, data + at + RTA_LENGTH(0), attribute.rta_len - RTA_LENGTH(0));
        at += RTA_ALIGN(attribute.rta_len);
    }
    return true;
}

template <typename Value>
Value valueOf(const uint8_t* data, size_t length)
{
    Value value{};
    std::memcpy(&value, data, std::min(length, sizeof value));
    return value;
}

std::string textOf(const uint8_t* data, size_t length)
{
    const auto* text = reinterpret_cast<const char*>(data);
    return std::string(text, std::find(text, text + length, '\0'));
}

}  // namespace

bool parseLinkMessages(const uint8_t* data, size_t size, std::vector<NetlinkLink>& links)
{
    return walkMessages(
        data, size, RTM_NEWLINK, sizeof(ifinfomsg),
        [&](const uint8_t* body, const uint8_t* attributes, size_t length) {
            const auto message = valueOf<ifinfomsg>(body, sizeof(ifinfomsg));
            NetlinkLink link;
            link.index = static_cast<uint32_t>(message.ifi_index);
            link.linkType = message.ifi_type;
            link.flags = message.ifi_flags;
            const bool ok = walkAttributes(
                attributes, length, [&](uint16_t type, const uint8_t* value, size_t valueLength) {
                    switch (type) {
                        case IFLA_IFNAME:
                            link.name = textOf(value, valueLength);
                            break;
                        case IFLA_MTU:
                            link.mtu = valueOf<uint32_t>(value, valueLength);
                            break;
                        case IFLA_OPERSTATE:
                            link.operState = valueOf<uint8_t>(value, valueLength);
                            break;
                        case IFLA_CARRIER_CHANGES:
                            link.carrierChanges = valueOf<uint32_t>(value, valueLength);
                            break;
                        case IFLA_ADDRESS:
                            link.physicalAddressLength =
                                static_cast<uint32_t>(std::min(valueLength, link.physicalAddress.size()));
                            std::memcpy(link.physicalAddress.data(), value, link.physicalAddressLength);
                            break;
                        case IFLA_STATS64: {
                            const auto stats = valueOf<rtnl_link_stats64>(value, valueLength);
                            link.receivedOctets = stats.rx_bytes;
                            link.sentOctets = stats.tx_bytes;
                            break;
                        }
                        default:
                            break;
                    }
                });
            if (ok && link.index != 0 && !link.name.empty()) links.push_back(std::move(link));
            return ok;
        });
}

bool parseIpv4AddressMessages(const uint8_t* data, size_t size, std::vector<NetlinkIpv4Address>& addresses)
{
    return walkMessages(data, size, RTM_NEWADDR, sizeof(ifaddrmsg),
                        [&](const uint8_t* body, const uint8_t* attributes, size_t length) {
                            const auto message = valueOf<ifaddrmsg>(body, sizeof(ifaddrmsg));
                            if (message.ifa_family != AF_INET) return true;
                            NetlinkIpv4Address address;
                            address.interfaceIndex = message.ifa_index;
                            const uint32_t prefix = std::min<uint32_t>(message.ifa_prefixlen, 32);
                            address.netmask = prefix == 0 ? 0 : htonl(~uint32_t{0} << (32 - prefix));
                            std::optional<uint32_t> local, peer;
                            const bool ok = walkAttributes(
                                attributes, length,
                                [&](uint16_t type, const uint8_t* value, size_t valueLength) {
                                    switch (type) {
                                        case IFA_LOCAL:
                                            local = valueOf<uint32_t>(value, valueLength);
                                            break;
                                        case IFA_ADDRESS:
                                            peer = valueOf<uint32_t>(value, valueLength);
                                            break;
                                        case IFA_BROADCAST:
                                            address.broadcast = valueOf<uint32_t>(value, valueLength);
                                            break;
                                        case IFA_LABEL:
                                            address.label = textOf(value, valueLength);
                                            break;
                                        default:
                                            break;
                                    }
                                });
                            // A point-to-point link gives its own address as the local one.
                            address.address = local.value_or(peer.value_or(0));
                            if (ok && address.interfaceIndex != 0) addresses.push_back(std::move(address));
                            return ok;
                        });
}

namespace {

template <typename Item>
std::optional<std::vector<Item>> dumpList(uint16_t type, uint8_t family,
                                          bool (*parse)(const uint8_t*, size_t, std::vector<Item>&))
{
    std::vector<Item> items;
    if (!dump(type, family, [&](const uint8_t* data, size_t size) { return parse(data, size, items); }))
        return std::nullopt;
    return items;
}

}  // namespace

std::optional<std::vector<NetlinkLink>> dumpNetlinkLinks()
{
    return dumpList(RTM_GETLINK, AF_UNSPEC, parseLinkMessages);
}

std::optional<std::vector<NetlinkIpv4Address>> dumpNetlinkIpv4Addresses()
{
    return dumpList(RTM_GETADDR, AF_INET, parseIpv4AddressMessages);
}

}  // namespace pelmora
