#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane {

// What the adapter query needs of the table it fills. Rows are numbered from
// 1 in the order of appending; sub-item n of a row fills column n + 1.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Appends a row with `text` in column 1 and no sub-items; returns its position.
    virtual std::int32_t AppendRow(std::u16string_view text) = 0;
    // Sets sub-item `n` (from 1) of row `row`; a row holding fewer grows to n,
    // the sub-items never set holding the empty text.
    virtual void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) = 0;
};

}  // namespace quorvane
