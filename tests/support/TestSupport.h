#pragma once

#include <QString>
#include <QVariantList>

#include <source_location>

namespace Db {
class Database;
}

namespace TestSupport {

// Folder of the test fixtures (tests/data), from KADRELO_TESTDATA.
QString dataPath(const QString &name);

// The schema file the template database is built from, from KADRELO_SCHEMA.
// CTest sets both variables; a test started without them stops at the first
// use with a line saying which one is missing and what it should name.
QString schemaPath();

// A statement of a test's own fixture. When it fails the running test fails
// at the caller's line with the database's reason, so a test never goes on
// over data that was not written. exec gives whether it ran; insert gives
// the new row's id, or -1.
bool exec(Db::Database &db, const QString &sql, const QVariantList &params = {},
          std::source_location where = std::source_location::current());
qint64 insert(Db::Database &db, const QString &sql, const QVariantList &params = {},
              std::source_location where = std::source_location::current());

} // namespace TestSupport
