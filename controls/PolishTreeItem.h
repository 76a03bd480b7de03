#pragma once

#include <QList>
#include <QTreeWidgetItem>

// A list or tree row that sorts its texts as a Polish reader does:
// "adamczyk" before "Zieliński", "Ćwik" between "Cygan" and "Dudek",
// "Łączność" before "Zwiad", on every machine whatever its locale. Counts
// are still compared as texts ("10" before "9").
class PolishTreeItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override;
    // Copies keep their order (a plain copy would sort by code points); the
    // children are copied with it.
    QTreeWidgetItem *clone() const override;

    // Below zero when a comes first; only identical texts compare equal.
    static int compare(const QString &a, const QString &b);
    // Sorts items of any kind by their text in the column, as compare() orders
    // texts; items of equal texts keep their order (as QTreeWidget::sortItems),
    // or with thenColumn are ordered by their texts there (ascending) first.
    static void sortByText(QList<QTreeWidgetItem *> &items, int column,
                           Qt::SortOrder order = Qt::AscendingOrder, int thenColumn = -1);
};
