#include "app/qt/accessible_table.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace quorvane::qt {
namespace {

// A rectangle of `widget` in screen coordinates.
QRect OnScreen(const QWidget& widget, QRect local) {
    return local.translated(widget.mapToGlobal(QPoint(0, 0)));
}

}  // namespace

AccessibleTable::AccessibleTable(QTreeView* view) : QAccessibleWidget(view, QAccessible::Table) {}

AccessibleTable::~AccessibleTable() {
    ForgetCells();
    if (outside_ != 0) QAccessible::deleteAccessibleInterface(outside_);
}

void* AccessibleTable::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int AccessibleTable::columnCount() const {
    const QAbstractItemModel* model = View().model();
    return model != nullptr ? model->columnCount(View().rootIndex()) : 0;
}

int AccessibleTable::rowCount() const {
    const QAbstractItemModel* model = View().model();
    return model != nullptr ? model->rowCount(View().rootIndex()) : 0;
}

QModelIndex AccessibleTable::Index(int row) const {
    const QAbstractItemModel* model = View().model();
    return model != nullptr ? model->index(row, 0, View().rootIndex()) : QModelIndex();
}

int AccessibleTable::childCount() const {
    const int columns = columnCount();
    return columns > 0 ? (rowCount() + 1) * columns : 0;
}

QAccessibleInterface* AccessibleTable::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    const int columns = columnCount();
    return Cell(index / columns - 1, index % columns);
}

int AccessibleTable::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const AccessibleCell*>(child);
    if (cell == nullptr || !cell->isValid() || cell->parent() != this) return -1;
    return (cell->Row() + 1) * columnCount() + cell->Column();
}

QAccessibleInterface* AccessibleTable::childAt(int x, int y) const {
    const QPoint point(x, y);
    const QHeaderView& header = *View().header();
    if (!header.isHidden() && OnScreen(header, header.rect()).contains(point)) {
        const int column = header.logicalIndexAt(header.viewport()->mapFromGlobal(point));
        return column >= 0 ? Cell(AccessibleCell::kHeaderRow, column) : nullptr;
    }
    const QModelIndex index = View().indexAt(View().viewport()->mapFromGlobal(point));
    return index.isValid() ? Cell(index.row(), index.column()) : nullptr;
}

QAccessibleInterface* AccessibleTable::focusChild() const {
    const QModelIndex current = View().currentIndex();
    if (!View().hasFocus() || !current.isValid()) return nullptr;
    return Cell(current.row(), current.column());
}

QAccessibleInterface* AccessibleTable::Cell(int row, int column) const {
    const bool inTable = column >= 0 && column < columnCount() && row >= AccessibleCell::kHeaderRow && row < rowCount();
    if (!inTable) {
        if (outside_ == 0) {
            outside_ = QAccessible::registerAccessibleInterface(
                new AccessibleCell(&View(), AccessibleCell::kOutside, AccessibleCell::kOutside));
        }
        return QAccessible::accessibleInterface(outside_);
    }
    const std::pair key(row, column);
    if (const auto found = cells_.constFind(key); found != cells_.constEnd()) {
        return QAccessible::accessibleInterface(*found);
    }
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(new AccessibleCell(&View(), row, column));
    cells_.insert(key, id);
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* AccessibleTable::cellAt(int row, int column) const {
    // Never null: Qt's bridge asks the answer's cell interface without looking.
    return Cell(row < 0 ? AccessibleCell::kOutside : row, column);
}

int AccessibleTable::selectedCellCount() const {
    const QItemSelectionModel* selection = View().selectionModel();
    return selection != nullptr ? static_cast<int>(selection->selectedIndexes().size()) : 0;
}

QList<QAccessibleInterface*> AccessibleTable::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    if (const QItemSelectionModel* selection = View().selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes()) cells.append(Cell(index.row(), index.column()));
    }
    return cells;
}

QString AccessibleTable::columnDescription(int column) const {
    const QAbstractItemModel* model = View().model();
    return model != nullptr ? model->headerData(column, Qt::Horizontal).toString() : QString();
}

int AccessibleTable::selectedRowCount() const {
    return static_cast<int>(selectedRows().size());
}

QList<int> AccessibleTable::selectedRows() const {
    QList<int> rows;
    if (const QItemSelectionModel* selection = View().selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows()) rows.append(index.row());
    }
    return rows;
}

bool AccessibleTable::isRowSelected(int row) const {
    const QItemSelectionModel* selection = View().selectionModel();
    return selection != nullptr && Index(row).isValid() && selection->isRowSelected(row, View().rootIndex());
}

void AccessibleTable::modelChange(QAccessibleTableModelChangeEvent* event) {
    // A cell stands for a place, not an item, and what it says follows the
    // model; so it stays, with its id, while its place is in the table. Qt
    // gives a freed id to the next cell made, and a screen reader that met a
    // cell under the id of one it knew could take a move for none.
    switch (event->modelChangeType()) {
        case QAccessibleTableModelChangeEvent::ModelReset:
            ForgetCells();
            break;
        case QAccessibleTableModelChangeEvent::RowsRemoved:
        case QAccessibleTableModelChangeEvent::ColumnsRemoved:
            ForgetCellsBeyond(rowCount(), columnCount());
            break;
        default:  // changed data, inserted rows or columns: every place is still there
            break;
    }
}

void AccessibleTable::ForgetCells() {
    for (const QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}

void AccessibleTable::ForgetCellsBeyond(int rows, int columns) {
    for (auto cell = cells_.begin(); cell != cells_.end();) {
        if (cell.key().first < rows && cell.key().second < columns) {
            ++cell;
            continue;
        }
        QAccessible::deleteAccessibleInterface(*cell);
        cell = cells_.erase(cell);
    }
}

bool AccessibleCell::isValid() const {
    if (view_ == nullptr || view_->model() == nullptr || column_ < 0) return false;
    const QAbstractItemModel& model = *view_->model();
    const QModelIndex root = view_->rootIndex();
    return column_ < model.columnCount(root) && row_ >= kHeaderRow && row_ < model.rowCount(root);
}

QModelIndex AccessibleCell::Index() const {
    if (!isValid() || row_ == kHeaderRow) return {};
    return view_->model()->index(row_, column_, view_->rootIndex());
}

QWindow* AccessibleCell::window() const {
    return view_ != nullptr ? view_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AccessibleCell::parent() const {
    return view_ != nullptr ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
}

QString AccessibleCell::text(QAccessible::Text type) const {
    if (type != QAccessible::Name || !isValid()) return {};
    if (row_ == kHeaderRow) return view_->model()->headerData(column_, Qt::Horizontal).toString();
    return Index().data(Qt::DisplayRole).toString();
}

QRect AccessibleCell::rect() const {
    if (!isValid()) return {};
    if (row_ == kHeaderRow) {
        const QHeaderView& header = *view_->header();
        if (header.isHidden()) return {};
        const QRect section(header.sectionViewportPosition(column_), 0, header.sectionSize(column_), header.height());
        return OnScreen(*header.viewport(), section);
    }
    return OnScreen(*view_->viewport(), view_->visualRect(Index()));
}

QAccessible::Role AccessibleCell::role() const {
    return row_ == kHeaderRow ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State AccessibleCell::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invisible = true;
        return state;
    }
    const QWidget& area = row_ == kHeaderRow ? *view_->header()->viewport() : *view_->viewport();
    if (!OnScreen(area, area.rect()).intersects(rect())) state.offscreen = true;  // scrolled out of sight
    if (row_ == kHeaderRow) return state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = view_->hasFocus() && view_->currentIndex() == Index();
    return state;
}

void* AccessibleCell::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface && row_ != kHeaderRow) {
        return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
}

bool AccessibleCell::isSelected() const {
    const QModelIndex index = Index();
    return index.isValid() && view_->selectionModel() != nullptr && view_->selectionModel()->isSelected(index);
}

QList<QAccessibleInterface*> AccessibleCell::columnHeaderCells() const {
    const auto* table = dynamic_cast<const AccessibleTable*>(parent());
    if (!isValid() || row_ == kHeaderRow || table == nullptr) return {};
    return {table->Cell(kHeaderRow, column_)};
}

}  // namespace quorvane::qt
