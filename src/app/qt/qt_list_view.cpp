#include "app/qt/qt_list_view.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

namespace quorvane::qt {

QtListView::QtListView(QTreeView& view, AdapterTableModel& model, DesignRect design, float dpi)
    : PlacedWidget(view, design, dpi), view_(view), model_(model) {
    // Column widths change only when the list command fits them (or the user
    // drags an edge); a stretching last section would follow every resize.
    view_.header()->setStretchLastSection(false);
    view_.header()->setSectionResizeMode(QHeaderView::Interactive);
    view_.header()->setSectionsMovable(false);
}

void QtListView::ClearRows() {
    // No row is selected or current any more, as when the rows went; during
    // a refill the model keeps the view's rows, and the view would keep both.
    if (QItemSelectionModel* selection = view_.selectionModel()) selection->clear();
    model_.ClearRows();
}

void QtListView::SetReportView() {
    view_.setRootIsDecorated(false);
    view_.setItemsExpandable(false);
    view_.setUniformRowHeights(true);
    view_.setAllColumnsShowFocus(true);
    view_.setSelectionBehavior(QAbstractItemView::SelectRows);
    view_.setSelectionMode(QAbstractItemView::SingleSelection);
    view_.setHeaderHidden(false);
}

void QtListView::DisableSorting() {
    view_.setSortingEnabled(false);
    view_.header()->setSectionsClickable(false);
}

void QtListView::AutoSizeColumn(std::int32_t position) {
    const int columns = model_.columnCount();
    if (position < 0 || position >= columns) return;  // nothing to size: the width stays
    // The wider of the title and the longest cell. This is what
    // resizeColumnToContents sets, without first laying out every item of
    // the refilled view: the next paint does that once anyway.
    QHeaderView& header = *view_.header();
    const QAbstractItemView& items = view_;
    const int title = header.isHidden() ? 0 : header.sectionSizeHint(position);
    header.resizeSection(position, std::max(items.sizeHintForColumn(position), title));
    if (position != columns - 1) return;
    // The last column also takes whatever width the others leave free.
    int used = 0;
    for (int i = 0; i < position; ++i) used += header.sectionSize(i);
    const int free = view_.viewport()->width() - used;
    if (free > header.sectionSize(position)) header.resizeSection(position, free);
}

}  // namespace quorvane::qt
