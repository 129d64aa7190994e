#include "app/table_text.h"

#include "inventory/checked_int.h"
#include "inventory/error.h"

namespace quorvane {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

// The export reads at most 32,766 cells across: its positions are 16-bit and
// advance once more after the last cell.
std::int32_t CellLimit(std::int32_t count) {
    const std::int16_t narrowed = CheckedNarrow16(count);
    if (narrowed == INT16_MAX) ThrowOverflow("16-bit position after the last cell");
    return narrowed;
}

// A cell that holds the separator, a double quote, CR or LF is quoted so the
// text still parses into the table's cells; inner quotes are doubled.
void AppendCell(std::u16string& out, std::u16string_view cell, std::u16string_view separator) {
    const bool needsQuotes = cell.find_first_of(u"\"\r\n") != std::u16string_view::npos ||
                             cell.find(separator) != std::u16string_view::npos;
    if (!needsQuotes) {
        out.append(cell);
        return;
    }
    out.push_back(u'"');
    for (const char16_t c : cell) {
        if (c == u'"') out.push_back(u'"');
        out.push_back(c);
    }
    out.push_back(u'"');
}

}  // namespace

std::u16string_view ColumnSeparator(std::int16_t checkBoxValue) { return checkBoxValue == 1 ? u"," : u"\t"; }

std::u16string TableText(const AdapterTable& table, std::u16string_view separator) {
    std::u16string text;

    const std::int32_t columns = CellLimit(table.ColumnCount());
    for (std::int32_t i = 1; i <= columns; ++i) {
        if (i > 1) text.append(separator);
        AppendCell(text, table.ColumnTitle(i), separator);
    }
    text.append(kLineEnd);

    const std::int32_t rows = table.RowCount();
    for (std::int32_t r = 1; r <= rows; ++r) {
        if (r > 1) text.append(kLineEnd);
        AppendCell(text, table.RowText(r), separator);
        const std::int32_t subItems = CellLimit(table.SubItemCount(r));
        for (std::int32_t j = 1; j <= subItems; ++j) {
            text.append(separator);
            AppendCell(text, table.SubItemText(r, j), separator);
        }
    }
    return text;
}

}  // namespace quorvane
