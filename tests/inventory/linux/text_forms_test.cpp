// The pure text forms of the Linux source: MAC, addresses, CIM datetimes,
// resolv.conf and DHCP option numbers.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "inventory/linux/address_text.h"
#include "inventory/linux/cim_datetime.h"
#include "inventory/linux/network_manager.h"
#include "inventory/linux/resolv_conf.h"
#include "inventory/linux/time_zone.h"
#include "inventory/linux/udev_names.h"

namespace quorvane::linux_inventory {
namespace {

using testing::kCentralEuropeanTime;
using testing::kEasternTime;
using testing::ScopedTimeZone;

KernelAddress Address(const char* text) {
    KernelAddress address;
    address.family = std::string_view(text).find(':') == std::string_view::npos ? AF_INET : AF_INET6;
    EXPECT_EQ(inet_pton(address.family, text, address.bytes.data()), 1) << text;
    return address;
}

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

// 2007-01-22 13:43:59 UTC and a summer instant, 2007-07-04 12:00:00 UTC.
constexpr std::int64_t kWinter = 1169473439;
constexpr std::int64_t kSummer = 1183550400;

TEST(LinuxSourceCimDateTime, NegativeOffsetFollowsDaylightSaving) {
    ScopedTimeZone zone(kEasternTime);
    EXPECT_EQ(LocalCimDateTime(kWinter), "20070122084359.000000-300");
    EXPECT_EQ(LocalCimDateTime(kSummer), "20070704080000.000000-240");
}

TEST(LinuxSourceCimDateTime, PositiveOffsetFollowsDaylightSaving) {
    ScopedTimeZone zone(kCentralEuropeanTime);
    EXPECT_EQ(LocalCimDateTime(kWinter), "20070122144359.000000+060");
    EXPECT_EQ(LocalCimDateTime(kSummer), "20070704140000.000000+120");
}

TEST(LinuxSourceCimDateTime, ZeroAndFractionalHourOffsets) {
    {
        ScopedTimeZone zone("UTC0");
        EXPECT_EQ(LocalCimDateTime(kWinter), "20070122134359.000000+000");
    }
    {
        ScopedTimeZone zone("IST-5:30");
        EXPECT_EQ(LocalCimDateTime(kWinter), "20070122191359.000000+330");
    }
    {
        ScopedTimeZone zone("NST3:30");
        EXPECT_EQ(LocalCimDateTime(kWinter), "20070122101359.000000-210");
    }
}

TEST(LinuxSourceCimDateTime, LocalDateCrossesMidnightWithTheOffset) {
    ScopedTimeZone zone("XST-14");
    // 13:43:59 UTC is 03:43:59 of the next day at UTC+14.
    EXPECT_EQ(LocalCimDateTime(kWinter), "20070123034359.000000+840");
}

TEST(LinuxSourceCimDateTime, UnrepresentableValuesHaveNoText) {
    std::tm date{};
    date.tm_year = 10000 - 1900;
    date.tm_mon = 0;
    date.tm_mday = 1;
    EXPECT_EQ(FormatCimDateTime(date, 0), std::nullopt);
    date.tm_year = -1 - 1900;
    EXPECT_EQ(FormatCimDateTime(date, 0), std::nullopt);
    date.tm_year = 2007 - 1900;
    EXPECT_EQ(FormatCimDateTime(date, 1000L * 60), std::nullopt);
    // Historic local mean times have offsets with seconds; whole minutes are kept.
    EXPECT_EQ(FormatCimDateTime(date, -(4 * 3600 + 56 * 60 + 2)), "20070101000000.000000-296");
    ScopedTimeZone zone("UTC0");
    EXPECT_EQ(LocalCimDateTime(std::numeric_limits<std::int64_t>::max()), std::nullopt);
}

TEST(LinuxSourceResolvConf, NameServersInFileOrderAndTheLastDomainOrSearchLine) {
    const char* text =
        "# written by hand\n"
        "; old style comment\n"
        "nameserver 192.168.0.1\n"
        "search first.example second.example\n"
        "options ndots:2\n"
        "\tnameserver\t10.0.0.1  \r\n"
        "nameserver fe80::1%eth0\n"
        "domain last.example";
    ResolverConfig expected;
    expected.nameservers = {"192.168.0.1", "10.0.0.1", "fe80::1%eth0"};
    expected.domain = "last.example";
    EXPECT_EQ(ParseResolvConf(text), expected);

    EXPECT_EQ(ParseResolvConf("domain a.example\nsearch b.example c.example\n").domain, "b.example");
}

TEST(LinuxSourceResolvConf, MalformedLinesAreIgnored) {
    const char* text =
        "nameserver\n"
        "nameserver not-an-address\n"
        "nameserver 999.1.1.1\n"
        "#nameserver 192.0.2.1\n"
        "nameservers 192.0.2.2\n"
        "domain\n"
        "\n";
    EXPECT_EQ(ParseResolvConf(text), ResolverConfig{});
    EXPECT_EQ(ParseResolvConf(""), ResolverConfig{});
}

TEST(LinuxSourceResolvConf, UnreadableFileIsNoConfiguration) {
    EXPECT_EQ(ReadResolvConf("/nonexistent/resolv.conf"), std::nullopt);
}

TEST(LinuxSourceDhcpOptionSeconds, OnlyWholeNonNegativeNumbers) {
    EXPECT_EQ(ParseSeconds("86400"), 86400);
    EXPECT_EQ(ParseSeconds("0"), 0);
    EXPECT_EQ(ParseSeconds(""), std::nullopt);
    EXPECT_EQ(ParseSeconds("-5"), std::nullopt);
    EXPECT_EQ(ParseSeconds("12h"), std::nullopt);
    EXPECT_EQ(ParseSeconds(" 12"), std::nullopt);
    EXPECT_EQ(ParseSeconds("99999999999999999999"), std::nullopt);
}

TEST(LinuxSourceUdevHardwareName, VendorAndModelFromTheHardwareDatabase) {
    const char* record =
        "I:1234567\n"
        "E:ID_NET_NAME_PATH=enp0s31f6\n"
        "E:ID_MODEL_FROM_DATABASE=Ethernet Connection (2) I219-LM\r\n"
        "E:ID_VENDOR_FROM_DATABASE=Intel Corporation\n"
        "E:ID_VENDOR=should_not_be_used\n";
    EXPECT_EQ(ParseUdevHardwareName(record), "Intel Corporation Ethernet Connection (2) I219-LM");
    EXPECT_EQ(ParseUdevHardwareName("E:ID_MODEL_FROM_DATABASE=RTL8111/8168\n"), "RTL8111/8168");
    // A vendor alone does not say which adapter it is.
    EXPECT_EQ(ParseUdevHardwareName("E:ID_VENDOR_FROM_DATABASE=Realtek\n"), std::nullopt);
    EXPECT_EQ(ParseUdevHardwareName("E:ID_MODEL_FROM_DATABASE=\nG:systemd\n"), std::nullopt);
    EXPECT_EQ(UdevHardwareName("/nonexistent", 2), std::nullopt);
}

}  // namespace
}  // namespace quorvane::linux_inventory
