#include "app/memory_table.h"

#include "base/checked_int.h"
#include "base/error.h"

namespace quorvane {

std::int32_t InMemoryTable::AppendRow(std::u16string_view text) {
    const std::int32_t position = CheckedAdd(CheckedLength(rows_.size()), 1);
    rows_.push_back(Row{std::u16string(text), {}});
    return position;
}

namespace {

// A row grows to the sub-item it is given; past this a position is taken for
// a mistake rather than a reason to allocate gigabytes of empty cells.
constexpr std::int32_t kMaxSubItem = 65535;

}  // namespace

void InMemoryTable::SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) {
    Row& r = rows_[IndexOfPosition(row, rows_.size(), "no such row")];
    if (n < 1) ThrowInvalidArgument("sub-items are numbered from 1");
    if (n > kMaxSubItem) ThrowInvalidArgument("no such sub-item");
    const auto index = static_cast<std::size_t>(n - 1);
    if (r.subItems.size() <= index) r.subItems.resize(index + 1);
    r.subItems[index] = text;
}

void InMemoryTable::ClearRows() { rows_.clear(); }

void InMemoryTable::ClearColumns() { columns_.clear(); }

void InMemoryTable::AddColumn(std::u16string_view title) { columns_.emplace_back(title); }

std::int32_t InMemoryTable::ColumnCount() const { return CheckedLength(columns_.size()); }

std::u16string InMemoryTable::ColumnTitle(std::int32_t column) const {
    return columns_[IndexOfPosition(column, columns_.size(), "no such column")];
}

std::int32_t InMemoryTable::RowCount() const { return CheckedLength(rows_.size()); }

const InMemoryTable::Row& InMemoryTable::RowAt(std::int32_t row) const {
    return rows_[IndexOfPosition(row, rows_.size(), "no such row")];
}

std::u16string InMemoryTable::RowText(std::int32_t row) const { return RowAt(row).text; }

std::int32_t InMemoryTable::SubItemCount(std::int32_t row) const {
    return CheckedLength(RowAt(row).subItems.size());
}

std::u16string InMemoryTable::SubItemText(std::int32_t row, std::int32_t subItem) const {
    const Row& r = RowAt(row);
    return r.subItems[IndexOfPosition(subItem, r.subItems.size(), "no such sub-item")];
}

}  // namespace quorvane
