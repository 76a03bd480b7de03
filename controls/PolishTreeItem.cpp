#include "controls/PolishTreeItem.h"

#include <QCollator>
#include <QTreeWidget>

#include <algorithm>
#include <utility>
#include <vector>

int PolishTreeItem::compare(const QString &a, const QString &b)
{
    static const QCollator collator{QLocale(QLocale::Polish)};
    const int order = collator.compare(a, b);
    return order != 0 ? order : a.compare(b);
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

void PolishTreeItem::sortByText(QList<QTreeWidgetItem *> &items, int column)
{
    // Each text read once; two texts compared by the collator cost less than
    // a collation key made of each.
    std::vector<std::pair<QString, QTreeWidgetItem *>> entries;
    entries.reserve(size_t(items.size()));
    for (QTreeWidgetItem *item : std::as_const(items))
        entries.emplace_back(item->text(column), item);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto &a, const auto &b) { return compare(a.first, b.first) < 0; });
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i] = entries[size_t(i)].second;
}
