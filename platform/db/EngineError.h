#pragma once

#include <QString>

struct sqlite3;

namespace Db {

// The texts behind every errorString() of the database layer: a Polish
// reason, then the engine's own (English) text in parentheses, e.g.
// "Baza danych jest zablokowana przez inny program (database is locked)".
// The reader gets Polish; whoever helps them still sees what the engine said.

// The reason for a call the layer refuses (a fault of the program itself).
inline const QString ProgramFault = QStringLiteral("Błąd programu przy dostępie do bazy danych");

// A reason given in Polish with its technical text; technical may be empty.
QString describe(const QString &reason, const QString &technical);
// The reason for an SQLite/SQLCipher result code (extended codes too).
QString errorText(int resultCode, const QString &technical = {});
// errorText() of the last failure while db was being opened; db may be null
// (out of memory).
QString openingError(sqlite3 *db);
// The reason for the last failure on an open db, as openingError() but for
// what only an open file meets: a folder where the journal of a write cannot
// be made ("Nie można zapisywać w folderze bazy danych (...)" with the
// system's reason), a file cut short to nothing while open (damaged).
QString engineError(sqlite3 *db);

} // namespace Db
