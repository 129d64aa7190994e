// The pure text forms of the merge: CIM datetimes and resolv.conf.
#include <gtest/gtest.h>

#include <limits>

#include "inventory/linux/cim_datetime.h"
#include "inventory/linux/resolv_conf.h"
#include "support/linux/time_zone.h"

namespace quorvane::linux_inventory {
namespace {

using testing::kCentralEuropeanTime;
using testing::kEasternTime;
using testing::ScopedTimeZone;

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

}  // namespace
}  // namespace quorvane::linux_inventory
