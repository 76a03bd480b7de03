#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The stored property set of a control: named values kept in the order they
// were first written. Key lookup ignores letter case; writing a key that is
// already there (in any case) replaces its value in place.
class PropertyBag
{
public:
    void WriteProperty(const QString &name, const QVariant &value);
    // The stored value, or defaultValue when the key is absent.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = QVariant()) const;
    bool contains(const QString &name) const;
    // Keys as written, in order.
    QStringList keys() const;
    int count() const { return int(m_entries.size()); }
    void clear() { m_entries.clear(); }

private:
    qsizetype indexOf(const QString &name) const;
    QList<std::pair<QString, QVariant>> m_entries;
};
