// Rtnetlink dump replies, well-formed and not, without a kernel.
#include <linux/if_arp.h>
#include <linux/rtnetlink.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <utility>
#include <cstring>

#include "base/error.h"
#include "inventory/linux/kernel/kernel_links.h"

namespace quorvane::linux_inventory {
namespace {

constexpr std::uint32_t kSequence = 42;

// Builds one datagram of netlink messages the way the kernel lays them out.
class Datagram {
public:
    Datagram& Link(int index, unsigned flags, const std::string& name, std::vector<std::uint8_t> hardware,
                   std::uint32_t sequence = kSequence) {
        ifinfomsg info{};
        info.ifi_family = AF_UNSPEC;
        info.ifi_type = ARPHRD_ETHER;
        info.ifi_index = index;
        info.ifi_flags = flags;
        std::vector<std::byte> body = Bytes(&info, sizeof info);
        Attribute(body, IFLA_IFNAME, name.c_str(), name.size() + 1);
        if (!hardware.empty()) Attribute(body, IFLA_ADDRESS, hardware.data(), hardware.size());
        return Message(RTM_NEWLINK, sequence, body);
    }

    Datagram& Address(int family, std::uint32_t index, const std::vector<std::uint8_t>& address,
                      const std::vector<std::uint8_t>& local = {}) {
        ifaddrmsg info{};
        info.ifa_family = static_cast<unsigned char>(family);
        info.ifa_index = index;
        std::vector<std::byte> body = Bytes(&info, sizeof info);
        Attribute(body, IFA_ADDRESS, address.data(), address.size());
        if (!local.empty()) Attribute(body, IFA_LOCAL, local.data(), local.size());
        return Message(RTM_NEWADDR, kSequence, body);
    }

    // `code` as the kernel sends it, a negated errno.
    Datagram& Error(int code) {
        nlmsgerr error{};
        error.error = code;
        return Message(NLMSG_ERROR, kSequence, Bytes(&error, sizeof error));
    }

    Datagram& Done() { return Message(NLMSG_DONE, kSequence, std::vector<std::byte>(4)); }

    std::span<const std::byte> bytes() const { return bytes_; }
    std::vector<std::byte>& raw() { return bytes_; }

private:
    static std::vector<std::byte> Bytes(const void* data, std::size_t size) {
        std::vector<std::byte> bytes(size);
        std::memcpy(bytes.data(), data, size);
        return bytes;
    }
    static void Pad(std::vector<std::byte>& bytes) {
        while (bytes.size() % 4 != 0) bytes.push_back(std::byte{0});
    }
    static void Attribute(std::vector<std::byte>& body, unsigned short type, const void* data, std::size_t size) {
        Pad(body);
        rtattr header{};
        header.rta_len = static_cast<unsigned short>(sizeof header + size);
        header.rta_type = type;
        const auto head = Bytes(&header, sizeof header);
        body.insert(body.end(), head.begin(), head.end());
        const auto payload = Bytes(data, size);
        body.insert(body.end(), payload.begin(), payload.end());
    }
    Datagram& Message(unsigned short type, std::uint32_t sequence, const std::vector<std::byte>& body) {
        Pad(bytes_);
        nlmsghdr header{};
        header.nlmsg_len = static_cast<std::uint32_t>(sizeof header + body.size());
        header.nlmsg_type = type;
        header.nlmsg_flags = NLM_F_MULTI;
        header.nlmsg_seq = sequence;
        const auto head = Bytes(&header, sizeof header);
        bytes_.insert(bytes_.end(), head.begin(), head.end());
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        return *this;
    }

    std::vector<std::byte> bytes_;
};

TEST(LinuxSourceLinkDump, LinksAndTheirAddresses) {
    LinkDumpParser parser(kSequence);
    Datagram links;
    links.Link(2, IFF_UP | IFF_BROADCAST, "eth0", {0x02, 0x11, 0x22, 0x33, 0x44, 0x55})
        .Link(1, IFF_UP | IFF_LOOPBACK, "lo", {0, 0, 0, 0, 0, 0})
        .Link(3, 0, "sit0", {});
    EXPECT_FALSE(parser.Feed(links.bytes()));
    Datagram addresses;
    // On a point-to-point link IFA_ADDRESS is the peer; IFA_LOCAL is ours.
    addresses.Address(AF_INET, 2, {10, 0, 0, 2}, {10, 0, 0, 1})
        .Address(AF_INET6, 2, {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})
        .Address(AF_INET, 9, {192, 0, 2, 1})  // an interface that came after the link dump
        .Done();
    EXPECT_TRUE(parser.Feed(addresses.bytes()));

    const auto& links_ = parser.links();
    ASSERT_EQ(links_.size(), 3U);
    const KernelLink& eth0 = links_.at(2);
    EXPECT_EQ(eth0.name, "eth0");
    EXPECT_TRUE(eth0.up);
    EXPECT_FALSE(eth0.loopback);
    EXPECT_EQ(eth0.hardwareAddress, (std::vector<std::uint8_t>{0x02, 0x11, 0x22, 0x33, 0x44, 0x55}));
    ASSERT_EQ(eth0.addresses.size(), 2U);
    EXPECT_EQ(eth0.addresses[0].family, AF_INET);
    EXPECT_EQ(eth0.addresses[0].bytes[3], 1);
    EXPECT_EQ(eth0.addresses[1].family, AF_INET6);
    EXPECT_TRUE(links_.at(1).loopback);
    EXPECT_FALSE(links_.at(3).up);
    EXPECT_TRUE(links_.at(3).hardwareAddress.empty());
}

TEST(LinuxSourceLinkDump, KernelErrorBecomesPlatformErrorWithErrno) {
    LinkDumpParser parser(kSequence);
    // A real errno, then codes no kernel sends: positive, and one whose
    // negation overflows.
    const std::pair<int, int> sentAndReported[] = {{-EPERM, EPERM}, {7, EPROTO}, {INT_MIN, EPROTO}};
    for (const auto& [sent, reported] : sentAndReported) {
        Datagram reply;
        reply.Error(sent);
        try {
            parser.Feed(reply.bytes());
            ADD_FAILURE() << "an error reply must throw: " << sent;
        } catch (const quorvane::Error& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Platform);
            EXPECT_EQ(error.platformCode(), reported) << sent;
        }
    }
}

TEST(LinuxSourceLinkDump, OtherSequencesAndMalformedMessagesAreSkippedSafely) {
    LinkDumpParser parser(kSequence);
    Datagram stale;
    stale.Link(5, IFF_UP, "old0", {1, 2, 3, 4, 5, 6}, kSequence - 1);
    EXPECT_FALSE(parser.Feed(stale.bytes()));
    EXPECT_TRUE(parser.links().empty());

    // Every prefix of a good datagram, and a message claiming more bytes
    // than there are, must be read without going past the end.
    Datagram good;
    good.Link(2, IFF_UP, "eth0", {1, 2, 3, 4, 5, 6}).Address(AF_INET, 2, {10, 0, 0, 1}).Done();
    for (std::size_t cut = 0; cut < good.bytes().size(); ++cut) {
        LinkDumpParser partial(kSequence);
        EXPECT_FALSE(partial.Feed(good.bytes().first(cut))) << cut;
    }
    Datagram lying;
    lying.Link(2, IFF_UP, "eth0", {1, 2, 3, 4, 5, 6});
    lying.raw()[0] = std::byte{0xFF};  // nlmsg_len far beyond the datagram
    LinkDumpParser strict(kSequence);
    EXPECT_FALSE(strict.Feed(lying.bytes()));
    EXPECT_TRUE(strict.links().empty());
}

TEST(LinuxSourceLinkDump, AddressOfUnexpectedWidthIsIgnored) {
    LinkDumpParser parser(kSequence);
    Datagram reply;
    reply.Link(2, IFF_UP, "eth0", {1, 2, 3, 4, 5, 6}).Address(AF_INET, 2, {10, 0, 0}).Address(AF_INET6, 2, {1, 2, 3, 4});
    parser.Feed(reply.bytes());
    EXPECT_TRUE(parser.links().at(2).addresses.empty());
}

}  // namespace
}  // namespace quorvane::linux_inventory
