#include "app/qt/adapter_table_model.h"

#include "app/qt/qt_text.h"
#include "base/checked_int.h"

namespace quorvane::qt {

int AdapterTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int AdapterTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.columns().size());
}

QVariant AdapterTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    if (role != Qt::DisplayRole) return {};
    if (index.row() >= table_.RowCount()) return QString();  // a refill has not reached it yet
    const InMemoryTable::Row& row = table_.rows()[static_cast<std::size_t>(index.row())];
    if (index.column() == 0) return ToQString(row.text);
    const auto subItem = static_cast<std::size_t>(index.column() - 1);
    return subItem < row.subItems.size() ? ToQString(row.subItems[subItem]) : QString();
}

QVariant AdapterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || static_cast<std::size_t>(section) >= table_.columns().size()) return {};
    return ToQString(table_.columns()[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags AdapterTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void AdapterTableModel::ClearRows() {
    if (refilling_) {
        table_.ClearRows();
        if (shownRows_ > 0 && columnCount() > 0) {
            emit dataChanged(index(0, 0), index(shownRows_ - 1, columnCount() - 1), {Qt::DisplayRole});
        }
        return;
    }
    if (shownRows_ == 0) return;
    beginRemoveRows({}, 0, shownRows_ - 1);
    table_.ClearRows();
    shownRows_ = 0;
    endRemoveRows();
}

void AdapterTableModel::ClearColumns() {
    if (table_.columns().empty()) return;
    beginRemoveColumns({}, 0, columnCount() - 1);
    table_.ClearColumns();
    endRemoveColumns();
}

void AdapterTableModel::AddColumn(std::u16string_view title) {
    // Refused before the views hear of a column that cannot be counted.
    const int position = CheckedAdd(table_.ColumnCount(), 1) - 1;
    beginInsertColumns({}, position, position);
    table_.AddColumn(title);
    endInsertColumns();
}

std::int32_t AdapterTableModel::AppendRow(std::u16string_view text) {
    const int position = CheckedAdd(table_.RowCount(), 1) - 1;
    if (position < shownRows_) {
        // A row the views show already, filled again.
        table_.AppendRow(text);
        if (columnCount() > 0) {
            emit dataChanged(index(position, 0), index(position, columnCount() - 1), {Qt::DisplayRole});
        }
        return position + 1;
    }
    beginInsertRows({}, position, position);
    table_.AppendRow(text);
    shownRows_ = position + 1;
    endInsertRows();
    return position + 1;
}

void AdapterTableModel::EndRefill() {
    refilling_ = false;
    const int rows = table_.RowCount();
    if (shownRows_ <= rows) return;
    beginRemoveRows({}, rows, shownRows_ - 1);
    shownRows_ = rows;
    endRemoveRows();
}

void AdapterTableModel::SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) {
    table_.SetSubItem(row, n, text);
    // Sub-item n shows in column n (0-based), when the table has one.
    if (n < columnCount()) {
        const QModelIndex cell = index(row - 1, n);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

}  // namespace quorvane::qt
