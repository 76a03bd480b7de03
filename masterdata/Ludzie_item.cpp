#include "masterdata/Ludzie_item.h"

#include "controls/BlueCommand.h"
#include "core/DateTimeText.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/MonthEdit.h"
#include "masterdata/Ludzie.h"
#include "masterdata/MasterDataCommon.h"
#include "masterdata/Zwolnienia_item.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int IdRole = Qt::UserRole;

const QString PrivilegeNone = QStringLiteral("Brak");
const QString PrivilegeFull = QStringLiteral("Całkowite zwolnienie ze służby");
const QString GoneText = QStringLiteral("Wybrana osoba nie istnieje już w bazie danych.");

} // namespace

class Ludzie_item::Controls
{
public:
    QTabWidget *tabs = nullptr;
    QLineEdit *txt0 = nullptr;
    QLineEdit *txt1 = nullptr;
    QComboBox *poleStopien = nullptr;
    QComboBox *polePlec = nullptr;
    QComboBox *polePrzywilej = nullptr;
    // The month whose absences are listed; the box unticked holds no month.
    QCheckBox *monthOn = nullptr;
    MonthEdit *poleMonth = nullptr;
    QListWidget *lZw = nullptr;
    BlueCommand *buttonOK = nullptr;
    BlueCommand *buttonClose = nullptr;
};

Ludzie_item::Ludzie_item(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Controls>())
{
    setObjectName(QStringLiteral("Ludzie_item"));
    setWindowTitle(QStringLiteral("Dane osoby"));
    buildUi();
    Module1::FlatControls(this, QStringLiteral("TextBox"));
    Module1::FlatControls(this, QStringLiteral("ListBox"));

    // Loading: the ranks and the privilege choices.
    if (Db::Database *db = Globals::database()) {
        auto rs =
            db->openQuery(QStringLiteral("SELECT * FROM stopnie ORDER BY nazwa COLLATE POLISH"));
        if (rs) {
            for (; !rs->eof(); rs->moveNext())
                m_ui->poleStopien->addItem(rs->text(QStringLiteral("nazwa")));
        }
    }
    m_ui->poleStopien->setCurrentIndex(-1);
    m_ui->poleStopien->setEditText(QString());
    m_ui->polePrzywilej->addItems({PrivilegeNone, PrivilegeFull});
    setMonth(Clock::today());
    // Typing starts in the surname, not on the tab bar.
    m_ui->txt0->setFocus();
}

Ludzie_item::~Ludzie_item() = default;

void Ludzie_item::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    m_ui->tabs = new QTabWidget(this);

    auto *general = new QWidget(m_ui->tabs);
    auto *form = new QFormLayout(general);
    m_ui->txt0 = new QLineEdit(general);
    m_ui->txt0->setObjectName(QStringLiteral("txt0"));
    m_ui->txt1 = new QLineEdit(general);
    m_ui->txt1->setObjectName(QStringLiteral("txt1"));
    m_ui->poleStopien = new QComboBox(general);
    m_ui->poleStopien->setObjectName(QStringLiteral("poleStopien"));
    m_ui->poleStopien->setEditable(true);
    m_ui->poleStopien->setInsertPolicy(QComboBox::NoInsert);
    m_ui->polePlec = new QComboBox(general);
    m_ui->polePlec->setObjectName(QStringLiteral("polePlec"));
    m_ui->polePlec->addItems({QStringLiteral("mężczyzna"), QStringLiteral("kobieta")});
    m_ui->polePrzywilej = new QComboBox(general);
    m_ui->polePrzywilej->setObjectName(QStringLiteral("polePrzywilej"));
    form->addRow(QStringLiteral("Nazwisko:"), m_ui->txt0);
    form->addRow(QStringLiteral("Imię:"), m_ui->txt1);
    form->addRow(QStringLiteral("Stopień:"), m_ui->poleStopien);
    form->addRow(QStringLiteral("Płeć:"), m_ui->polePlec);
    form->addRow(QStringLiteral("Przywilej:"), m_ui->polePrzywilej);
    m_ui->tabs->addTab(general, QStringLiteral("Ogólne"));

    auto *absences = new QWidget(m_ui->tabs);
    auto *absLayout = new QVBoxLayout(absences);
    auto *monthRow = new QHBoxLayout;
    m_ui->monthOn = new QCheckBox(absences);
    m_ui->monthOn->setObjectName(QStringLiteral("chkMonth"));
    m_ui->monthOn->setToolTip(QStringLiteral("Zwolnienia z wybranego miesiąca"));
    m_ui->poleMonth = new MonthEdit(absences);
    m_ui->poleMonth->setObjectName(QStringLiteral("poleMonth"));
    monthRow->addWidget(m_ui->monthOn);
    monthRow->addWidget(m_ui->poleMonth, 1);
    absLayout->addLayout(monthRow);
    auto *zwButtons = new QToolBar(absences);
    zwButtons->setObjectName(QStringLiteral("ZwButtons"));
    zwButtons->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::pair<const char *, QString> actions[] = {{"add", QStringLiteral("Dodaj")},
                                                        {"edit", QStringLiteral("Edytuj")},
                                                        {"del", QStringLiteral("Usuń")}};
    for (const auto &[key, text] : actions) {
        const QString k = QString::fromLatin1(key);
        zwButtons->addAction(text, this, [this, k] { zwButtonClick(k); });
    }
    absLayout->addWidget(zwButtons);
    m_ui->lZw = new QListWidget(absences);
    m_ui->lZw->setObjectName(QStringLiteral("lZw"));
    m_ui->lZw->setSelectionMode(QAbstractItemView::ExtendedSelection);
    absLayout->addWidget(m_ui->lZw, 1);
    m_ui->tabs->addTab(absences, QStringLiteral("Zwolnienia"));
    layout->addWidget(m_ui->tabs, 1);

    const MasterData::ButtonRow buttons =
        MasterData::addButtonRow(layout, this, QStringLiteral("Zapisz"));
    m_ui->buttonOK = buttons.ok;
    m_ui->buttonOK->setDefault(true);
    m_ui->buttonClose = buttons.close;

    connect(m_ui->buttonOK, &BlueCommand::Click, this, &Ludzie_item::save);
    connect(m_ui->buttonClose, &BlueCommand::Click, this, &QDialog::reject);
    connect(m_ui->lZw, &QListWidget::itemDoubleClicked, this, &Ludzie_item::editAbsence);
    const auto monthChanged = [this] {
        m_ui->poleMonth->setEnabled(m_ui->monthOn->isChecked());
        if (m_personId != -1)
            FillAbsences();
    };
    connect(m_ui->monthOn, &QCheckBox::toggled, this, monthChanged);
    connect(m_ui->poleMonth, &MonthEdit::dateChanged, this, monthChanged);

    resize(400, 320);
}

QListWidget *Ludzie_item::absenceList() const
{
    return m_ui->lZw;
}

void Ludzie_item::setMonth(const QDate &month)
{
    // One refill at the end, not one per field.
    const qint64 id = m_personId;
    m_personId = -1;
    if (month.isValid())
        m_ui->poleMonth->setDate(month);
    m_ui->monthOn->setChecked(month.isValid());
    m_personId = id;
    if (m_personId != -1)
        FillAbsences();
}

QDate Ludzie_item::month() const
{
    return m_ui->monthOn->isChecked() ? m_ui->poleMonth->date() : QDate();
}

bool Ludzie_item::GetInfo(qint64 id)
{
    auto rs = MasterData::openRow(QStringLiteral("ludzie"), id, GoneText);
    if (!rs)
        return false;
    m_ui->txt0->setText(rs->text(QStringLiteral("nazwisko")));
    m_ui->txt1->setText(rs->text(QStringLiteral("imie")));
    m_ui->poleStopien->setEditText(rs->text(QStringLiteral("stopien")));
    m_ui->polePlec->setCurrentIndex(rs->flag(QStringLiteral("mezczyzna")) ? 0 : 1);
    // An empty or unknown privilege reads as none.
    m_ui->polePrzywilej->setCurrentIndex(rs->integer(QStringLiteral("przywilej")) == 1 ? 1 : 0);
    m_groupId = rs->integer(QStringLiteral("id_grupa"));
    m_personId = id;
    m_ui->tabs->setTabEnabled(1, true);
    FillAbsences();
    return true;
}

void Ludzie_item::SetNew(qint64 groupId)
{
    m_personId = -1;
    m_groupId = groupId;
    m_ui->polePlec->setCurrentIndex(0);
    m_ui->polePrzywilej->setCurrentIndex(0);
    m_ui->tabs->setTabEnabled(1, false);
    m_ui->lZw->clear();
}

bool Ludzie_item::save()
{
    const QString nazwisko = m_ui->txt0->text();
    const QString imie = m_ui->txt1->text();
    if (nazwisko.isEmpty() || imie.isEmpty()) {
        Messages::show(QStringLiteral("Błędne dane"), Messages::Icon::Exclamation,
                       Messages::Buttons::Ok);
        return false;
    }
    const QString stopien = m_ui->poleStopien->currentText();
    if (!MasterData::storableTexts({{QStringLiteral("Nazwisko"), nazwisko},
                                    {QStringLiteral("Imię"), imie},
                                    {QStringLiteral("Stopień"), stopien}}))
        return false;
    const bool isNew = m_personId == -1;
    const QString table = QStringLiteral("ludzie");
    auto rs =
        isNew ? MasterData::openForNew(table) : MasterData::openRow(table, m_personId, GoneText);
    if (!rs)
        return false;
    if (isNew) {
        rs->addNew();
        rs->setValue(QStringLiteral("id_grupa"), QString::number(m_groupId));
        // Drawn once: it fixes the person's place in the group's order for good.
        rs->setValue(QStringLiteral("random"), QRandomGenerator::global()->bounded(10000));
    } else {
        rs->edit();
    }
    rs->setValue(QStringLiteral("nazwisko"), nazwisko);
    rs->setValue(QStringLiteral("imie"), imie);
    rs->setValue(QStringLiteral("stopien"), stopien);
    rs->setValue(QStringLiteral("mezczyzna"), m_ui->polePlec->currentIndex() == 0 ? 1 : 0);
    rs->setValue(QStringLiteral("przywilej"), m_ui->polePrzywilej->currentIndex() == 1 ? 1 : 0);
    if (!rs->update()) {
        Messages::critical(rs->errorString());
        return false;
    }
    if (isNew) {
        m_personId = rs->lastId();
        if (m_peopleWindow)
            m_peopleWindow->ListAddItem(m_personId, nazwisko, imie, stopien, true);
    } else if (m_peopleWindow) {
        m_peopleWindow->ListEditItem(nazwisko, imie, stopien);
    }
    accept();
    return true;
}

void Ludzie_item::FillAbsences()
{
    m_ui->lZw->clear();
    Db::Database *db = Globals::database();
    if (!db || m_personId == -1)
        return;
    QString sql = QStringLiteral("SELECT id, od, \"do\", opis FROM zwolnienia "
                                 "WHERE id_item=? AND rodzaj=0");
    QVariantList params{QString::number(m_personId)};
    const QDate shown = month();
    QDate first, last;
    if (shown.isValid()) {
        // Every absence that overlaps the month, also one that spans it, as the
        // generation takes them; a day in the older form is compared below.
        first = QDate(shown.year(), shown.month(), 1);
        last = first.addMonths(1).addDays(-1);
        sql += QStringLiteral(" AND ((substr(od,1,10)<=? AND substr(\"do\",1,10)>=?) "
                              "OR substr(od,5,1)<>'-' OR substr(\"do\",5,1)<>'-')");
        params << DateTimeText::dateText(last) << DateTimeText::dateText(first);
    }
    sql += QStringLiteral(" ORDER BY rowid");
    auto rs = db->openQuery(sql, params);
    if (!rs) {
        Messages::critical(db->errorString());
        return;
    }
    struct Line
    {
        QDate from, to;
        QString text;
        qint64 id;
    };
    QList<Line> lines;
    for (; !rs->eof(); rs->moveNext()) {
        const QString od = rs->text(QStringLiteral("od"));
        const QString to = rs->text(QStringLiteral("do"));
        Line line{DateTimeText::dateOf(od), DateTimeText::dateOf(to), QString(),
                  rs->integer(QStringLiteral("id"))};
        const bool readable = line.from.isValid() && line.to.isValid();
        if (readable && first.isValid() && (line.from > last || line.to < first))
            continue;
        // A day no reader understands is shown as stored, in every month, so
        // that the planner can put it right.
        line.text = readable ? absenceLine(line.from, line.to, rs->text(QStringLiteral("opis")))
                             : od + QStringLiteral(" do ") + to + QStringLiteral(" - ") +
                                   rs->text(QStringLiteral("opis"));
        lines.append(line);
    }
    // Latest first; the unreadable ones last.
    std::stable_sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) {
        return a.from.isValid() && a.to.isValid() &&
               (!b.from.isValid() || !b.to.isValid() || a.from > b.from);
    });
    for (const Line &line : std::as_const(lines)) {
        auto *entry = new QListWidgetItem(line.text, m_ui->lZw);
        entry->setData(IdRole, line.id);
    }
}

void Ludzie_item::zwButtonClick(const QString &key)
{
    if (key == QLatin1String("add")) {
        if (m_personId == -1)
            return;
        m_ui->lZw->clearSelection();
        QDate d = month();
        if (!d.isValid())
            d = Clock::today();
        auto rs = MasterData::openForNew(QStringLiteral("zwolnienia"));
        if (!rs)
            return;
        const QString opis = QStringLiteral("L4");
        rs->addNew();
        rs->setValue(QStringLiteral("opis"), opis);
        rs->setValue(QStringLiteral("od"), DateTimeText::dateText(d));
        rs->setValue(QStringLiteral("do"), DateTimeText::dateText(d));
        rs->setValue(QStringLiteral("rodzaj"), 0);
        rs->setValue(QStringLiteral("id_item"), QString::number(m_personId));
        if (!rs->update()) {
            Messages::critical(rs->errorString());
            return;
        }
        auto *entry = new QListWidgetItem(absenceLine(d, d, opis), m_ui->lZw);
        entry->setData(IdRole, rs->lastId());
        m_ui->lZw->setCurrentItem(entry);
        entry->setSelected(true);
        editAbsence();
    } else if (key == QLatin1String("edit")) {
        editAbsence();
    } else if (key == QLatin1String("del")) {
        deleteAbsences();
    }
}

void Ludzie_item::editAbsence()
{
    QListWidgetItem *entry = m_ui->lZw->currentItem();
    if (!entry)
        return;
    Zwolnienia_item editor(this);
    editor.setID(QString::number(entry->data(IdRole).toLongLong()));
    editor.setRodzaj(0);
    editor.setListLine(entry);
    if (editor.GetInfo())
        showModal(editor);
}

void Ludzie_item::deleteAbsences()
{
    if (m_ui->lZw->selectedItems().isEmpty())
        return;
    Db::Database *db = Globals::database();
    if (!db)
        return;
    for (int i = m_ui->lZw->count() - 1; i >= 0; --i) {
        QListWidgetItem *entry = m_ui->lZw->item(i);
        if (!entry->isSelected())
            continue;
        if (!db->execute(QStringLiteral("DELETE FROM zwolnienia WHERE id=?"),
                         {entry->data(IdRole).toLongLong()})) {
            Messages::critical(db->errorString());
            return;
        }
        delete entry;
    }
}

int Ludzie_item::showModal(QDialog &dialog)
{
    return dialog.exec();
}
