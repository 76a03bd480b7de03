#pragma once

#include <QString>

#include <memory>

class BlueCommand;
class QBoxLayout;
class QWidget;

namespace Db {
class Recordset;
}

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

// The table of the program's database; null without a database, or after
// telling the user why it did not open.
std::unique_ptr<Db::Recordset> openTable(const QString &table);
// The row of the table with the id, alone, positioned on it and editable; null
// (after goneText) when the row is not there any more.
std::unique_ptr<Db::Recordset> openRow(const QString &table, qint64 id, const QString &goneText);
// The table's columns without its rows, to add a row (addNew) without reading
// the others; null after telling the user why it did not open.
std::unique_ptr<Db::Recordset> openForNew(const QString &table);

} // namespace MasterData
