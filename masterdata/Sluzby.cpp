#include "masterdata/Sluzby.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "controls/cFlatHeader.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/Module1Ui.h"
#include "masterdata/Ludzie_images.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Sluzby_item.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTabWidget>
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

constexpr int KeyRole = Qt::UserRole;

} // namespace

class Sluzby::Controls
{
public:
    ToolBarN *toolbar = nullptr;
    BlueCommand *buttonOK = nullptr;
    BlueCommand *buttonClose = nullptr;
    cFlatHeader flatHeader;
    QIcon rowIcon = LudzieImages::dutyIcon();
};

Sluzby::Sluzby(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Controls>())
{
    setObjectName(QStringLiteral("Sluzby"));
    setWindowTitle(QStringLiteral("Slużby"));
    buildUi();
    load();
}

void Sluzby::load()
{
    m_loaded = true;
    m_ui->flatHeader.Attach(m_lista);
    m_ui->flatHeader.ThinBorder(m_lista, true);
    Module1::LoadListViewColumns(this);
    GetSluzby();
}

void Sluzby::showEvent(QShowEvent *event)
{
    // An instance shown again after closing starts from a fresh load.
    if (!m_loaded)
        load();
    QDialog::showEvent(event);
}

Sluzby::~Sluzby() = default;

void Sluzby::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_ui->toolbar = new ToolBarN(this);
    m_ui->toolbar->setObjectName(QStringLiteral("ToolBar_main"));
    m_ui->toolbar->setFixedHeight(ToolBarN::BarHeight);
    m_ui->toolbar->setTitle(windowTitle());
    m_ui->toolbar->setImageList(ToolBarIcons::buttons());
    TBNItems *items = m_ui->toolbar->ListItems();
    items->Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QString());
    items->Add(QStringLiteral("edit"), QStringLiteral("Edytuj"), QString());
    items->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QString());
    items->Add(QStringLiteral("grafik"), QStringLiteral("Grafik"), QStringLiteral("szablony"));
    // The month calendar of head counts is not part of the program yet.
    items->Item(QStringLiteral("grafik"))->setEnabled(false);
    layout->addWidget(m_ui->toolbar);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(9, 9, 9, 9);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget(tabs);
    auto *pageLayout = new QVBoxLayout(page);
    m_lista = new QTreeWidget(page);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setRootIsDecorated(false);
    m_lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lista->setHeaderLabels({QStringLiteral("Nazwa"), QStringLiteral("Godzina"),
                              QStringLiteral("Czas trwania"), QStringLiteral("Ilość osób")});
    m_lista->header()->setSectionsClickable(true);
    m_lista->header()->setStretchLastSection(false);
    m_lista->setColumnWidth(0, 200);
    for (int c = 1; c < 4; ++c)
        m_lista->setColumnWidth(c, 100);
    m_lista->installEventFilter(this);
    pageLayout->addWidget(m_lista);
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

    connect(m_ui->toolbar, &ToolBarN::ItemClick, this, &Sluzby::toolbarClick);

    connect(m_lista->header(), &QHeaderView::sectionClicked, this, &Sluzby::sortByColumn);
    connect(m_lista, &QTreeWidget::itemDoubleClicked, this, &Sluzby::listDoubleClicked);
    connect(m_ui->buttonOK, &BlueCommand::Click, this, &Sluzby::answerPicker);
    connect(m_ui->buttonClose, &BlueCommand::Click, this, &QDialog::reject);

    resize(560, 400);
}

void Sluzby::setMyClass(SelectItem *picker)
{
    m_myClass = picker;
    m_ui->buttonOK->setVisible(picker != nullptr);
}

void Sluzby::GetSluzby()
{
    m_lista->clear();
    Db::Database *db = Globals::database();
    if (!db)
        return;
    auto rs = db->openQuery(QStringLiteral("SELECT * FROM sluzby ORDER BY id"));
    if (!rs) {
        Messages::critical(db->errorString());
        return;
    }
    for (; !rs->eof(); rs->moveNext())
        ListAddItem(rs->integer(QStringLiteral("id")), rs->text(QStringLiteral("nazwa")),
                    rs->text(QStringLiteral("od")), int(rs->integer(QStringLiteral("okres"))),
                    int(rs->integer(QStringLiteral("ilosc_std"))));
    if (m_lista->topLevelItemCount() > 0)
        m_lista->setCurrentItem(m_lista->topLevelItem(0));
}

void Sluzby::ListAddItem(qint64 id, const QString &nazwa, const QString &od, int okres, int ilosc,
                         bool select)
{
    if (select)
        m_lista->clearSelection();
    auto *row = new QTreeWidgetItem(m_lista, {nazwa, od, QString::number(okres), QString::number(ilosc)});
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

void Sluzby::ListEditItem(const QString &nazwa, const QString &od, int okres, int ilosc)
{
    QTreeWidgetItem *row = m_lista->currentItem();
    if (!row || !row->isSelected()) {
        const auto selected = m_lista->selectedItems();
        if (selected.isEmpty())
            return;
        row = selected.first();
    }
    row->setText(0, nazwa);
    row->setText(1, od);
    row->setText(2, QString::number(okres));
    row->setText(3, QString::number(ilosc));
    if (m_sorted)
        resort();
}

void Sluzby::toolbarClick(const QString &key)
{
    if (key == QLatin1String("new")) {
        Sluzby_item editor(this);
        editor.setDutiesWindow(this);
        editor.SetNew();
        showModal(editor);
    } else if (key == QLatin1String("edit")) {
        editSelected();
    } else if (key == QLatin1String("del")) {
        deleteSelected();
    }
}

void Sluzby::editSelected()
{
    QTreeWidgetItem *row = m_lista->currentItem();
    if (!row || !row->isSelected()) {
        const auto selected = m_lista->selectedItems();
        if (selected.isEmpty())
            return;
        row = selected.first();
        m_lista->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    }
    Sluzby_item editor(this);
    editor.setDutiesWindow(this);
    if (editor.GetInfo(Module1::IdFromKey(row->data(0, KeyRole).toString())))
        showModal(editor);
}

void Sluzby::deleteSelected()
{
    if (m_lista->selectedItems().isEmpty())
        return;
    if (Messages::show(QStringLiteral("Czy chcesz usunąć wybrane pozycje?"), Messages::Icon::Question,
                       Messages::Buttons::YesNoCancel)
        != Messages::Answer::Yes)
        return;
    Db::Database *db = Globals::database();
    if (!db)
        return;
    for (int i = m_lista->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem *row = m_lista->topLevelItem(i);
        if (!row->isSelected())
            continue;
        if (!db->execute(QStringLiteral("DELETE FROM sluzby WHERE id=?"),
                         {Module1::IdFromKey(row->data(0, KeyRole).toString())})) {
            Messages::critical(db->errorString());
            return;
        }
        delete row;
    }
}

void Sluzby::answerPicker()
{
    QStringList entries;
    if (Db::Database *db = Globals::database()) {
        auto rs = db->openTable(QStringLiteral("sluzby"));
        if (rs) {
            for (int i = 0; i < m_lista->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *row = m_lista->topLevelItem(i);
                if (!row->isSelected())
                    continue;
                if (!rs->seek(QStringLiteral("PrimaryKey"),
                              Module1::IdFromKey(row->data(0, KeyRole).toString())))
                    continue;
                entries << QString::number(rs->integer(QStringLiteral("id"))) + u';'
                               + rs->text(QStringLiteral("nazwa"));
            }
        }
    }
    if (m_myClass)
        m_myClass->setResult(entries.join(SelectItem::Separator));
    accept();
}

void Sluzby::sortByColumn(int column)
{
    // The recorded column starts as the first, ascending: a first click there sorts descending.
    if (column == m_sortColumn) {
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        m_sortColumn = column;
        m_sortOrder = Qt::AscendingOrder;
    }
    m_sorted = true;
    resort();
}

void Sluzby::resort()
{
    m_lista->header()->setSortIndicatorShown(true);
    m_lista->header()->setSortIndicator(m_sortColumn, m_sortOrder);
    m_lista->sortItems(m_sortColumn, m_sortOrder);
}

void Sluzby::listDoubleClicked()
{
    if (m_myClass)
        answerPicker();
    else
        editSelected();
}

int Sluzby::showModal(QDialog &dialog)
{
    return dialog.exec();
}

bool Sluzby::eventFilter(QObject *watched, QEvent *event)
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

void Sluzby::done(int result)
{
    if (m_loaded) {
        m_loaded = false;
        Module1::SaveListViewColumns(this);
        m_ui->flatHeader.Detach();
    }
    setMyClass(nullptr);
    QDialog::done(result);
}
