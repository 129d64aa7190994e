#pragma once

#include <string>
#include <vector>

#include "app/adapter_table.h"

namespace quorvane {

// The table held in memory: for tests and benchmarks, and as the model a
// frontend may keep beside its native view.
class InMemoryTable : public AdapterTable {
public:
    struct Row {
        std::u16string text;
        std::vector<std::u16string> subItems;
    };

    std::int32_t AppendRow(std::u16string_view text) override;
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) override;
    void ClearRows() override;
    void ClearColumns() override;
    void AddColumn(std::u16string_view title) override;

    [[nodiscard]] std::int32_t ColumnCount() const override;
    [[nodiscard]] std::u16string ColumnTitle(std::int32_t column) const override;
    [[nodiscard]] std::int32_t RowCount() const override;
    [[nodiscard]] std::u16string RowText(std::int32_t row) const override;
    [[nodiscard]] std::int32_t SubItemCount(std::int32_t row) const override;
    [[nodiscard]] std::u16string SubItemText(std::int32_t row, std::int32_t subItem) const override;

    [[nodiscard]] const std::vector<std::u16string>& columns() const noexcept { return columns_; }
    [[nodiscard]] const std::vector<Row>& rows() const noexcept { return rows_; }

private:
    [[nodiscard]] const Row& RowAt(std::int32_t row) const;

    std::vector<std::u16string> columns_;
    std::vector<Row> rows_;
};

}  // namespace quorvane
