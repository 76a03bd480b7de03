#include "mainwindow/Wykluczenia.h"

#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Module1.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/Module1Ui.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/text/PolishOrder.h"
#include "platform/xml/XmlDocument.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// "12P" -> ('P', 12). The letter that follows the id is the form the roster
// writes; a leading letter (older files) is read as well.
bool splitExclusionId(const QString &text, QChar *kind, qint64 *id)
{
    const QString t = text.trimmed();
    if (t.size() < 2)
        return false;
    QString digits;
    if (t.back() == u'P' || t.back() == u'G') {
        *kind = t.back();
        digits = t.left(t.size() - 1);
    } else {
        *kind = t.front();
        digits = t.mid(1);
    }
    bool ok = false;
    *id = digits.toLongLong(&ok);
    return ok;
}

// The names of the view's lines, each statement prepared once and each
// person or group looked up once, however many days name it.
class Names
{
public:
    explicit Names(const Db::Database &db)
        : m_groups(db, QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {qint64(0)}),
          m_people(db, QStringLiteral("SELECT nazwisko, imie FROM ludzie WHERE id=?"), {qint64(0)})
    {}

    // Empty when the row no longer exists.
    QString of(QChar kind, qint64 id)
    {
        const bool group = kind == u'G';
        QHash<qint64, QString> &known = group ? m_groupNames : m_personNames;
        const auto it = known.constFind(id);
        if (it != known.constEnd())
            return *it;
        Db::Cursor &lookup = group ? m_groups : m_people;
        QString name;
        if (lookup.rerun({id}) && lookup.next())
            name = group ? QStringLiteral("Grupa ") + lookup.text(0)
                         : lookup.text(0) + u' ' + lookup.text(1);
        known.insert(id, name);
        return name;
    }

private:
    Db::Cursor m_groups;
    Db::Cursor m_people;
    QHash<qint64, QString> m_groupNames;
    QHash<qint64, QString> m_personNames;
};

} // namespace

Wykluczenia::Wykluczenia(const Xml::Document *document, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Wykluczenia"));
    setWindowTitle(QStringLiteral("Wykluczenia"));
    resize(607, 477);

    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    m_label = new QLabel(
        QStringLiteral("Zwolnienia, które wykluczyły wstawienie niektórych osób lub grup "
                       "osób do aktualnego grafiku:"),
        page);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setWordWrap(true);
    m_lista = new QTreeWidget(page);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setHeaderHidden(true);
    m_lista->setColumnCount(1);
    Module1::FlatBorder(m_lista);
    CutTextTips::install(m_lista);
    // Expanded day nodes show the open folder.
    connect(m_lista, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) {
        node->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
    });
    connect(m_lista, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *node) {
        node->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    });
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(m_label);
    pageLayout->addWidget(m_lista, 1);
    tabs->addTab(page, QStringLiteral("Wykluczenia"));

    auto *close = new BlueCommand(this);
    close->setObjectName(QStringLiteral("ButtonClose"));
    close->setCaption(QStringLiteral("Zamknij"));
    close->setCancel(true);
    connect(close, &BlueCommand::Click, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    BuildExclusionsTree(document);
}

void Wykluczenia::BuildExclusionsTree(const Xml::Document *document)
{
    m_lista->hide();
    m_lista->clear();
    Db::Database *db = Globals::database();
    if (document && db) {
        const QIcon dayIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
        const QIcon lineIcon = style()->standardIcon(QStyle::SP_FileIcon);
        Names names(*db);
        // Built apart from the tree, which takes the days at once.
        QList<QTreeWidgetItem *> dayNodes;
        const QList<Xml::Node> days = document->selectNodes(QStringLiteral("/Baza/Exclusions/Day"));
        for (const Xml::Node &day : days) {
            const QString dayText = QString::number(day.attribute(QStringLiteral("Id")).toInt());
            auto *dayNode = new QTreeWidgetItem(QStringList{QStringLiteral("Dzień ") + dayText});
            dayNodes.append(dayNode);
            dayNode->setData(0, Qt::UserRole, QStringLiteral("D") + dayText);
            dayNode->setIcon(0, dayIcon);

            QStringList lines;
            for (const Xml::Node &item : day.childElements(QStringLiteral("Item"))) {
                QChar kind;
                qint64 id = 0;
                if (!splitExclusionId(item.attribute(QStringLiteral("Id")), &kind, &id))
                    continue;
                const QString name = names.of(kind, id);
                if (name.isEmpty())
                    continue;
                const QDate from = QDate::fromString(
                    item.attribute(QStringLiteral("Date1")).left(10), Qt::ISODate);
                const QDate to = QDate::fromString(item.attribute(QStringLiteral("Date2")).left(10),
                                                   Qt::ISODate);
                lines.append(name + QStringLiteral(" (zw. ") + Module1::FormatPeriod(from, to) +
                             u')');
            }
            std::sort(lines.begin(), lines.end(), [](const QString &a, const QString &b) {
                return PolishOrder::compare(a, b) < 0;
            });
            QList<QTreeWidgetItem *> lineNodes;
            lineNodes.reserve(lines.size());
            for (const QString &line : std::as_const(lines)) {
                auto *lineNode = new QTreeWidgetItem(QStringList{line});
                lineNode->setIcon(0, lineIcon);
                lineNodes.append(lineNode);
            }
            dayNode->addChildren(lineNodes);
        }
        m_lista->addTopLevelItems(dayNodes);
    }
    m_lista->show();
}
