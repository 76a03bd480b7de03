#pragma once

#include <QHash>
#include <QString>

#include <memory>

namespace Db {
class Database;
}

// The program's settings, one text per case-insensitive name, read once from
// the table opcje and written back at every change.
//
// Ownership: one instance per open database, owned by Globals; it keeps a
// reference to the database, which must outlive it. Failure contract: load()
// gives nullptr and the engine's description when opcje cannot be read (also
// when two names differ only in letter case); SetOption() keeps the value in
// memory even when the table cannot be written and then returns false, with
// the engine's description in the database's errorString().
class clsOptions
{
public:
    static std::unique_ptr<clsOptions> load(Db::Database &db, QString *error = nullptr);

    // The stored value, or the empty text for a name never stored.
    QString GetOption(const QString &name) const;
    bool SetOption(const QString &name, const QString &value);

private:
    explicit clsOptions(Db::Database &db) : m_db(db) {}

    Db::Database &m_db;
    QHash<QString, QString> m_values; // keyed by the lower-case name
};
