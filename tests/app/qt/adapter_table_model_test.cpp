#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "app/qt/adapter_table_model.h"
#include "support/error_kind.h"

namespace quorvane::qt {
namespace {

using quorvane::testing::ErrorKindOf;

// The model tester checks Qt's model invariants after every change, so each
// AdapterTable operation below is also a check of its begin/end signals.
class AdapterTableModelTest : public ::testing::Test {
protected:
    AdapterTableModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(AdapterTableModelTest, ColumnsAndRowsReadBackInOrderOfAdding) {
    model.AddColumn(u"NIC");
    model.AddColumn(u"MAC");
    model.AddColumn(u"IP Addr");
    EXPECT_EQ(model.AppendRow(u"7"), 1);
    EXPECT_EQ(model.AppendRow(u"3"), 2);
    model.SetSubItem(1, 1, u"00:1A");
    model.SetSubItem(2, 2, u"10.0.0.5");

    EXPECT_EQ(model.Table().ColumnCount(), 3);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.Table().ColumnTitle(3), u"IP Addr");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("MAC"));
    EXPECT_EQ(model.Table().RowCount(), 2);
    EXPECT_EQ(model.Table().RowText(1), u"7");
    EXPECT_EQ(model.Table().RowText(2), u"3");
    // The view shows sub-item j in column j (0-based), the row text in column 0.
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("3"));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("00:1A"));
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), QStringLiteral("10.0.0.5"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QString());
}

TEST_F(AdapterTableModelTest, SubItemCountFollowsTheHighestSetNotTheColumns) {
    for (const char16_t* title : {u"NIC", u"MAC", u"IP Addr"}) model.AddColumn(title);
    model.AppendRow(u"1");
    EXPECT_EQ(model.Table().SubItemCount(1), 0);

    model.SetSubItem(1, 10, u"8.8.8.8");
    EXPECT_EQ(model.Table().SubItemCount(1), 10);
    EXPECT_EQ(model.Table().SubItemText(1, 10), u"8.8.8.8");
    EXPECT_EQ(model.Table().SubItemText(1, 4), u"");
    // Sub-items beyond the columns are kept for the export but add no column.
    EXPECT_EQ(model.columnCount(), 3);

    model.SetSubItem(1, 2, u"x");
    EXPECT_EQ(model.Table().SubItemCount(1), 10);
}

TEST_F(AdapterTableModelTest, ClearingRowsKeepsColumnsAndClearingColumnsKeepsRows) {
    model.AddColumn(u"NIC");
    model.AddColumn(u"MAC");
    model.AppendRow(u"1");
    model.AppendRow(u"2");

    model.ClearRows();
    EXPECT_EQ(model.Table().RowCount(), 0);
    EXPECT_EQ(model.Table().ColumnCount(), 2);
    model.ClearRows();  // already empty

    model.AppendRow(u"5");
    model.ClearColumns();
    EXPECT_EQ(model.Table().ColumnCount(), 0);
    EXPECT_EQ(model.Table().RowText(1), u"5");
}

TEST_F(AdapterTableModelTest, ARefillShowsRowsInPlaceAndDropsThoseNotFilledAgainAtItsEnd) {
    model.AddColumn(u"NIC");
    for (const char16_t* text : {u"1", u"2", u"3"}) model.AppendRow(text);
    model.BeginRefill();
    model.ClearRows();
    model.AppendRow(u"7");
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QString());
    model.EndRefill();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("7"));
}

TEST_F(AdapterTableModelTest, PositionsOutsideTheTableAreRefused) {
    model.AddColumn(u"NIC");
    model.AppendRow(u"1");
    model.SetSubItem(1, 2, u"b");

    EXPECT_EQ(ErrorKindOf([&] { (void)model.Table().ColumnTitle(0); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { (void)model.Table().ColumnTitle(2); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { (void)model.Table().RowText(2); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { (void)model.Table().SubItemCount(0); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { (void)model.Table().SubItemText(1, 3); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { (void)model.Table().SubItemText(1, 0); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { model.SetSubItem(2, 1, u"x"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { model.SetSubItem(1, 0, u"x"); }), ErrorKind::InvalidArgument);
    // A wild position must not allocate a row of billions of cells.
    EXPECT_EQ(ErrorKindOf([&] { model.SetSubItem(1, 2'000'000'000, u"x"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(model.Table().SubItemCount(1), 2);
}

}  // namespace
}  // namespace quorvane::qt
