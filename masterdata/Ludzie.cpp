#include "masterdata/Ludzie.h"

#include "controls/BlueCommand.h"
#include "controls/Kat.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "controls/cFlatHeader.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/Module1Ui.h"
#include "masterdata/Ludzie_images.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

BlueCommand *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new BlueCommand(parent);
    button->setObjectName(name);
    button->setCaption(caption);
    return button;
}

const QString RootKey = QStringLiteral("ALL");
constexpr int KeyRole = Qt::UserRole;

Db::Database *database()
{
    return Globals::database();
}

} // namespace

class Ludzie::Controls
{
public:
    ToolBarN *toolbar = nullptr;
    Kat *tvKat = nullptr;
    BlueCommand *buttonOK = nullptr;
    BlueCommand *buttonClose = nullptr;
    cFlatHeader flatHeader;
    Draw::ImageList treeImages = LudzieImages::treeImages();
    QIcon rowIcon = LudzieImages::rowIcon();
};

Ludzie::Ludzie(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Controls>())
{
    setObjectName(QStringLiteral("Ludzie"));
    setWindowTitle(QStringLiteral("Ludzie"));
    buildUi();
    load();
}

void Ludzie::load()
{
    m_loaded = true;
    m_ui->flatHeader.Attach(m_lista);
    m_ui->flatHeader.ThinBorder(m_lista, true);
    m_currentKey.clear();
    Module1::LoadListViewColumns(this);
    GetGrupy();
}

void Ludzie::showEvent(QShowEvent *event)
{
    // An instance shown again after closing starts from a fresh load.
    if (!m_loaded)
        load();
    QDialog::showEvent(event);
}

Ludzie::~Ludzie() = default;

void Ludzie::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_ui->toolbar = new ToolBarN(this);
    m_ui->toolbar->setObjectName(QStringLiteral("Toolbar_main"));
    m_ui->toolbar->setFixedHeight(ToolBarN::BarHeight);
    m_ui->toolbar->setTitle(QStringLiteral("Ludzie"));
    m_ui->toolbar->setImageList(ToolBarIcons::buttons());
    TBNItems *items = m_ui->toolbar->ListItems();
    items->Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QStringLiteral("new"));
    items->Add(QStringLiteral("edit"), QStringLiteral("Edytuj"), QStringLiteral("edit"));
    items->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QStringLiteral("del"));
    items->Add(QStringLiteral("lista"), QStringLiteral("Statystyki"), QStringLiteral("szablony"));
    // The carried-over counts window is not part of the program yet.
    items->Item(QStringLiteral("lista"))->setEnabled(false);
    layout->addWidget(m_ui->toolbar);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(9, 9, 9, 9);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget(tabs);
    auto *pageLayout = new QHBoxLayout(page);

    m_ui->tvKat = new Kat(page);
    m_ui->tvKat->setObjectName(QStringLiteral("tvKat"));
    m_ui->tvKat->setCaptionName(QStringLiteral("Grupy"));
    m_ui->tvKat->setImageList(&m_ui->treeImages);
    pageLayout->addWidget(m_ui->tvKat, 2);

    m_lista = new QTreeWidget(page);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setRootIsDecorated(false);
    m_lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lista->setHeaderLabels({QStringLiteral("Nazwisko"), QStringLiteral("Imię"),
                              QStringLiteral("Stopień")});
    m_lista->header()->setSectionsClickable(true);
    m_lista->header()->setStretchLastSection(false);
    for (int c = 0; c < 3; ++c)
        m_lista->setColumnWidth(c, 120);
    m_lista->installEventFilter(this);
    pageLayout->addWidget(m_lista, 3);

    tabs->addTab(page, QStringLiteral("Ogólne"));
    body->addWidget(tabs, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ui->buttonOK = makeButton(this, QStringLiteral("ButtonOK"), QStringLiteral("Wybierz"));
    m_ui->buttonClose = makeButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Zamknij"));
    m_ui->buttonClose->setCancel(true);
    m_ui->buttonOK->setVisible(false);
    buttons->addWidget(m_ui->buttonOK);
    buttons->addWidget(m_ui->buttonClose);
    body->addLayout(buttons);
    layout->addLayout(body, 1);

    connect(m_ui->toolbar, &ToolBarN::ItemClick, this, &Ludzie::toolbarClick);
    connect(m_ui->tvKat, &Kat::NodeClick, this, [this](QTreeWidgetItem *node) {
        if (node)
            nodeClick(KatNodes::key(node));
    });
    connect(m_ui->tvKat, &Kat::AddClick, this, [this](const QString &) { addGroup(); });
    connect(m_ui->tvKat, &Kat::DeleteClick, this, &Ludzie::deleteGroup);
    connect(m_ui->tvKat, &Kat::AfterRename, this, [this](const QString &id, const QString &name) {
        renameGroup(id.toLongLong(), name);
    });
    connect(m_lista->header(), &QHeaderView::sectionClicked, this, &Ludzie::sortByColumn);
    connect(m_lista, &QTreeWidget::itemDoubleClicked, this, &Ludzie::listDoubleClicked);
    connect(m_ui->buttonOK, &BlueCommand::Click, this, &Ludzie::answerPicker);
    connect(m_ui->buttonClose, &BlueCommand::Click, this, &QDialog::reject);

    resize(700, 480);
}

void Ludzie::setMyClass(SelectItem *picker)
{
    m_myClass = picker;
    m_ui->buttonOK->setVisible(picker != nullptr);
}

Kat *Ludzie::tvKat() const
{
    return m_ui->tvKat;
}

QString Ludzie::selectedNodeKey() const
{
    return KatNodes::key(m_ui->tvKat->SelectedItem());
}

void Ludzie::GetGrupy()
{
    Kat *tree = m_ui->tvKat;
    KatNodes &nodes = tree->Nodes();
    tree->setVisible(false);
    nodes.Clear();
    const QString one = QStringLiteral("1");
    const QString two = QStringLiteral("2");
    QTreeWidgetItem *root = nodes.Add(QString(), tvwFirst, RootKey, QStringLiteral("Wszystkie"), one, two);
    tree->setSelectedItem(root);

    if (Db::Database *db = database()) {
        auto rs = db->openQuery(QStringLiteral("SELECT * FROM grupy ORDER BY nazwa"));
        if (!rs) {
            Messages::critical(db->errorString());
        } else {
            for (; !rs->eof(); rs->moveNext())
                nodes.Add(RootKey, tvwChild, Module1::KeyFromId(rs->integer(QStringLiteral("id"))),
                          rs->text(QStringLiteral("nazwa")), one, two);
        }
    }
    root->setExpanded(true);
    tree->setVisible(true);
    showPeople(RootKey, true);
}

void Ludzie::nodeClick(const QString &key)
{
    showPeople(key, false);
}

void Ludzie::showPeople(const QString &key, bool force)
{
    if (!force && key == m_currentKey)
        return;
    m_lista->clear();

    Db::Database *db = database();
    if (db) {
        QString sql = QStringLiteral("SELECT * FROM ludzie");
        QVariantList params;
        if (key != RootKey) {
            sql += QStringLiteral(" WHERE id_grupa=?");
            params << QString::number(Module1::IdFromKey(key));
        }
        sql += QStringLiteral(" ORDER BY nazwisko");
        auto rs = db->openQuery(sql, params);
        if (!rs) {
            Messages::critical(db->errorString());
        } else {
            for (; !rs->eof(); rs->moveNext())
                ListAddItem(rs->integer(QStringLiteral("id")), rs->text(QStringLiteral("nazwisko")),
                            rs->text(QStringLiteral("imie")), rs->text(QStringLiteral("stopien")));
        }
    }
    if (m_lista->topLevelItemCount() > 0) {
        m_lista->setCurrentItem(m_lista->topLevelItem(0));
    }
    m_currentKey = key;
}

void Ludzie::ListAddItem(qint64 id, const QString &nazwisko, const QString &imie,
                         const QString &stopien, bool select)
{
    if (select)
        m_lista->clearSelection();
    auto *row = new QTreeWidgetItem(m_lista, {nazwisko, imie, stopien});
    row->setData(0, KeyRole, Module1::KeyFromId(id));
    row->setIcon(0, m_ui->rowIcon);
    if (m_sorted)
        resort();
    if (select) {
        m_lista->setCurrentItem(row);
        m_lista->clearSelection();
        row->setSelected(true);
        m_lista->scrollToItem(row);
    }
}

void Ludzie::ListEditItem(const QString &nazwisko, const QString &imie, const QString &stopien)
{
    QTreeWidgetItem *row = m_lista->currentItem();
    if (!row || !row->isSelected()) {
        const auto selected = m_lista->selectedItems();
        if (selected.isEmpty())
            return;
        row = selected.first();
    }
    row->setText(0, nazwisko);
    row->setText(1, imie);
    row->setText(2, stopien);
    if (m_sorted)
        resort();
}

void Ludzie::addGroup()
{
    Db::Database *db = database();
    if (!db)
        return;
    auto rs = db->openTable(QStringLiteral("grupy"));
    if (!rs) {
        Messages::critical(db->errorString());
        return;
    }
    const QString name = QStringLiteral("Nowa grupa");
    rs->addNew();
    rs->setValue(QStringLiteral("nazwa"), name);
    if (!rs->update()) {
        Messages::critical(rs->errorString());
        return;
    }
    const QString key = Module1::KeyFromId(rs->lastId());
    QTreeWidgetItem *node = m_ui->tvKat->Nodes().Add(RootKey, tvwChild, key, name, QStringLiteral("1"),
                                                     QStringLiteral("2"));
    if (!node)
        return;
    if (node->parent())
        node->parent()->setExpanded(true);
    m_ui->tvKat->setSelectedItem(node);
    m_ui->tvKat->tree()->scrollToItem(node);
    showPeople(key, false);
    // The user types the name at once; the rename follows AfterRename.
    if (isVisible())
        m_ui->tvKat->StartLabelEdit();
}

void Ludzie::renameGroup(qint64 id, const QString &name)
{
    Db::Database *db = database();
    if (!db)
        return;
    if (!db->execute(QStringLiteral("UPDATE grupy SET nazwa=? WHERE id=?"), {name, id})) {
        Messages::critical(db->errorString());
        // The tree already shows the new name: rebuild it from the table once the edit is over.
        QTimer::singleShot(0, this, &Ludzie::GetGrupy);
    }
}

void Ludzie::deleteGroup(const QString &key)
{
    // The root stands for every person, not a group: deleting it would wipe the tree.
    if (key == RootKey || Module1::IdFromKey(key) == 0) {
        Messages::show(QStringLiteral("Proszę wybrać grupę, która ma zostać usunięta."),
                       Messages::Icon::Exclamation, Messages::Buttons::Ok);
        return;
    }
    if (Messages::show(QStringLiteral("Czy chcesz kontynuować?"), Messages::Icon::Question,
                       Messages::Buttons::YesNo)
        != Messages::Answer::Yes)
        return;

    Db::Database *db = database();
    if (!db)
        return;
    const qint64 id = Module1::IdFromKey(key);
    {
        Db::Transaction transaction(*db);
        if (!db->execute(QStringLiteral("DELETE FROM ludzie WHERE id_grupa=?"), {QString::number(id)})
            || !db->execute(QStringLiteral("DELETE FROM grupy WHERE id=?"), {id})
            || !transaction.commit()) {
            Messages::critical(db->errorString());
            return;
        }
    }
    m_ui->tvKat->Nodes().Remove(key);

    // The list may show the deleted people (the group itself or "Wszystkie"): show the root afresh.
    m_ui->tvKat->setSelectedItem(m_ui->tvKat->Nodes().Item(RootKey));
    showPeople(RootKey, true);
}

void Ludzie::toolbarClick(const QString &key)
{
    if (key == QLatin1String("new")) {
        const QString nodeKey = selectedNodeKey();
        if (nodeKey.isEmpty() || nodeKey == RootKey) {
            Messages::show(QStringLiteral("Proszę wybrać grupę, do której ma zostać dodana osoba."),
                           Messages::Icon::Exclamation, Messages::Buttons::Ok);
            return;
        }
        Ludzie_item editor(this);
        editor.setPeopleWindow(this);
        editor.SetNew(Module1::IdFromKey(nodeKey));
        showModal(editor);
        m_lista->setFocus();
    } else if (key == QLatin1String("edit")) {
        editSelected();
    } else if (key == QLatin1String("del")) {
        deletePeople();
    }
}

void Ludzie::editSelected()
{
    QTreeWidgetItem *row = m_lista->currentItem();
    if (!row || !row->isSelected()) {
        const auto selected = m_lista->selectedItems();
        if (selected.isEmpty())
            return;
        row = selected.first();
        m_lista->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    }
    Ludzie_item editor(this);
    editor.setPeopleWindow(this);
    if (editor.GetInfo(Module1::IdFromKey(row->data(0, KeyRole).toString())))
        showModal(editor);
    m_lista->setFocus();
}

void Ludzie::deletePeople()
{
    if (m_lista->selectedItems().isEmpty())
        return;
    if (Messages::show(QStringLiteral("Czy chcesz usunąć wybrane pozycje?"), Messages::Icon::Question,
                       Messages::Buttons::YesNoCancel)
        != Messages::Answer::Yes)
        return;
    Db::Database *db = database();
    if (!db)
        return;
    for (int i = m_lista->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem *row = m_lista->topLevelItem(i);
        if (!row->isSelected())
            continue;
        if (!db->execute(QStringLiteral("DELETE FROM ludzie WHERE id=?"),
                         {Module1::IdFromKey(row->data(0, KeyRole).toString())})) {
            Messages::critical(db->errorString());
            return;
        }
        delete row;
    }
}

void Ludzie::answerPicker()
{
    QStringList entries;
    if (Db::Database *db = database()) {
        auto rs = db->openTable(QStringLiteral("ludzie"));
        if (rs) {
            for (int i = 0; i < m_lista->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *row = m_lista->topLevelItem(i);
                if (!row->isSelected())
                    continue;
                if (!rs->seek(QStringLiteral("PrimaryKey"),
                              Module1::IdFromKey(row->data(0, KeyRole).toString())))
                    continue;
                entries << QString::number(rs->integer(QStringLiteral("id"))) + u';'
                               + rs->text(QStringLiteral("nazwisko")) + u' '
                               + rs->text(QStringLiteral("imie"));
            }
        }
    }
    if (m_myClass)
        m_myClass->setResult(entries.join(SelectItem::Separator));
    accept();
}

void Ludzie::sortByColumn(int column)
{
    if (m_sorted && column == m_sortColumn) {
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        m_sortColumn = column;
        m_sortOrder = Qt::AscendingOrder;
    }
    m_sorted = true;
    resort();
}

void Ludzie::resort()
{
    m_lista->header()->setSortIndicatorShown(true);
    m_lista->header()->setSortIndicator(m_sortColumn, m_sortOrder);
    m_lista->sortItems(m_sortColumn, m_sortOrder);
}

void Ludzie::listDoubleClicked()
{
    if (m_myClass)
        answerPicker();
    else
        editSelected();
}

int Ludzie::showModal(QDialog &dialog)
{
    return dialog.exec();
}

bool Ludzie::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lista && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            editSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Ludzie::done(int result)
{
    if (m_loaded) {
        m_loaded = false;
        Module1::SaveListViewColumns(this);
        m_ui->flatHeader.Detach();
    }
    setMyClass(nullptr);
    QDialog::done(result);
}
