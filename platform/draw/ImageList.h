#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace Draw {

// An image list: pictures kept in order, each under an optional key (key
// lookup ignores case, as a collection's does). Index is 1-based.
class ImageList
{
public:
    // False (and nothing added) when the key is not empty and already used.
    bool add(const QImage &picture, const QString &key = QString());
    int count() const { return int(m_items.size()); }
    bool contains(const QString &key) const;
    // A null image for an unknown key or an index out of range.
    QImage picture(const QString &key) const;
    QImage picture(int index) const;
    QString key(int index) const;
    void clear() { m_items.clear(); }

private:
    struct Entry
    {
        QString key;
        QImage picture;
    };
    int indexOf(const QString &key) const;
    QList<Entry> m_items;
};

} // namespace Draw
