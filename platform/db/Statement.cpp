#include "platform/db/Statement.h"

#include "platform/db/Database.h"
#include "platform/db/EngineError.h"
#include "platform/db/Values.h"
#include "platform/text/WholeNumber.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QStringEncoder>
#include <QTime>

#include <algorithm>
#include <optional>
#include <vector>

namespace Db {

namespace {

// The UTF-8 of text at out, as QString::toUtf8() writes it; out then points
// past it. At most three bytes a character.
char *putUtf8(char *out, const QString &text)
{
    const bool surrogates =
        std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
    if (!surrogates) {
        QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
        return encoder.appendToBuffer(out, text);
    }
    // toUtf8() writes an unpaired surrogate as "?", the encoder otherwise.
    const QByteArray utf8 = text.toUtf8();
    return std::copy(utf8.cbegin(), utf8.cend(), out);
}

} // namespace

Statement::Statement(const Database &db, const QString &sql, const QVariantList &params) : m_db(db)
{
    sqlite3 *handle = db.m_db;
    const QByteArray text = sql.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &m_stmt, &tail) !=
        SQLITE_OK) {
        db.setError(engineError(handle));
        return;
    }
    // One statement per call: a second one would silently not run.
    for (const char *p = tail; p && p < text.constData() + text.size(); ++p) {
        if (*p != ';' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
            db.setError(
                describe(ProgramFault, QStringLiteral("more than one statement in one call")));
            return;
        }
    }
    m_prepared = true;
    m_valid = bindAll(params);
}

int Statement::boundType(const QVariant &value)
{
    if (value.isNull())
        return SQLITE_NULL;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return SQLITE_INTEGER;
    case QMetaType::Double:
    case QMetaType::Float:
        return SQLITE_FLOAT;
    case QMetaType::QByteArray:
        return SQLITE_BLOB;
    default:
        return SQLITE_TEXT;
    }
}

std::optional<QString> Statement::boundText(const QVariant &value)
{
    if (boundType(value) != SQLITE_TEXT)
        return std::nullopt;
    switch (value.typeId()) {
    // Dates in the fixed stored forms, never the locale's.
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm"));
    default:
        return value.toString();
    }
}

bool Statement::bindAll(const QVariantList &params)
{
    const int expected = m_stmt ? sqlite3_bind_parameter_count(m_stmt) : 0;
    if (expected != int(params.size())) {
        m_db.setError(
            describe(ProgramFault, QStringLiteral("%1 values bound to a statement that takes %2")
                                       .arg(params.size())
                                       .arg(expected)));
        return false;
    }
    // The texts' UTF-8 side by side in one buffer that lives as long as the
    // bindings: the engine neither copies nor frees every text of a large insert.
    std::vector<std::optional<QString>> texts(size_t(params.size()));
    qsizetype space = 0;
    for (qsizetype i = 0; i < params.size(); ++i) {
        texts[size_t(i)] = boundText(params.at(i));
        if (texts[size_t(i)])
            space += 3 * texts[size_t(i)]->size();
    }
    m_texts.resize(space);
    char *out = m_texts.data();
    for (int i = 0; i < int(params.size()); ++i) {
        bool bound;
        if (const std::optional<QString> &text = texts[size_t(i)]) {
            char *start = out;
            out = putUtf8(out, *text);
            bound = sqlite3_bind_text(m_stmt, i + 1, start ? start : "", int(out - start),
                                      SQLITE_STATIC) == SQLITE_OK;
        } else {
            bound = bindValue(m_stmt, i + 1, params.at(i));
        }
        if (!bound) {
            m_db.setError(engineError(m_db.m_db));
            return false;
        }
    }
    return true;
}

bool Statement::rebind(const QVariantList &params)
{
    if (!m_prepared)
        return false;
    if (m_stmt) {
        // A failed step is reported again by reset: it has been reported already.
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    m_valid = bindAll(params);
    return m_valid;
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

int Statement::step()
{
    if (!m_stmt)
        return SQLITE_DONE;
    const int rc = sqlite3_step(m_stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        m_db.setError(engineError(m_db.m_db));
    return rc;
}

int Statement::columnCount() const
{
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::columnTable(int column) const
{
    return QString::fromUtf8(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::columnOrigin(int column) const
{
    return QString::fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

QVariant Statement::column(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT: {
        // Explicit length: texts may hold NUL characters.
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return {};
    }
}

QString Statement::columnText(int column) const
{
    switch (columnType(column)) {
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return QString::fromUtf8(columnBytes(column));
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        // Flags and small numbers are read as texts often: no allocation for them.
        return WholeNumber::text(columnInteger(column));
    default:
        return Values::text(this->column(column));
    }
}

int Statement::columnType(int column) const
{
    return sqlite3_column_type(m_stmt, column);
}

qint64 Statement::columnInteger(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QByteArrayView Statement::columnBytes(int column) const
{
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

bool Statement::bindValue(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    int rc;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt, index);
    } else if (value.typeId() == QMetaType::Bool) {
        rc = sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
    } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        rc = sqlite3_bind_double(stmt, index, value.toDouble());
    } else if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    } else {
        rc = sqlite3_bind_int64(stmt, index, value.toLongLong());
    }
    return rc == SQLITE_OK;
}

} // namespace Db
