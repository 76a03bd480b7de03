#include "controls/PolishTreeItem.h"

#include <QCollator>
#include <QTreeWidget>

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
