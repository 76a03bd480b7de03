#include "engine/ui/BuildTable.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarIcons.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ui/DialogParts.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/MonthEdit.h"
#include "core/ui/ScheduleGridLayout.h"
#include "engine/Algorytmy.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

// The rule-set box: as wide as the layout makes it, whatever the names; a
// name too long for it is shown cut with "…", whole in the tooltip.
class BuildTable::RuleSetBox : public QComboBox
{
public:
    explicit RuleSetBox(QWidget *parent) : QComboBox(parent)
    {
        setObjectName(QStringLiteral("Combo1"));
        setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        setMinimumContentsLength(12);
        view()->setTextElideMode(Qt::ElideRight);
        connect(this, &QComboBox::currentIndexChanged, this, [this] { setToolTip(currentText()); });
    }

    // The list opens as wide as the box, not as its longest name.
    void showPopup() override
    {
        QComboBox::showPopup();
        QWidget *popup = view()->window();
        if (popup->width() > width())
            popup->setGeometry(mapToGlobal(QPoint(0, 0)).x(), popup->y(), width(), popup->height());
    }

    void addRuleSet(const QString &name, qint64 id)
    {
        addItem(name, id);
        setItemData(count() - 1, name, Qt::ToolTipRole);
    }

    // The current name as the box shows it.
    QString shownText() const
    {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        return shownText(option);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText = shownText(option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
    QString shownText(const QStyleOptionComboBox &option) const
    {
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        return fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width() - 2);
    }
};

BuildTable::BuildTable(BuildTableHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("BuildTable"));
    setWindowTitle(QStringLiteral("Stwórz grafik"));
    resize(520, 430);

    QTabWidget *tabs = nullptr;
    QWidget *page = DialogParts::generalPage(*this, &tabs);
    auto *pageLayout = new QGridLayout(page);

    const Draw::ImageList icons = ToolBarIcons::buttons();
    const auto icon = [&icons](const char *key) {
        return QIcon(QPixmap::fromImage(icons.picture(QString::fromLatin1(key))));
    };
    const QString captions[2] = {QStringLiteral("Uwzględnij grupy"),
                                 QStringLiteral("Uwzględnij służby")};
    for (int k = 0; k < 2; ++k) {
        auto *frame = new QGroupBox(captions[k], page);
        auto *frameLayout = new QVBoxLayout(frame);
        m_toolbars[k] = new QToolBar(frame);
        m_toolbars[k]->setObjectName(QStringLiteral("tbButtons_%1").arg(k));
        m_toolbars[k]->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        m_toolbars[k]->setIconSize(QSize(16, 16));
        QAction *add = m_toolbars[k]->addAction(icon("new"), QStringLiteral("Dodaj"));
        QAction *del = m_toolbars[k]->addAction(icon("del"), QStringLiteral("Usuń"));
        connect(add, &QAction::triggered, this,
                [this, k] { Ui::guarded([this, k] { toolbarClick(k, QStringLiteral("add")); }); });
        connect(del, &QAction::triggered, this,
                [this, k] { Ui::guarded([this, k] { toolbarClick(k, QStringLiteral("del")); }); });
        m_lists[k] = new QListWidget(frame);
        m_lists[k]->setObjectName(QStringLiteral("List1_%1").arg(k));
        m_lists[k]->setSelectionMode(QAbstractItemView::ExtendedSelection);
        frameLayout->addWidget(m_toolbars[k]);
        frameLayout->addWidget(m_lists[k], 1);
        pageLayout->addWidget(frame, 0, k);
    }

    auto *options = new QGridLayout;
    options->addWidget(new QLabel(QStringLiteral("Zastosuj ustawienia:"), page), 0, 0);
    m_combo = new RuleSetBox(page);
    options->addWidget(m_combo, 0, 1);
    options->addWidget(new QLabel(QStringLiteral("Miesiąc:"), page), 1, 0);
    m_month = new MonthEdit(page);
    m_month->setObjectName(QStringLiteral("poleData"));
    options->addWidget(m_month, 1, 1);
    options->setColumnStretch(1, 1);
    pageLayout->addLayout(options, 1, 0, 1, 2);

    BlueCommand *ok = DialogParts::command(*this, QStringLiteral("ButtonOK"),
                                           QStringLiteral("Stwórz"), [this] { create(); });
    ok->setDefault(true);
    QHBoxLayout *buttons =
        DialogParts::commandRow({ok, DialogParts::closeCommand(*this, QStringLiteral("Zamknij"))});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    Module1::FlatControlsOfType(this, QStringLiteral("ListBox"));
    Module1::FlatControlsOfType(this, QStringLiteral("DTPicker"));
    fillLists();
}

void BuildTable::fillLists()
{
    Db::Database *db = Globals::database();
    const QString tables[2] = {QStringLiteral("grupy"), QStringLiteral("sluzby")};
    for (int k = 0; k < 2; ++k) {
        m_lists[k]->clear();
        if (!db)
            continue;
        auto rs = db->openQuery(QStringLiteral("SELECT id, nazwa FROM ") + tables[k]);
        for (; rs && !rs->eof(); rs->moveNext()) {
            auto *item = new QListWidgetItem(rs->text(QStringLiteral("nazwa")), m_lists[k]);
            item->setData(Qt::UserRole, rs->integer(QStringLiteral("id")));
        }
        if (m_lists[k]->count() > 0) {
            m_lists[k]->setCurrentRow(0);
            m_lists[k]->item(0)->setSelected(true);
        }
    }

    m_combo->clear();
    m_combo->addRuleSet(QStringLiteral("(brak)"), 0);
    if (db) {
        auto rs = db->openTable(QStringLiteral("wizardlist"));
        for (; rs && !rs->eof(); rs->moveNext())
            m_combo->addRuleSet(rs->text(QStringLiteral("nazwa")),
                                rs->integer(QStringLiteral("id")));
    }
    m_combo->setCurrentIndex(0);
    m_month->setDate(Clock::today());
}

QList<qint64> BuildTable::ids(int index) const
{
    QList<qint64> result;
    for (int i = 0; i < m_lists[index]->count(); ++i)
        result.append(m_lists[index]->item(i)->data(Qt::UserRole).toLongLong());
    return result;
}

QComboBox *BuildTable::ruleSets() const
{
    return m_combo;
}

QString BuildTable::shownRuleSet() const
{
    return m_combo->shownText();
}

QDate BuildTable::month() const
{
    const QDate date = m_month->date();
    return QDate(date.year(), date.month(), 1);
}

void BuildTable::setMonth(const QDate &month)
{
    m_month->setDate(month);
}

void BuildTable::toolbarClick(int index, const QString &key)
{
    if (index < 0 || index > 1)
        return;
    QListWidget *list = m_lists[index];
    if (key == QLatin1String("add")) {
        // The picker's Rodzaj: 0 groups, 3 duties.
        addEntries(index, m_host.pick(index == Groups ? 0 : 3));
    } else if (key == QLatin1String("del")) {
        if (list->count() == 0 || !list->currentItem())
            return;
        for (int i = list->count() - 1; i >= 0; --i) {
            if (list->item(i)->isSelected())
                delete list->takeItem(i);
        }
    }
}

void BuildTable::addEntries(int index, const QString &result)
{
    if (result.isEmpty() || index < 0 || index > 1)
        return;
    QListWidget *list = m_lists[index];
    const QList<qint64> present = ids(index);
    QList<qint64> added;
    for (const QString &entry : result.split(QChar(u'\0'))) {
        const qsizetype sep = entry.indexOf(u';');
        bool ok = false;
        const qint64 id = entry.left(sep).toLongLong(&ok);
        if (sep < 0 || !ok || present.contains(id) || added.contains(id))
            continue;
        auto *item = new QListWidgetItem(entry.mid(sep + 1), list);
        item->setData(Qt::UserRole, id);
        // The added entry alone is selected, so "Usuń" right after removes only it.
        list->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        added.append(id);
    }
}

QString BuildTable::headerText(const QString &name, const QString &start, const QString &hours)
{
    return name + QStringLiteral("\r\nod ") + start + QStringLiteral(" przez ") + hours +
           QStringLiteral(" h");
}

bool BuildTable::create()
{
    if (m_lists[Groups]->count() == 0) {
        Messages::exclamation(QStringLiteral("Proszę podać przynajmniej jedną grupę!"));
        return false;
    }
    if (m_lists[Duties]->count() == 0) {
        Messages::exclamation(QStringLiteral("Proszę podać przynajmniej jedną służbę!"));
        return false;
    }
    Db::Database *db = Globals::database();
    clsOptions *options = Globals::options();
    if (!db || !options)
        return false;

    // Headers, cells and Position all follow the run's duty order; duties
    // deleted while the dialog was open are left out.
    QString error;
    const std::optional<QList<Algorytmy::DutyRecord>> duties =
        Algorytmy::ChosenDuties(*db, ids(Duties), &error);
    if (!duties) {
        Messages::critical(error);
        return false;
    }
    if (duties->isEmpty()) {
        Messages::exclamation(QStringLiteral("Proszę podać przynajmniej jedną służbę!"));
        return false;
    }
    Algorytmy::GenerationRequest request;
    request.month = month();
    request.groupIds = ids(Groups);
    request.ruleSetId = m_combo->currentData().toLongLong();
    QStringList headers;
    for (const Algorytmy::DutyRecord &duty : *duties) {
        request.dutyIds.append(duty.id);
        headers.append(QString::number(duty.id) + QChar(u'\0') +
                       headerText(duty.name, duty.startText, duty.hoursText));
    }

    hide();
    m_host.refreshWindow();
    m_host.saveWindowState();
    bool handedOver = false;
    if (Module1::ShowScheduleGrid(m_host.scheduleGrid(), request.month, headers))
        handedOver =
            Algorytmy::GenerateSchedule(*db, *options, m_host.generationHost(), request, &error);
    if (handedOver) {
        m_host.setCalendarMonth(request.month);
        m_host.setWindowCaption(QStringLiteral("Grafik [") +
                                m_host.currDate().toString(QStringLiteral("yyyy-MM")) +
                                QStringLiteral("] - ") + Globals::ProgramTitle);
    } else {
        m_host.restoreWindowState();
    }
    done(handedOver ? QDialog::Accepted : QDialog::Rejected);
    return handedOver;
}
