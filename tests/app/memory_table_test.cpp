#include "app/memory_table.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quorvane {
namespace {

TEST(InMemoryTable, SettingALaterSubItemGrowsTheRowWithEmptyTexts) {
    InMemoryTable t;
    const std::int32_t row = t.AppendRow(u"7");
    t.SetSubItem(row, 1, u"mac");
    t.SetSubItem(row, 10, u"dns");
    EXPECT_EQ(t.SubItemCount(row), 10);
    EXPECT_EQ(t.SubItemText(row, 1), u"mac");
    for (std::int32_t j = 2; j <= 9; ++j) EXPECT_EQ(t.SubItemText(row, j), u"");
    EXPECT_EQ(t.SubItemText(row, 10), u"dns");
    t.SetSubItem(row, 3, u"dhcp");
    EXPECT_EQ(t.SubItemCount(row), 10);
}

TEST(InMemoryTable, RowsKeepTheirOrderAndClearingThemKeepsTheColumns) {
    InMemoryTable t;
    t.AddColumn(u"NIC");
    t.AddColumn(u"MAC");
    EXPECT_EQ(t.AppendRow(u"3"), 1);
    EXPECT_EQ(t.AppendRow(u"1"), 2);
    EXPECT_EQ(t.AppendRow(u"2"), 3);
    EXPECT_EQ(t.RowText(1), u"3");
    EXPECT_EQ(t.RowText(3), u"2");
    EXPECT_EQ(t.SubItemCount(2), 0);

    t.ClearRows();
    EXPECT_EQ(t.RowCount(), 0);
    EXPECT_EQ(t.ColumnCount(), 2);
    EXPECT_EQ(t.ColumnTitle(2), u"MAC");
    EXPECT_EQ(t.AppendRow(u"9"), 1);

    t.ClearColumns();
    EXPECT_EQ(t.ColumnCount(), 0);
}

TEST(InMemoryTable, PositionsOutsideTheTableFail) {
    InMemoryTable t;
    t.AppendRow(u"1");
    EXPECT_THROW(static_cast<void>(t.RowText(0)), Error);
    EXPECT_THROW(static_cast<void>(t.RowText(2)), Error);
    EXPECT_THROW(static_cast<void>(t.SubItemText(1, 1)), Error);
    EXPECT_THROW(t.SetSubItem(2, 1, u"x"), Error);
    EXPECT_THROW(t.SetSubItem(1, 0, u"x"), Error);
    // A wild position must not allocate a row of billions of cells.
    EXPECT_THROW(t.SetSubItem(1, 2'000'000'000, u"x"), Error);
    EXPECT_EQ(t.SubItemCount(1), 0);
    EXPECT_THROW(static_cast<void>(t.ColumnTitle(1)), Error);
}

}  // namespace
}  // namespace quorvane
