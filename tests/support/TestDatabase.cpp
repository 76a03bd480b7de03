#include "tests/support/TestDatabase.h"

#include "core/Globals.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tests/support/TestSupport.h"

#include <QFile>

namespace TestSupport {

TestDatabase::TestDatabase()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    m_path = m_dir.filePath(QStringLiteral("test.mbd"));
    QFile schema(schemaPath());
    if (!schema.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read the schema %1").arg(schemaPath());
        return;
    }
    const QString script = QString::fromUtf8(schema.readAll());
    std::unique_ptr<Db::Database> db = Db::Database::create(m_path, key(), &m_error);
    if (!db)
        return;
    if (!db->executeScript(script)) {
        m_error = db->errorString();
        return;
    }
    m_db = std::move(db);
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::key()
{
    return QString::fromLatin1(Globals::DatabaseKey);
}

bool TestDatabase::reopen()
{
    m_db.reset();
    m_db = Db::Database::open(m_path, key(), &m_error);
    return m_db != nullptr;
}

void TestDatabase::close()
{
    m_db.reset();
}

std::unique_ptr<Db::Database> TestDatabase::take()
{
    return std::move(m_db);
}

QStringList storedCountRows(Db::Database &db)
{
    QStringList rows;
    for (auto rs = db.openQuery(
             QStringLiteral("SELECT id_osoba || '|' || miesiac || '|' || quote(ilosc) || '|' || "
                            "quote(data) AS r FROM ludzie_last ORDER BY miesiac, "
                            "CAST(id_osoba AS INTEGER), rowid"));
         rs && !rs->eof(); rs->moveNext())
        rows << rs->text(QStringLiteral("r"));
    return rows;
}

} // namespace TestSupport
