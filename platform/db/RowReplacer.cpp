#include "platform/db/RowReplacer.h"

#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/db/EngineError.h"
#include "platform/db/Statement.h"

#include <sqlite3.h>

#include <QHash>

#include <utility>
#include <vector>

namespace Db {

namespace {

// Equal as bound: the same storage class and the same value in it.
bool boundAlike(const QVariant &a, const QVariant &b)
{
    const int type = Statement::boundType(a);
    if (type != Statement::boundType(b))
        return false;
    switch (type) {
    case SQLITE_NULL:
        return true;
    case SQLITE_INTEGER:
        return a.toLongLong() == b.toLongLong();
    case SQLITE_FLOAT:
        return a.toDouble() == b.toDouble();
    case SQLITE_TEXT:
        return Statement::boundText(a) == Statement::boundText(b);
    default:
        return a.toByteArray() == b.toByteArray();
    }
}

QString quoted(QString name)
{
    name.replace(u'"', QLatin1String("\"\""));
    return u'"' + name + u'"';
}

} // namespace

RowReplacer::RowReplacer(Database &db, QString table, QStringList columns, int keyColumns)
    : m_db(db), m_table(std::move(table)), m_columns(std::move(columns)), m_keyColumns(keyColumns)
{}

std::optional<QList<RowReplacer::StoredRow>> RowReplacer::read(const QString &where,
                                                               const QVariantList &params) const
{
    QStringList names;
    for (const QString &column : m_columns)
        names << quoted(column);
    Cursor rows(m_db,
                QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3 ORDER BY rowid")
                    .arg(names.join(u','), quoted(m_table), where),
                params);
    QList<StoredRow> result;
    while (rows.next()) {
        StoredRow row{rows.integer(0), {}};
        row.values.reserve(m_columns.size());
        for (int c = 1; c <= int(m_columns.size()); ++c)
            row.values.append(rows.value(c));
        result.append(std::move(row));
    }
    if (rows.failed())
        return std::nullopt;
    return result;
}

QString RowReplacer::keyOf(const QVariantList &values) const
{
    // Storage class and length before each value: no two keys write alike.
    QString key;
    for (int c = 0; c < m_keyColumns; ++c) {
        const QVariant value = values.value(c);
        const int type = Statement::boundType(value);
        if (type == SQLITE_BLOB || type == SQLITE_FLOAT)
            return QString(); // matches nothing
        const QString text = type == SQLITE_TEXT      ? *Statement::boundText(value)
                             : type == SQLITE_INTEGER ? QString::number(value.toLongLong())
                                                      : QString();
        key += QString::number(type) + u'.' + QString::number(text.size()) + u':' + text;
    }
    return key;
}

bool RowReplacer::replace(const QList<StoredRow> &stored, const QList<QVariantList> &wanted,
                          QList<qint64> *rowIds) const
{
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        if (wanted.at(i).size() != m_columns.size()) {
            m_db.setError(
                describe(ProgramFault, QStringLiteral("row %1 has %2 values for %3 columns")
                                           .arg(i)
                                           .arg(wanted.at(i).size())
                                           .arg(m_columns.size())));
            return false;
        }
    }

    // A key's stored rows in rowid order, and how many of them are taken.
    struct Slot
    {
        QList<qsizetype> rows;
        qsizetype taken = 0;
    };
    QHash<QString, Slot> byKey;
    byKey.reserve(stored.size());
    for (qsizetype s = 0; s < stored.size(); ++s) {
        const QString key = keyOf(stored.at(s).values);
        if (!key.isNull())
            byKey[key].rows.append(s);
    }

    std::vector<bool> kept(size_t(stored.size()), false);
    QList<qint64> ids(wanted.size());
    QList<QVariantList> updates;
    QList<QVariantList> inserts;
    QList<qsizetype> insertedAt;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QVariantList &row = wanted.at(i);
        const QString key = keyOf(row);
        const auto slot = key.isNull() ? byKey.end() : byKey.find(key);
        if (slot == byKey.end() || slot->taken == slot->rows.size()) {
            inserts.append(row);
            insertedAt.append(i);
            continue;
        }
        const StoredRow &old = stored.at(slot->rows.at(slot->taken++));
        kept[size_t(&old - stored.constData())] = true;
        ids[i] = old.rowId;
        bool same = true;
        for (qsizetype c = m_keyColumns; same && c < m_columns.size(); ++c)
            same = boundAlike(row.at(c), old.values.value(c));
        if (!same)
            updates.append(row.mid(m_keyColumns) << old.rowId);
    }
    QList<QVariantList> deletes;
    for (qsizetype s = 0; s < stored.size(); ++s) {
        if (!kept[size_t(s)])
            deletes.append(QVariantList{stored.at(s).rowId});
    }

    QStringList set;
    for (qsizetype c = m_keyColumns; c < m_columns.size(); ++c)
        set << quoted(m_columns.at(c)) + QStringLiteral("=?");
    QList<qint64> added;
    const bool done =
        m_db.executeEach(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(quoted(m_table)),
                         deletes) &&
        m_db.executeEach(
            QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(quoted(m_table), set.join(u',')),
            updates) &&
        m_db.insertRows(m_table, m_columns, inserts, &added);
    if (!done)
        return false;
    for (qsizetype k = 0; k < insertedAt.size(); ++k)
        ids[insertedAt.at(k)] = added.at(k);
    if (rowIds)
        *rowIds = ids;
    return true;
}

} // namespace Db
