#include "app/table_text.h"

#include "base/checked_int.h"
#include "base/error.h"

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

bool NeedsQuotes(std::u16string_view cell, std::u16string_view separator) {
    if (separator.size() == 1) {
        const char16_t sep = separator.front();
        for (const char16_t c : cell) {
            if (c == sep || c == u'"' || c == u'\r' || c == u'\n') return true;
        }
        return false;
    }
    return cell.find_first_of(u"\"\r\n") != std::u16string_view::npos ||
           (!separator.empty() && cell.find(separator) != std::u16string_view::npos);
}

// A cell that holds the separator, a double quote, CR or LF is quoted so the
// text still parses into the table's cells; inner quotes are doubled.
void AppendCell(std::u16string& out, std::u16string_view cell, std::u16string_view separator) {
    if (!NeedsQuotes(cell, separator)) {
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
        // Rows of one table are alike: the first ones tell how much room the
        // rest will take, which spares copying a large text as it grows.
        if (r == 9) text.reserve(text.size() / 8 * static_cast<std::size_t>(rows) / 8 * 9);
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
