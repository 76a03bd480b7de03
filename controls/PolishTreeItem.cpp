#include "controls/PolishTreeItem.h"

#include <QCollator>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {

const QCollator &collator()
{
    static const QCollator polish{QLocale(QLocale::Polish)};
    return polish;
}

// The collator's keys order as its comparison does; equal keys fall back
// to the code points, so that only identical texts are equal.
int compareKeys(const QCollatorSortKey &a, const QString &aText, const QCollatorSortKey &b,
                const QString &bText)
{
    const int order = a.compare(b);
    return order != 0 ? order : aText.compare(bText);
}

} // namespace

int PolishTreeItem::compare(const QString &a, const QString &b)
{
    const int order = collator().compare(a, b);
    return order != 0 ? order : a.compare(b);
}

const QCollatorSortKey &PolishTreeItem::sortKey(int column) const
{
    if (!m_key || m_keyColumn != column) {
        m_key = collator().sortKey(text(column));
        m_keyColumn = column;
    }
    return *m_key;
}

bool PolishTreeItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    const auto *polish = dynamic_cast<const PolishTreeItem *>(&other);
    if (!polish)
        return compare(text(column), other.text(column)) < 0;
    return compareKeys(sortKey(column), text(column), polish->sortKey(column), other.text(column)) <
           0;
}

void PolishTreeItem::setData(int column, int role, const QVariant &value)
{
    QTreeWidgetItem::setData(column, role, value);
    // Display and edit role are one text: the key made from it is stale.
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        m_key.reset();
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
    struct Entry
    {
        QCollatorSortKey key;
        QString text;
        QTreeWidgetItem *item;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(items.size()));
    for (QTreeWidgetItem *item : std::as_const(items)) {
        const QString text = item->text(column);
        entries.push_back({collator().sortKey(text), text, item});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return compareKeys(a.key, a.text, b.key, b.text) < 0;
    });
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i] = entries[size_t(i)].item;
}
