#include "controls/PolishTreeItem.h"

#include "platform/text/PolishOrder.h"

#include <QTreeWidget>

#include <algorithm>
#include <string>
#include <string_view>
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
    // Each text read once. Where every text has a sort key (names of Polish
    // and ASCII letters), keys are compared, else the texts themselves.
    struct Entry
    {
        QString text;
        QString then;
        QTreeWidgetItem *item;
        size_t keyAt;
        size_t keySize;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(items.size()));
    std::string keys;
    bool keyed = true;
    for (QTreeWidgetItem *item : std::as_const(items)) {
        Entry &entry = entries.emplace_back(
            Entry{item->text(column), thenColumn >= 0 ? item->text(thenColumn) : QString(), item,
                  keys.size(), 0});
        keyed = keyed && PolishOrder::appendSortKey(entry.text, &keys);
        entry.keySize = keys.size() - entry.keyAt;
    }
    const bool ascending = order == Qt::AscendingOrder;
    const std::string_view allKeys(keys);
    auto byKey = [&](const Entry &a, const Entry &b) {
        return allKeys.substr(a.keyAt, a.keySize).compare(allKeys.substr(b.keyAt, b.keySize));
    };
    auto first = [&](const Entry &a, const Entry &b) {
        if (keyed)
            return ascending ? byKey(a, b) : byKey(b, a);
        return ascending ? compare(a.text, b.text) : compare(b.text, a.text);
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        const int byFirst = first(a, b);
        return byFirst != 0 ? byFirst < 0 : compare(a.then, b.then) < 0;
    });
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i] = entries[size_t(i)].item;
}
