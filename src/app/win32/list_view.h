#pragma once

// The table shown in a SysListView32 in report view.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/win32/placed_control.h"

namespace quorvane::win32 {

class Win32ListView final : public Placed<ListViewControl> {
public:
    Win32ListView(HWND hwnd, const WindowDpi& dpi, const DesignRect& design);

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

    void SetReportView() override;
    void DisableSorting() override;
    void AutoSizeColumn(std::int32_t position) override;

    // Window text on window background, from the current system colours.
    void ApplySystemColours();

private:
    [[nodiscard]] int RowIndex(std::int32_t row) const;  // 1-based position to the control's index
    [[nodiscard]] std::u16string ItemText(int index, int subItem) const;
    void ChangeStyle(LONG_PTR clear, LONG_PTR set);

    // The control answers how many columns it has, not how many sub-items a
    // row was given, so the latter is tracked here, one entry per row.
    std::vector<std::int32_t> subItemCounts_;
};

}  // namespace quorvane::win32
