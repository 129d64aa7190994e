#pragma once

#include <QAbstractItemView>
#include <QAccessible>

namespace quorvane::testing {

// Tells the view's accessible table of the changes a list makes to its model,
// as Qt's item views do once a screen reader is about: the offscreen platform
// has none, so Qt tells the table nothing in the tests.
class ModelChangeRelay {
public:
    explicit ModelChangeRelay(QAbstractItemView& view) : view_(view) {
        using Change = QAccessibleTableModelChangeEvent;
        QAbstractItemModel* model = view.model();
        QObject::connect(model, &QAbstractItemModel::dataChanged, &context_, [this] { Tell(Change::DataChanged); });
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &context_, [this] { Tell(Change::RowsInserted); });
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, &context_, [this] { Tell(Change::RowsRemoved); });
    }

private:
    void Tell(QAccessibleTableModelChangeEvent::ModelChangeType type) {
        QAccessibleTableModelChangeEvent event(&view_, type);
        QAccessible::queryAccessibleInterface(&view_)->tableInterface()->modelChange(&event);
    }

    QAbstractItemView& view_;
    QObject context_;  // the connections end with the relay
};

}  // namespace quorvane::testing
