#include "masterdata/MasterDataCommon.h"

#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QBoxLayout>

namespace MasterData {

BlueCommand *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new BlueCommand(parent);
    button->setObjectName(name);
    button->setCaption(caption);
    return button;
}

ButtonRow addButtonRow(QBoxLayout *layout, QWidget *owner, const QString &okCaption)
{
    ButtonRow row;
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    row.ok = makeButton(owner, QStringLiteral("ButtonOK"), okCaption);
    row.close = makeButton(owner, QStringLiteral("ButtonClose"), QStringLiteral("Zamknij"));
    row.close->setCancel(true);
    buttons->addWidget(row.ok);
    buttons->addWidget(row.close);
    layout->addLayout(buttons);
    return row;
}

std::unique_ptr<Db::Recordset> openTable(const QString &table)
{
    Db::Database *db = Globals::database();
    if (!db)
        return nullptr;
    auto rs = db->openTable(table);
    if (!rs)
        Messages::critical(db->errorString());
    return rs;
}

namespace {

// The table's rows that the condition chooses; editable, as the table's own.
std::unique_ptr<Db::Recordset> openWhere(const QString &table, const QString &condition,
                                         const QVariantList &params)
{
    Db::Database *db = Globals::database();
    if (!db)
        return nullptr;
    // The table is one of the program's own names, never user text.
    auto rs =
        db->openQuery(QStringLiteral("SELECT * FROM \"%1\" WHERE ").arg(table) + condition, params);
    if (!rs)
        Messages::critical(db->errorString());
    return rs;
}

} // namespace

std::unique_ptr<Db::Recordset> openRow(const QString &table, qint64 id, const QString &goneText)
{
    // The row alone, found by its key: the rest of the table is not read.
    auto rs = openWhere(table, QStringLiteral("id=?"), {id});
    if (rs && rs->eof()) {
        Messages::exclamation(goneText);
        return nullptr;
    }
    return rs;
}

std::unique_ptr<Db::Recordset> openForNew(const QString &table)
{
    return openWhere(table, QStringLiteral("0"), {});
}

} // namespace MasterData
