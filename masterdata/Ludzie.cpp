#include "masterdata/Ludzie.h"

#include "controls/Kat.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/CutTextTips.h"
#include "masterdata/LastDane.h"
#include "masterdata/Ludzie_images.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString RootKey = QStringLiteral("ALL");

Db::Database *database()
{
    return Globals::database();
}

} // namespace

class Ludzie::Controls
{
public:
    Kat *tvKat = nullptr;
    Draw::ImageList treeImages = LudzieImages::treeImages();
};

Ludzie::Ludzie(QWidget *parent)
    : ListWindow(QStringLiteral("ludzie"), LudzieImages::rowIcon(), SortStart::Unsorted, parent),
      m_ui(std::make_unique<Controls>())
{
    setObjectName(QStringLiteral("Ludzie"));
    setWindowTitle(QStringLiteral("Ludzie"));
    buildUi();
    load();
}

void Ludzie::refill()
{
    m_currentKey.clear();
    GetGrupy();
}

Ludzie::~Ludzie() = default;

void Ludzie::buildUi()
{
    ToolBarN *toolbar = buildFrame(QStringLiteral("Toolbar_main"), [this](QWidget *page) {
        auto *pageLayout = new QHBoxLayout(page);
        m_ui->tvKat = new Kat(page);
        m_ui->tvKat->setObjectName(QStringLiteral("tvKat"));
        m_ui->tvKat->setCaptionName(QStringLiteral("Grupy"));
        m_ui->tvKat->setImageList(&m_ui->treeImages);
        CutTextTips::install(m_ui->tvKat->tree());
        pageLayout->addWidget(m_ui->tvKat, 2);

        QTreeWidget *list = createList(
            page, {QStringLiteral("Nazwisko"), QStringLiteral("Imię"), QStringLiteral("Stopień")});
        for (int c = 0; c < 3; ++c)
            list->setColumnWidth(c, 120);
        pageLayout->addWidget(list, 3);
    });
    TBNItems *items = toolbar->ListItems();
    items->Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QStringLiteral("new"));
    items->Add(QStringLiteral("edit"), QStringLiteral("Edytuj"), QStringLiteral("edit"));
    items->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QStringLiteral("del"));
    items->Add(QStringLiteral("lista"), QStringLiteral("Statystyki"), QStringLiteral("szablony"));

    connect(toolbar, &ToolBarN::ItemClick, this, &Ludzie::toolbarClick);
    connect(m_ui->tvKat, &Kat::NodeClick, this, [this](QTreeWidgetItem *node) {
        if (node)
            nodeClick(KatNodes::key(node));
    });
    // The list follows the current node however it became current: arrow
    // keys and type-ahead move it without a click.
    connect(m_ui->tvKat->tree(), &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *node) {
                if (node && !m_rebuildingTree)
                    nodeClick(KatNodes::key(node));
            });
    connect(m_ui->tvKat, &Kat::AddClick, this, [this](const QString &) { addGroup(); });
    connect(m_ui->tvKat, &Kat::DeleteClick, this, &Ludzie::deleteGroup);
    connect(m_ui->tvKat, &Kat::AfterRename, this,
            [this](const QString &id, const QString &name) { renameGroup(id.toLongLong(), name); });

    resize(700, 480);
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
    const QScopedValueRollback<bool> rebuilding(m_rebuildingTree, true);
    tree->setVisible(false);
    nodes.Clear();
    const QString one = QStringLiteral("1");
    const QString two = QStringLiteral("2");
    QTreeWidgetItem *root =
        nodes.Add(QString(), tvwFirst, RootKey, QStringLiteral("Wszystkie"), one, two);
    tree->setSelectedItem(root);

    if (Db::Database *db = database()) {
        auto rs =
            db->openQuery(QStringLiteral("SELECT * FROM grupy ORDER BY nazwa COLLATE POLISH"));
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
    QTreeWidget *list = lista();
    beginFill();

    if (Db::Database *db = database()) {
        // The list sorts the rows once, as Polish readers order surnames.
        QString sql = QStringLiteral("SELECT id, nazwisko, imie, stopien FROM ludzie");
        QVariantList params;
        if (key != RootKey) {
            sql += QStringLiteral(" WHERE id_grupa=?");
            params << QString::number(Module1::IdFromKey(key));
        }
        Db::Cursor rows(*db, sql, params);
        while (rows.next())
            ListAddItem(rows.integer(0), rows.text(1), rows.text(2), rows.text(3));
        if (rows.failed())
            Messages::critical(db->errorString());
    }
    endFill(0);
    if (list->topLevelItemCount() > 0) {
        list->setCurrentItem(list->topLevelItem(0));
    }
    m_currentKey = key;
}

void Ludzie::ListAddItem(qint64 id, const QString &nazwisko, const QString &imie,
                         const QString &stopien, bool select)
{
    addRow(id, {nazwisko, imie, stopien}, select);
}

void Ludzie::ListEditItem(const QString &nazwisko, const QString &imie, const QString &stopien)
{
    rewriteSelectedRow({nazwisko, imie, stopien});
}

void Ludzie::addGroup()
{
    auto rs = MasterData::openTable(QStringLiteral("grupy"));
    if (!rs)
        return;
    const QString name = QStringLiteral("Nowa grupa");
    rs->addNew();
    rs->setValue(QStringLiteral("nazwa"), name);
    if (!rs->update()) {
        Messages::critical(rs->errorString());
        return;
    }
    const QString key = Module1::KeyFromId(rs->lastId());
    QTreeWidgetItem *node = m_ui->tvKat->Nodes().Add(RootKey, tvwChild, key, name,
                                                     QStringLiteral("1"), QStringLiteral("2"));
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
    if (!MasterData::storableTexts({{QStringLiteral("Nazwa grupy"), name}})) {
        // The tree takes the typed name once the edit is over: the stored one goes back then.
        const QString key = Module1::KeyFromId(id);
        const QTreeWidgetItem *edited = m_ui->tvKat->Nodes().Item(key);
        const QString stored = edited ? edited->text(0) : QString();
        QTimer::singleShot(0, this, [this, key, stored] {
            if (QTreeWidgetItem *node = m_ui->tvKat->Nodes().Item(key)) {
                node->setText(0, stored);
                m_ui->tvKat->tree()->sortItems(0, Qt::AscendingOrder);
            }
        });
        return;
    }
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
                       Messages::Buttons::YesNo) != Messages::Answer::Yes)
        return;

    Db::Database *db = database();
    if (!db)
        return;
    const qint64 id = Module1::IdFromKey(key);
    {
        Db::Transaction transaction(*db);
        if (!db->execute(QStringLiteral("DELETE FROM ludzie WHERE id_grupa=?"),
                         {QString::number(id)}) ||
            !db->execute(QStringLiteral("DELETE FROM grupy WHERE id=?"), {id}) ||
            !transaction.commit()) {
            Messages::critical(db->errorString());
            return;
        }
    }
    {
        const QScopedValueRollback<bool> rebuilding(m_rebuildingTree, true);
        m_ui->tvKat->Nodes().Remove(key);
        m_ui->tvKat->setSelectedItem(m_ui->tvKat->Nodes().Item(RootKey));
    }
    // The list may show the deleted people (the group itself or "Wszystkie"): show the root afresh.
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
        lista()->setFocus();
    } else if (key == QLatin1String("edit")) {
        editSelected();
    } else if (key == QLatin1String("del")) {
        deletePeople();
    } else if (key == QLatin1String("lista")) {
        LastDane counts(this);
        showModal(counts);
    }
}

void Ludzie::editRow(qint64 id)
{
    Ludzie_item editor(this);
    editor.setPeopleWindow(this);
    if (editor.GetInfo(id))
        showModal(editor);
    lista()->setFocus();
}

void Ludzie::deletePeople()
{
    deleteSelectedRows();
}

QString Ludzie::pickerName(const Db::Recordset &row) const
{
    return row.text(QStringLiteral("nazwisko")) + u' ' + row.text(QStringLiteral("imie"));
}
