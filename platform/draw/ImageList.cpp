#include "platform/draw/ImageList.h"

namespace Draw {

bool ImageList::add(const QImage &picture, const QString &key)
{
    if (!key.isEmpty() && indexOf(key) >= 0)
        return false;
    m_items.append({key, picture});
    return true;
}

int ImageList::indexOf(const QString &key) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (!m_items[i].key.isEmpty() && m_items[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool ImageList::contains(const QString &key) const
{
    return !key.isEmpty() && indexOf(key) >= 0;
}

QImage ImageList::picture(const QString &key) const
{
    const int i = key.isEmpty() ? -1 : indexOf(key);
    return i >= 0 ? m_items[i].picture : QImage();
}

QImage ImageList::picture(int index) const
{
    return index >= 1 && index <= m_items.size() ? m_items[index - 1].picture : QImage();
}

QString ImageList::key(int index) const
{
    return index >= 1 && index <= m_items.size() ? m_items[index - 1].key : QString();
}

} // namespace Draw
