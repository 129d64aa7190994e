#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "inventory/row_sink.h"

namespace quorvane {

// The program's one table: columns with a title, and rows of a row text
// (column 1) and sub-items numbered from 1 (sub-item j fills column j + 1).
// Positions are 1-based. Every operation may fail with `Error`.
class AdapterTable : public RowSink {
public:
    // Removes every row; the columns stay.
    virtual void ClearRows() = 0;
    // Removes every column.
    virtual void ClearColumns() = 0;
    // Appends a column with that title at the default width and alignment.
    virtual void AddColumn(std::u16string_view title) = 0;

    [[nodiscard]] virtual std::int32_t ColumnCount() const = 0;
    [[nodiscard]] virtual std::u16string ColumnTitle(std::int32_t column) const = 0;
    [[nodiscard]] virtual std::int32_t RowCount() const = 0;
    [[nodiscard]] virtual std::u16string RowText(std::int32_t row) const = 0;
    [[nodiscard]] virtual std::int32_t SubItemCount(std::int32_t row) const = 0;
    [[nodiscard]] virtual std::u16string SubItemText(std::int32_t row, std::int32_t subItem) const = 0;
};

}  // namespace quorvane
