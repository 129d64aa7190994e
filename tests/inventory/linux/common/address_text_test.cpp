// MAC and IP addresses as the management service writes them.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <array>

#include "inventory/linux/common/address_text.h"
#include "support/linux/fake_link.h"

namespace quorvane::linux_inventory {
namespace {

constexpr auto& Address = testing::FakeAddress;

TEST(LinuxSourceMacText, SixBytesAsUpperCaseHexPairs) {
    const std::array<std::uint8_t, 6> mac{0x02, 0xab, 0x0c, 0xff, 0x00, 0x9e};
    EXPECT_EQ(FormatMac(mac), "02:AB:0C:FF:00:9E");
}

TEST(LinuxSourceMacText, OtherLengthsHaveNone) {
    EXPECT_EQ(FormatMac({}), std::nullopt);
    const std::array<std::uint8_t, 4> tunnel{10, 0, 0, 1};
    EXPECT_EQ(FormatMac(tunnel), std::nullopt);
    const std::array<std::uint8_t, 20> infiniband{};
    EXPECT_EQ(FormatMac(infiniband), std::nullopt);
}

TEST(LinuxSourceAddressOrder, Ipv4ThenIpv6ThenLinkLocalKeepingKernelOrderWithinEach) {
    const std::vector<KernelAddress> kernelOrder = {
        Address("fe80::1"), Address("2001:db8::2"), Address("192.0.2.7"),
        Address("fd00::5"), Address("febf::9"),     Address("10.1.2.3"),
    };
    const std::vector<std::string> expected = {"192.0.2.7", "10.1.2.3", "2001:db8::2", "fd00::5", "fe80::1",
                                               "febf::9"};
    EXPECT_EQ(OrderedAddressTexts(kernelOrder), expected);
}

TEST(LinuxSourceAddressOrder, NoAddressesAndUnknownFamiliesGiveNoTexts) {
    KernelAddress unknown;
    unknown.family = 17;
    EXPECT_TRUE(OrderedAddressTexts({}).empty());
    EXPECT_TRUE(OrderedAddressTexts({unknown}).empty());
    // fec0:: lies just outside fe80::/10 and counts as a routable address.
    EXPECT_EQ(OrderedAddressTexts({Address("fe80::1"), Address("fec0::1")}),
              (std::vector<std::string>{"fec0::1", "fe80::1"}));
}

TEST(LinuxSourceAddressText, FamilyAndBytesAsServicesSendThem) {
    const std::array<std::uint8_t, 4> v4{192, 0, 2, 53};
    const KernelAddress v6 = Address("2001:db8::35");
    EXPECT_EQ(AddressText(AF_INET, v4), "192.0.2.53");
    EXPECT_EQ(AddressText(AF_INET6, v6.bytes), "2001:db8::35");
    // A byte count that does not match the family is no address.
    EXPECT_EQ(AddressText(AF_INET6, v4), std::nullopt);
    EXPECT_EQ(AddressText(AF_INET, v6.bytes), std::nullopt);
    EXPECT_EQ(AddressText(AF_INET, std::span<const std::uint8_t>(v4.data(), 3)), std::nullopt);
    EXPECT_EQ(AddressText(17, v4), std::nullopt);
}

}  // namespace
}  // namespace quorvane::linux_inventory
