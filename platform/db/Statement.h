#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <optional>

struct sqlite3_stmt;

namespace Db {

class Database;

// Internal to the database layer: one prepared statement with its values
// bound, finalised on destruction. A failure to prepare or bind leaves the
// Polish reason in the database's errorString().
class Statement
{
public:
    Statement(const Database &db, const QString &sql, const QVariantList &params);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool isValid() const { return m_valid; }
    // Runs the statement again from its start with other values, prepared
    // as it is; false (and not valid) when they cannot be bound.
    bool rebind(const QVariantList &params);
    // SQLITE_ROW, SQLITE_DONE or an error code; an empty statement is done.
    int step();
    int columnCount() const;
    QString columnName(int column) const;
    // The table and column a result column comes from, empty for expressions.
    QString columnTable(int column) const;
    QString columnOrigin(int column) const;
    QVariant column(int column) const;
    // The column as Values::text reads column(): straight from the engine's
    // text, without a QVariant in between.
    QString columnText(int column) const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL.
    int columnType(int column) const;
    qint64 columnInteger(int column) const;
    // The engine's bytes of a text or blob column (valid until the next step).
    QByteArrayView columnBytes(int column) const;

    // How a value is bound, before a column's affinity: SQLITE_NULL,
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT or SQLITE_BLOB.
    static int boundType(const QVariant &value);
    // The text a value is bound as; nothing for a value bound otherwise.
    static std::optional<QString> boundText(const QVariant &value);

private:
    // A value stored as other than text (texts are bound by bindAll).
    static bool bindValue(sqlite3_stmt *stmt, int index, const QVariant &value);

    bool bindAll(const QVariantList &params);

    const Database &m_db;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_prepared = false; // one statement, prepared
    bool m_valid = false;    // prepared and its values bound
    QByteArray m_texts;      // the bound texts' UTF-8, while they are bound
};

} // namespace Db
