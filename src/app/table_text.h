#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/adapter_table.h"

namespace quorvane {

// "," when the check box value is exactly 1 (ticked), else one tab
// (unticked 0, grayed 2).
std::u16string_view ColumnSeparator(std::int16_t checkBoxValue);

// The whole table as text: the column titles, one line end (CR LF), then one
// line per row (row text, then each sub-item) with CR LF between rows and none
// after the last. A row gives as many cells as it holds, never filled up to
// the header's width. A cell holding the separator, a double quote, CR or LF
// is enclosed in double quotes with inner quotes doubled; others pass as they
// are. More than 32,766 columns, or sub-items in one row, raise the overflow
// error.
std::u16string TableText(const AdapterTable& table, std::u16string_view separator);

}  // namespace quorvane
