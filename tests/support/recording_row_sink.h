#pragma once

#include <set>
#include <string>
#include <vector>

#include "base/error.h"
#include "inventory/row_sink.h"

namespace quorvane::testing {

// Keeps the rows it is given; can refuse chosen appends (counted from 1) or
// every write of a chosen sub-item.
class RecordingRowSink : public RowSink {
public:
    struct Row {
        std::u16string text;
        std::vector<std::u16string> subItems;
    };
    std::vector<Row> rows;
    std::set<int> failingAppends;
    std::set<std::int32_t> failingSubItems;

    std::int32_t AppendRow(std::u16string_view text) override {
        if (failingAppends.count(++appends_) != 0) ThrowPlatform("list view refused the row", 1);
        rows.push_back(Row{std::u16string(text), {}});
        return static_cast<std::int32_t>(rows.size());
    }
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) override {
        if (failingSubItems.count(n) != 0) ThrowPlatform("list view refused the sub-item", 1);
        auto& items = rows.at(static_cast<std::size_t>(row - 1)).subItems;
        if (items.size() < static_cast<std::size_t>(n)) items.resize(static_cast<std::size_t>(n));
        items[static_cast<std::size_t>(n - 1)] = text;
    }
    // Sub-item n of row r (both from 1), or the empty text when never set.
    [[nodiscard]] std::u16string Cell(std::size_t r, std::size_t n) const {
        const auto& items = rows.at(r - 1).subItems;
        return n <= items.size() ? items[n - 1] : std::u16string();
    }

private:
    int appends_ = 0;
};

}  // namespace quorvane::testing
