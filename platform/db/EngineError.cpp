#include "platform/db/EngineError.h"

#include <sqlite3.h>

namespace Db {

namespace {

QString constraintReason(int resultCode)
{
    switch (resultCode) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return QStringLiteral("Taki wpis już istnieje w bazie danych");
    case SQLITE_CONSTRAINT_NOTNULL:
        return QStringLiteral("Brak wymaganej wartości");
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return QStringLiteral("Wpis jest powiązany z innymi danymi bazy");
    case SQLITE_CONSTRAINT_CHECK:
        return QStringLiteral("Wartość nie spełnia warunku bazy danych");
    default:
        return QStringLiteral("Dane naruszają ograniczenie bazy danych");
    }
}

// A plain SQLITE_ERROR names what is missing only in its text; a hand-edited
// file usually lacks a table or a column.
QString errorReason(const QString &technical)
{
    if (technical.startsWith(QLatin1String("no such table")))
        return QStringLiteral("W bazie danych brakuje tabeli");
    if (technical.startsWith(QLatin1String("no such column")))
        return QStringLiteral("W bazie danych brakuje kolumny");
    if (technical.startsWith(QLatin1String("no such collation")))
        return QStringLiteral("Baza danych używa nieznanego porządku sortowania");
    return QStringLiteral("Błąd polecenia bazy danych");
}

QString reasonFor(int resultCode, const QString &technical)
{
    switch (resultCode & 0xff) {
    case SQLITE_ERROR:
        return errorReason(technical);
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Brak uprawnień do bazy danych");
    case SQLITE_ABORT:
    case SQLITE_INTERRUPT:
        return QStringLiteral("Operacja na bazie danych została przerwana");
    case SQLITE_BUSY:
        return QStringLiteral("Baza danych jest zablokowana przez inny program");
    case SQLITE_LOCKED:
        return QStringLiteral("Tabela bazy danych jest zablokowana");
    case SQLITE_NOMEM:
        return QStringLiteral("Brak pamięci");
    case SQLITE_READONLY:
        return QStringLiteral("Baza danych jest tylko do odczytu");
    case SQLITE_IOERR:
        return QStringLiteral("Błąd odczytu lub zapisu pliku bazy danych");
    case SQLITE_CORRUPT:
        return QStringLiteral("Plik bazy danych jest uszkodzony");
    case SQLITE_FULL:
        return QStringLiteral("Brak miejsca na dysku");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Nie można otworzyć pliku bazy danych");
    case SQLITE_PROTOCOL:
        return QStringLiteral("Błąd blokowania pliku bazy danych");
    case SQLITE_SCHEMA:
        return QStringLiteral("Struktura bazy danych zmieniła się w trakcie operacji");
    case SQLITE_TOOBIG:
        return QStringLiteral("Wartość jest za duża dla bazy danych");
    case SQLITE_CONSTRAINT:
        return constraintReason(resultCode);
    case SQLITE_MISMATCH:
        return QStringLiteral("Niezgodny typ danych");
    case SQLITE_NOTADB:
        // SQLCipher says so for a wrong key and for a damaged file too.
        return QStringLiteral("Plik nie jest bazą danych programu albo jest uszkodzony");
    default:
        return QStringLiteral("Błąd bazy danych");
    }
}

} // namespace

QString describe(const QString &reason, const QString &technical)
{
    if (technical.isEmpty() || technical == reason)
        return reason;
    return reason + QStringLiteral(" (") + technical + QLatin1Char(')');
}

QString errorText(int resultCode, const QString &technical)
{
    return describe(reasonFor(resultCode, technical), technical);
}

QString engineError(sqlite3 *db)
{
    if (!db)
        return errorText(SQLITE_NOMEM, QStringLiteral("out of memory"));
    return errorText(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace Db
