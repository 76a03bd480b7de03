#include "masterdata/Zwolnienia_item.h"

#include "controls/BlueCommand.h"
#include "core/DateTimeText.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/clock/Clock.h"
#include "platform/db/Recordset.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidgetItem>
#include <QTabWidget>
#include <QVBoxLayout>

QString absenceLine(const QDate &first, const QDate &last, const QString &opis)
{
    return Module1::FormatPeriod(first, last) + QStringLiteral(" - ") + opis;
}

namespace {

const QString GoneText = QStringLiteral("Wybrane zwolnienie nie istnieje już w bazie danych.");

// The stored row of the absence id; null after telling the user when it is not there.
std::unique_ptr<Db::Recordset> openAbsence(const QString &id)
{
    bool ok = false;
    const qint64 value = id.toLongLong(&ok);
    if (!ok) {
        Messages::exclamation(GoneText);
        return nullptr;
    }
    return MasterData::openRow(QStringLiteral("zwolnienia"), value, GoneText);
}

QDateEdit *makeDateEdit(QWidget *parent, const QString &name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    return edit;
}

} // namespace

Zwolnienia_item::Zwolnienia_item(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Zwolnienia_item"));
    setWindowTitle(QStringLiteral("Dane zwolnienia"));

    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    auto *grid = new QGridLayout(page);
    m_first = makeDateEdit(page, QStringLiteral("poleData0"));
    m_last = makeDateEdit(page, QStringLiteral("poleData1"));
    m_opis = new QLineEdit(page);
    m_opis->setObjectName(QStringLiteral("txt0"));
    grid->addWidget(new QLabel(QStringLiteral("Od:"), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Do:"), page), 0, 1);
    grid->addWidget(m_first, 1, 0);
    grid->addWidget(m_last, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Opis:"), page), 2, 0, 1, 2);
    grid->addWidget(m_opis, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    tabs->addTab(page, QStringLiteral("Ogólne"));
    layout->addWidget(tabs, 1);

    const MasterData::ButtonRow buttons =
        MasterData::addButtonRow(layout, this, QStringLiteral("Zapisz"));
    buttons.ok->setDefault(true);
    connect(buttons.ok, &BlueCommand::Click, this, &Zwolnienia_item::save);
    connect(buttons.close, &BlueCommand::Click, this, &QDialog::reject);

    // Opening: today to the same day of the next month, until GetInfo puts in the stored days.
    const QDate today = Clock::today();
    setPeriod(today, today.addMonths(1));
    m_first->setFocus();
    resize(320, 200);
}

QDate Zwolnienia_item::firstDay() const
{
    return m_first->date();
}

QDate Zwolnienia_item::lastDay() const
{
    return m_last->date();
}

QString Zwolnienia_item::description() const
{
    return m_opis->text();
}

void Zwolnienia_item::setPeriod(const QDate &first, const QDate &last)
{
    m_first->setDate(first);
    m_last->setDate(last);
}

void Zwolnienia_item::setDescription(const QString &text)
{
    m_opis->setText(text);
}

bool Zwolnienia_item::GetInfo()
{
    if (m_id.isEmpty())
        return true;
    auto rs = openAbsence(m_id);
    if (!rs)
        return false;
    m_opis->setText(rs->text(QStringLiteral("opis")));
    const QDate first = DateTimeText::dateOf(rs->text(QStringLiteral("od")));
    const QDate last = DateTimeText::dateOf(rs->text(QStringLiteral("do")));
    if (first.isValid())
        m_first->setDate(first);
    if (last.isValid())
        m_last->setDate(last);
    return true;
}

bool Zwolnienia_item::save()
{
    const QDate first = m_first->date();
    const QDate last = m_last->date();
    if (first > last) {
        Messages::exclamation(QStringLiteral("Błędne daty!"));
        return false;
    }
    // Only the person editor adds absences; without an id there is no row to store into.
    auto rs = openAbsence(m_id);
    if (!rs)
        return false;
    rs->edit();
    rs->setValue(QStringLiteral("opis"), m_opis->text());
    rs->setValue(QStringLiteral("od"), DateTimeText::dateText(first));
    rs->setValue(QStringLiteral("do"), DateTimeText::dateText(last));
    if (!rs->update()) {
        Messages::critical(rs->errorString());
        return false;
    }
    if (m_line)
        m_line->setText(absenceLine(first, last, m_opis->text()));
    accept();
    return true;
}
