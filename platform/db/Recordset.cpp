#include "platform/db/Recordset.h"

#include "platform/db/Database.h"
#include "platform/db/EngineError.h"
#include "platform/db/Statement.h"
#include "platform/db/Values.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace Db {

namespace {

QString quoteName(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

const QString IdField = QStringLiteral("id");

} // namespace

Recordset::Recordset(Database &db, QString table, QString sql, QVariantList params)
    : m_db(db), m_table(std::move(table)), m_sql(std::move(sql)), m_params(std::move(params))
{}

Recordset::~Recordset() = default;

bool Recordset::load()
{
    Statement stmt(m_db, m_sql, m_params);
    if (!stmt.isValid()) {
        m_error = m_db.errorString();
        return false;
    }
    const int columns = stmt.columnCount();
    // A table recordset carries its rowid as a hidden last column.
    const int visible = m_isTable ? columns - 1 : columns;
    QString sourceTable;
    bool oneTable = !m_isTable && visible > 0;
    for (int c = 0; c < visible; ++c) {
        m_fields << stmt.columnName(c);
        m_origins << stmt.columnOrigin(c);
        if (m_isTable)
            continue;
        const QString table = stmt.columnTable(c);
        if (table.isEmpty())
            continue;
        if (sourceTable.isEmpty())
            sourceTable = table;
        else if (sourceTable.compare(table, Qt::CaseInsensitive) != 0)
            oneTable = false;
    }
    if (oneTable && !sourceTable.isEmpty()) {
        for (int c = 0; c < visible; ++c) {
            if (m_origins.at(c).compare(IdField, Qt::CaseInsensitive) == 0 &&
                stmt.columnTable(c).compare(sourceTable, Qt::CaseInsensitive) == 0) {
                m_keyField = c;
                break;
            }
        }
        m_table = sourceTable;
    }
    if (m_isTable)
        m_origins = m_fields;

    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(visible);
        for (int c = 0; c < visible; ++c)
            row << stmt.column(c);
        if (m_isTable)
            m_keys.push_back(stmt.column(visible).toLongLong());
        else
            m_keys.push_back(m_keyField >= 0 ? row.at(m_keyField).toLongLong() : 0);
        m_rows.push_back(std::move(row));
        m_deleted.push_back(false);
    }
    m_liveRows = int(m_rows.size());
    if (rc != SQLITE_DONE) {
        m_error = m_db.errorString();
        return false;
    }
    m_pos = 0;
    return true;
}

int Recordset::fieldIndex(const QString &field) const
{
    for (int i = 0; i < int(m_fields.size()); ++i) {
        // Case folding keeps the length: most names are passed over on it.
        const QString &name = m_fields.at(i);
        if (name.size() == field.size() &&
            (name == field || name.compare(field, Qt::CaseInsensitive) == 0))
            return i;
    }
    return -1;
}

bool Recordset::hasCurrent() const
{
    return m_pos >= 0 && m_pos < int(m_rows.size()) && !m_deleted[size_t(m_pos)];
}

void Recordset::skipDeletedForward()
{
    while (m_pos >= 0 && m_pos < int(m_rows.size()) && m_deleted[size_t(m_pos)])
        ++m_pos;
}

bool Recordset::eof() const
{
    return m_pos >= int(m_rows.size());
}

void Recordset::moveNext()
{
    m_mode = EditMode::None;
    if (m_pos < int(m_rows.size()))
        ++m_pos;
    skipDeletedForward();
}

int Recordset::recordCount() const
{
    return m_liveRows;
}

QStringList Recordset::fieldNames() const
{
    return m_fields;
}

QVariant Recordset::value(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        return {};
    // While a row is being written, the fields read what was set so far.
    if (m_mode != EditMode::None)
        return m_buffer.at(index);
    if (!hasCurrent())
        return {};
    return m_rows[size_t(m_pos)].at(index);
}

bool Recordset::isNull(const QString &field) const
{
    return value(field).isNull();
}

QString Recordset::text(const QString &field) const
{
    return Values::text(value(field));
}

qint64 Recordset::integer(const QString &field) const
{
    return Values::integer(value(field));
}

bool Recordset::flag(const QString &field) const
{
    return Values::flag(value(field));
}

int Recordset::findId(int column, qint64 id)
{
    auto holds = [&](int row) {
        const QVariant &v = m_rows[size_t(row)].at(column);
        return !m_deleted[size_t(row)] && !v.isNull() && v.toLongLong() == id;
    };
    if (m_indexColumn == column) {
        const auto it = m_idIndex.constFind(id);
        if (it == m_idIndex.constEnd())
            return -1;
        if (holds(*it))
            return *it;
    }
    // First use, or the row found was deleted or changed since: index anew.
    m_idIndex.clear();
    m_idIndex.reserve(m_liveRows);
    m_indexColumn = column;
    // From the last row back, so that the first row of an id is the one kept.
    for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
        const QVariant &v = m_rows[size_t(i)].at(column);
        if (!m_deleted[size_t(i)] && !v.isNull())
            m_idIndex.insert(v.toLongLong(), i);
    }
    return m_idIndex.value(id, -1);
}

bool Recordset::seek(const QString &index, const QVariant &key)
{
    m_mode = EditMode::None;
    const bool primary = index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0;
    const int column = fieldIndex(primary ? IdField : index);
    if (column < 0) {
        m_error =
            describe(ProgramFault, QStringLiteral("no index %1 on this recordset").arg(index));
        m_pos = int(m_rows.size());
        return false;
    }
    m_pos = int(m_rows.size());
    if (primary) {
        bool keyOk = false;
        const qint64 id = key.toLongLong(&keyOk);
        const int row = keyOk ? findId(column, id) : -1;
        if (row < 0)
            return false;
        m_pos = row;
        return true;
    }
    const QString keyText = key.toString();
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (m_deleted[size_t(i)])
            continue;
        const QVariant &v = m_rows[size_t(i)].at(column);
        if (!v.isNull() && v.toString().compare(keyText, Qt::CaseInsensitive) == 0) {
            m_pos = i;
            return true;
        }
    }
    return false;
}

QString Recordset::keyColumn() const
{
    return m_isTable ? QStringLiteral("_rowid_") : quoteName(m_origins.at(m_keyField));
}

bool Recordset::canWrite()
{
    if (m_table.isEmpty() || (!m_isTable && m_keyField < 0)) {
        m_error = describe(ProgramFault, QStringLiteral("the recordset cannot be updated"));
        return false;
    }
    return true;
}

void Recordset::addNew()
{
    m_mode = EditMode::AddNew;
    m_editFailed = false;
    m_buffer = QVariantList(m_fields.size());
    m_dirty.assign(m_fields.size(), false);
    // The windows read a new row's id before they write the row: give it the
    // number the database would assign next and insert it explicitly.
    const int idField = fieldIndex(IdField);
    if (!m_table.isEmpty() && idField >= 0 && (m_isTable || idField == m_keyField)) {
        const QString origin = m_origins.at(idField);
        qint64 next = m_db.scalar(QStringLiteral("SELECT max(%1) FROM %2")
                                      .arg(quoteName(origin), quoteName(m_table)))
                          .toLongLong();
        const QVariant seq = m_db.scalar(
            QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=? COLLATE NOCASE"),
            {m_table});
        next = std::max(next, seq.toLongLong()) + 1;
        m_buffer[idField] = next;
        m_dirty[size_t(idField)] = true;
    }
}

void Recordset::edit()
{
    m_editFailed = false;
    if (!hasCurrent()) {
        m_mode = EditMode::None;
        m_error =
            describe(QStringLiteral("Brak bieżącego rekordu"), QStringLiteral("no current record"));
        return;
    }
    m_mode = EditMode::Edit;
    m_buffer = m_rows[size_t(m_pos)];
    m_dirty.assign(m_fields.size(), false);
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    if (m_mode == EditMode::None) {
        m_error = describe(ProgramFault, QStringLiteral("no AddNew or Edit in progress"));
        return;
    }
    const int index = fieldIndex(field);
    if (index < 0 || m_origins.at(index).isEmpty()) {
        m_error =
            describe(ProgramFault, QStringLiteral("no column %1 that can be written").arg(field));
        m_editFailed = true;
        return;
    }
    m_buffer[index] = value;
    m_dirty[size_t(index)] = true;
}

bool Recordset::refreshRow(qint64 key, QVariantList *row)
{
    QStringList columns;
    for (const QString &origin : std::as_const(m_origins))
        columns << (origin.isEmpty() ? QStringLiteral("NULL") : quoteName(origin));
    Statement stmt(m_db,
                   QStringLiteral("SELECT %1 FROM %2 WHERE %3=?")
                       .arg(columns.join(QLatin1Char(',')), quoteName(m_table), keyColumn()),
                   {key});
    if (!stmt.isValid() || stmt.step() != SQLITE_ROW)
        return false;
    row->clear();
    for (int c = 0; c < int(m_origins.size()); ++c)
        *row << (m_origins.at(c).isEmpty() ? m_buffer.value(c) : stmt.column(c));
    return true;
}

bool Recordset::update()
{
    if (m_mode == EditMode::None) {
        m_error = describe(ProgramFault, QStringLiteral("no AddNew or Edit in progress"));
        return false;
    }
    if (m_editFailed || !canWrite())
        return false;

    QStringList columns;
    QVariantList values;
    for (int i = 0; i < int(m_fields.size()); ++i) {
        if (m_dirty[size_t(i)]) {
            columns << quoteName(m_origins.at(i));
            values << m_buffer.at(i);
        }
    }

    if (m_mode == EditMode::AddNew) {
        QString sql = QStringLiteral("INSERT INTO ") + quoteName(m_table);
        if (columns.isEmpty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (int i = 0; i < int(columns.size()); ++i)
                marks << QStringLiteral("?");
            sql += QStringLiteral(" (%1) VALUES (%2)")
                       .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        if (!m_db.execute(sql, values)) {
            m_error = m_db.errorString();
            return false;
        }
        const qint64 rowid = m_db.lastInsertId();
        QVariantList row = m_buffer;
        qint64 key = rowid;
        if (!m_isTable) {
            // The query's key is the table's id; ours are the rowid.
            if (row.at(m_keyField).isNull())
                row[m_keyField] = rowid;
            key = row.at(m_keyField).toLongLong();
        }
        refreshRow(key, &row);
        const int idField = fieldIndex(IdField);
        m_lastId = idField >= 0 && !row.at(idField).isNull() ? row.at(idField).toLongLong() : rowid;
        m_rows.push_back(row);
        m_keys.push_back(key);
        m_deleted.push_back(false);
        m_pos = int(m_rows.size()) - 1;
        ++m_liveRows;
        // The new row is the last: it is the first of its id only when the id is new.
        if (m_indexColumn >= 0 && !row.at(m_indexColumn).isNull()) {
            const qint64 id = row.at(m_indexColumn).toLongLong();
            if (!m_idIndex.contains(id))
                m_idIndex.insert(id, m_pos);
        }
    } else {
        const qint64 key = m_keys[size_t(m_pos)];
        if (!columns.isEmpty()) {
            QStringList sets;
            for (const QString &column : std::as_const(columns))
                sets << column + QStringLiteral("=?");
            values << key;
            const QString sql =
                QStringLiteral("UPDATE %1 SET %2 WHERE %3=?")
                    .arg(quoteName(m_table), sets.join(QLatin1Char(',')), keyColumn());
            if (!m_db.execute(sql, values)) {
                m_error = m_db.errorString();
                return false;
            }
            QVariantList row = m_buffer;
            refreshRow(key, &row);
            m_rows[size_t(m_pos)] = row;
            // A row that may now hold another id: the index is made anew when next used.
            if (m_indexColumn >= 0 && m_dirty[size_t(m_indexColumn)])
                m_indexColumn = -1;
            if (!m_isTable)
                m_keys[size_t(m_pos)] = row.at(m_keyField).toLongLong();
        }
    }
    m_mode = EditMode::None;
    m_buffer.clear();
    m_dirty.clear();
    return true;
}

bool Recordset::remove()
{
    m_mode = EditMode::None;
    if (!hasCurrent()) {
        m_error =
            describe(QStringLiteral("Brak bieżącego rekordu"), QStringLiteral("no current record"));
        return false;
    }
    if (!canWrite())
        return false;
    const QString sql =
        QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(quoteName(m_table), keyColumn());
    if (!m_db.execute(sql, {m_keys[size_t(m_pos)]})) {
        m_error = m_db.errorString();
        return false;
    }
    m_deleted[size_t(m_pos)] = true;
    --m_liveRows;
    return true;
}

} // namespace Db
