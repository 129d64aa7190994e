#pragma once

// ListView1 as screen readers see it: a table whose children are the column
// headers, then the cells row by row, numbered as QTreeView numbers them in
// the focus and selection events it sends.
//
// Qt 6.4's own accessible tree answers a cell that does not exist (a row past
// the last, any row of an empty table) with no cell at all, and its AT-SPI
// bridge uses that answer without looking: asking whether such a cell is
// selected, or the extents at the index of a last-row cell, ends the program.
// This table always answers with a cell; one that is not in the table says
// so through its row and column of -1.

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QTreeView>
#include <utility>

namespace quorvane::qt {

class AccessibleTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    // `view` shows a flat model: rows without children.
    explicit AccessibleTable(QTreeView* view);
    ~AccessibleTable() override;

    AccessibleTable(const AccessibleTable&) = delete;
    AccessibleTable& operator=(const AccessibleTable&) = delete;

    // QAccessibleInterface
    [[nodiscard]] void* interface_cast(QAccessible::InterfaceType type) override;
    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    [[nodiscard]] QAccessibleInterface* caption() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface* summary() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface* cellAt(int row, int column) const override;
    [[nodiscard]] int selectedCellCount() const override;
    [[nodiscard]] QList<QAccessibleInterface*> selectedCells() const override;
    [[nodiscard]] QString columnDescription(int column) const override;
    [[nodiscard]] QString rowDescription(int) const override { return {}; }
    [[nodiscard]] int selectedColumnCount() const override { return 0; }
    [[nodiscard]] int selectedRowCount() const override;
    [[nodiscard]] int columnCount() const override;
    [[nodiscard]] int rowCount() const override;
    [[nodiscard]] QList<int> selectedColumns() const override { return {}; }
    [[nodiscard]] QList<int> selectedRows() const override;
    [[nodiscard]] bool isColumnSelected(int) const override { return false; }
    [[nodiscard]] bool isRowSelected(int row) const override;
    // The selection follows the keyboard, as for everyone else.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    // The cell at `row` and `column`, row -1 being the column headers; the
    // cell outside the table when there is none there.
    [[nodiscard]] QAccessibleInterface* Cell(int row, int column) const;

private:
    [[nodiscard]] QTreeView& View() const { return *static_cast<QTreeView*>(widget()); }
    [[nodiscard]] QModelIndex Index(int row) const;
    void ForgetCells();
    // Those of rows from `rows` on or of columns from `columns` on.
    void ForgetCellsBeyond(int rows, int columns);

    // The cells made so far, by row and column (kHeaderRow for the headers),
    // each kept while its place is in the table; the accessibility cache owns
    // them.
    mutable QHash<std::pair<int, int>, QAccessible::Id> cells_;
    mutable QAccessible::Id outside_ = 0;
};

class AccessibleCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    static constexpr int kHeaderRow = -1;
    static constexpr int kOutside = -2;

    // The cell at `row` and `column` of `view`; kHeaderRow for a column
    // header, kOutside for the cell that is not in the table.
    AccessibleCell(QTreeView* view, int row, int column) : view_(view), row_(row), column_(column) {}

    // QAccessibleInterface
    [[nodiscard]] bool isValid() const override;
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override;
    [[nodiscard]] QAccessibleInterface* parent() const override;
    [[nodiscard]] QAccessibleInterface* child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    [[nodiscard]] QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    [[nodiscard]] QRect rect() const override;
    [[nodiscard]] QAccessible::Role role() const override;
    [[nodiscard]] QAccessible::State state() const override;
    [[nodiscard]] void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface, which a column header does not have
    [[nodiscard]] bool isSelected() const override;
    [[nodiscard]] QList<QAccessibleInterface*> columnHeaderCells() const override;
    [[nodiscard]] QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    [[nodiscard]] int columnIndex() const override { return isValid() ? column_ : -1; }
    [[nodiscard]] int rowIndex() const override { return isValid() ? row_ : -1; }
    [[nodiscard]] int columnExtent() const override { return isValid() ? 1 : 0; }
    [[nodiscard]] int rowExtent() const override { return isValid() ? 1 : 0; }
    [[nodiscard]] QAccessibleInterface* table() const override { return parent(); }

    // Where the cell stands, whether or not that is in the table.
    [[nodiscard]] int Row() const noexcept { return row_; }
    [[nodiscard]] int Column() const noexcept { return column_; }

private:
    [[nodiscard]] QModelIndex Index() const;

    QPointer<QTreeView> view_;
    int row_;
    int column_;
};

}  // namespace quorvane::qt
