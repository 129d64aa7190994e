#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "app/adapter_table.h"

namespace quorvane::qt {

// The table's content as the view shows it: column titles, and rows of a row
// text and sub-items. A row may hold more or fewer sub-items than there are
// columns; the view shows those that have a column, the export reads them all.
// Positions in the AdapterTable operations are 1-based; one outside the table
// raises the invalid-argument error.
class AdapterTableModel final : public QAbstractTableModel, public AdapterTable {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // QAbstractItemModel
    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // AdapterTable
    void ClearRows() override;
    void ClearColumns() override;
    void AddColumn(std::u16string_view title) override;
    std::int32_t AppendRow(std::u16string_view text) override;
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) override;
    [[nodiscard]] std::int32_t ColumnCount() const override;
    [[nodiscard]] std::u16string ColumnTitle(std::int32_t column) const override;
    [[nodiscard]] std::int32_t RowCount() const override;
    [[nodiscard]] std::u16string RowText(std::int32_t row) const override;
    [[nodiscard]] std::int32_t SubItemCount(std::int32_t row) const override;
    [[nodiscard]] std::u16string SubItemText(std::int32_t row, std::int32_t subItem) const override;

private:
    struct Row {
        QString text;
        std::vector<QString> subItems;  // sub-item n at n - 1
    };

    [[nodiscard]] const Row& RowAt(std::int32_t row) const;

    std::vector<QString> titles_;
    std::vector<Row> rows_;
};

}  // namespace quorvane::qt
