#include "engine/ui/WizardItem.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarIcons.h"
#include "core/Messages.h"
#include "core/ui/DialogParts.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "engine/WizItem.h"
#include "engine/ui/WizardHost.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

struct KindRow
{
    const char16_t *comboText;
    int kind;
    const char16_t *caption0;
    int picker0;
    const char16_t *caption1; // empty: the kind has no second list
    int picker1;
};

// In the combo box's order.
const KindRow Kinds[] = {
    {u"Ustawianie grup, aby wkonywały tylko konkretne służby", WizItem::GroupsTakeOnlyDuties,
     u"Grupy:", 0, u"wykonują tylko służby:", 3},
    {u"Ustawianie służb, aby były wykonywane przez konkretne grupy",
     WizItem::DutiesTakenOnlyByGroups, u"Służby:", 3, u"są wykonywane tylko przez grupy:", 0},
    {u"Ustawianie ludzi, aby wkonywali tylko konkretne służby", WizItem::PersonsTakeOnlyDuties,
     u"Ludzie:", 1, u"wykonują tylko służby:", 3},
    {u"Ustawianie służb, aby były wykonywane przez konkretnych ludzi",
     WizItem::DutiesTakenOnlyByPersons, u"Służby:", 3, u"są wykonywane tylko przez ludzi:", 1},
    {u"Ustawianie zwolnień grupowych", WizItem::GroupsAbsent, u"Zwolnienie dla grup:", 0, u"", -1},
    {u"Ustawianie zwolnień indywidualnych", WizItem::PersonsAbsent, u"Zwolnienie dla osób:", 1, u"",
     -1},
    {u"Całkowite zwalnianie służb z określonych dni", WizItem::DutiesNotNeeded,
     u"Zwolnienie służb:", 3, u"", -1},
};

const KindRow *rowOfKind(int kind)
{
    for (const KindRow &row : Kinds) {
        if (row.kind == kind)
            return &row;
    }
    return nullptr;
}

const QChar Nul(u'\0');
constexpr int IdRole = Qt::UserRole;

// An added entry alone is selected, so "Usuń" right after removes only it.
void selectOnly(QListWidget *list, int row)
{
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

} // namespace

WizardItem::WizardItem(WizardHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("WizardItem"));
    setWindowTitle(QStringLiteral("Kreator ustawień - edycja zdarzenia"));

    QTabWidget *tabs = nullptr;
    QWidget *page = DialogParts::generalPage(*this, &tabs);
    auto *pageLayout = new QVBoxLayout(page);

    m_combo = new QComboBox(page);
    m_combo->setObjectName(QStringLiteral("Combo1"));
    for (const KindRow &row : Kinds)
        m_combo->addItem(QString::fromUtf16(row.comboText), row.kind);
    pageLayout->addWidget(m_combo);
    m_combo->setFocus();

    const Draw::ImageList icons = ToolBarIcons::buttons();
    const auto icon = [&icons](const char *key) {
        return QIcon(QPixmap::fromImage(icons.picture(QString::fromLatin1(key))));
    };
    for (int k = 0; k < 3; ++k) {
        m_frames[k] = new QGroupBox(page);
        m_frames[k]->setObjectName(QStringLiteral("lbl_%1").arg(k));
        auto *frameLayout = new QVBoxLayout(m_frames[k]);
        auto *toolbar = new QToolBar(m_frames[k]);
        toolbar->setObjectName(QStringLiteral("tbButtons_%1").arg(k));
        toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        toolbar->setIconSize(QSize(16, 16));
        // Three buttons: "Dodaj", one without key or text between, "Usuń".
        m_add[k] = toolbar->addAction(icon("new"), QStringLiteral("Dodaj"));
        toolbar->addSeparator();
        m_del[k] = toolbar->addAction(icon("del"), QStringLiteral("Usuń"));
        connect(m_add[k], &QAction::triggered, this,
                [this, k] { Ui::guarded([this, k] { toolbarClick(k, QStringLiteral("add")); }); });
        connect(m_del[k], &QAction::triggered, this,
                [this, k] { Ui::guarded([this, k] { toolbarClick(k, QStringLiteral("del")); }); });
        m_lists[k] = new QListWidget(m_frames[k]);
        m_lists[k]->setObjectName(QStringLiteral("List1_%1").arg(k));
        m_lists[k]->setSelectionMode(QAbstractItemView::ExtendedSelection);
        Module1::FlatBorder(m_lists[k]);
        frameLayout->addWidget(toolbar);
        frameLayout->addWidget(m_lists[k], 1);
        m_frames[k]->setMinimumSize(337, 121);
        pageLayout->addWidget(m_frames[k], 1);
    }
    m_frames[Days]->setTitle(QStringLiteral("w dniach"));

    QHBoxLayout *buttons = DialogParts::commandRow(
        {DialogParts::command(*this, QStringLiteral("Command1"), QStringLiteral("Zapisz"),
                              [this] { confirm(); }),
         DialogParts::closeCommand(*this, QStringLiteral("Anuluj"))});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    connect(m_combo, &QComboBox::currentIndexChanged, this, [this] { kindChosen(); });
    selectKindAt(0);
}

QAction *WizardItem::toolbarAction(int index, const QString &key) const
{
    if (index < 0 || index > 2)
        return nullptr;
    if (key == QLatin1String("add"))
        return m_add[index];
    if (key == QLatin1String("del"))
        return m_del[index];
    return nullptr;
}

void WizardItem::SetNew()
{
    m_new = true;
    selectKindAt(0);
}

void WizardItem::GetInfo()
{
    m_new = false;
    if (!m_item)
        return;
    const int position = m_combo->findData(m_item->Kind());
    selectKindAt(position < 0 ? 0 : position);

    const QString arguments[2] = {m_item->Argument1(), m_item->Argument2()};
    for (int k = 0; k < 2; ++k) {
        for (const QString &entry : WizItem::splitList(arguments[k]))
            addArgument(k, WizItem::entryId(entry).toLongLong(), WizItem::entryName(entry));
    }
    for (const QString &entry : WizItem::splitList(m_item->Dates())) {
        const QStringList fields = entry.split(u';');
        addRange(fields.value(0), fields.value(1));
    }
    for (QListWidget *list : m_lists) {
        if (list->count() > 0)
            list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    }
}

void WizardItem::selectKindAt(int position)
{
    {
        const QSignalBlocker blocker(m_combo);
        m_combo->setCurrentIndex(position);
    }
    kindChosen();
}

int WizardItem::kind() const
{
    return m_combo->currentData().toInt();
}

void WizardItem::kindChosen()
{
    const KindRow *row = rowOfKind(kind());
    if (!row)
        return;
    m_frames[Subjects]->setTitle(QString::fromUtf16(row->caption0));
    m_frames[Objects]->setTitle(QString::fromUtf16(row->caption1));
    for (QListWidget *list : m_lists)
        list->clear();
    m_dayRanges.clear();
    const bool two = row->picker1 >= 0;
    m_lists[Objects]->setEnabled(two);
    SetListEnabled(Objects, two);
}

void WizardItem::SetListEnabled(int index, bool enabled)
{
    m_add[index]->setEnabled(enabled);
    m_del[index]->setEnabled(enabled);
    // The layout moves the day ranges into the place of a hidden frame.
    if (index == Objects)
        m_frames[Objects]->setHidden(!enabled);
}

int WizardItem::pickerKind(int index) const
{
    if (index == Days)
        return 2;
    const KindRow *row = rowOfKind(kind());
    if (!row)
        return -1;
    return index == Subjects ? row->picker0 : row->picker1;
}

void WizardItem::toolbarClick(int index, const QString &key)
{
    if (index < 0 || index > 2 || !m_lists[index]->isEnabled())
        return;
    QListWidget *list = m_lists[index];
    if (key == QLatin1String("add")) {
        const int rodzaj = pickerKind(index);
        if (rodzaj >= 0)
            addEntries(index, m_host.pick(rodzaj));
    } else if (key == QLatin1String("del")) {
        if (list->count() == 0 || list->selectedItems().isEmpty())
            return;
        for (int i = list->count() - 1; i >= 0; --i) {
            if (!list->item(i)->isSelected())
                continue;
            delete list->takeItem(i);
            if (index == Days)
                m_dayRanges.removeAt(i);
        }
    }
}

void WizardItem::addEntries(int index, const QString &result)
{
    if (result.isEmpty() || index < 0 || index > 2)
        return;
    for (const QString &entry : result.split(Nul)) {
        const qsizetype sep = entry.indexOf(u';');
        if (sep < 0)
            continue;
        if (index == Days) {
            addRange(entry.left(sep), entry.mid(sep + 1).section(u';', 0, 0));
            continue;
        }
        bool ok = false;
        const qint64 id = entry.left(sep).toLongLong(&ok);
        if (ok)
            addArgument(index, id, entry.mid(sep + 1));
    }
}

// Entries are told apart by id, so two people of one name can both be listed.
void WizardItem::addArgument(int index, qint64 id, const QString &name)
{
    QListWidget *list = m_lists[index];
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(IdRole).toLongLong() == id)
            return;
    }
    auto *item = new QListWidgetItem(name, list);
    item->setData(IdRole, id);
    selectOnly(list, list->count() - 1);
}

void WizardItem::addRange(const QString &first, const QString &last)
{
    QListWidget *list = m_lists[Days];
    const QString display = rangeText(first, last);
    if (Module1::ListBoxContains(list, display))
        return;
    m_dayRanges.append(first + u';' + last);
    list->addItem(display);
    selectOnly(list, list->count() - 1);
}

QString WizardItem::rangeText(const QString &first, const QString &last)
{
    return first == last ? first : first + u'-' + last;
}

QString WizardItem::argumentText(int index) const
{
    QStringList entries;
    const QListWidget *list = m_lists[index];
    for (int i = 0; i < list->count(); ++i)
        entries << QString::number(list->item(i)->data(IdRole).toLongLong()) + u';' +
                       list->item(i)->text();
    return WizItem::joinList(entries);
}

bool WizardItem::confirm()
{
    for (const QListWidget *list : m_lists) {
        if (list->isEnabled() && list->count() == 0) {
            Messages::exclamation(QStringLiteral("Nie wszystkie dane zostały podane!"));
            return false;
        }
    }
    if (m_item) {
        QStringList dates;
        for (int i = 0; i < m_dayRanges.size(); ++i)
            dates << m_dayRanges.at(i) + u';' + m_lists[Days]->item(i)->text();
        m_item->setKind(kind());
        m_item->setArgument1(argumentText(Subjects));
        // Kinds of one list store an empty second list.
        m_item->setArgument2(m_lists[Objects]->isEnabled() ? argumentText(Objects) : QString());
        m_item->setDates(WizItem::joinList(dates));
    }
    accept();
    return true;
}
