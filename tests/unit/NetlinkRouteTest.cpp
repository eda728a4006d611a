// The routing-netlink answers behind the live interface and address tables,
// from answers built here the way the kernel lays them out.
#include <gtest/gtest.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/fakes/FakeIpHelper.h"
#include "platform/linux/LinuxIpHelper.h"
#include "platform/linux/NetlinkRoute.h"

namespace pelmora {
namespace {

// One answer datagram, message by message.
class Answer {
public:
    template <typename Header>
    Answer& message(uint16_t type, const Header& header)
    {
        start_ = bytes_.size();
        nlmsghdr top{};
        top.nlmsg_type = type;
        append(&top, sizeof top);
        append(&header, sizeof header);
        return finish();
    }
    Answer& attribute(uint16_t type, const void* value, size_t length)
    {
        rtattr attribute{};
        attribute.rta_len = static_cast<unsigned short>(RTA_LENGTH(length));
        attribute.rta_type = type;
        append(&attribute, sizeof attribute);
        append(value, length);
        return finish();
    }
    Answer& text(uint16_t type, const char* value) { return attribute(type, value, std::strlen(value) + 1); }
    template <typename Value>
    Answer& value(uint16_t type, const Value& value)
    {
        return attribute(type, &value, sizeof value);
    }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    void append(const void* data, size_t length)
    {
        const auto* from = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), from, from + length);
        bytes_.resize(NLMSG_ALIGN(bytes_.size()));
    }
    Answer& finish()
    {
        const auto length = static_cast<uint32_t>(bytes_.size() - start_);
        std::memcpy(bytes_.data() + start_, &length, sizeof length);  // nlmsg_len comes first
        return *this;
    }
    std::vector<uint8_t> bytes_;
    size_t start_ = 0;
};

ifinfomsg linkHeader(int index)
{
    ifinfomsg header{};
    header.ifi_index = index;
    header.ifi_type = ARPHRD_ETHER;
    header.ifi_flags = IFF_UP;
    return header;
}

ifaddrmsg addressHeader(uint8_t family, uint8_t prefix, uint32_t index)
{
    ifaddrmsg header{};
    header.ifa_family = family;
    header.ifa_prefixlen = prefix;
    header.ifa_index = index;
    return header;
}

TEST(NetlinkRoute, ReadsALinkWithItsSixtyFourBitCounters)
{
    rtnl_link_stats64 stats{};
    stats.rx_bytes = 5'000'000'000;
    stats.tx_bytes = 7;
    const uint8_t mac[6] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    Answer answer;
    answer.message(RTM_NEWLINK, linkHeader(7))
        .text(IFLA_IFNAME, "eth0")
        .value(IFLA_MTU, uint32_t{9000})
        .value(IFLA_OPERSTATE, uint8_t{6})
        .attribute(IFLA_ADDRESS, mac, sizeof mac)
        .value(IFLA_STATS64, stats)
        .value(IFLA_CARRIER_CHANGES, uint32_t{3});
    answer.message(RTM_NEWADDR, addressHeader(AF_INET, 8, 7));            // not a link: skipped
    answer.message(RTM_NEWLINK, linkHeader(0)).text(IFLA_IFNAME, "bad");  // no index: skipped

    std::vector<NetlinkLink> links;
    ASSERT_TRUE(parseLinkMessages(answer.bytes().data(), answer.bytes().size(), links));
    ASSERT_EQ(links.size(), 1u);
    const NetlinkLink& link = links[0];
    EXPECT_EQ(std::tie(link.index, link.name, link.linkType, link.flags, link.operState, link.mtu),
              std::make_tuple(7u, std::string("eth0"), uint16_t{ARPHRD_ETHER}, uint32_t{IFF_UP}, uint8_t{6},
                              9000u));
    EXPECT_EQ(std::tie(link.receivedOctets, link.sentOctets, link.carrierChanges),
              std::make_tuple(uint64_t{5'000'000'000}, uint64_t{7}, 3u));
    EXPECT_EQ(link.physicalAddressLength, 6u);
    EXPECT_EQ(link.physicalAddress[5], 0x55);
}

TEST(NetlinkRoute, ReadsIpv4AddressesWithTheirOwnAddressAndMask)
{
    const uint32_t local = ipv4Address(10, 0, 0, 1), peer = ipv4Address(10, 0, 0, 2);
    Answer answer;
    answer
        .message(RTM_NEWADDR, addressHeader(AF_INET, 32, 9))  // point to point
        .value(IFA_ADDRESS, peer)
        .value(IFA_LOCAL, local)
        .text(IFA_LABEL, "ppp0");
    answer.message(RTM_NEWADDR, addressHeader(AF_INET, 24, 2))
        .value(IFA_ADDRESS, ipv4Address(192, 168, 1, 5))
        .value(IFA_BROADCAST, ipv4Address(192, 168, 1, 255))
        .text(IFA_LABEL, "eth0:1");
    answer.message(RTM_NEWADDR, addressHeader(AF_INET6, 64, 2));  // not IPv4: skipped
    answer.message(RTM_NEWADDR, addressHeader(AF_INET, 0, 3)).value(IFA_ADDRESS, ipv4Address(10, 9, 9, 9));

    std::vector<NetlinkIpv4Address> addresses;
    ASSERT_TRUE(parseIpv4AddressMessages(answer.bytes().data(), answer.bytes().size(), addresses));
    ASSERT_EQ(addresses.size(), 3u);
    EXPECT_EQ(std::tie(addresses[0].interfaceIndex, addresses[0].address, addresses[0].label),
              std::make_tuple(9u, local, std::string("ppp0")));
    EXPECT_EQ(addresses[0].netmask, ipv4Address(255, 255, 255, 255));
    EXPECT_EQ(
        std::tie(addresses[1].address, addresses[1].netmask, addresses[1].broadcast, addresses[1].label),
        std::make_tuple(ipv4Address(192, 168, 1, 5), ipv4Address(255, 255, 255, 0),
                        ipv4Address(192, 168, 1, 255), std::string("eth0:1")));
    EXPECT_EQ(addresses[2].netmask, 0u);
}

TEST(NetlinkRoute, AMessageOrAttributeLongerThanTheAnswerIsRefused)
{
    Answer answer;
    answer.message(RTM_NEWLINK, linkHeader(4)).text(IFLA_IFNAME, "eth0");
    std::vector<uint8_t> cut = answer.bytes();
    cut.resize(cut.size() - 4);  // the message claims more than there is
    std::vector<NetlinkLink> links;
    EXPECT_FALSE(parseLinkMessages(cut.data(), cut.size(), links));

    std::vector<uint8_t> longAttribute = answer.bytes();
    const size_t attributeAt = NLMSG_HDRLEN + NLMSG_ALIGN(sizeof(ifinfomsg));
    const uint16_t tooLong = 200;
    std::memcpy(longAttribute.data() + attributeAt, &tooLong, sizeof tooLong);
    EXPECT_FALSE(parseLinkMessages(longAttribute.data(), longAttribute.size(), links));
    EXPECT_TRUE(links.empty());
}

TEST(NetlinkRoute, TheLiveInterfaceTableListsTheLoopback)
{
    const auto rows = LinuxIpHelper().interfaceRows();
    const auto loopback = std::find_if(rows.begin(), rows.end(), [](const InterfaceRow64& row) {
        return std::string(reinterpret_cast<const char*>(row.bDescr)) == "lo";
    });
    if (loopback == rows.end()) GTEST_SKIP() << "no loopback interface here";
    EXPECT_EQ(loopback->dwType, 24u);
    EXPECT_GT(loopback->dwMtu, 0u);
}

}  // namespace
}  // namespace pelmora
