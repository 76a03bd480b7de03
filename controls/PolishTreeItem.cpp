#include "controls/PolishTreeItem.h"

#include "platform/text/PolishOrder.h"

#include <QTreeWidget>

#include <algorithm>
#include <vector>

int PolishTreeItem::compare(const QString &a, const QString &b)
{
    return PolishOrder::compare(a, b);
}

bool PolishTreeItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return compare(text(column), other.text(column)) < 0;
}

QTreeWidgetItem *PolishTreeItem::clone() const
{
    auto *copy = new PolishTreeItem(*this);
    for (int i = 0; i < childCount(); ++i)
        copy->addChild(child(i)->clone());
    return copy;
}

void PolishTreeItem::sortByText(QList<QTreeWidgetItem *> &items, int column, Qt::SortOrder order,
                                int thenColumn)
{
    // Each text read once; two texts compared by the collator cost less than
    // a collation key made of each.
    struct Entry
    {
        QString text;
        QString then;
        QTreeWidgetItem *item;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(items.size()));
    for (QTreeWidgetItem *item : std::as_const(items))
        entries.push_back(
            {item->text(column), thenColumn >= 0 ? item->text(thenColumn) : QString(), item});
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(entries.begin(), entries.end(), [ascending](const Entry &a, const Entry &b) {
        const int first = ascending ? compare(a.text, b.text) : compare(b.text, a.text);
        return first != 0 ? first < 0 : compare(a.then, b.then) < 0;
    });
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i] = entries[size_t(i)].item;
}
