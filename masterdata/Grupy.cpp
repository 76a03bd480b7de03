#include "masterdata/Grupy.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/DialogParts.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/draw/ImageList.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

Grupy::Grupy(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Grupy"));
    setWindowTitle(QStringLiteral("Grupy"));

    m_toolbar = new ToolBarN(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBar_main"));
    m_toolbar->setTitle(windowTitle());
    // The bar paints its title once it has an image list; it has no items.
    m_toolbar->setImageList(Draw::ImageList());
    m_toolbar->setFixedHeight(ToolBarN::BarHeight);

    auto *tabs = new QTabWidget;
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("Ogólne"));
    m_lTasks = new QListWidget;
    m_lTasks->setObjectName(QStringLiteral("lTasks"));
    m_lTasks->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(m_lTasks);

    m_buttonOK = new BlueCommand(this);
    m_buttonOK->setObjectName(QStringLiteral("ButtonOK"));
    m_buttonOK->setCaption(QStringLiteral("Wybierz"));
    m_buttonOK->setVisible(false);
    m_buttonClose = new BlueCommand(this);
    m_buttonClose->setObjectName(QStringLiteral("ButtonClose"));
    m_buttonClose->setCaption(QStringLiteral("Zamknij"));
    m_buttonClose->setCancel(true);
    QHBoxLayout *buttons = DialogParts::commandRow({m_buttonOK, m_buttonClose});

    DialogParts::layOut(*this, m_toolbar, tabs, buttons);

    Module1::FlatBorder(m_lTasks);
    m_buttonOK->setDefault(true);
    connect(m_buttonOK, &BlueCommand::Click, this, [this] { Ui::guarded([this] { pick(); }); });
    connect(m_buttonClose, &BlueCommand::Click, this, &QDialog::reject);
    connect(m_lTasks, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_myClass)
            Ui::guarded([this] { pick(); });
    });
    resize(300, 360);

    GetGrupy();
}

Grupy::~Grupy() = default;

void Grupy::setMyClass(SelectItem *picker)
{
    m_myClass = picker;
    m_buttonOK->setVisible(picker != nullptr);
}

void Grupy::GetGrupy()
{
    m_lTasks->clear();
    Db::Database *db = Globals::database();
    if (!db)
        return;
    std::unique_ptr<Db::Recordset> rs =
        db->openQuery(QStringLiteral("SELECT * FROM grupy ORDER BY nazwa COLLATE POLISH"));
    if (!rs) {
        Messages::critical(db->errorString());
        return;
    }
    for (; !rs->eof(); rs->moveNext()) {
        auto *item =
            new QListWidgetItem(Module1::NzStr(rs->value(QStringLiteral("nazwa"))), m_lTasks);
        item->setData(Qt::UserRole, rs->integer(QStringLiteral("id")));
    }
    if (m_lTasks->count() > 0) {
        m_lTasks->setCurrentRow(0);
        m_lTasks->item(0)->setSelected(true);
    }
}

void Grupy::pick()
{
    QStringList entries;
    for (int i = m_lTasks->count() - 1; i >= 0; --i) {
        const QListWidgetItem *item = m_lTasks->item(i);
        if (item->isSelected())
            entries.append(QString::number(item->data(Qt::UserRole).toLongLong()) +
                           QLatin1Char(';') + item->text());
    }
    if (m_myClass)
        m_myClass->setResult(entries.join(SelectItem::Separator));
    accept();
}

void Grupy::done(int result)
{
    m_myClass = nullptr;
    QDialog::done(result);
}
