#include "app/table_text.h"

#include <gtest/gtest.h>

#include "app/columns.h"
#include "app/memory_table.h"
#include "base/error.h"
#include "support/error_kind.h"

namespace quorvane {
namespace {

InMemoryTable TableWith(std::initializer_list<std::u16string_view> titles) {
    InMemoryTable t;
    for (const auto title : titles) t.AddColumn(title);
    return t;
}

void AddRow(InMemoryTable& t, std::u16string_view text, std::initializer_list<std::u16string_view> subItems) {
    const std::int32_t row = t.AppendRow(text);
    std::int32_t j = 0;
    for (const auto s : subItems) t.SetSubItem(row, ++j, s);
}

TEST(ColumnSeparator, CommaOnlyWhenTicked) {
    EXPECT_EQ(ColumnSeparator(0), u"\t");
    EXPECT_EQ(ColumnSeparator(1), u",");
    EXPECT_EQ(ColumnSeparator(2), u"\t");
    EXPECT_EQ(ColumnSeparator(-1), u"\t");
}

TEST(TableText, HeaderThenRowsWithLineEndsBetweenAndNoneAfterTheLastRow) {
    InMemoryTable t = TableWith({u"NIC", u"MAC", u"IP Addr"});
    EXPECT_EQ(TableText(t, u"\t"), u"NIC\tMAC\tIP Addr\r\n");

    AddRow(t, u"1", {u"aa", u"10.0.0.1"});
    EXPECT_EQ(TableText(t, u"\t"), u"NIC\tMAC\tIP Addr\r\n1\taa\t10.0.0.1");

    AddRow(t, u"2", {u"bb", u"10.0.0.2"});
    AddRow(t, u"3", {u"cc", u"10.0.0.3"});
    EXPECT_EQ(TableText(t, u","), u"NIC,MAC,IP Addr\r\n1,aa,10.0.0.1\r\n2,bb,10.0.0.2\r\n3,cc,10.0.0.3");
}

TEST(TableText, EmptyTables) {
    InMemoryTable t;
    EXPECT_EQ(TableText(t, u"\t"), u"\r\n");
    AddRow(t, u"1", {u"a"});
    AddRow(t, u"2", {});
    EXPECT_EQ(TableText(t, u"\t"), u"\r\n1\ta\r\n2");
}

TEST(TableText, EachRowGivesExactlyTheCellsItHolds) {
    InMemoryTable t = TableWith({u"A", u"B", u"C", u"D"});
    AddRow(t, u"", {u"x"});
    AddRow(t, u"2", {});
    AddRow(t, u"3", {u"", u"", u""});
    AddRow(t, u"4", {u"p", u"q", u"r", u"s", u"t"});
    EXPECT_EQ(TableText(t, u","), u"A,B,C,D\r\n,x\r\n2\r\n3,,,\r\n4,p,q,r,s,t");
}

TEST(TableText, TheTableAsTheProgramBuildsItHasElevenCellsALine) {
    InMemoryTable t;
    for (const auto title : kColumnTitles) t.AddColumn(title);
    const std::int32_t row = t.AppendRow(u"1");
    t.SetSubItem(row, 10, u"");
    EXPECT_EQ(TableText(t, u"\t"),
              u"NIC\tMAC\tIP Addr\tDHCP Svr\tLeaseObt\tLeaseExp\tWINS\tHost\tDomain\tNIC Name\tDNS\r\n"
              u"1\t\t\t\t\t\t\t\t\t\t");
}

TEST(TableText, CellsThatWouldBreakTheTableAreQuoted) {
    InMemoryTable t = TableWith({u"NIC", u"DNS"});
    AddRow(t, u"1", {u"192.168.0.1,10.0.0.1"});
    AddRow(t, u"2", {u"say \"hi\""});
    AddRow(t, u"3", {u"two\r\nlines"});
    AddRow(t, u"4", {u"tab\there"});
    AddRow(t, u"5", {u"line\nfeed"});

    EXPECT_EQ(TableText(t, u","),
              u"NIC,DNS\r\n1,\"192.168.0.1,10.0.0.1\"\r\n2,\"say \"\"hi\"\"\"\r\n3,\"two\r\nlines\"\r\n4,tab\there\r\n"
              u"5,\"line\nfeed\"");
    EXPECT_EQ(TableText(t, u"\t"),
              u"NIC\tDNS\r\n1\t192.168.0.1,10.0.0.1\r\n2\t\"say \"\"hi\"\"\"\r\n3\t\"two\r\nlines\"\r\n4\t\"tab\there\"\r\n"
              u"5\t\"line\nfeed\"");
}

// A table of any width whose cells are all "x", without holding them.
class WideTable : public InMemoryTable {
public:
    std::int32_t columns = 0;
    std::int32_t subItems = 0;
    std::int32_t ColumnCount() const override { return columns; }
    std::u16string ColumnTitle(std::int32_t) const override { return u"x"; }
    std::int32_t RowCount() const override { return 1; }
    std::u16string RowText(std::int32_t) const override { return u"r"; }
    std::int32_t SubItemCount(std::int32_t) const override { return subItems; }
    std::u16string SubItemText(std::int32_t, std::int32_t) const override { return u"x"; }
};

std::optional<ErrorKind> ExportError(const WideTable& t) {
    return testing::ErrorKindOf([&] { static_cast<void>(TableText(t, u"\t")); });
}

TEST(TableText, ExportsUpTo32766ColumnsOrSubItemsAndNoMore) {
    WideTable t;
    t.columns = 32766;
    t.subItems = 32766;
    const std::u16string text = TableText(t, u"\t");
    EXPECT_EQ(text.size(), 2u * 32766 - 1 + 2 + 1 + 2u * 32766);

    t.columns = 32767;
    EXPECT_EQ(ExportError(t), ErrorKind::Overflow);
    t.columns = 100000;
    EXPECT_EQ(ExportError(t), ErrorKind::Overflow);
    t.columns = 11;
    t.subItems = 32767;
    EXPECT_EQ(ExportError(t), ErrorKind::Overflow);
}

}  // namespace
}  // namespace quorvane
