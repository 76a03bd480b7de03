#pragma once

#include <QString>

#include <memory>

namespace Db {
class Database;
}
class clsOptions;

// The run's program-wide state: the open database and its options store.
// Ownership: Globals owns both; closeDatabase() releases the options first,
// then the database, as the main window does when it closes.
namespace Globals {

// The program's name in window captions, file filters and the balance file.
inline const QString ProgramTitle = QStringLiteral("Dorvat Kadrelo");

// The key every database file of the program is encrypted with.
QString databasePassword();
// The same key for the build tools and test helpers that do not link the core.
inline constexpr char DatabaseKey[] = "kov583";

Db::Database *database();
// Replacing the database also releases the options store of the old one.
void setDatabase(std::unique_ptr<Db::Database> db);

clsOptions *options();
void setOptions(std::unique_ptr<clsOptions> options);

void closeDatabase();

} // namespace Globals
