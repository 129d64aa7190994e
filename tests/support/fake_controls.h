#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/memory_table.h"
#include "base/error.h"

namespace quorvane::testing {

// Geometry that keeps what it is given; a chosen read can be made to fail.
template <typename Base>
class FakePlaced : public Base {
public:
    float top = 0, width = 0, height = 0;
    bool failHeightRead = false;

    float Top() const override { return top; }
    void SetTop(float t) override { top = t; }
    float Width() const override { return width; }
    void SetWidth(float w) override { width = w; }
    float Height() const override {
        if (failHeightRead) ThrowPlatform("height unavailable", 1);
        return height;
    }
    void SetHeight(float h) override { height = h; }
};

class FakeButton : public FakePlaced<Button> {
public:
    bool enabled = true;
    std::vector<bool> history;
    void SetEnabled(bool e) override {
        enabled = e;
        history.push_back(e);
    }
};

class FakeCheckBox : public FakePlaced<CheckBox> {
public:
    std::int16_t value = kUnchecked;
    bool failRead = false;
    std::int16_t Value() const override {
        if (failRead) ThrowPlatform("check box unavailable", 1);
        return value;
    }
};

// The list view: an in-memory table with geometry, a log of the columns it
// was asked to size, and switches that make chosen operations fail.
class FakeListView : public FakePlaced<ListViewControl> {
public:
    InMemoryTable table;
    bool reportView = false;
    bool sortingDisabled = false;
    std::vector<std::int32_t> autoSized;
    bool failAutoSize = false;
    bool failAddColumn = false;
    bool failRowTextRead = false;
    std::function<void()> onClearRows;

    std::int32_t AppendRow(std::u16string_view text) override { return table.AppendRow(text); }
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) override {
        table.SetSubItem(row, n, text);
    }
    void ClearRows() override {
        if (onClearRows) onClearRows();
        table.ClearRows();
    }
    void ClearColumns() override { table.ClearColumns(); }
    void AddColumn(std::u16string_view title) override {
        if (failAddColumn) ThrowPlatform("column refused", 1);
        table.AddColumn(title);
    }
    std::int32_t ColumnCount() const override { return table.ColumnCount(); }
    std::u16string ColumnTitle(std::int32_t c) const override { return table.ColumnTitle(c); }
    std::int32_t RowCount() const override { return table.RowCount(); }
    std::u16string RowText(std::int32_t r) const override {
        if (failRowTextRead) ThrowPlatform("row unreadable", 1);
        return table.RowText(r);
    }
    std::int32_t SubItemCount(std::int32_t r) const override { return table.SubItemCount(r); }
    std::u16string SubItemText(std::int32_t r, std::int32_t j) const override { return table.SubItemText(r, j); }

    void SetReportView() override { reportView = true; }
    void DisableSorting() override { sortingDisabled = true; }
    void AutoSizeColumn(std::int32_t position) override {
        if (failAutoSize) ThrowPlatform("list view gone", 1);
        autoSized.push_back(position);
    }
};

class FakeForm : public FormSurface {
public:
    float scaleWidth = 7005, scaleHeight = 5610;
    float ScaleWidth() const override { return scaleWidth; }
    float ScaleHeight() const override { return scaleHeight; }
};

class FakeClipboard : public Clipboard {
public:
    std::optional<std::u16string> content = u"what the user had";
    int replacements = 0;
    bool fail = false;
    void ReplaceText(const std::u16string& text) override {
        if (fail) ThrowPlatform("clipboard held by another program", 5);
        ++replacements;
        content = text;
    }
};

}  // namespace quorvane::testing
