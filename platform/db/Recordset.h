#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace Db {

class Database;

// The rows of a table or a query, walked forward with a current-row cursor as the
// program's windows expect of a DAO recordset.
//
// Ownership: created by Database::openTable/openQuery, owned by the caller,
// must not outlive its Database. Fields are found by case-insensitive name; a
// NULL column gives a null QVariant (isNull), distinct from the empty text.
//
// Table recordsets (openTable) can seek, add, edit and delete. A query
// recordset over one table that selects its "id" column can delete (and edit)
// its rows one by one while it is walked. update()/remove() return false with
// a Polish reason (EngineError.h) in errorString(). The rows are read once, when the
// recordset opens; later changes by other statements are not seen.
class Recordset
{
public:
    ~Recordset();

    bool eof() const;
    void moveNext();
    int recordCount() const;

    QStringList fieldNames() const;
    QVariant value(const QString &field) const;
    bool isNull(const QString &field) const;
    // The field as text; empty for NULL (NzStr).
    QString text(const QString &field) const;
    // The field as a whole number; 0 for NULL or text that is not a number.
    qint64 integer(const QString &field) const;
    // Non-zero numbers and the texts "1"/"-1"/"true" read as true.
    bool flag(const QString &field) const;

    // Equality seek on an index: "PrimaryKey" (column id) or, on opcje, "name"
    // (column Name, ignoring letter case); any other index name seeks the
    // column of that name as text, ignoring letter case. No match leaves no
    // current row (eof() is true) and gives false. The first row in recordset
    // order matches; a seek on PrimaryKey takes about the same time however
    // many rows the recordset holds.
    bool seek(const QString &index, const QVariant &key);

    // Starts a new row (fields null until set) or an edit of the current row;
    // update() writes it. While a row is started, value() reads what was set;
    // a new row's "id" already holds the id it will get. After update() of a
    // new row, the row is current (with the table's defaults filled in) and
    // lastId() is its id. Moving or seeking drops an unwritten row.
    void addNew();
    void edit();
    void setValue(const QString &field, const QVariant &value);
    bool update();
    // Deletes the current row; the cursor stays where it was (next moveNext()
    // reaches the following row).
    bool remove();
    qint64 lastId() const { return m_lastId; }

    QString errorString() const { return m_error; }

private:
    friend class Database;
    Recordset(Database &db, QString table, QString sql, QVariantList params);
    bool load();
    int fieldIndex(const QString &field) const;
    bool hasCurrent() const;
    void skipDeletedForward();
    bool canWrite();
    bool refreshRow(qint64 key, QVariantList *row);
    QString keyColumn() const;
    // The first row of the id in the column, or -1; the index is made on first use.
    int findId(int column, qint64 id);

    enum class EditMode { None, AddNew, Edit };

    Database &m_db;
    QString m_table; // set for table recordsets and single-table queries
    QString m_sql;
    QVariantList m_params;
    QStringList m_fields;
    std::vector<QVariantList> m_rows;
    std::vector<bool> m_deleted;
    int m_pos = 0; // size() = after the last row (eof)
    EditMode m_mode = EditMode::None;
    QVariantList m_buffer;
    std::vector<bool> m_dirty;
    qint64 m_lastId = 0;
    QString m_error;
    bool m_isTable = false;
    std::vector<qint64> m_keys; // rowid (tables) or the "id" field (queries)
    QStringList m_origins;      // table column behind each field, empty for expressions
    int m_keyField = -1;        // the "id" field of a single-table query
    bool m_editFailed = false;  // setValue() on a field that does not exist
    int m_liveRows = 0;         // rows not deleted
    // id -> first row holding it, over the column m_indexColumn (-1: none made).
    // A deleted or changed row leaves its entry behind: it is checked on use.
    QHash<qint64, int> m_idIndex;
    int m_indexColumn = -1;
};

} // namespace Db
