// The export text of any table parses back into exactly that table's cells,
// with either separator.
#include <cstdlib>
#include <vector>

#include "app/memory_table.h"
#include "app/table_text.h"
#include "base/error.h"
#include "fuzz_text.h"

namespace {

using Record = std::vector<std::u16string>;

// A strict reader for the export's format: CR LF between records, quoted
// fields with doubled quotes. Returns false on anything malformed.
bool Parse(const std::u16string& text, char16_t sep, std::vector<Record>& records) {
    records.assign(1, Record(1));
    std::size_t i = 0;
    bool fieldStart = true;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (fieldStart && c == u'"') {
            ++i;
            for (;;) {
                if (i >= text.size()) return false;
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') {
                        records.back().back().push_back(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                records.back().back().push_back(text[i++]);
            }
            if (i < text.size() && text[i] != sep && text[i] != u'\r') return false;
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        if (c == sep) {
            records.back().emplace_back();
            fieldStart = true;
            ++i;
        } else if (c == u'\r') {
            if (i + 1 >= text.size() || text[i + 1] != u'\n') return false;
            records.emplace_back(1);
            fieldStart = true;
            i += 2;
        } else if (c == u'"' || c == u'\n') {
            return false;  // such characters only ever stand inside quotes
        } else {
            records.back().back().push_back(c);
            ++i;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvane::fuzz::CharReader in(data, size);
    const bool commas = (in.Next() & 1) != 0;
    const std::u16string_view sep = quorvane::ColumnSeparator(commas ? 1 : 0);

    quorvane::InMemoryTable table;
    const std::size_t columns = 1 + in.Next() % 5;
    for (std::size_t c = 0; c < columns; ++c) table.AddColumn(in.Text(6));
    const std::size_t rows = in.Next() % 6;
    for (std::size_t r = 0; r < rows; ++r) {
        const std::int32_t row = table.AppendRow(in.Text(6));
        const std::int32_t subItems = 1 + in.Next() % 5;
        for (std::int32_t j = 1; j <= subItems; ++j) table.SetSubItem(row, j, in.Text(6));
    }

    const std::u16string text = quorvane::TableText(table, sep);
    std::vector<Record> parsed;
    if (!Parse(text, sep.front(), parsed)) std::abort();

    std::vector<Record> expected(1, table.columns());
    for (const auto& row : table.rows()) {
        Record r{row.text};
        r.insert(r.end(), row.subItems.begin(), row.subItems.end());
        expected.push_back(r);
    }
    // A table without rows ends in a line end, which reads as one empty record.
    if (rows == 0) expected.emplace_back(1);
    if (parsed != expected) std::abort();
    return 0;
}
