#include "tests/support/TestSupport.h"

#include "platform/db/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace TestSupport {

namespace {

// The value of a variable CTest sets, naming an existing file or folder;
// without it the test cannot run, so it stops here and says why.
QString required(const char *variable, const char *what)
{
    const QString value = qEnvironmentVariable(variable);
    if (value.isEmpty() || !QFileInfo::exists(value)) {
        std::fprintf(stderr,
                     "%s %s; it should name %s. Run the test through CTest "
                     "(ctest --test-dir build -R <test>), which sets it, or set it by hand.\n",
                     variable, value.isEmpty() ? "is not set" : "names nothing that exists", what);
        std::exit(2);
    }
    return value;
}

} // namespace

QString dataPath(const QString &name)
{
    return QDir(required("KADRELO_TESTDATA", "the fixture folder tests/data")).filePath(name);
}

QString schemaPath()
{
    return required("KADRELO_SCHEMA", "the schema file resources/schema.sql");
}

bool exec(Db::Database &db, const QString &sql, const QVariantList &params,
          std::source_location where)
{
    if (db.execute(sql, params))
        return true;
    const QString why =
        QStringLiteral("fixture statement failed: %1 (%2)").arg(db.errorString(), sql);
    QTest::qFail(qPrintable(why), where.file_name(), int(where.line()));
    return false;
}

qint64 insert(Db::Database &db, const QString &sql, const QVariantList &params,
              std::source_location where)
{
    return exec(db, sql, params, where) ? db.lastInsertId() : -1;
}

} // namespace TestSupport
