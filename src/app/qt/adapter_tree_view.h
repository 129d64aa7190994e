#pragma once

#include <QHash>
#include <QHeaderView>
#include <QString>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace quorvane::qt {

// Measuring a text lays it out with the font engine, which costs far more
// than the rest of a list command. The list command measures every cell of
// every column each time and mostly finds the texts of the time before, so
// the sizes are remembered per text until the font or the style changes.
template <class Size>
class TextSizeCache {
public:
    // The remembered size of `text`, or the one `measure` gives, remembered.
    template <class Measure>
    Size SizeOf(const QString& text, Measure measure) {
        if (const auto found = sizes_.constFind(text); found != sizes_.constEnd()) return *found;
        if (sizes_.size() >= kMaxEntries) sizes_.clear();  // stays small however many texts come by
        const Size size = measure();
        sizes_.insert(text, size);
        return size;
    }
    void Clear() { sizes_.clear(); }

private:
    static constexpr qsizetype kMaxEntries = 4096;
    QHash<QString, Size> sizes_;
};

// The header of the table's columns; remembers the width each title needs.
class AdapterHeaderView final : public QHeaderView {
public:
    explicit AdapterHeaderView(QWidget* parent = nullptr);

protected:
    [[nodiscard]] QSize sectionSizeFromContents(int logicalIndex) const override;
    void changeEvent(QEvent* event) override;

private:
    mutable TextSizeCache<QSize> sizes_;
};

// Draws the cells as QStyledItemDelegate does and remembers the size each
// cell text needs, for the row height and the column fitting alike.
class CachingItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void Forget() { sizes_.Clear(); }

private:
    mutable TextSizeCache<QSize> sizes_;
    mutable QFont measuredWith_;
};

// ListView1's view: a tree without branches whose header and cells measure
// each distinct text once, and which screen readers see as a table
// (accessible_table.h).
class AdapterTreeView final : public QTreeView {
public:
    explicit AdapterTreeView(QWidget* parent = nullptr);

    // The width the widest cell of `column` needs, over every row.
    [[nodiscard]] int sizeHintForColumn(int column) const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    CachingItemDelegate* delegate_;  // a child of this view
};

}  // namespace quorvane::qt
