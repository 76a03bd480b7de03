#pragma once

#include <QTreeWidgetItem>

// A tree or list row that sorts its texts as Polish words: "Łukasik" between
// "Lis" and "Malinowski", not after "Żak" as code points would put it.
class PolishTreeItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override;
};
