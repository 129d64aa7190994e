#pragma once

#include <QAbstractItemView>
#include <QAccessible>

namespace quorvane::testing {

// From now on tells the view's accessible table of the changes a list makes
// to the model, as Qt's item views do once a screen reader is about: the
// offscreen platform has none, so Qt tells the table nothing in the tests.
inline void RelayModelChanges(QAbstractItemView& view) {
    using Change = QAccessibleTableModelChangeEvent;
    const auto tell = [&view](Change::ModelChangeType type) {
        return [&view, type] {
            Change event(&view, type);
            QAccessible::queryAccessibleInterface(&view)->tableInterface()->modelChange(&event);
        };
    };
    QObject::connect(view.model(), &QAbstractItemModel::dataChanged, &view, tell(Change::DataChanged));
    QObject::connect(view.model(), &QAbstractItemModel::rowsInserted, &view, tell(Change::RowsInserted));
    QObject::connect(view.model(), &QAbstractItemModel::rowsRemoved, &view, tell(Change::RowsRemoved));
}

}  // namespace quorvane::testing
