#include "masterdata/Copy.h"

#include "controls/BlueCommand.h"
#include "core/DateTimeText.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/MonthEdit.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

Copy::Copy(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Copy"));
    setWindowTitle(QStringLiteral("Kopiowanie grafiku"));

    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    auto *grid = new QGridLayout(page);
    m_source = new MonthEdit(page);
    m_source->setObjectName(QStringLiteral("poleData0"));
    m_target = new MonthEdit(page);
    m_target->setObjectName(QStringLiteral("poleData1"));
    auto *from = new QLabel(QStringLiteral("Z miesiąca:"), page);
    from->setObjectName(QStringLiteral("lbl0"));
    auto *to = new QLabel(QStringLiteral("Do miesiąca:"), page);
    to->setObjectName(QStringLiteral("lbl1"));
    grid->addWidget(from, 0, 0);
    grid->addWidget(m_source, 0, 1);
    grid->addWidget(to, 1, 0);
    grid->addWidget(m_target, 1, 1);
    grid->setRowStretch(2, 1);
    tabs->addTab(page, QStringLiteral("Ogólne"));
    layout->addWidget(tabs, 1);

    const MasterData::ButtonRow buttons =
        MasterData::addButtonRow(layout, this, QStringLiteral("Kopiuj"));
    connect(buttons.ok, &BlueCommand::Click, this, [this] { copyMonth(); });
    connect(buttons.close, &BlueCommand::Click, this, &QDialog::reject);

    const QDate today = Clock::today();
    setMonths(today, today.addMonths(1));
    m_source->setFocus();
    resize(320, 160);
}

Copy::~Copy() = default;

void Copy::setMonths(const QDate &source, const QDate &target)
{
    m_source->setDate(source);
    m_target->setDate(target);
}

QDate Copy::sourceMonth() const
{
    const QDate d = m_source->date();
    return QDate(d.year(), d.month(), 1);
}

QDate Copy::targetMonth() const
{
    const QDate d = m_target->date();
    return QDate(d.year(), d.month(), 1);
}

bool Copy::copyMonth()
{
    const QDate source = sourceMonth();
    const QDate target = targetMonth();
    if (source == target) {
        Messages::exclamation(QStringLiteral("Proszę wybrać różne daty!"));
        return false;
    }
    Db::Database *db = Globals::database();
    if (!db)
        return false;

    const int days = Module1::DaysInMonth(target.month(), target.year());
    bool ok = false;
    {
        // The target month is emptied only together with the copy into it.
        // Both months are the generation's: rows in either stored form count.
        Db::Transaction transaction(*db);
        ok = transaction.isActive();
        std::optional<QList<MasterData::HeadCountRow>> rows;
        if (ok)
            rows = MasterData::headCountRows(*db, source);
        ok = ok && rows && MasterData::deleteHeadCounts(*db, target);
        for (qsizetype i = 0; ok && i < rows->size(); ++i) {
            const MasterData::HeadCountRow &row = rows->at(i);
            // Days the target month lacks (the 29th to the 31st) are left out.
            if (row.day.day() > days)
                continue;
            ok = db->execute(
                QStringLiteral(
                    "INSERT INTO sluzby_ilosc (data, id_sluzba, ilosc) VALUES (?, ?, ?)"),
                {DateTimeText::dateText(QDate(target.year(), target.month(), row.day.day())),
                 row.duty, row.ilosc});
        }
        ok = ok && transaction.commit();
    }
    if (!ok) {
        Messages::critical(db->errorString());
        return false;
    }
    Messages::information(QStringLiteral("Kopiowanie przebiegło pomyślnie."));
    return true;
}
