#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace Db {

class Database;
class Statement;

// A forward-only walk over the rows of a query that keeps no row: for readers
// of whole tables, where a Recordset would hold every value at once.
//
// Ownership: borrows the database, which must outlive the cursor. Columns are
// read by their place in the SELECT list and convert as a Recordset's do
// (Values.h). A failure to prepare, bind or step ends the walk: next() is
// false, failed() true and the database's errorString() says why.
class Cursor
{
public:
    Cursor(const Database &db, const QString &sql, const QVariantList &params = {});
    ~Cursor();
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    // Moves to the next row; false after the last one or on a failure.
    bool next();
    // Walks the query again from its first row with other values, prepared
    // once: a lookup repeated for many keys. False when they cannot be bound.
    bool rerun(const QVariantList &params);
    bool failed() const { return m_failed; }

    QVariant value(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    // text(first) + separator + text(second), made in one piece (a person's
    // name from its parts); *firstLength, where given, gets the size of text(first).
    QString joinedText(int first, int second, QChar separator,
                       qsizetype *firstLength = nullptr) const;
    // The bytes of a value stored as text, as long as the row is current;
    // none for any other storage.
    std::optional<QByteArrayView> textBytes(int column) const;
    qint64 integer(int column) const;
    // True when the value is stored as an integer (not a text, real or NULL).
    bool holdsInteger(int column) const;
    bool flag(int column) const;
    // A whole number, also one kept as text (ids in text columns), as
    // WholeNumber::parse reads it; no value for anything else.
    std::optional<qint64> wholeNumber(int column) const;

private:
    std::unique_ptr<Statement> m_statement;
    bool m_failed = false;
};

} // namespace Db
