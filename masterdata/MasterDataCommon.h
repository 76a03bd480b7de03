#pragma once

#include "platform/db/RowReplacer.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class BlueCommand;
class QBoxLayout;
class QWidget;

namespace Db {
class Database;
class Recordset;
} // namespace Db

// Pieces the master-data windows and editors build alike.
namespace MasterData {

BlueCommand *makeButton(QWidget *parent, const QString &name, const QString &caption);

// The row closing a window: "ButtonOK" with okCaption, then "ButtonClose"
// ("Zamknij", answers Escape), both to the right; appended to layout. The
// caller connects them.
struct ButtonRow
{
    BlueCommand *ok = nullptr;
    BlueCommand *close = nullptr;
};
ButtonRow addButtonRow(QBoxLayout *layout, QWidget *owner, const QString &okCaption);

// A text of the window and the caption of its field, as the planner sees it.
struct LabelledText
{
    QString caption;
    QString text;
};
// True when every text can stand in a roster file and the spreadsheet (they
// are XML); else tells the user "Błędne dane", which field holds what, and
// gives false.
bool storableTexts(const QList<LabelledText> &texts);

// The table of the program's database; null without a database, or after
// telling the user why it did not open.
std::unique_ptr<Db::Recordset> openTable(const QString &table);
// The row of the table with the id, alone, positioned on it and editable; null
// (after goneText) when the row is not there any more.
std::unique_ptr<Db::Recordset> openRow(const QString &table, qint64 id, const QString &goneText);
// The table's columns without its rows, to add a row (addNew) without reading
// the others; null after telling the user why it did not open.
std::unique_ptr<Db::Recordset> openForNew(const QString &table);

// The month's carried-over counts in ludzie_last, keyed by person and month
// (id_osoba, miesiac, then ilosc and data), as both windows that store them
// replace them.
Db::RowReplacer monthCountsReplacer(Db::Database &db);

// An id kept in a text column (id_sluzba, id_osoba), read as the generation
// reads it (WholeNumber): a whole number, blanks around allowed.
std::optional<qint64> storedId(const QVariant &value);

// A row of sluzby_ilosc.
struct HeadCountRow
{
    qint64 rowId = 0;
    QVariant duty; // id_sluzba as stored
    QDate day;
    QVariant ilosc;
};
// The rows of sluzby_ilosc whose day lies in the month, whatever the duty,
// in stored order: of two rows of one duty and day the generation takes the
// first. No value when the database refused (its errorString() says why).
std::optional<QList<HeadCountRow>> headCountRows(Db::Database &db, const QDate &month);
// Deletes the rows headCountRows gives for the month; false as above.
bool deleteHeadCounts(Db::Database &db, const QDate &month);
// Deletes the rows of table (one of the program's own names) by rowid; false as above.
bool deleteRows(Db::Database &db, const QString &table, const QList<qint64> &rowIds);

} // namespace MasterData
