#include "controls/PropertyBag.h"

qsizetype PropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value)
{
    const qsizetype i = indexOf(name);
    if (i >= 0)
        m_entries[i].second = value;
    else
        m_entries.append({name, value});
}

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const qsizetype i = indexOf(name);
    return i >= 0 ? m_entries[i].second : defaultValue;
}

bool PropertyBag::contains(const QString &name) const
{
    return indexOf(name) >= 0;
}

QStringList PropertyBag::keys() const
{
    QStringList out;
    for (const auto &e : m_entries)
        out.append(e.first);
    return out;
}
