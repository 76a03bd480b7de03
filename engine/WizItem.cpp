#include "engine/WizItem.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

namespace {

const QChar Nul(u'\0');

QString sentenceTemplate(int kind)
{
    switch (kind) {
    case WizItem::GroupsTakeOnlyDuties:
        return QStringLiteral("Grupy: [arg1] wykonują tylko służby: [arg2] w dniach: [dates]");
    case WizItem::DutiesTakenOnlyByGroups:
        return QStringLiteral(
            "Służby: [arg1] są wykonywane tylko przez grupy: [arg2] w dniach: [dates]");
    case WizItem::GroupsAbsent:
        return QStringLiteral("Zwolnienie dla grup: [arg1] w dniach: [dates]");
    case WizItem::PersonsAbsent:
        return QStringLiteral("Zwolnienie dla osób: [arg1] w dniach: [dates]");
    case WizItem::DutiesNotNeeded:
        return QStringLiteral("Zwolnienie służb: [arg1] w dniach: [dates]");
    case WizItem::PersonsTakeOnlyDuties:
        return QStringLiteral("Ludzie: [arg1] wykonują tylko służby: [arg2] w dniach: [dates]");
    case WizItem::DutiesTakenOnlyByPersons:
        return QStringLiteral(
            "Służby: [arg1] są wykonywane tylko przez ludzi: [arg2] w dniach: [dates]");
    default:
        return {};
    }
}

QString namesOf(const QString &list)
{
    QStringList names;
    for (const QString &entry : WizItem::splitList(list))
        names << WizItem::entryName(entry);
    return names.join(QStringLiteral(", "));
}

QString periodsOf(const QString &dates)
{
    QStringList texts;
    for (const QString &entry : WizItem::splitList(dates)) {
        const QStringList fields = entry.split(u';');
        const QString day1 = fields.value(0);
        const QString day2 = fields.value(1);
        texts << (day2 == day1 ? day1 : day1 + u'-' + day2);
    }
    return texts.join(QStringLiteral(", "));
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

QString WizItem::MakeText() const
{
    QString text = sentenceTemplate(m_kind);
    if (text.isEmpty())
        return text;
    text.replace(QLatin1String("[arg1]"), namesOf(m_argument1));
    text.replace(QLatin1String("[arg2]"), namesOf(m_argument2));
    text.replace(QLatin1String("[dates]"), periodsOf(m_dates));
    return text;
}

QStringList WizItem::splitList(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(Nul);
}

QString WizItem::joinList(const QStringList &entries)
{
    return entries.join(Nul);
}

QString WizItem::entryId(const QString &entry)
{
    return entry.section(u';', 0, 0);
}

QString WizItem::entryName(const QString &entry)
{
    const qsizetype at = entry.indexOf(u';');
    return at < 0 ? QString() : entry.mid(at + 1);
}

WizItem WizItem::fromRecord(const Db::Recordset &row)
{
    WizItem item;
    item.m_id = row.text(QStringLiteral("id"));
    item.m_kind = int(row.integer(QStringLiteral("Kind")));
    item.m_argument1 = row.text(QStringLiteral("arg1"));
    item.m_argument2 = row.text(QStringLiteral("arg2"));
    item.m_dates = row.text(QStringLiteral("Dates"));
    return item;
}

QList<WizItem> WizItem::LoadRuleSet(Db::Database &db, qint64 ruleSetId, QString *error, bool *ok)
{
    QList<WizItem> items;
    if (ok)
        *ok = false;
    auto rows = db.openQuery(
        QStringLiteral("SELECT * FROM wizardlist_items WHERE id_parent=? ORDER BY rowid"),
        {QString::number(ruleSetId)});
    if (!rows) {
        setError(error, db.errorString());
        return items;
    }
    for (; !rows->eof(); rows->moveNext())
        items << fromRecord(*rows);
    if (ok)
        *ok = true;
    return items;
}

bool WizItem::store(Db::Database &db, qint64 ruleSetId, QString *error)
{
    auto table = db.openTable(QStringLiteral("wizardlist_items"));
    if (!table) {
        setError(error, db.errorString());
        return false;
    }
    bool known = false;
    const qint64 id = m_id.toLongLong(&known);
    const bool added = !(known && table->seek(QStringLiteral("PrimaryKey"), id));
    if (!added) {
        table->edit();
    } else {
        table->addNew();
        table->setValue(QStringLiteral("id_parent"), QString::number(ruleSetId));
    }
    table->setValue(QStringLiteral("Kind"), m_kind);
    table->setValue(QStringLiteral("arg1"), m_argument1);
    table->setValue(QStringLiteral("arg2"), m_argument2);
    table->setValue(QStringLiteral("Dates"), m_dates);
    if (!table->update()) {
        setError(error, table->errorString());
        return false;
    }
    if (added)
        m_id = QString::number(table->lastId());
    return true;
}
