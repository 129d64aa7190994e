#pragma once

#include <QAbstractTableModel>

#include "app/memory_table.h"

namespace quorvane::qt {

// The table's content as the view shows it: the core's in-memory table, with
// every change told to the views. The row text shows in column 0 and
// sub-item j in column j; a row may hold more or fewer sub-items than there
// are columns, and the view shows those that have a column, the export reads
// them all. Positions in the table's operations are 1-based; one outside the
// table raises the invalid-argument error and changes nothing.
class AdapterTableModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // QAbstractItemModel
    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The table's changes, as AdapterTable names them.
    void ClearRows();
    void ClearColumns();
    void AddColumn(std::u16string_view title);
    std::int32_t AppendRow(std::u16string_view text);
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text);

    // A list clears the rows and appends them again. Between these two, the
    // views hear of that as the rows they show changing in place, and of the
    // rows the list did not append again going at its end; so what a view
    // keeps for a row, such as a screen reader's cells, stays with every row
    // that is still there. Table() changes at once all the same.
    void BeginRefill() noexcept { refilling_ = true; }
    void EndRefill();

    // The content, read back as the table's readers do.
    [[nodiscard]] const InMemoryTable& Table() const noexcept { return table_; }

private:
    InMemoryTable table_;
    // The rows the views know of: the table's, and during a refill any rows
    // shown before it that it has not appended again, which read as empty.
    int shownRows_ = 0;
    bool refilling_ = false;
};

}  // namespace quorvane::qt
