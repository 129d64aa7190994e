#include "app/qt/adapter_tree_view.h"

#include "app/qt/accessible_table.h"

#include <QAccessible>
#include <QEvent>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace quorvane::qt {
namespace {

bool ChangesTextWidths(const QEvent& event) {
    return event.type() == QEvent::FontChange || event.type() == QEvent::StyleChange;
}

QAccessibleInterface* AccessibleAdapterTable(const QString&, QObject* object) {
    auto* view = dynamic_cast<AdapterTreeView*>(object);
    return view != nullptr ? new AccessibleTable(view) : nullptr;
}

// Screen readers see the view as AccessibleTable rather than Qt's own tree.
// Qt asks the factory installed last first, so this one comes after the one
// QApplication installs; and an interface made while the QTreeView part of
// `view` was being built is Qt's, so it goes, and the next query makes ours.
// Qt empties its list of factories when the first QApplication of the
// process ends, so each view installs this one (Qt keeps a factory once
// however often it is installed) and a later QApplication has it too.
void UseAccessibleTable(AdapterTreeView& view) {
    QAccessible::installFactory(&AccessibleAdapterTable);
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&view);
    if (dynamic_cast<AccessibleTable*>(made) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace

AdapterHeaderView::AdapterHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    // What a tree view's own header has: titles on the left.
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize AdapterHeaderView::sectionSizeFromContents(int logicalIndex) const {
    if (model() == nullptr) return QHeaderView::sectionSizeFromContents(logicalIndex);
    const QString title = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    return sizes_.SizeOf(title, [&] { return QHeaderView::sectionSizeFromContents(logicalIndex); });
}

void AdapterHeaderView::changeEvent(QEvent* event) {
    if (ChangesTextWidths(*event)) sizes_.Clear();
    QHeaderView::changeEvent(event);
}

QSize CachingItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // The cells carry text alone, so the text and the font decide the size.
    if (!(option.font == measuredWith_)) {
        sizes_.Clear();
        measuredWith_ = option.font;
    }
    return sizes_.SizeOf(index.data(Qt::DisplayRole).toString(),
                         [&] { return QStyledItemDelegate::sizeHint(option, index); });
}

AdapterTreeView::AdapterTreeView(QWidget* parent) : QTreeView(parent), delegate_(new CachingItemDelegate(this)) {
    setHeader(new AdapterHeaderView(this));
    setItemDelegate(delegate_);
    UseAccessibleTable(*this);
}

int AdapterTreeView::sizeHintForColumn(int column) const {
    // The rows are flat and hold text alone, so the delegate's size of each
    // cell text is all there is to it; no item needs laying out for that.
    const QAbstractItemModel* items = model();
    if (items == nullptr) return -1;
    const int rows = items->rowCount(rootIndex());
    if (rows == 0) return -1;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int widest = 0;
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = items->index(row, column, rootIndex());
        widest = std::max(widest, itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return widest;
}

void AdapterTreeView::changeEvent(QEvent* event) {
    // A new style draws cells with other margins in the same font.
    if (event->type() == QEvent::StyleChange) delegate_->Forget();
    QTreeView::changeEvent(event);
}

}  // namespace quorvane::qt
