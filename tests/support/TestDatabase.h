#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace Db {
class Database;
}

namespace TestSupport {

// A fresh database file built from the schema in a temporary folder, keyed
// with the program's key. The folder and file go when the object goes; a
// database handed out with take() must be released before that.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    // False when the schema could not be read or run; errorString() says why.
    bool isValid() const { return m_db != nullptr; }
    QString errorString() const { return m_error; }

    Db::Database &db() { return *m_db; }
    Db::Database *get() { return m_db.get(); }
    QString path() const { return m_path; }
    static QString key();

    // Closes the file and opens it again, as a new run of the program would.
    bool reopen();
    void close();
    // Hands the open database over (for Globals::setDatabase).
    std::unique_ptr<Db::Database> take();

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    std::unique_ptr<Db::Database> m_db;
};

// Every row of ludzie_last as "person|month|count|date", the values as SQL
// quotes them (so their kinds show), by month and person, a person's rows in
// rowid order: the order the generation and the counts window read them.
QStringList storedCountRows(Db::Database &db);

} // namespace TestSupport
