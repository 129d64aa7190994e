#pragma once

#include <QTreeView>

#include "app/controls.h"
#include "app/qt/adapter_table_model.h"
#include "app/qt/placed_widget.h"

namespace quorvane::qt {

// ListView1: the table's model shown in a tree view without branches, one
// line per row under a visible header row.
class QtListView final : public PlacedWidget<ListViewControl> {
public:
    // `model` is the view's model and outlives this object.
    QtListView(QTreeView& view, AdapterTableModel& model, DesignRect design, float dpi);

    void SetReportView() override;
    void DisableSorting() override;
    void AutoSizeColumn(std::int32_t position) override;

    void ClearRows() override;
    void ClearColumns() override { model_.ClearColumns(); }
    void AddColumn(std::u16string_view title) override { model_.AddColumn(title); }
    std::int32_t AppendRow(std::u16string_view text) override { return model_.AppendRow(text); }
    void SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) override {
        model_.SetSubItem(row, n, text);
    }
    [[nodiscard]] std::int32_t ColumnCount() const override { return model_.Table().ColumnCount(); }
    [[nodiscard]] std::u16string ColumnTitle(std::int32_t column) const override {
        return model_.Table().ColumnTitle(column);
    }
    [[nodiscard]] std::int32_t RowCount() const override { return model_.Table().RowCount(); }
    [[nodiscard]] std::u16string RowText(std::int32_t row) const override { return model_.Table().RowText(row); }
    [[nodiscard]] std::int32_t SubItemCount(std::int32_t row) const override {
        return model_.Table().SubItemCount(row);
    }
    [[nodiscard]] std::u16string SubItemText(std::int32_t row, std::int32_t subItem) const override {
        return model_.Table().SubItemText(row, subItem);
    }

private:
    QTreeView& view_;
    AdapterTableModel& model_;
};

}  // namespace quorvane::qt
