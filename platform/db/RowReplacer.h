#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace Db {

class Database;

// Replaces a set of stored rows by wanted rows, writing only what changes.
//
// Deleting a set of rows and adding the new ones journals and encrypts every
// page each row and index entry touches; most saves change few rows. The result
// is what delete-and-add would leave, as a reader that takes a key's rows in
// rowid order sees it: a key's wanted rows take its stored rows in rowid order
// (a differing row is updated in place, an equal one not written at all), the
// wanted rows left over are added after every stored row, in their order, and
// the stored rows left over are deleted. Rows of different keys keep no order
// among themselves: a kept row keeps its older rowid.
//
// The first keyColumns columns (one at least) are the key: matched, never
// updated. Values are equal only when they are bound alike (text with the same
// text, whole number with the same number); anything else counts as changed
// and is written.
//
// Ownership: borrows the database, which must outlive it. Failure contract:
// read() gives no value and replace() false, with the database's
// errorString(); replace() may have written part of the rows by then, so it
// runs inside a transaction.
class RowReplacer
{
public:
    struct StoredRow
    {
        qint64 rowId = 0;
        QVariantList values; // in the order of columns
    };

    RowReplacer(Database &db, QString table, QStringList columns, int keyColumns);

    // The table's rows matching where ("?" for params), in rowid order.
    std::optional<QList<StoredRow>> read(const QString &where, const QVariantList &params) const;
    // rowIds, where given, gets each wanted row's rowid.
    bool replace(const QList<StoredRow> &stored, const QList<QVariantList> &wanted,
                 QList<qint64> *rowIds = nullptr) const;

private:
    Database &m_db;
    QString m_table;
    QStringList m_columns;
    int m_keyColumns = 0;
};

} // namespace Db
