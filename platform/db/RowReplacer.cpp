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

// The text of a value bound as text: most values are texts already, taken as they are.
QString textOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QString ? *static_cast<const QString *>(value.constData())
                                                : Statement::boundText(value).value_or(QString());
}

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
        return textOf(a) == textOf(b);
    default:
        return a.toByteArray() == b.toByteArray();
    }
}

// The key of a row, its first columns, looked up without being copied.
struct Key
{
    const QVariantList *values = nullptr;
    int columns = 0;

    bool operator==(const Key &other) const
    {
        for (int c = 0; c < columns; ++c) {
            if (!boundAlike(values->at(c), other.values->at(c)))
                return false;
        }
        return true;
    }
};

size_t qHash(const Key &key, size_t seed = 0)
{
    for (int c = 0; c < key.columns; ++c) {
        const QVariant &value = key.values->at(c);
        const int type = Statement::boundType(value);
        if (type == SQLITE_TEXT)
            seed = qHashMulti(seed, type, textOf(value));
        else if (type == SQLITE_INTEGER)
            seed = qHashMulti(seed, type, value.toLongLong());
        else if (type == SQLITE_FLOAT)
            seed = qHashMulti(seed, type, value.toDouble());
        else if (type == SQLITE_BLOB)
            seed = qHashMulti(seed, type, value.toByteArray());
        else
            seed = qHashMulti(seed, type);
    }
    return seed;
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

bool RowReplacer::replace(const QList<StoredRow> &stored, const QList<QVariantList> &wanted,
                          QList<qint64> *rowIds) const
{
    auto fits = [this](const QVariantList &values, qsizetype i) {
        if (values.size() == m_columns.size())
            return true;
        m_db.setError(describe(ProgramFault, QStringLiteral("row %1 has %2 values for %3 columns")
                                                 .arg(i)
                                                 .arg(values.size())
                                                 .arg(m_columns.size())));
        return false;
    };
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        if (!fits(wanted.at(i), i))
            return false;
    }
    for (qsizetype s = 0; s < stored.size(); ++s) {
        if (!fits(stored.at(s).values, s))
            return false;
    }

    // The first untaken stored row of each key, and after each row the next
    // one of its key (-1 for none): a key's rows are taken in rowid order.
    QHash<Key, qsizetype> firstOf;
    firstOf.reserve(stored.size());
    std::vector<qsizetype> next(size_t(stored.size()), -1);
    for (qsizetype s = stored.size() - 1; s >= 0; --s) {
        qsizetype &first = firstOf[Key{&stored.at(s).values, m_keyColumns}];
        next[size_t(s)] = first - 1;
        first = s + 1; // 0 stands for none
    }

    std::vector<bool> kept(size_t(stored.size()), false);
    QList<qint64> ids(wanted.size());
    QList<QVariantList> updates;
    QList<QVariantList> inserts;
    QList<qsizetype> insertedAt;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QVariantList &row = wanted.at(i);
        const auto slot = firstOf.isEmpty() ? firstOf.end() : firstOf.find(Key{&row, m_keyColumns});
        if (slot == firstOf.end() || *slot == 0) {
            inserts.append(row);
            insertedAt.append(i);
            continue;
        }
        const qsizetype s = *slot - 1;
        *slot = next[size_t(s)] + 1;
        kept[size_t(s)] = true;
        const StoredRow &old = stored.at(s);
        ids[i] = old.rowId;
        bool same = true;
        for (qsizetype c = m_keyColumns; same && c < m_columns.size(); ++c)
            same = boundAlike(row.at(c), old.values.at(c));
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
