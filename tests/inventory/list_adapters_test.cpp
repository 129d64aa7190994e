#include "inventory/list_adapters.h"

#include <gtest/gtest.h>

#include "support/day_month_year_format.h"
#include "support/fake_adapter_source.h"
#include "support/recording_row_sink.h"

namespace quorvane {
namespace {

using testing::DayMonthYearFormat;
using testing::FakeAdapter;
using testing::FakeAdapterSource;
using testing::RecordingRowSink;
using testing::TypicalAdapter;

enum Column : std::size_t { kMac = 1, kIp, kDhcpServer, kLeaseObtained, kLeaseExpires, kWins, kHost, kDomain, kName, kDns };

class ListAdaptersTest : public ::testing::Test {
protected:
    void List() { ListAdapters(source, table, format); }
    std::u16string Cell(std::size_t row, std::size_t column) const { return table.Cell(row, column); }

    FakeAdapterSource source;
    RecordingRowSink table;
    DayMonthYearFormat format;
};

TEST_F(ListAdaptersTest, FillsOneRowOfTenSubItemsPerAdapterInServiceOrder) {
    source.adapters = {TypicalAdapter(7), TypicalAdapter(1), TypicalAdapter(12)};
    List();

    EXPECT_EQ(source.queriedClass, u"Win32_NetworkAdapterConfiguration");
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].text, u"7");
    EXPECT_EQ(table.rows[1].text, u"1");
    EXPECT_EQ(table.rows[2].text, u"12");
    const std::vector<std::u16string> expected = {
        u"00:1A:2B:3C:4D:5E", u"192.168.0.17", u"192.168.0.1", u"22/01/2007", u"23/01/2007",
        u"False",             u"workstation",  u"example.org", u"Ethernet Adapter", u"192.168.0.1,10.0.0.1"};
    for (const auto& row : table.rows) EXPECT_EQ(row.subItems, expected);
}

TEST_F(ListAdaptersTest, NoServiceOrNoAdaptersGiveNoRows) {
    List();
    EXPECT_TRUE(table.rows.empty());

    source.adapters = {TypicalAdapter(1)};
    source.failInstancesOf = true;
    EXPECT_NO_THROW(List());
    EXPECT_TRUE(table.rows.empty());
}

TEST_F(ListAdaptersTest, AFailingFetchEndsTheEnumerationButKeepsEarlierRows) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2), TypicalAdapter(3)};
    source.failNextAt = 2;
    List();
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1].text, u"2");
}

TEST_F(ListAdaptersTest, AddressShownOnlyWhenIpIsEnabledAndOnlyTheFirst) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2), TypicalAdapter(3)};
    source.adapters[1].Set(u"IPEnabled", false);
    source.adapters[2].Set(u"IPEnabled", Value());
    List();
    EXPECT_EQ(Cell(1, kIp), u"192.168.0.17");
    EXPECT_EQ(Cell(2, kIp), u"");
    EXPECT_EQ(Cell(3, kIp), u"");
}

TEST_F(ListAdaptersTest, DhcpCellsEmptyWhenDhcpIsOff) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2)};
    source.adapters[0].Set(u"DHCPEnabled", false);
    source.adapters[1].Set(u"DHCPEnabled", Value());
    List();
    for (std::size_t row : {1u, 2u}) {
        EXPECT_EQ(Cell(row, kDhcpServer), u"");
        EXPECT_EQ(Cell(row, kLeaseObtained), u"");
        EXPECT_EQ(Cell(row, kLeaseExpires), u"");
        EXPECT_EQ(table.rows[row - 1].subItems.size(), 10u);
    }
}

TEST_F(ListAdaptersTest, NullTextsLeaveTheirCellsEmptyAndTheRestFilled) {
    FakeAdapter a = TypicalAdapter(1);
    for (const char16_t* p : {u"MACAddress", u"DHCPServer", u"DNSDomain", u"Description", u"DNSEnabledForWINSResolution",
                              u"DHCPLeaseObtained", u"DNSServerSearchOrder"}) {
        a.Set(p, Value());
    }
    source.adapters = {a};
    List();
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].subItems,
              (std::vector<std::u16string>{u"", u"192.168.0.17", u"", u"", u"23/01/2007", u"", u"workstation", u"", u"", u""}));
}

TEST_F(ListAdaptersTest, EveryReadFailingStillGivesARowAsLongAsTheIndexReads) {
    FakeAdapter a;
    a.Set(u"Index", Value(std::int64_t{4}));
    for (const std::u16string_view property : kAdapterProperties) {
        if (property != u"Index") a.Fail(std::u16string(property));
    }
    source.adapters = {a, TypicalAdapter(5)};
    List();
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0].text, u"4");
    // Failing guards count as held: their statements run and fail on their own
    // reads, and the DNS cell is still set, empty.
    EXPECT_EQ(table.rows[0].subItems, std::vector<std::u16string>(10));
    EXPECT_EQ(Cell(2, kDns), u"192.168.0.1,10.0.0.1");
}

TEST_F(ListAdaptersTest, AGuardThatCannotBeReadLetsItsStatementsRun) {
    source.adapters = {TypicalAdapter(1)};
    source.adapters[0].Fail(u"IPEnabled").Fail(u"DHCPEnabled");
    List();
    EXPECT_EQ(Cell(1, kIp), u"192.168.0.17");
    EXPECT_EQ(Cell(1, kDhcpServer), u"192.168.0.1");
    EXPECT_EQ(Cell(1, kLeaseObtained), u"22/01/2007");
}

TEST_F(ListAdaptersTest, ALeaseShowsOnlyItsOwnDate) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2), TypicalAdapter(3), TypicalAdapter(4), TypicalAdapter(5)};
    source.adapters[1].Set(u"DHCPLeaseObtained", u"20070122134359").Set(u"DHCPLeaseExpires", u"2007.01");
    source.adapters[2].Set(u"DHCPLeaseObtained", u"20070122134359.000000-abc");
    // The Null test passes, then the value itself cannot be read.
    source.adapters[3].FailRead(u"DHCPLeaseObtained", 2);
    source.adapters[4].Set(u"DHCPLeaseObtained", u"20071322134359.000000-300");
    List();
    EXPECT_EQ(Cell(1, kLeaseObtained), u"22/01/2007");
    for (std::size_t row = 2; row <= 5; ++row) EXPECT_EQ(Cell(row, kLeaseObtained), u"") << "row " << row;
    EXPECT_EQ(Cell(2, kLeaseExpires), u"");
    EXPECT_EQ(Cell(3, kLeaseExpires), u"23/01/2007");
}

TEST_F(ListAdaptersTest, ALeaseWithAMalformedTimeStillShowsItsDate) {
    source.adapters = {TypicalAdapter(1)};
    source.adapters[0].Set(u"DHCPLeaseObtained", u"20070122.000000-300");
    List();
    EXPECT_EQ(Cell(1, kLeaseObtained), u"22/01/2007");
}

TEST_F(ListAdaptersTest, DnsServersJoinWithCommasAndSkipWhatFails) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2), TypicalAdapter(3), TypicalAdapter(4), TypicalAdapter(5)};
    source.adapters[0].Set(u"DNSServerSearchOrder", Value::Array({u"", u"a", u"", u"b"}));
    source.adapters[1].Set(u"DNSServerSearchOrder", Value::Array({u"a", Value(), u"c"}, 3));
    // Reads: Null test, upper bound, lower bound, then elements 0, 1, 2.
    source.adapters[2].Set(u"DNSServerSearchOrder", Value::Array({u"a", u"b", u"c"})).FailRead(u"DNSServerSearchOrder", 5);
    source.adapters[3].Set(u"DNSServerSearchOrder", u"8.8.8.8");
    source.adapters[4].Set(u"DNSServerSearchOrder", Value::Array({}));
    List();
    EXPECT_EQ(Cell(1, kDns), u"a,,b");
    EXPECT_EQ(Cell(2, kDns), u"a,c");
    EXPECT_EQ(Cell(3, kDns), u"a,c");
    EXPECT_EQ(Cell(4, kDns), u"");
    EXPECT_EQ(Cell(5, kDns), u"");
}

TEST_F(ListAdaptersTest, UnreadableDnsBoundsGiveAnEmptyCellAndTheRunGoesOn) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2)};
    source.adapters[0].FailRead(u"DNSServerSearchOrder", 3);  // the lower bound
    List();
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(Cell(1, kDns), u"");
    EXPECT_EQ(table.rows[0].subItems.size(), 10u);
    EXPECT_EQ(Cell(2, kDns), u"192.168.0.1,10.0.0.1");
}

TEST_F(ListAdaptersTest, HostWithoutDomain) {
    source.adapters = {TypicalAdapter(1)};
    source.adapters[0].Set(u"DNSDomain", Value());
    List();
    EXPECT_EQ(Cell(1, kHost), u"workstation");
    EXPECT_EQ(Cell(1, kDomain), u"");
}

TEST_F(ListAdaptersTest, AnAdapterWithoutARowWritesNothingIntoTheRowBefore) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2), TypicalAdapter(3)};
    source.adapters[1].Set(u"MACAddress", u"AA:AA:AA:AA:AA:AA").Set(u"DNSHostName", u"other");
    source.adapters[2].Fail(u"Index");
    table.failingAppends = {2};
    List();
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(Cell(1, kMac), u"00:1A:2B:3C:4D:5E");
    EXPECT_EQ(Cell(1, kHost), u"workstation");
}

TEST_F(ListAdaptersTest, ACellTheTableRefusesLeavesTheOthers) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2)};
    table.failingSubItems = {kIp, kLeaseObtained};
    List();
    ASSERT_EQ(table.rows.size(), 2u);
    for (std::size_t row : {1u, 2u}) {
        EXPECT_EQ(Cell(row, kIp), u"");
        EXPECT_EQ(Cell(row, kLeaseObtained), u"");
        EXPECT_EQ(Cell(row, kLeaseExpires), u"23/01/2007");
        EXPECT_EQ(Cell(row, kDns), u"192.168.0.1,10.0.0.1");
    }
}

}  // namespace
}  // namespace quorvane
