#include "platform/db/EngineError.h"

#include "platform/text/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

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

// An open connection fails to open a file only when it must make one beside
// the database: the journal of every write. A folder the user may only read
// lets the file open and read, then refuses each change.
QString folderReason(sqlite3 *db, const QString &technical)
{
    const QString folder = QDir::toNativeSeparators(
        QFileInfo(QString::fromUtf8(sqlite3_db_filename(db, "main"))).absolutePath());
    const QString reason =
        QStringLiteral("Nie można zapisywać w folderze bazy danych (%1)").arg(folder);
    // SQLite's own errno may come from a later call than the one that failed:
    // the folder is asked first.
    const QByteArray path = QFile::encodeName(folder);
    const int code = ::access(path.constData(), W_OK) != 0 ? errno : sqlite3_system_errno(db);
    if (code == 0)
        return describe(reason, technical);
    return reason + QStringLiteral(": ") +
           FileErrors::reason(QFileDevice::OpenError, qt_error_string(code));
}

// A file cut short while open reads as an empty database: every table is
// missing, not just one. Asking the file itself keeps the engine's last error.
bool cutShort(sqlite3 *db)
{
    const QFileInfo file(QString::fromUtf8(sqlite3_db_filename(db, "main")));
    return file.exists() && file.size() < 512; // less than the smallest page
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

QString openingError(sqlite3 *db)
{
    if (!db)
        return errorText(SQLITE_NOMEM, QStringLiteral("out of memory"));
    return errorText(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

QString engineError(sqlite3 *db)
{
    if (!db)
        return openingError(db);
    const int code = sqlite3_extended_errcode(db);
    const QString technical = QString::fromUtf8(sqlite3_errmsg(db));
    if ((code & 0xff) == SQLITE_CANTOPEN)
        return folderReason(db, technical);
    if ((code & 0xff) == SQLITE_ERROR && technical.startsWith(QLatin1String("no such table")) &&
        cutShort(db))
        return describe(QStringLiteral("Plik bazy danych jest uszkodzony"), technical);
    return errorText(code, technical);
}

} // namespace Db
