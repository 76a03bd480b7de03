#include "mainwindow/Bilans.h"

#include "controls/BlueCommand.h"
#include "controls/PolishTreeItem.h"
#include "controls/ShownText.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "mainwindow/RtfExport.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>
#include <optional>

namespace {

// Group, day and duty nodes show the open folder while expanded; person
// nodes keep their picture.
constexpr int FolderRole = Qt::UserRole + 1;

// Alphabetical, as Polish readers sort; equal texts keep their order.
void sortChildren(QTreeWidgetItem *parent)
{
    QList<QTreeWidgetItem *> children = parent->takeChildren();
    PolishTreeItem::sortByText(children, 0);
    parent->addChildren(children);
}

// What one person of the roster reads in every node of the person.
struct PersonLine
{
    bool found = false;
    QString key;       // "P" and the id as the roster writes it
    QString groupKey;  // "G" and id_grupa as ludzie holds it
    QString name;      // nazwisko, " ", imie
    QString groupName; // or "(brak grupy)"
    // The person's nodes in modes 0 and 1, once made.
    QTreeWidgetItem *node = nullptr;
    QTreeWidgetItem *groupNode = nullptr;
};

// A node of the tree. Its picture is kept as a member: tens of thousands of
// nodes are made at once, and each role kept by the item costs it a list of
// its own.
class Node : public QTreeWidgetItem
{
public:
    Node(const QString &text, const QIcon &icon) : m_icon(icon) { setText(0, text); }

    QVariant data(int column, int role) const override
    {
        if (column == 0 && role == Qt::DecorationRole)
            return m_icon;
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant &value) override
    {
        if (column == 0 && role == Qt::DecorationRole) {
            m_icon = value;
            emitDataChanged();
            return;
        }
        QTreeWidgetItem::setData(column, role, value);
    }

    QTreeWidgetItem *clone() const override
    {
        auto *copy = new Node(*this);
        for (int i = 0; i < childCount(); ++i)
            copy->addChild(child(i)->clone());
        return copy;
    }

private:
    QVariant m_icon;
};

// The tree built apart from the widget, which takes the finished top level
// at once. A key names one node: a node with a key is made only once.
class TreeBuilder
{
public:
    QHash<QString, QTreeWidgetItem *> keys;
    QList<QTreeWidgetItem *> top;

    // A leaf under parent (the top level for none).
    QTreeWidgetItem *leaf(QTreeWidgetItem *parent, const QString &text, const QIcon &icon)
    {
        auto *node = new Node(text, icon);
        if (parent)
            parent->addChild(node);
        else
            top.append(node);
        return node;
    }
    // The node of the key; made under parent with text() when there is none yet.
    template <typename Text>
    QTreeWidgetItem *keyed(QTreeWidgetItem *parent, const QString &key, const Text &text,
                           const QIcon &icon, bool folder = false)
    {
        if (QTreeWidgetItem *existing = keys.value(key))
            return existing;
        QTreeWidgetItem *node = leaf(parent, text(), icon);
        if (folder)
            node->setData(0, FolderRole, true);
        node->setData(0, Qt::UserRole, key);
        keys.insert(key, node);
        return node;
    }
};

QString numberText(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? QString::number(n) : text;
}

} // namespace

// The rows of the tables a tree reads, kept while the window is open: the
// people are read in one pass (a roster names most of them), groups and
// duties found by their id, each statement prepared once; each row is read
// once however many places and modes name it.
struct Bilans::Reading
{
    explicit Reading(Db::Database &database)
        : db(&database),
          grupy(database, QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {qint64(0)}),
          sluzby(database, QStringLiteral("SELECT nazwa, od, okres FROM sluzby WHERE id=?"),
                 {qint64(0)})
    {
        Db::Cursor rows(database,
                        QStringLiteral("SELECT id, id_grupa, nazwisko, imie FROM ludzie"));
        while (rows.next())
            ludzie.insert(rows.integer(0), {rows.text(1).trimmed(), rows.joinedText(2, 3, u' ')});
    }

    PersonLine &personLine(const QString &personId)
    {
        auto it = people.find(personId);
        if (it != people.end())
            return *it;
        PersonLine line;
        bool known = false;
        const qint64 id = personId.toLongLong(&known);
        const auto row = known ? ludzie.constFind(id) : ludzie.constEnd();
        if (row != ludzie.constEnd()) {
            line.found = true;
            line.key = QStringLiteral("P") + personId;
            line.groupKey = QStringLiteral("G") + row->groupId;
            line.name = row->name;
            // A roster may outlive the group it names: show what it still knows.
            const qint64 group = row->groupId.toLongLong();
            auto name = groupNames.find(group);
            if (name == groupNames.end())
                name = groupNames.insert(group, grupy.rerun({group}) && grupy.next()
                                                    ? grupy.text(0)
                                                    : QStringLiteral("(brak grupy)"));
            line.groupName = *name;
        }
        return *people.insert(personId, line);
    }

    const std::optional<QString> &dutyText(const QString &dutyId)
    {
        auto it = dutyTexts.find(dutyId);
        if (it != dutyTexts.end())
            return *it;
        std::optional<QString> text;
        if (sluzby.rerun({dutyId.toLongLong()}) && sluzby.next())
            text = sluzby.text(0) + QStringLiteral(" - od ") + sluzby.text(1) +
                   QStringLiteral(" przez ") + sluzby.text(2) + QStringLiteral(" h");
        return *dutyTexts.insert(dutyId, text);
    }

    struct Stored
    {
        QString groupId; // as ludzie holds it
        QString name;    // nazwisko, " ", imie
    };
    Db::Database *db;
    QHash<qint64, Stored> ludzie;
    Db::Cursor grupy;
    Db::Cursor sluzby;
    QHash<QString, PersonLine> people;                // by the id as the roster writes it
    QHash<qint64, QString> groupNames;                // "(brak grupy)" for a group gone
    QHash<QString, std::optional<QString>> dutyTexts; // none: not in sluzby
};

Bilans::Bilans(const Xml::Document &roster, QWidget *parent) : QDialog(parent), m_roster(roster)
{
    setObjectName(QStringLiteral("Bilans"));
    setWindowTitle(QStringLiteral("Bilans"));
    resize(610, 481);

    auto *menuBar = new QMenuBar(this);
    QMenu *mnuOpcje = menuBar->addMenu(QStringLiteral("Opcje"));
    mnuOpcje->setObjectName(QStringLiteral("mnuOpcje"));
    m_mnuExport = mnuOpcje->addAction(QStringLiteral("Eksport do pliku..."));
    m_mnuExport->setObjectName(QStringLiteral("mnuExport"));
    m_mnuSaveBilans = mnuOpcje->addAction(QStringLiteral("Zapisz bilans do bazy danych"));
    m_mnuSaveBilans->setObjectName(QStringLiteral("mnuSaveBilans"));
    m_mnuSaveBilans->setEnabled(false);
    connect(m_mnuExport, &QAction::triggered, this,
            [this] { Ui::guarded([this] { ExportBilansRtf(); }); });
    connect(m_mnuSaveBilans, &QAction::triggered, this,
            [this] { Ui::guarded([this] { SaveBilans(); }); });

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("Bilans"));
    auto *page = new QWidget(tabs);

    m_combo1 = new QComboBox(page);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_lista = new QTreeWidget(page);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setHeaderHidden(true);
    m_lista->setColumnCount(1);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    // A duty's name may come from the roster file alone.
    m_lista->setItemDelegate(new ShownText::Delegate(m_lista));
    CutTextTips::install(m_lista);
    m_text1 = new QLineEdit(page);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_command1 = new BlueCommand(page);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setCaption(QStringLiteral("Szukaj"));
    connect(m_command1, &BlueCommand::Click, this, [this] { Ui::guarded([this] { Search(); }); });
    m_text1->installEventFilter(this);
    Module1::FlatBorder(m_lista);
    Module1::FlatBorder(m_text1);

    connect(m_lista, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) {
        if (node->data(0, FolderRole).toBool())
            node->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
    });
    connect(m_lista, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *node) {
        if (node->data(0, FolderRole).toBool())
            node->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    });

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_text1, 1);
    searchRow->addWidget(m_command1);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(m_combo1);
    pageLayout->addWidget(m_lista, 1);
    pageLayout->addLayout(searchRow);
    tabs->addTab(page, QStringLiteral("Bilans"));

    m_command2 = new BlueCommand(this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setCaption(QStringLiteral("Zapisz bilans do bazy"));
    m_command2->setEnabled(false);
    connect(m_command2, &BlueCommand::Click, this,
            [this] { Ui::guarded([this] { SaveBilans(); }); });
    m_buttonClose = new BlueCommand(this);
    m_buttonClose->setObjectName(QStringLiteral("ButtonClose"));
    m_buttonClose->setCaption(QStringLiteral("Zamknij"));
    m_buttonClose->setCancel(true);
    connect(m_buttonClose, &BlueCommand::Click, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_command2);
    buttons->addStretch(1);
    buttons->addWidget(m_buttonClose);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    connect(m_combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Ui::guarded([this, index] { BuildBilansTree(m_roster, index); });
    });
    m_combo1->addItems({QStringLiteral("Według grup"), QStringLiteral("Według osób"),
                        QStringLiteral("Według dni"), QStringLiteral("Według służb")});
}

Bilans::~Bilans() = default;

void Bilans::setSaveBilans(std::function<bool()> saveBilans)
{
    m_saveBilans = std::move(saveBilans);
    const bool enabled = bool(m_saveBilans);
    m_command2->setEnabled(enabled);
    m_mnuSaveBilans->setEnabled(enabled);
}

void Bilans::BuildBilansTree(const Xml::Document &document, int mode)
{
    m_lista->hide();
    m_lista->clear();
    TreeBuilder tree;

    Db::Database *db = Globals::database();
    if (db && (!m_reading || m_reading->db != db))
        m_reading = std::make_unique<Reading>(*db);
    if (db) {
        const QIcon topIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
        const QIcon personIcon = style()->standardIcon(QStyle::SP_FileDialogInfoView);
        const QIcon lineIcon = style()->standardIcon(QStyle::SP_FileIcon);

        // What the tables say of the roster's people, groups and duties is read
        // once for the window: every mode names the same ones.
        Reading &reading = *m_reading;
        for (PersonLine &line : reading.people) {
            line.node = nullptr;
            line.groupNode = nullptr;
        }
        // The places of one duty on one day follow one another: their duty,
        // day and the node of either are read once.
        Xml::Node sluzba;
        QString dutyId;
        QString dutyText;
        QString day;
        QString dayLine;
        QString dayLeaf;
        QString dayKey;
        QString dutyKey;
        QString dayPrefix;  // dayKey and ".", before a person's key
        QString dutyPrefix; // dutyKey and "."
        QTreeWidgetItem *dayNode = nullptr;
        QTreeWidgetItem *dutyNode = nullptr;
        const QList<Xml::Node> persons = document.selectNodes(QStringLiteral("//Osoba"));
        for (const Xml::Node &osoba : persons) {
            const QString personId = osoba.attribute(QStringLiteral("Id")).trimmed();
            if (personId.isEmpty())
                continue;
            PersonLine &person = reading.personLine(personId);
            if (!person.found)
                continue;
            if (!sluzba || !(osoba.parent() == sluzba)) {
                sluzba = osoba.parent();
                dutyId = sluzba.attribute(QStringLiteral("Id")).trimmed();
                // A duty deleted since: the roster's own name of it stands in.
                const std::optional<QString> &stored = reading.dutyText(dutyId);
                dutyText = stored ? *stored : sluzba.attribute(QStringLiteral("Name"));
                day = numberText(sluzba.parent().attribute(QStringLiteral("Id")));
                dayLine = QStringLiteral("dzień ") + day + QStringLiteral(", ") + dutyText;
                dayLeaf = QStringLiteral("dzień ") + day;
                dayKey = QStringLiteral("D") + day;
                dutyKey = QStringLiteral("S") + dutyId;
                dayPrefix = dayKey + u'.';
                dutyPrefix = dutyKey + u'.';
                if (mode == 2)
                    dayNode = tree.keyed(
                        nullptr, dayKey,
                        [&] {
                            bool numeric = false;
                            const int dayNumber = day.toInt(&numeric);
                            return QStringLiteral("Dzień ") +
                                   (numeric
                                        ? QStringLiteral("%1").arg(dayNumber, 2, 10, QChar(u'0'))
                                        : day);
                        },
                        topIcon, true);
                else if (mode == 3)
                    dutyNode = tree.keyed(
                        nullptr, dutyKey, [&] { return dutyText; }, topIcon, true);
            }

            switch (mode) {
            case 0:
                if (!person.node) {
                    person.groupNode = tree.keyed(
                        nullptr, person.groupKey, [&] { return person.groupName; }, topIcon, true);
                    person.node = tree.keyed(
                        person.groupNode, person.key, [&] { return person.name; }, personIcon);
                }
                tree.leaf(person.node, dayLine, lineIcon);
                break;
            case 1:
                if (!person.node)
                    person.node = tree.keyed(
                        nullptr, person.key,
                        [&] {
                            return person.name + QStringLiteral(" - grupa ") + person.groupName;
                        },
                        personIcon);
                tree.leaf(person.node, dayLine, lineIcon);
                break;
            case 2: {
                QTreeWidgetItem *node = tree.keyed(
                    dayNode, dayPrefix + person.key,
                    [&] { return person.name + QStringLiteral(", grupa ") + person.groupName; },
                    personIcon);
                tree.leaf(node, dutyText, lineIcon);
                break;
            }
            case 3: {
                QTreeWidgetItem *node = tree.keyed(
                    dutyNode, dutyPrefix + person.key,
                    [&] { return person.name + QStringLiteral(", grupa ") + person.groupName; },
                    personIcon);
                tree.leaf(node, dayLeaf, lineIcon);
                break;
            }
            default:
                break;
            }
        }
    }

    // Mode 1 sorts its top level; the others sort the children of each top node.
    if (mode == 1) {
        PolishTreeItem::sortByText(tree.top, 0);
    } else {
        for (QTreeWidgetItem *top : std::as_const(tree.top))
            sortChildren(top);
    }

    if (mode == 0 || mode == 1) {
        for (auto it = tree.keys.cbegin(); it != tree.keys.cend(); ++it) {
            if (it.key().startsWith(u'P'))
                it.value()->setText(0, it.value()->text(0) + QStringLiteral(" - ") +
                                           QString::number(it.value()->childCount()));
        }
    }
    m_lista->addTopLevelItems(tree.top);
    m_lista->show();
}

QTreeWidgetItem *Bilans::GetTopNode(QTreeWidgetItem *node)
{
    while (node && node->parent())
        node = node->parent();
    return node;
}

QTreeWidgetItem *Bilans::SearchNodes(const QString &text, QTreeWidgetItem *node,
                                     const QTreeWidgetItem *selected)
{
    if (!node)
        return nullptr;
    // The node and its following siblings, by their place under the parent:
    // asking each node for its place would walk the siblings again.
    QTreeWidgetItem *parent = node->parent() ? node->parent() : m_lista->invisibleRootItem();
    for (int i = parent->indexOfChild(node); i >= 0 && i < parent->childCount(); ++i) {
        node = parent->child(i);
        if (m_passedSelected) {
            if (node->text(0).contains(text, Qt::CaseInsensitive))
                return node;
        } else if (node == selected) {
            m_passedSelected = true;
        }
        if (node->childCount() > 0) {
            if (QTreeWidgetItem *found = SearchNodes(text, node->child(0), selected))
                return found;
        }
    }
    return nullptr;
}

void Bilans::Search()
{
    // Starting from the top (nothing selected, or after the question) tests
    // the first node too, so a match there is not passed over for good.
    bool fromTop = false;
    for (;;) {
        const QString text = m_text1->text();
        if (text.isEmpty() || m_lista->topLevelItemCount() == 0)
            return;
        QTreeWidgetItem *selected = fromTop ? nullptr : m_lista->currentItem();
        if (!selected) {
            fromTop = true;
            selected = m_lista->topLevelItem(0);
            m_lista->setCurrentItem(selected);
        }
        m_passedSelected = fromTop;
        if (QTreeWidgetItem *found = SearchNodes(text, GetTopNode(selected), selected)) {
            for (QTreeWidgetItem *up = found->parent(); up; up = up->parent())
                up->setExpanded(true);
            m_lista->setCurrentItem(found);
            m_lista->scrollToItem(found);
            m_lista->setFocus();
            return;
        }
        if (!Messages::question(
                QStringLiteral("Nic nie znaleziono. Czy chcesz przeszukać bazę od początku?")))
            return;
        fromTop = true;
    }
}

void Bilans::ExportBilansRtf()
{
    if (m_lista->topLevelItemCount() == 0)
        return;
    const QChar nul(u'\0');
    const QString path = Module1::ShowSaveDialog(
        this, QStringLiteral("RTF (*.rtf)") + nul + QStringLiteral("*.rtf") + nul,
        QStringLiteral("Zapisz"), QString(), m_combo1->currentText());
    if (path.isEmpty())
        return;
    QString error;
    if (!RtfExport::write(path, RtfExport::document(*m_lista), &error)) {
        Messages::critical(Messages::fileFailure(Messages::SaveFileFailed, path, error));
        return;
    }
    openWithShell(path);
}

void Bilans::SaveBilans()
{
    if (m_saveBilans && m_saveBilans())
        Messages::information(QStringLiteral("Zapisano poprawnie."));
}

void Bilans::openWithShell(const QString &path)
{
    // The export has succeeded whatever the desktop does with the file: a
    // desktop with no program for it is told as a note, not as a failure.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        Messages::information(Messages::lines(
            {QStringLiteral("Zapisano plik %1.").arg(QDir::toNativeSeparators(path)),
             QStringLiteral("Żaden program nie otworzył tego pliku.")}));
}

bool Bilans::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the search box starts the search.
    if (watched == m_text1) {
        if (event->type() == QEvent::FocusIn)
            m_command1->setDefault(true);
        else if (event->type() == QEvent::FocusOut)
            m_command1->setDefault(false);
    }
    return QDialog::eventFilter(watched, event);
}
