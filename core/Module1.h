#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Db {
class Database;
}

// Small procedures every window shares. Failures: the functions that hide
// failures return the neutral value named below; ExecuteSqlScript reports its
// failure through Messages and returns false.
namespace Module1 {

// The program's folder with one trailing "/": where the executable lies,
// unless setAppPath() or the environment variable KADRELO_APPDIR names another.
QString AppPath();
void setAppPath(const QString &path);

// The value as text; empty for a null value.
QString NzStr(const QVariant &value);

int DaysInMonth(int month, int year);

// "ID=42" -> 42; 0 for a key shorter than 4 characters or a rest that is not a number.
qint64 IdFromKey(const QString &key);
QString KeyFromId(qint64 id);

// "7.05.2004", "3-7.05.2004", "30.04 do 2.05.2004", "30.12.04 do 2.01.2005".
QString FormatPeriod(const QDate &first, const QDate &last);

// Runs the script's non-empty lines (split at CR LF) one by one in one
// transaction; the first failure is shown with the critical icon, undoes the
// lines run before it and stops the script.
bool ExecuteSqlScript(Db::Database &db, const QString &script);

// Between the code-page-1250 reading of ISO 8859-2 bytes and the Polish letters
// (true repairs, false prepares a text for ISO 8859-2 percent-encoding).
QString ConvertLatin2Letters(const QString &text, bool direction);

} // namespace Module1
