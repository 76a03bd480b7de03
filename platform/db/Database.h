#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3;

namespace Db {

class Recordset;
class Statement;

// One open database file, encrypted with SQLCipher.
//
// Ownership: the caller owns the Database; recordsets opened on it must not
// outlive it. Failure contract: calls return false or a null pointer and leave
// a Polish reason (EngineError.h) in errorString(). Every value reaches SQLite as a
// bound parameter ("?" in the SQL text); no call glues values into SQL.
//
// Registered functions: YEAR(t), MONTH(t), DAY(t) read the stored date texts
// ("yyyy-mm-dd" or "yyyy-mm-dd hh:nn:ss") and return integers, NULL for NULL
// or unreadable text. Bind the value they are compared with as a number:
// SQLite never finds the integer 5 equal to the text '5'. The collation POLISH
// orders texts as Polish readers do; queries ask for it where they sort names
// (ORDER BY nazwa COLLATE POLISH). The schema itself names no collation of
// ours, so other SQLite tools can read the file; databases of earlier builds
// declare POLISH on their name columns and need it registered.
//
// Values: null QVariant -> NULL, bool -> 1/0, integers, double, QString ->
// UTF-8 text with its full length (NUL characters survive), QByteArray ->
// blob, QDate/QDateTime/QTime -> "yyyy-mm-dd" / "yyyy-mm-dd hh:nn:ss" / "hh:nn".
class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing file with the given key. A wrong key, a damaged file or
    // a file that is not a database gives nullptr and the Polish reason.
    static std::unique_ptr<Database> open(const QString &path, const QString &key,
                                          QString *error = nullptr);
    // Creates a new, empty database file keyed with key; fails when the file exists.
    static std::unique_ptr<Database> create(const QString &path, const QString &key,
                                            QString *error = nullptr);

    // Runs one statement with bound values (more than one statement is refused).
    bool execute(const QString &sql, const QVariantList &params = {});
    // Runs one statement once for each list of values, prepared once; stops
    // at the first failure, after the lists before it have run. With
    // insertedIds, the row id each run inserted (lastInsertId) is appended.
    bool executeEach(const QString &sql, const QList<QVariantList> &rows,
                     QList<qint64> *insertedIds = nullptr);
    // Adds the rows (values in the order of columns) to the table, in their
    // order, many rows a statement: each INSERT of one row would prepare it
    // anew and update the table's sequence anew. Stops at the first statement
    // that fails, after the rows before it have been added. With insertedIds,
    // each row's id is appended: for a table keyed AUTOINCREMENT, where the
    // rows of one statement take consecutive ids.
    bool insertRows(const QString &table, const QStringList &columns,
                    const QList<QVariantList> &rows, QList<qint64> *insertedIds = nullptr);
    // Runs several ";"-separated statements without values (a schema file).
    bool executeScript(const QString &script);

    // All rows of a table in stored (rowid) order; editable.
    std::unique_ptr<Recordset> openTable(const QString &table);
    // The rows of a query with bound values.
    std::unique_ptr<Recordset> openQuery(const QString &sql, const QVariantList &params = {});
    // First column of the first row of a query, or a null QVariant.
    QVariant scalar(const QString &sql, const QVariantList &params = {});

    // Transactions; prefer Db::Transaction. A transaction begun inside another
    // is a savepoint: its rollback undoes only its own part.
    bool beginTransaction();
    bool commit();
    bool rollback();

    qint64 lastInsertId() const;
    int changes() const;
    QString errorString() const;
    QString path() const;

private:
    Database(sqlite3 *db, const QString &path);
    friend class Recordset;
    friend class RowReplacer;
    friend class Statement;
    void setError(const QString &message) const;
    // Steps the statement to its end; false, with the engine's reason, when it fails.
    bool runToEnd(Statement &stmt);

    sqlite3 *m_db = nullptr;
    QString m_path;
    mutable QString m_error;
    int m_depth = 0; // open transactions; inner ones are savepoints
};

// RAII transaction: rolls back on destruction unless commit() succeeded.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    Database &m_db;
    bool m_active = false;
};

} // namespace Db
