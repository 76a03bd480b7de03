#include "masterdata/ListWindow.h"

#include "controls/BlueCommand.h"
#include "controls/PolishTreeItem.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "controls/cFlatHeader.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/Module1Ui.h"
#include "masterdata/MasterDataCommon.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int KeyRole = Qt::UserRole;

qint64 rowId(const QTreeWidgetItem *row)
{
    return Module1::IdFromKey(row->data(0, KeyRole).toString());
}

} // namespace

class ListWindow::Controls
{
public:
    BlueCommand *buttonOK = nullptr;
    cFlatHeader flatHeader;
};

ListWindow::ListWindow(const QString &table, const QIcon &rowIcon, SortStart sortStart,
                       QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Controls>()), m_table(table), m_rowIcon(rowIcon),
      m_sortRecorded(sortStart == SortStart::FirstColumnRecorded)
{}

ListWindow::~ListWindow()
{
    qDeleteAll(m_pending);
}

ToolBarN *ListWindow::buildFrame(const QString &toolbarName,
                                 const std::function<void(QWidget *page)> &fillPage)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *toolbar = new ToolBarN(this);
    toolbar->setObjectName(toolbarName);
    toolbar->setFixedHeight(ToolBarN::BarHeight);
    toolbar->setTitle(windowTitle());
    toolbar->setImageList(ToolBarIcons::buttons());
    layout->addWidget(toolbar);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(9, 9, 9, 9);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget(tabs);
    fillPage(page);
    tabs->addTab(page, QStringLiteral("Ogólne"));
    body->addWidget(tabs, 1);

    const MasterData::ButtonRow buttons =
        MasterData::addButtonRow(body, this, QStringLiteral("Wybierz"));
    m_ui->buttonOK = buttons.ok;
    m_ui->buttonOK->setVisible(false);
    layout->addLayout(body, 1);

    connect(buttons.ok, &BlueCommand::Click, this, &ListWindow::answerPicker);
    connect(buttons.close, &BlueCommand::Click, this, &QDialog::reject);
    return toolbar;
}

QTreeWidget *ListWindow::createList(QWidget *page, const QStringList &headers)
{
    m_lista = new QTreeWidget(page);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setRootIsDecorated(false);
    m_lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lista->setHeaderLabels(headers);
    m_lista->header()->setSectionsClickable(true);
    m_lista->header()->setStretchLastSection(false);
    m_lista->installEventFilter(this);
    CutTextTips::install(m_lista);
    connect(m_lista->header(), &QHeaderView::sectionClicked, this, &ListWindow::sortByColumn);
    connect(m_lista, &QTreeWidget::itemDoubleClicked, this, &ListWindow::listDoubleClicked);
    return m_lista;
}

void ListWindow::load()
{
    m_loaded = true;
    m_ui->flatHeader.Attach(m_lista);
    m_ui->flatHeader.ThinBorder(m_lista, true);
    Module1::LoadListViewColumns(this);
    refill();
}

void ListWindow::showEvent(QShowEvent *event)
{
    // An instance shown again after closing starts from a fresh load.
    if (!m_loaded)
        load();
    QDialog::showEvent(event);
}

void ListWindow::done(int result)
{
    if (m_loaded) {
        m_loaded = false;
        Module1::SaveListViewColumns(this);
        m_ui->flatHeader.Detach();
    }
    setMyClass(nullptr);
    QDialog::done(result);
}

void ListWindow::setMyClass(SelectItem *picker)
{
    m_myClass = picker;
    m_ui->buttonOK->setVisible(picker != nullptr);
}

void ListWindow::addRow(qint64 id, const QStringList &texts, bool select)
{
    auto *row = new PolishTreeItem(texts);
    row->setData(0, KeyRole, Module1::KeyFromId(id));
    row->setIcon(0, m_rowIcon);
    // A fill sorts once at its end; sorting after every row would be quadratic.
    if (m_filling && !select) {
        m_pending.append(row);
        return;
    }
    if (select)
        m_lista->clearSelection();
    m_lista->addTopLevelItem(row);
    if (m_sorted)
        resort();
    if (select) {
        m_lista->setCurrentItem(row);
        m_lista->clearSelection();
        row->setSelected(true);
        m_lista->scrollToItem(row);
    }
}

void ListWindow::beginFill()
{
    m_lista->clear();
    qDeleteAll(m_pending);
    m_pending.clear();
    m_filling = true;
}

void ListWindow::endFill(int fallbackColumn)
{
    m_filling = false;
    QList<QTreeWidgetItem *> rows = std::exchange(m_pending, {});
    // Sorted once, apart from the list: by the user's column, rows of equal
    // texts there in the fallback column's order, as if sorted by that first.
    if (m_sorted) {
        PolishTreeItem::sortByText(rows, m_sortColumn, m_sortOrder, fallbackColumn);
        m_lista->header()->setSortIndicatorShown(true);
        m_lista->header()->setSortIndicator(m_sortColumn, m_sortOrder);
    } else if (fallbackColumn >= 0) {
        PolishTreeItem::sortByText(rows, fallbackColumn);
        m_lista->header()->setSortIndicator(fallbackColumn, Qt::AscendingOrder);
    }
    m_lista->addTopLevelItems(rows);
}

QTreeWidgetItem *ListWindow::selectedRow() const
{
    QTreeWidgetItem *row = m_lista->currentItem();
    if (row && row->isSelected())
        return row;
    const auto selected = m_lista->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void ListWindow::rewriteSelectedRow(const QStringList &texts)
{
    QTreeWidgetItem *row = selectedRow();
    if (!row)
        return;
    for (int c = 0; c < texts.size(); ++c)
        row->setText(c, texts.at(c));
    if (m_sorted)
        resort();
}

void ListWindow::editSelected()
{
    QTreeWidgetItem *row = selectedRow();
    if (!row)
        return;
    if (row != m_lista->currentItem())
        m_lista->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    editRow(rowId(row));
}

void ListWindow::deleteSelectedRows()
{
    if (m_lista->selectedItems().isEmpty())
        return;
    if (Messages::show(QStringLiteral("Czy chcesz usunąć wybrane pozycje?"),
                       Messages::Icon::Question,
                       Messages::Buttons::YesNoCancel) != Messages::Answer::Yes)
        return;
    Db::Database *db = Globals::database();
    if (!db)
        return;
    // The table is one of the program's own names, never user text.
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE id=?").arg(m_table);
    for (int i = m_lista->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem *row = m_lista->topLevelItem(i);
        if (!row->isSelected())
            continue;
        if (!db->execute(sql, {rowId(row)})) {
            Messages::critical(db->errorString());
            return;
        }
        delete row;
    }
}

void ListWindow::answerPicker()
{
    QStringList entries;
    if (Db::Database *db = Globals::database()) {
        auto rs = db->openTable(m_table);
        if (rs) {
            for (int i = 0; i < m_lista->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *row = m_lista->topLevelItem(i);
                if (!row->isSelected())
                    continue;
                if (!rs->seek(QStringLiteral("PrimaryKey"), rowId(row)))
                    continue;
                entries << QString::number(rs->integer(QStringLiteral("id"))) + u';' +
                               pickerName(*rs);
            }
        }
    }
    if (m_myClass)
        m_myClass->setResult(entries.join(SelectItem::Separator));
    accept();
}

void ListWindow::sortByColumn(int column)
{
    if ((m_sorted || m_sortRecorded) && column == m_sortColumn) {
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        m_sortColumn = column;
        m_sortOrder = Qt::AscendingOrder;
    }
    m_sorted = true;
    resort();
}

void ListWindow::resort()
{
    m_lista->header()->setSortIndicatorShown(true);
    m_lista->header()->setSortIndicator(m_sortColumn, m_sortOrder);
    m_lista->sortItems(m_sortColumn, m_sortOrder);
}

void ListWindow::listDoubleClicked()
{
    if (m_myClass)
        answerPicker();
    else
        editSelected();
}

int ListWindow::showModal(QDialog &dialog)
{
    return dialog.exec();
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
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
