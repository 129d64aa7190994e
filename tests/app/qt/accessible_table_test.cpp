// ListView1 as screen readers reach it through Qt's accessibility: a named
// table of the column titles and one row per adapter, an answer for every
// cell asked about, and the current cell as the focused one. (The view's own
// focus events need a platform bridge; the AT-SPI run in tests/e2e/linux
// follows them.)

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "app/qt/main_window.h"
#include "support/counting_signal.h"
#include "support/day_month_year_format.h"
#include "support/fake_adapter_source.h"
#include "support/fake_controls.h"

namespace quorvane::qt {
namespace {

using quorvane::testing::TypicalAdapter;

class AccessibleTableTest : public ::testing::Test {
protected:
    quorvane::testing::FakeAdapterSource source{{TypicalAdapter(1), TypicalAdapter(12)}};
    quorvane::testing::DayMonthYearFormat shortDate;
    quorvane::testing::FakeClipboard clipboard;
    quorvane::testing::CountingSignal failureSignal;
    MainWindow window{QtWindowServices{source, shortDate, clipboard, failureSignal}};

    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QAccessibleInterface& Table() { return *QAccessible::queryAccessibleInterface(&window.ListView1Widget()); }
    QAccessibleTableInterface& Cells() { return *Table().tableInterface(); }
};

TEST_F(AccessibleTableTest, IsANamedTableOfTheColumnTitlesAndOneRowPerAdapter) {
    window.Command1Widget().click();
    QAccessibleInterface& table = Table();
    EXPECT_EQ(table.role(), QAccessible::Table);
    EXPECT_EQ(table.text(QAccessible::Name), QStringLiteral("Network adapters"));
    EXPECT_FALSE(table.text(QAccessible::Description).isEmpty());
    ASSERT_EQ(Cells().columnCount(), 11);
    EXPECT_EQ(Cells().columnDescription(3), QStringLiteral("DHCP Svr"));
    ASSERT_EQ(Cells().rowCount(), 2);
    EXPECT_EQ(Cells().cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("12"));
    EXPECT_EQ(Cells().cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("192.168.0.17"));
    EXPECT_TRUE(table.rect().contains(Cells().cellAt(1, 0)->rect()));

    // The children: the column headers, then the cells row by row.
    ASSERT_EQ(table.childCount(), 33);
    EXPECT_EQ(table.child(3)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(table.child(3)->text(QAccessible::Name), QStringLiteral("DHCP Svr"));
    EXPECT_EQ(table.child(22)->text(QAccessible::Name), QStringLiteral("12"));
    for (int i = 0; i < table.childCount(); ++i) EXPECT_EQ(table.indexOfChild(table.child(i)), i) << i;
}

// Qt's bridge to AT-SPI asks the answer for a cell's cell interface without
// looking, whether or not there is such a cell.
TEST_F(AccessibleTableTest, AnswersForEveryCellAskedAboutBeforeAndAfterAList) {
    struct Case {
        bool listed;
        int row, column;
        bool inTable;
    };
    const Case cases[] = {{false, 0, 0, false}, {false, -1, -1, false}, {true, 0, 0, true},
                          {true, 1, 10, true},  {true, 2, 0, false},    {true, 0, 11, false}};
    for (const Case& c : cases) {
        if (c.listed && Cells().rowCount() == 0) window.Command1Widget().click();
        SCOPED_TRACE(::testing::Message() << "cell " << c.row << ", " << c.column);
        QAccessibleInterface* cell = Cells().cellAt(c.row, c.column);
        ASSERT_NE(cell, nullptr);
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        ASSERT_NE(place, nullptr);
        EXPECT_EQ(cell->isValid(), c.inTable);
        EXPECT_FALSE(place->isSelected());
        EXPECT_EQ(place->rowIndex(), c.inTable ? c.row : -1);
        EXPECT_EQ(place->columnIndex(), c.inTable ? c.column : -1);
        EXPECT_EQ(place->rowExtent(), c.inTable ? 1 : 0);
        EXPECT_EQ(cell->rect().isEmpty(), !c.inTable);
        EXPECT_EQ(Table().indexOfChild(cell), c.inTable ? (c.row + 1) * 11 + c.column : -1);
    }
}

TEST_F(AccessibleTableTest, TheCurrentCellIsTheFocusedChildAndItsRowTheSelectedOne) {
    window.Command1Widget().click();
    EXPECT_EQ(Table().focusChild(), nullptr) << "no cell is current after a list";
    // The table has had the focus since the window opened: the first Down
    // makes the first row current, the second the next one.
    QTest::keyClick(&window.ListView1Widget(), Qt::Key_Down);
    QTest::keyClick(&window.ListView1Widget(), Qt::Key_Down);

    QAccessibleInterface* current = Table().focusChild();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(QAccessible::Name), QStringLiteral("12"));
    EXPECT_TRUE(current->state().focused);
    EXPECT_TRUE(current->state().selected);
    EXPECT_FALSE(Cells().cellAt(0, 0)->state().selected);
    EXPECT_EQ(Cells().selectedRows(), QList<int>{1});
}

}  // namespace
}  // namespace quorvane::qt
