#include "controls/PolishTreeItem.h"

#include <QCollator>
#include <QLocale>
#include <QTreeWidget>

bool PolishTreeItem::operator<(const QTreeWidgetItem &other) const
{
    static const QCollator collator{QLocale(QLocale::Polish)};
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return collator.compare(text(column), other.text(column)) < 0;
}
