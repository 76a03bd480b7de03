#pragma once

#include "core/Globals.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class FlexGrid;

namespace Db {
class Database;
}
namespace Xml {
class Document;
}

// The open roster's files and stored figures: the roster file (.swx) with its
// Counter section, the CSV export of the grid, the month's counts in
// ludzie_last, and reading a roster file back into what the main window shows.
//
// Failure contract: nothing here shows a message. Calls return false (or
// nothing) with a Polish reason in *error. Every file goes through FileWriter,
// so a failed write keeps the old file; storing the counts is one transaction,
// so a failure keeps the month's earlier rows.
namespace RosterFile {

// Dialog filters: description/pattern pairs, each followed by NUL.
inline const QString RosterFilter = Globals::ProgramTitle + QStringLiteral(" XML (*.swx)") +
                                    QChar(u'\0') + QStringLiteral("*.swx") + QChar(u'\0');
inline const QString ExportFilter = QStringLiteral("Arkusz kalkulacyjny XML (*.xml)") +
                                    QChar(u'\0') + QStringLiteral("*.xml") + QChar(u'\0') +
                                    QStringLiteral("CSV (*.csv)") + QChar(u'\0') +
                                    QStringLiteral("*.csv") + QChar(u'\0');
inline const QString OpenFailedText = QStringLiteral("Wystąpił błąd przy otwiraniu pliku");
inline const QString GapsText = QStringLiteral(
    "Brak niektórych osób lub grup w bazie danych, które występują w otwieranym grafiku, "
    "spowodowały luki w niektórych miejscach.");

// One row of the main window's list of people, as saving reads it.
struct PersonCount
{
    qint64 id = 0;
    QString count; // the "Ilość" column
    QString date;  // the row's tag: the person's last duty
};

// The save dialog's proposal: the file the roster came from, else "Grafik [yyyy-mm]".
QString DefaultFileName(const QString &currFile, const QDate &month);

// Replaces any /Baza/Counter by a new one at the end of Baza, one Item per row.
void RebuildCounter(Xml::Document &document, const QList<PersonCount> &people);
// RebuildCounter, then the root element's XML (no declaration) into a roster file.
bool SaveRoster(Xml::Document &document, const QList<PersonCount> &people, const QString &path,
                QString *error = nullptr);

// The grid as CSV in windows-1250: one line per row (CR LF after each), one
// quoted field per column separated by ";", CR LF inside a cell as LF.
QByteArray CsvContent(const FlexGrid &grid);
bool ExportCsv(const FlexGrid &grid, const QString &path, QString *error = nullptr);

// Replaces the month's rows of ludzie_last by one row per person. Counts must
// be whole numbers and dates readable; otherwise nothing changes.
bool SaveCounts(Db::Database &db, const QDate &month, const QList<PersonCount> &people,
                QString *error = nullptr);

// A row of the list of people rebuilt from the Counter section.
struct PersonRow
{
    qint64 id = 0;
    QString name;
    QString group;
    QString count;
    QString date;
};

// Everything the main window shows of an opened roster file.
struct OpenedRoster
{
    std::unique_ptr<Xml::Document> document;
    QDate month;
    QString title;      // what a window can show of Name; the document keeps it whole
    QStringList duties; // id, NUL, header text; in column order
    QMap<QPair<int, int>, QString> cells; // (row, column) -> text
    QList<PersonRow> people;
    bool gaps = false; // people or groups missing from the database
};

// Reads and checks a roster file; a file that cannot be read, is damaged or
// is not a roster gives nothing.
std::unique_ptr<Xml::Document> ReadRoster(const QString &path, QString *error = nullptr);
// ReadRoster, then the cell texts (cellShow with the people's current names)
// and the list of people from the database.
std::optional<OpenedRoster> OpenRoster(const QString &path, Db::Database &db,
                                       const QString &cellShow, QString *error = nullptr);

// The roster's month from Baza/@Date, read as DateTimeText reads every stored
// date (yyyy-mm-dd or dd.mm.yyyy, a time after it allowed); invalid for any
// other text.
QDate ParseRosterDate(const QString &text);

} // namespace RosterFile
