#include "controls/PolishTreeItem.h"

#include "platform/text/PolishOrder.h"

#include <QTreeWidget>

#include <functional>
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
    // Each text read once.
    QList<QString> texts;
    QList<QString> then;
    texts.reserve(items.size());
    for (const QTreeWidgetItem *item : std::as_const(items)) {
        texts.append(item->text(column));
        if (thenColumn >= 0)
            then.append(item->text(thenColumn));
    }
    std::function<bool(qsizetype, qsizetype)> byThen;
    if (thenColumn >= 0)
        byThen = [&](qsizetype a, qsizetype b) { return compare(then[a], then[b]) < 0; };
    const std::vector<qsizetype> places =
        PolishOrder::sortedPlaces(texts, order == Qt::DescendingOrder, byThen);
    const QList<QTreeWidgetItem *> before = items;
    for (size_t i = 0; i < places.size(); ++i)
        items[qsizetype(i)] = before[places[i]];
}
