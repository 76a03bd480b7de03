#include "platform/db/Cursor.h"

#include "platform/db/Statement.h"
#include "platform/db/Values.h"

#include <sqlite3.h>

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

QVariant Cursor::value(int column) const
{
    return m_statement->column(column);
}

bool Cursor::isNull(int column) const
{
    return value(column).isNull();
}

QString Cursor::text(int column) const
{
    return m_statement->columnText(column);
}

qint64 Cursor::integer(int column) const
{
    return Values::integer(value(column));
}

bool Cursor::flag(int column) const
{
    return Values::flag(value(column));
}

} // namespace Db
