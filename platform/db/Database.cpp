#include "platform/db/Database.h"

#include "platform/db/EngineError.h"
#include "platform/db/Recordset.h"
#include "platform/db/Statement.h"
#include "platform/text/PolishOrder.h"

// The Debian header declares sqlite3_key() only for codec builds.
#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include <QDate>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace Db {

namespace {

// YEAR/MONTH/DAY over "yyyy-mm-dd" and "yyyy-mm-dd hh:nn:ss"; NULL for
// anything else, so a bad stored text never matches a compared number.
QDate storedDate(sqlite3_value *value)
{
    if (sqlite3_value_type(value) == SQLITE_NULL)
        return {};
    const auto *raw = reinterpret_cast<const char *>(sqlite3_value_text(value));
    const int size = sqlite3_value_bytes(value);
    if (!raw || size < 10)
        return {};
    const QByteArray text = QByteArray(raw, size).trimmed();
    if (text.size() < 10 || text.at(4) != '-' || text.at(7) != '-')
        return {};
    if (text.size() > 10 && text.at(10) != ' ' && text.at(10) != 'T')
        return {};
    auto digits = [&text](int from, int count, bool *ok) {
        int result = 0;
        for (int i = from; i < from + count; ++i) {
            const char c = text.at(i);
            if (c < '0' || c > '9') {
                *ok = false;
                return 0;
            }
            result = result * 10 + (c - '0');
        }
        return result;
    };
    bool ok = true;
    const int year = digits(0, 4, &ok);
    const int month = digits(5, 2, &ok);
    const int day = digits(8, 2, &ok);
    if (!ok)
        return {};
    return QDate(year, month, day);
}

template <int Part> void datePart(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (argc != 1) {
        sqlite3_result_null(context);
        return;
    }
    const QDate date = storedDate(argv[0]);
    if (!date.isValid()) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context, Part == 0 ? date.year() : Part == 1 ? date.month() : date.day());
}

// Names sort as a Polish reader expects ("Łukasik" before "Zieliński"), on
// every machine whatever its locale; only identical texts compare equal.
int polishCompare(void *, int leftSize, const void *left, int rightSize, const void *right)
{
    return PolishOrder::compareUtf8(QByteArrayView(static_cast<const char *>(left), leftSize),
                                    QByteArrayView(static_cast<const char *>(right), rightSize));
}

bool registerFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_collation_v2(db, "POLISH", SQLITE_UTF8, nullptr, &polishCompare,
                                       nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(db, "YEAR", 1, flags, nullptr, &datePart<0>, nullptr, nullptr,
                                      nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(db, "MONTH", 1, flags, nullptr, &datePart<1>, nullptr,
                                      nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(db, "DAY", 1, flags, nullptr, &datePart<2>, nullptr, nullptr,
                                      nullptr) == SQLITE_OK;
}

// Opens, keys and checks a file; the key is only proven right by a read.
sqlite3 *openKeyed(const QString &path, const QString &key, int flags, QString *error)
{
    sqlite3 *db = nullptr;
    QString message;
    const QByteArray file = path.toUtf8();
    // One thread uses a connection: no lock around every value read.
    int rc = sqlite3_open_v2(file.constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    // Before the first read: a file another program holds briefly is waited for.
    if (rc == SQLITE_OK)
        sqlite3_busy_timeout(db, 2000);
    // Before the schema is read: earlier builds declared POLISH on name columns.
    if (rc == SQLITE_OK && !registerFunctions(db))
        rc = SQLITE_ERROR;
    // An empty key means a plain file; SQLCipher refuses a key of length 0.
    if (rc == SQLITE_OK && !key.isEmpty()) {
        const QByteArray secret = key.toUtf8();
        rc = sqlite3_key(db, secret.constData(), int(secret.size()));
        if (rc != SQLITE_OK)
            message = describe(QStringLiteral("Nie można ustawić klucza bazy danych"),
                               QString::fromUtf8(sqlite3_errmsg(db)));
    }
    // Room for a large unit's whole file: a page read once is not read and
    // decrypted again by the next window or run (SQLite takes the memory as
    // pages are read, up to this).
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if (message.isEmpty())
            message = openingError(db);
        if (error)
            *error = message;
        sqlite3_close_v2(db);
        return nullptr;
    }
    return db;
}

} // namespace

Database::Database(sqlite3 *db, const QString &path) : m_db(db), m_path(path) {}

Database::~Database()
{
    if (m_db) {
        // Leave nothing half-done behind an unfinished transaction.
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(m_db);
    }
}

std::unique_ptr<Database> Database::open(const QString &path, const QString &key, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("Plik bazy danych nie istnieje");
        return nullptr;
    }
    sqlite3 *db = openKeyed(path, key, SQLITE_OPEN_READWRITE, error);
    if (!db)
        return nullptr;
    return std::unique_ptr<Database>(new Database(db, path));
}

std::unique_ptr<Database> Database::create(const QString &path, const QString &key, QString *error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("Plik bazy danych już istnieje");
        return nullptr;
    }
    sqlite3 *db = openKeyed(path, key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!db)
        return nullptr;
    return std::unique_ptr<Database>(new Database(db, path));
}

bool Database::execute(const QString &sql, const QVariantList &params)
{
    Statement stmt(*this, sql, params);
    return runToEnd(stmt);
}

bool Database::runToEnd(Statement &stmt)
{
    if (!stmt.isValid())
        return false;
    int rc;
    while ((rc = stmt.step()) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        setError(engineError(m_db));
        return false;
    }
    return true;
}

bool Database::executeEach(const QString &sql, const QList<QVariantList> &rows,
                           QList<qint64> *insertedIds)
{
    if (rows.isEmpty())
        return true;
    Statement stmt(*this, sql, rows.first());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0 && !stmt.rebind(rows.at(i)))
            return false;
        if (!runToEnd(stmt))
            return false;
        if (insertedIds)
            insertedIds->append(lastInsertId());
    }
    return true;
}

bool Database::insertRows(const QString &table, const QStringList &columns,
                          const QList<QVariantList> &rows, QList<qint64> *insertedIds)
{
    auto quote = [](QString name) {
        name.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + name + QLatin1Char('"');
    };
    QStringList names;
    for (const QString &column : columns)
        names << quote(column);
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                             .arg(quote(table), names.join(QLatin1Char(',')));
    const QString row = QLatin1Char('(') +
                        QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                        QLatin1Char(')');
    // Within the 999 values a statement of every SQLite build takes.
    const qsizetype perStatement =
        std::max<qsizetype>(1, 999 / std::max<qsizetype>(1, columns.size()));
    std::unique_ptr<Statement> full; // prepared once for every full batch
    for (qsizetype first = 0; first < rows.size(); first += perStatement) {
        const qsizetype count = std::min(perStatement, rows.size() - first);
        QVariantList values;
        values.reserve(count * columns.size());
        for (qsizetype i = first; i < first + count; ++i) {
            if (rows.at(i).size() != columns.size()) {
                setError(
                    describe(ProgramFault, QStringLiteral("row %1 has %2 values for %3 columns")
                                               .arg(i)
                                               .arg(rows.at(i).size())
                                               .arg(columns.size())));
                return false;
            }
            values += rows.at(i);
        }
        std::unique_ptr<Statement> last;
        Statement *stmt = nullptr;
        if (count == perStatement && full) {
            if (!full->rebind(values))
                return false;
            stmt = full.get();
        } else {
            auto prepared = std::make_unique<Statement>(
                *this, head + QStringList(count, row).join(QLatin1Char(',')), values);
            stmt = prepared.get();
            (count == perStatement ? full : last) = std::move(prepared);
        }
        if (!runToEnd(*stmt))
            return false;
        for (qint64 id = lastInsertId() - count + 1; insertedIds && id <= lastInsertId(); ++id)
            insertedIds->append(id);
    }
    return true;
}

bool Database::executeScript(const QString &script)
{
    char *message = nullptr;
    const QByteArray text = script.toUtf8();
    if (sqlite3_exec(m_db, text.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        setError(message ? errorText(sqlite3_extended_errcode(m_db), QString::fromUtf8(message))
                         : engineError(m_db));
        sqlite3_free(message);
        return false;
    }
    return true;
}

std::unique_ptr<Recordset> Database::openTable(const QString &table)
{
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    const QString sql =
        QStringLiteral("SELECT *, _rowid_ FROM \"%1\" ORDER BY _rowid_").arg(quoted);
    std::unique_ptr<Recordset> rs(new Recordset(*this, table, sql, {}));
    rs->m_isTable = true;
    if (!rs->load()) {
        setError(rs->errorString());
        return nullptr;
    }
    return rs;
}

std::unique_ptr<Recordset> Database::openQuery(const QString &sql, const QVariantList &params)
{
    std::unique_ptr<Recordset> rs(new Recordset(*this, QString(), sql, params));
    if (!rs->load()) {
        setError(rs->errorString());
        return nullptr;
    }
    return rs;
}

QVariant Database::scalar(const QString &sql, const QVariantList &params)
{
    Statement stmt(*this, sql, params);
    if (!stmt.isValid())
        return {};
    const int rc = stmt.step();
    if (rc == SQLITE_ROW)
        return stmt.column(0);
    if (rc != SQLITE_DONE)
        setError(engineError(m_db));
    return {};
}

// Nested transactions become savepoints, so a procedure that wants its own
// all-or-nothing unit can run inside a caller's transaction.
bool Database::beginTransaction()
{
    const QString sql = m_depth == 0 ? QStringLiteral("BEGIN")
                                     : QStringLiteral("SAVEPOINT kadrelo_%1").arg(m_depth);
    if (!execute(sql))
        return false;
    ++m_depth;
    return true;
}

bool Database::commit()
{
    if (m_depth == 0) {
        setError(
            describe(ProgramFault, QStringLiteral("cannot commit - no transaction is active")));
        return false;
    }
    const QString sql = m_depth == 1 ? QStringLiteral("COMMIT")
                                     : QStringLiteral("RELEASE kadrelo_%1").arg(m_depth - 1);
    if (!execute(sql))
        return false;
    --m_depth;
    return true;
}

bool Database::rollback()
{
    if (m_depth == 0) {
        setError(
            describe(ProgramFault, QStringLiteral("cannot rollback - no transaction is active")));
        return false;
    }
    bool ok;
    if (m_depth == 1) {
        ok = execute(QStringLiteral("ROLLBACK"));
        // A failed ROLLBACK after an automatic one still ends the transaction.
        if (!ok && sqlite3_get_autocommit(m_db))
            ok = true;
    } else {
        const QString name = QStringLiteral("kadrelo_%1").arg(m_depth - 1);
        ok = execute(QStringLiteral("ROLLBACK TO ") + name) &&
             execute(QStringLiteral("RELEASE ") + name);
    }
    --m_depth;
    return ok;
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

QString Database::errorString() const
{
    return m_error;
}

QString Database::path() const
{
    return m_path;
}

void Database::setError(const QString &message) const
{
    m_error = message;
}

Transaction::Transaction(Database &db) : m_db(db), m_active(db.beginTransaction()) {}

Transaction::~Transaction()
{
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    if (!m_db.commit())
        return false;
    m_active = false;
    return true;
}

} // namespace Db
