#include "core/Module1.h"

#include "core/Messages.h"
#include "platform/db/Database.h"
#include "platform/text/WholeNumber.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Module1 {

namespace {

QString &appPathOverride()
{
    static QString path;
    return path;
}

} // namespace

QString AppPath()
{
    QString path = appPathOverride();
    if (path.isEmpty())
        path = qEnvironmentVariable("KADRELO_APPDIR");
    if (path.isEmpty())
        path = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                            : QDir::currentPath();
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

void setAppPath(const QString &path)
{
    appPathOverride() = path;
}

QString NzStr(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return value.toString();
}

int DaysInMonth(int month, int year)
{
    // Months outside 1..12 roll into the neighbouring years, as a date
    // built from year and month would.
    const QDate first = QDate(year, 1, 1).addMonths(month - 1);
    return first.isValid() ? first.daysInMonth() : 0;
}

qint64 IdFromKey(const QString &key)
{
    if (key.size() < 4)
        return 0;
    return WholeNumber::parse(QStringView(key).mid(3)).value_or(0);
}

QString KeyFromId(qint64 id)
{
    return QStringLiteral("ID=") + QString::number(id);
}

QString FormatPeriod(const QDate &first, const QDate &last)
{
    if (first == last)
        return first.toString(QStringLiteral("d.MM.yyyy"));
    if (first.year() == last.year() && first.month() == last.month())
        return QStringLiteral("%1-%2.%3")
            .arg(first.day())
            .arg(last.day())
            .arg(first.toString(QStringLiteral("MM.yyyy")));
    if (first.year() == last.year())
        return first.toString(QStringLiteral("d.MM")) + QStringLiteral(" do ") +
               last.toString(QStringLiteral("d.MM.yyyy"));
    return first.toString(QStringLiteral("d.MM.yy")) + QStringLiteral(" do ") +
           last.toString(QStringLiteral("d.MM.yyyy"));
}

bool ExecuteSqlScript(Db::Database &db, const QString &script)
{
    QString failure;
    {
        // All or nothing: a script stopped halfway would leave the data mixed.
        Db::Transaction transaction(db);
        if (!transaction.isActive()) {
            failure = db.errorString();
        } else {
            const QStringList lines = script.split(QStringLiteral("\r\n"));
            for (const QString &line : lines) {
                if (!line.isEmpty() && !db.execute(line)) {
                    failure = db.errorString();
                    break;
                }
            }
            if (failure.isEmpty() && !transaction.commit())
                failure = db.errorString();
        }
    } // an unfinished transaction rolls back here, before the message shows
    if (failure.isEmpty())
        return true;
    Messages::critical(failure);
    return false;
}

QString ConvertLatin2Letters(const QString &text, bool direction)
{
    static const QChar listA[] = {QChar(0x00B1), QChar(0x00B6), QChar(0x013D),
                                  QChar(0x02C7), QChar(0x00A6), QChar(0x00AC)};
    static const QChar listB[] = {QChar(0x0105), QChar(0x015B), QChar(0x017A),
                                  QChar(0x0104), QChar(0x015A), QChar(0x0179)};
    QString result = text;
    for (int i = 0; i < 6; ++i) {
        if (direction)
            result.replace(listA[i], listB[i]);
        else
            result.replace(listB[i], listA[i]);
    }
    return result;
}

} // namespace Module1
