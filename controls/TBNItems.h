#pragma once

#include "controls/TBNItem.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// The ordered, keyed item collection of the toolbar (key lookup ignores
// case). Items are owned by the collection; Remove deletes the item.
// The changes of every item are relayed (ChangedItem / ChangedList), so an
// item changed through any reference keeps the toolbar up to date.
// Unknown keys and indexes out of range give nullptr, false or -1.
class TBNItems : public QObject
{
    Q_OBJECT
public:
    explicit TBNItems(QObject *parent = nullptr);

    // Image: empty = the key itself, "-" = no picture. A key already in the
    // collection is reported through the error reporter and nothing is added.
    TBNItem *Add(const QString &key, const QString &text, const QString &image);
    TBNItem *Item(const QString &key) const;
    TBNItem *Item(int index) const; // 1-based
    int Count() const { return int(m_items.size()); }
    int CountVisibleItems() const;
    bool Remove(const QString &key);
    bool Remove(int index);
    // 1-based position among the visible items; 0 for an invisible item,
    // -1 for an unknown key.
    int GetPosition(const QString &key) const;
    // Key of the visible item at that position ("" beyond the last one).
    QString GetKey(int position) const;

    // Where Add reports a refused item; the default shows a message box.
    using ErrorReporter = std::function<void(const QString &description)>;
    static void setErrorReporter(ErrorReporter reporter);

Q_SIGNALS:
    void ChangedItem(const QString &key);
    void ChangedList();

private:
    struct Entry
    {
        QString key; // the collection key, fixed at Add
        TBNItem *item;
    };
    int indexOf(const QString &key) const;
    bool removeAt(int index);
    QList<Entry> m_items;
};
