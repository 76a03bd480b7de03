#include "masterdata/MasterDataCommon.h"

#include "controls/BlueCommand.h"
#include "core/DateTimeText.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/XmlText.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/Values.h"
#include "platform/text/WholeNumber.h"

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

bool storableTexts(const QList<LabelledText> &texts)
{
    for (const LabelledText &field : texts) {
        const qsizetype at = XmlText::firstForbidden(field.text);
        if (at < 0)
            continue;
        Messages::show(
            Messages::lines(
                {QStringLiteral("Błędne dane"),
                 QStringLiteral("Pole „%1” zawiera niedozwolony znak (%2), którego nie można "
                                "zapisać w pliku grafiku. Proszę go usunąć.")
                     .arg(field.caption, XmlText::codeAt(field.text, at))}),
            Messages::Icon::Exclamation, Messages::Buttons::Ok);
        return false;
    }
    return true;
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

Db::RowReplacer monthCountsReplacer(Db::Database &db)
{
    return Db::RowReplacer(db, QStringLiteral("ludzie_last"),
                           {QStringLiteral("id_osoba"), QStringLiteral("miesiac"),
                            QStringLiteral("ilosc"), QStringLiteral("data")},
                           2);
}

std::optional<qint64> storedId(const QVariant &value)
{
    if (value.typeId() == QMetaType::LongLong)
        return value.toLongLong();
    return WholeNumber::parse(Db::Values::text(value));
}

std::optional<QList<HeadCountRow>> headCountRows(Db::Database &db, const QDate &month)
{
    // The month's own rows, and every row not in the form the month functions
    // read: those are sorted out by their parsed day.
    auto rs = db.openQuery(
        QStringLiteral("SELECT rowid AS id, id_sluzba, data, ilosc FROM sluzby_ilosc "
                       "WHERE (YEAR(data)=? AND MONTH(data)=?) OR substr(data,5,1)<>'-' "
                       "ORDER BY rowid"),
        {month.year(), month.month()});
    if (!rs)
        return std::nullopt;
    QList<HeadCountRow> rows;
    for (; !rs->eof(); rs->moveNext()) {
        const QDate day = DateTimeText::dateOf(rs->text(QStringLiteral("data")));
        if (day.year() != month.year() || day.month() != month.month())
            continue;
        rows.append({rs->integer(QStringLiteral("id")), rs->value(QStringLiteral("id_sluzba")), day,
                     rs->value(QStringLiteral("ilosc"))});
    }
    return rows;
}

bool deleteHeadCounts(Db::Database &db, const QDate &month)
{
    const std::optional<QList<HeadCountRow>> rows = headCountRows(db, month);
    if (!rows)
        return false;
    QList<qint64> rowIds;
    for (const HeadCountRow &row : *rows)
        rowIds.append(row.rowId);
    return deleteRows(db, QStringLiteral("sluzby_ilosc"), rowIds);
}

bool deleteRows(Db::Database &db, const QString &table, const QList<qint64> &rowIds)
{
    // One statement, prepared once, for every row.
    QList<QVariantList> ids;
    ids.reserve(rowIds.size());
    for (qint64 id : rowIds)
        ids.append(QVariantList{id});
    return db.executeEach(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(table), ids);
}

} // namespace MasterData
