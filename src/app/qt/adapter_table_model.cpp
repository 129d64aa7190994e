#include "app/qt/adapter_table_model.h"

#include <limits>

#include "app/qt/qt_text.h"
#include "inventory/checked_int.h"
#include "inventory/error.h"

namespace quorvane::qt {
namespace {

// Qt counts rows and columns in int; the table's positions are 32-bit as well.
constexpr std::size_t kMaxCount = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
// A row grows to the sub-item it is given; past this a position is taken for
// a mistake rather than a reason to allocate gigabytes of empty cells.
constexpr std::int32_t kMaxSubItem = 65535;

}  // namespace

int AdapterTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AdapterTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant AdapterTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    if (role != Qt::DisplayRole) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    if (index.column() == 0) return row.text;
    const auto subItem = static_cast<std::size_t>(index.column() - 1);
    return subItem < row.subItems.size() ? row.subItems[subItem] : QString();
}

QVariant AdapterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || static_cast<std::size_t>(section) >= titles_.size()) return {};
    return titles_[static_cast<std::size_t>(section)];
}

Qt::ItemFlags AdapterTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void AdapterTableModel::ClearRows() {
    if (rows_.empty()) return;
    beginRemoveRows({}, 0, static_cast<int>(rows_.size()) - 1);
    rows_.clear();
    endRemoveRows();
}

void AdapterTableModel::ClearColumns() {
    if (titles_.empty()) return;
    beginRemoveColumns({}, 0, static_cast<int>(titles_.size()) - 1);
    titles_.clear();
    endRemoveColumns();
}

void AdapterTableModel::AddColumn(std::u16string_view title) {
    if (titles_.size() >= kMaxCount) ThrowOverflow("column count");
    const int position = static_cast<int>(titles_.size());
    beginInsertColumns({}, position, position);
    titles_.push_back(ToQString(title));
    endInsertColumns();
}

std::int32_t AdapterTableModel::AppendRow(std::u16string_view text) {
    if (rows_.size() >= kMaxCount) ThrowOverflow("row count");
    const int position = static_cast<int>(rows_.size());
    beginInsertRows({}, position, position);
    rows_.push_back(Row{ToQString(text), {}});
    endInsertRows();
    return position + 1;
}

void AdapterTableModel::SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) {
    const std::size_t r = IndexOfPosition(row, rows_.size(), "row position");
    if (n < 1 || n > kMaxSubItem) ThrowInvalidArgument("sub-item position");
    std::vector<QString>& subItems = rows_[r].subItems;
    const auto slot = static_cast<std::size_t>(n - 1);
    if (slot >= subItems.size()) subItems.resize(slot + 1);
    subItems[slot] = ToQString(text);
    // Sub-item n shows in column n + 1 (0-based n), when the table has one.
    if (static_cast<std::size_t>(n) < titles_.size()) {
        const QModelIndex cell = index(static_cast<int>(r), n);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

std::int32_t AdapterTableModel::ColumnCount() const {
    return static_cast<std::int32_t>(titles_.size());
}

std::u16string AdapterTableModel::ColumnTitle(std::int32_t column) const {
    return FromQString(titles_[IndexOfPosition(column, titles_.size(), "column position")]);
}

std::int32_t AdapterTableModel::RowCount() const {
    return static_cast<std::int32_t>(rows_.size());
}

const AdapterTableModel::Row& AdapterTableModel::RowAt(std::int32_t row) const {
    return rows_[IndexOfPosition(row, rows_.size(), "row position")];
}

std::u16string AdapterTableModel::RowText(std::int32_t row) const {
    return FromQString(RowAt(row).text);
}

std::int32_t AdapterTableModel::SubItemCount(std::int32_t row) const {
    return static_cast<std::int32_t>(RowAt(row).subItems.size());
}

std::u16string AdapterTableModel::SubItemText(std::int32_t row, std::int32_t subItem) const {
    const Row& r = RowAt(row);
    return FromQString(r.subItems[IndexOfPosition(subItem, r.subItems.size(), "sub-item position")]);
}

}  // namespace quorvane::qt
