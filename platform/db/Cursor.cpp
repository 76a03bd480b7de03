#include "platform/db/Cursor.h"

#include "platform/db/Statement.h"
#include "platform/db/Values.h"
#include "platform/text/WholeNumber.h"

#include <sqlite3.h>

#include <QStringDecoder>

namespace Db {

Cursor::Cursor(const Database &db, const QString &sql, const QVariantList &params)
    : m_statement(std::make_unique<Statement>(db, sql, params))
{
    m_failed = !m_statement->isValid();
}

Cursor::~Cursor() = default;

bool Cursor::next()
{
    if (m_failed)
        return false;
    const int rc = m_statement->step();
    if (rc == SQLITE_ROW)
        return true;
    m_failed = rc != SQLITE_DONE;
    return false;
}

bool Cursor::rerun(const QVariantList &params)
{
    m_failed = !m_statement->rebind(params);
    return !m_failed;
}

QVariant Cursor::value(int column) const
{
    return m_statement->column(column);
}

// Integers and NULL are read straight from the engine; the rest converts as a
// Recordset converts it.
bool Cursor::isNull(int column) const
{
    return m_statement->columnType(column) == SQLITE_NULL;
}

QString Cursor::text(int column) const
{
    return m_statement->columnText(column);
}

QString Cursor::joinedText(int first, int second, QChar separator, qsizetype *firstLength) const
{
    auto bytes = [this](int column) {
        const int type = m_statement->columnType(column);
        return type == SQLITE_TEXT || type == SQLITE_BLOB || type == SQLITE_NULL;
    };
    if (!bytes(first) || !bytes(second)) {
        const QString head = text(first);
        if (firstLength)
            *firstLength = head.size();
        return head + separator + text(second);
    }
    const QByteArrayView head = m_statement->columnBytes(first);
    const QByteArrayView tail = m_statement->columnBytes(second);
    // UTF-16 never takes more units than UTF-8 takes bytes. Stateless: each
    // part decodes on its own, as QString::fromUtf8 decodes it.
    QString joined(head.size() + 1 + tail.size(), Qt::Uninitialized);
    std::optional<QStringDecoder> decoder;
    auto decode = [&decoder](QChar *out, QByteArrayView part) {
        // ASCII, as most names are, needs no decoder.
        for (qsizetype i = 0; i < part.size(); ++i) {
            if (uchar(part[i]) >= 0x80) {
                if (!decoder)
                    decoder.emplace(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                return decoder->appendToBuffer(out, part);
            }
        }
        for (char c : part)
            *out++ = QChar(uchar(c));
        return out;
    };
    QChar *start = joined.data();
    QChar *end = decode(start, head);
    if (firstLength)
        *firstLength = end - start;
    *end++ = separator;
    end = decode(end, tail);
    joined.truncate(end - start);
    return joined;
}

std::optional<QByteArrayView> Cursor::textBytes(int column) const
{
    if (m_statement->columnType(column) != SQLITE_TEXT)
        return std::nullopt;
    return m_statement->columnBytes(column);
}

bool Cursor::holdsInteger(int column) const
{
    return m_statement->columnType(column) == SQLITE_INTEGER;
}

qint64 Cursor::integer(int column) const
{
    switch (m_statement->columnType(column)) {
    case SQLITE_INTEGER:
        return m_statement->columnInteger(column);
    case SQLITE_NULL:
        return 0;
    default:
        return Values::integer(value(column));
    }
}

bool Cursor::flag(int column) const
{
    switch (m_statement->columnType(column)) {
    case SQLITE_INTEGER:
        return m_statement->columnInteger(column) != 0;
    case SQLITE_NULL:
        return false;
    default:
        return Values::flag(value(column));
    }
}

std::optional<qint64> Cursor::wholeNumber(int column) const
{
    const int type = m_statement->columnType(column);
    if (type == SQLITE_INTEGER)
        return m_statement->columnInteger(column);
    if (type == SQLITE_TEXT)
        return WholeNumber::parseUtf8(m_statement->columnBytes(column));
    return WholeNumber::parse(text(column));
}

} // namespace Db
