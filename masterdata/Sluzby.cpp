#include "masterdata/Sluzby.h"

#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "masterdata/Grafik.h"
#include "masterdata/Ludzie_images.h"
#include "masterdata/Sluzby_item.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QTreeWidget>
#include <QVBoxLayout>

// The recorded order starts as the first column ascending: a first click there sorts descending.
Sluzby::Sluzby(QWidget *parent)
    : ListWindow(QStringLiteral("sluzby"), LudzieImages::dutyIcon(), SortStart::FirstColumnRecorded,
                 parent)
{
    setObjectName(QStringLiteral("Sluzby"));
    setWindowTitle(QStringLiteral("Slużby"));
    buildUi();
    load();
}

Sluzby::~Sluzby() = default;

void Sluzby::refill()
{
    GetSluzby();
}

void Sluzby::buildUi()
{
    ToolBarN *toolbar = buildFrame(QStringLiteral("ToolBar_main"), [this](QWidget *page) {
        auto *pageLayout = new QVBoxLayout(page);
        QTreeWidget *list =
            createList(page, {QStringLiteral("Nazwa"), QStringLiteral("Godzina"),
                              QStringLiteral("Czas trwania"), QStringLiteral("Ilość osób")});
        list->setColumnWidth(0, 200);
        for (int c = 1; c < 4; ++c)
            list->setColumnWidth(c, 100);
        pageLayout->addWidget(list);
    });
    TBNItems *items = toolbar->ListItems();
    items->Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QString());
    items->Add(QStringLiteral("edit"), QStringLiteral("Edytuj"), QString());
    items->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QString());
    items->Add(QStringLiteral("grafik"), QStringLiteral("Grafik"), QStringLiteral("szablony"));

    connect(toolbar, &ToolBarN::ItemClick, this, &Sluzby::toolbarClick);

    resize(560, 400);
}

void Sluzby::GetSluzby()
{
    QTreeWidget *list = lista();
    beginFill();
    Db::Database *db = Globals::database();
    auto rs = db ? db->openQuery(QStringLiteral("SELECT * FROM sluzby ORDER BY id")) : nullptr;
    if (db && !rs)
        Messages::critical(db->errorString());
    for (; rs && !rs->eof(); rs->moveNext())
        ListAddItem(rs->integer(QStringLiteral("id")), rs->text(QStringLiteral("nazwa")),
                    rs->text(QStringLiteral("od")), int(rs->integer(QStringLiteral("okres"))),
                    int(rs->integer(QStringLiteral("ilosc_std"))));
    endFill();
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

void Sluzby::ListAddItem(qint64 id, const QString &nazwa, const QString &od, int okres, int ilosc,
                         bool select)
{
    addRow(id, {nazwa, od, QString::number(okres), QString::number(ilosc)}, select);
}

void Sluzby::ListEditItem(const QString &nazwa, const QString &od, int okres, int ilosc)
{
    rewriteSelectedRow({nazwa, od, QString::number(okres), QString::number(ilosc)});
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
    } else if (key == QLatin1String("grafik")) {
        Grafik calendar(this);
        calendar.setRodzaj(1);
        calendar.setWindowTitle(QStringLiteral("Grafik wymaganej ilości osób na danej służbie"));
        showModal(calendar);
    }
}

void Sluzby::editRow(qint64 id)
{
    Sluzby_item editor(this);
    editor.setDutiesWindow(this);
    if (editor.GetInfo(id))
        showModal(editor);
}

void Sluzby::deleteSelected()
{
    deleteSelectedRows();
}

QString Sluzby::pickerName(const Db::Recordset &row) const
{
    return row.text(QStringLiteral("nazwa"));
}
