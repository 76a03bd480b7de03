#include "mainwindow/CellList.h"

#include "engine/Algorytmy.h"

#include "controls/BlueCommand.h"
#include "controls/TBNItems.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "mainwindow/PeopleModel.h"
#include "masterdata/MasterDataCommon.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/text/WholeNumber.h"
#include "platform/xml/XmlDocument.h"

#include <QHBoxLayout>
#include <QHash>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int IdRole = Qt::UserRole;

// The generation separates the people of a cell the same way.

struct PersonRow
{
    QString nazwisko;
    QString imie;
    QString stopien;
    std::optional<QString> groupName; // no value: the group is gone
};

std::optional<PersonRow> findPerson(qint64 id)
{
    Db::Database *db = Globals::database();
    if (!db)
        return std::nullopt;
    const auto person = db->openQuery(
        QStringLiteral("SELECT nazwisko, imie, stopien, id_grupa FROM ludzie WHERE id=?"), {id});
    if (!person || person->eof())
        return std::nullopt;
    PersonRow row{person->text(QStringLiteral("nazwisko")), person->text(QStringLiteral("imie")),
                  person->text(QStringLiteral("stopien")), std::nullopt};
    if (const auto groupId = WholeNumber::parse(person->text(QStringLiteral("id_grupa")))) {
        const auto group =
            db->openQuery(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {*groupId});
        if (group && !group->eof())
            row.groupName = group->text(QStringLiteral("nazwa"));
    }
    return row;
}

bool isLineBreak(const Xml::Node &node)
{
    return node.type() == Xml::Node::Type::Text && node.text().trimmed().isEmpty();
}

} // namespace

CellList::CellList(Xml::Document *document, FlexGrid *grid, PeopleModel *people, const QDate &month,
                   QWidget *parent)
    : QDialog(parent), m_document(document), m_grid(grid), m_people(people), m_month(month)
{
    setObjectName(QStringLiteral("CellList"));
    setWindowTitle(QStringLiteral("Lista osób w komórce"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_toolBar = new ToolBarN(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setFixedHeight(ToolBarN::BarHeight);
    m_toolBar->setTitle(QStringLiteral("Wybór osób"));
    m_toolBar->setImageList(ToolBarIcons::buttons());
    TBNItems *items = m_toolBar->ListItems();
    items->Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QString());
    items->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QString());
    layout->addWidget(m_toolBar);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(9, 9, 9, 9);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget(tabs);
    auto *pageLayout = new QVBoxLayout(page);
    m_list = new QListWidget(page);
    m_list->setObjectName(QStringLiteral("List1"));
    Module1::FlatBorder(m_list);
    pageLayout->addWidget(m_list);
    tabs->addTab(page, QStringLiteral("Wybór osób"));
    body->addWidget(tabs, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_buttonSave =
        MasterData::makeButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Zapisz"));
    m_buttonClose =
        MasterData::makeButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Anuluj"));
    m_buttonClose->setCancel(true);
    buttons->addWidget(m_buttonSave);
    buttons->addWidget(m_buttonClose);
    body->addLayout(buttons);
    layout->addLayout(body, 1);

    connect(m_toolBar, &ToolBarN::ItemClick, this,
            [this](const QString &key) { Ui::guarded([&] { toolbarClick(key); }); });
    connect(m_buttonSave, &BlueCommand::Click, this, [this] { Ui::guarded([this] { save(); }); });
    connect(m_buttonClose, &BlueCommand::Click, this, &QDialog::reject);

    resize(420, 460);
}

CellList::~CellList() = default;

QString CellList::cellPath(int day, qint64 dutyId)
{
    return QStringLiteral("/Baza/Dzien[./@Id='") + QString::number(day) +
           QStringLiteral("']/Sluzba[./@Id='") + QString::number(dutyId) + QStringLiteral("']");
}

bool CellList::openCell(int row, int col)
{
    if (!m_document || !m_grid || row < m_grid->fixedRows() || col < m_grid->fixedCols() ||
        row >= m_grid->rows() || col >= m_grid->cols())
        return false;
    m_grid->setCurrentCell(row, col);
    GetList(cellPath(row, m_grid->colData(col)));
    return true;
}

void CellList::GetList(const QString &path)
{
    m_path = path;
    m_changed = false;
    m_row = m_grid ? m_grid->row() : -1;
    m_col = m_grid ? m_grid->col() : -1;
    m_list->clear();
    if (!m_document)
        return;
    for (const Xml::Node &osoba : m_document->selectNodes(path + QStringLiteral("/Osoba"))) {
        const std::optional<qint64> id = WholeNumber::parse(osoba.attribute(QStringLiteral("Id")));
        if (!id)
            continue;
        const std::optional<PersonRow> person = findPerson(*id);
        if (!person)
            continue;
        auto *item = new QListWidgetItem(person->nazwisko + u' ' + person->imie, m_list);
        item->setData(IdRole, *id);
    }
    m_listed = ids();
}

QList<qint64> CellList::ids() const
{
    QList<qint64> result;
    for (int i = 0; i < m_list->count(); ++i)
        result << m_list->item(i)->data(IdRole).toLongLong();
    return result;
}

void CellList::toolbarClick(const QString &key)
{
    if (key == QLatin1String("new"))
        addPeople();
    else if (key == QLatin1String("del"))
        removeSelected();
}

QString CellList::pickPeople()
{
    SelectItem picker;
    picker.setRodzaj(SelectItem::People);
    picker.Show();
    return picker.Result();
}

void CellList::addPeople()
{
    addEntries(pickPeople());
}

void CellList::addEntries(const QString &result)
{
    if (result.isEmpty())
        return;
    QList<qint64> listed = ids();
    for (const QString &entry : result.split(SelectItem::Separator)) {
        const std::optional<qint64> id = WholeNumber::parse(entry.section(u';', 0, 0));
        // Compared by id: two people of one name may serve together.
        if (!id || listed.contains(*id))
            continue;
        listed << *id;
        auto *item = new QListWidgetItem(entry.section(u';', 1, 1), m_list);
        item->setData(IdRole, *id);
        m_list->setCurrentItem(item);
    }
}

void CellList::removeSelected()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        const auto selected = m_list->selectedItems();
        item = selected.isEmpty() ? nullptr : selected.first();
    }
    delete item;
}

void CellList::save()
{
    Xml::Node cell = m_document ? m_document->selectSingleNode(m_path) : Xml::Node();
    if (!cell) {
        // No such cell in the roster: there is nothing to write the list into.
        accept();
        return;
    }

    // The cell emptied with the line breaks that followed each Osoba, so
    // repeated saves do not pile up blank lines.
    QList<QPair<QString, QString>> before;
    for (const Xml::Node &osoba : cell.childElements(QStringLiteral("Osoba"))) {
        before << qMakePair(osoba.attribute(QStringLiteral("Id")),
                            osoba.firstChildElement(QStringLiteral("Nazwisko")).text());
        const Xml::Node next = osoba.nextSibling();
        if (next && isLineBreak(next))
            cell.removeChild(next);
        cell.removeChild(osoba);
    }

    const QString cellShow =
        Globals::options() ? Globals::options()->GetOption(QStringLiteral("CellShow")) : QString();
    // Every place but the list's last row is followed by an empty line, also
    // when the last row is passed over, as an opened roster shows such a cell.
    QString cellText;
    QList<QPair<QString, QString>> after;
    QHash<qint64, PersonRow> written;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        const qint64 id = item->data(IdRole).toLongLong();
        const std::optional<PersonRow> person = findPerson(id);
        if (!person || !person->groupName)
            continue;
        cellText += Algorytmy::CellText(cellShow, person->nazwisko, person->imie, person->stopien,
                                        person->groupName.value_or(QString()));
        if (i + 1 < m_list->count())
            cellText += Algorytmy::CellSeparator;
        XML::AddPersonNode(cell, item->text(), id);
        after << qMakePair(QString::number(id), item->text());
        written.insert(id, *person);
    }
    m_changed = after != before;

    // Only the people added or removed here change their counts: someone
    // passed over (gone from ludzie or from grupy) keeps the count shown.
    // The gains first.
    if (m_people) {
        const QList<qint64> now = ids();
        const auto countOf = [this](int row) {
            return m_people->row(row).texts[PeopleModel::CountColumn].toLongLong();
        };
        const auto setCount = [this](int row, qint64 count) {
            m_people->setData(m_people->index(row, PeopleModel::CountColumn),
                              QString::number(count));
        };
        QList<qint64> handled;
        for (const qint64 id : now) {
            if (handled.contains(id))
                continue;
            handled << id;
            const qint64 gain = now.count(id) - m_listed.count(id);
            // A person added but passed over does not serve in the cell.
            if (gain <= 0 || !written.contains(id))
                continue;
            if (const int row = m_people->rowOf(id); row >= 0) {
                setCount(row, countOf(row) + gain);
            } else {
                const PersonRow &person = written[id];
                const QDate day(m_month.year(), m_month.month(), m_row);
                m_people->appendRow({id,
                                     {person.nazwisko + u' ' + person.imie, *person.groupName,
                                      QString::number(gain)},
                                     day.toString(QStringLiteral("yyyy-MM-dd"))});
            }
        }
        handled.clear();
        for (const qint64 id : std::as_const(m_listed)) {
            if (handled.contains(id))
                continue;
            handled << id;
            const qint64 loss = m_listed.count(id) - now.count(id);
            const int row = loss > 0 ? m_people->rowOf(id) : -1;
            if (row < 0)
                continue;
            const qint64 count = countOf(row) - loss;
            if (count <= 0)
                m_people->removeRows(row, 1);
            else
                setCount(row, count);
        }
    }

    if (m_grid && m_row >= 0 && m_col >= 0) {
        m_grid->setText(m_row, m_col, cellText);
        m_grid->growRowsToText(m_row);
    }
    accept();
}
