#include "mainwindow/Panel.h"

#include "controls/GraphicalCalendar.h"
#include "controls/ShownText.h"
#include "controls/TBNItems.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "controls/cFlatHeader.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/About.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/Guard.h"
#include "core/ui/IdeaSend.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/ScheduleGridLayout.h"
#include "engine/ui/Wizard.h"
#include "engine/ui/Wizard_zwolnienia.h"
#include "mainwindow/Bilans.h"
#include "mainwindow/CellList.h"
#include "mainwindow/PanelPicture.h"
#include "mainwindow/PeopleModel.h"
#include "mainwindow/ProgressBox.h"
#include "mainwindow/SpreadsheetExport.h"
#include "mainwindow/Wykluczenia.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Opcje.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Sluzby.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/text/WholeNumber.h"
#include "platform/xml/XmlDocument.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

namespace {

const QColor MarkBack(236, 136, 76);
const QColor MarkFore(255, 255, 255);
const QColor RosterBack(200, 224, 248);
const QColor BandTop(199, 224, 248);
const QColor BandBottom(139, 185, 242);
const QColor BelowBand(138, 185, 242);

// Design geometry, twips.
constexpr int ToolBarHeight = 1125;
constexpr int ListaTop = 1200;
constexpr int BilansHeight = 360;
constexpr int CalendarWidth = 4410;
constexpr int CalendarHeight = 2115;
constexpr int Gap = 120;

const QString MissingRoster = QStringLiteral("Brak otworzonego/stworzonego grafiku!");
const QString SaveChangesQuestion = QStringLiteral("Czy chcesz zapisać zmiany w grafiku?");

// lstLudzie tells of a released mouse button once the list has applied the
// click to its selection: a click on one of several selected rows narrows
// the selection only on release.
class PeopleList : public QTreeView
{
public:
    PeopleList(QWidget *parent, std::function<void()> released)
        : QTreeView(parent), m_released(std::move(released))
    {}

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QTreeView::mouseReleaseEvent(event);
        m_released();
    }

private:
    std::function<void()> m_released;
};

} // namespace

Panel::Panel(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Panel"));
    resize(1000, 700);
    buildButtonImages();
    buildControls();
    buildMenus();

    // Loading: caption and title, the toolbar's items, no roster yet.
    setWindowTitle(Globals::ProgramTitle);
    m_toolBar1->setTitle(Globals::ProgramTitle);
    m_toolBar1->setImageList(m_imgListButtons);
    TBNItems *items = m_toolBar1->ListItems();
    items->Add(QStringLiteral("create"), QStringLiteral("Grafik"), QStringLiteral("edit"));
    items->Add(QStringLiteral("bilans"), QStringLiteral("Bilans"), QStringLiteral("sort"));
    items->Add(QStringLiteral("wykluczenia"), QStringLiteral("Wykluczeni"), QStringLiteral("del"));
    items->Add(QStringLiteral("kreator"), QStringLiteral("Kreator"), QStringLiteral("szablony"));
    items->Add(QStringLiteral("ludzie"), QStringLiteral("Ludzie"), QStringLiteral("new"));
    items->Add(QStringLiteral("sluzby"), QStringLiteral("Służby"), QStringLiteral("new"));
    items->Add(QStringLiteral("options"), QStringLiteral("Opcje"), QStringLiteral("raporty"));
    connect(m_toolBar1, &ToolBarN::ItemClick, this,
            [this](const QString &key) { Ui::guarded([&] { toolbarClick(key); }); });

    MakeOpened(false);
    loadDutyHeaders();
    m_miniCal->setRows(1);
    m_miniCal->setCols(1);
}

Panel::~Panel() = default;

int Panel::twipsX(double twips) const
{
    return int(std::nearbyint(twips * logicalDpiX() / 1440.0));
}

int Panel::twipsY(double twips) const
{
    return int(std::nearbyint(twips * logicalDpiY() / 1440.0));
}

void Panel::buildButtonImages()
{
    m_imgListButtons = ToolBarIcons::buttons();
    // The small lists of the build dialog and the balance toolbar.
    for (const char *key : {"new", "del"}) {
        const QString name = QString::fromLatin1(key);
        m_imageList1.add(m_imgListButtons.picture(name).scaled(16, 16, Qt::KeepAspectRatio,
                                                               Qt::SmoothTransformation),
                         name);
    }
}

void Panel::buildControls()
{
    m_surface = new QWidget(this);
    m_surface->setObjectName(QStringLiteral("surface"));
    m_surface->installEventFilter(this);
    setCentralWidget(m_surface);

    m_toolBar1 = new ToolBarN(m_surface);
    m_toolBar1->setObjectName(QStringLiteral("ToolBar1"));

    m_lista = new FlexGrid(m_surface);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setWordWrap(true);
    m_lista->setBackColorBkg(RosterBack);
    Module1::FlatBorder(m_lista);
    CutTextTips::install(m_lista);
    connect(m_lista, &FlexGrid::cellDoubleClicked, this, [this](int row, int col) {
        Ui::guarded([&] {
            CellList editor(m_xmlDocument.get(), m_lista, m_people, m_currDate, this);
            if (!editor.openCell(row, col))
                return;
            showModal(editor);
            if (editor.changed())
                m_modified = true;
        });
    });

    m_lstLudzie =
        new PeopleList(m_surface, [this] { Ui::guarded([this] { markSelectedPeople(); }); });
    m_lstLudzie->setObjectName(QStringLiteral("lstLudzie"));
    m_people = new PeopleModel(m_lstLudzie);
    m_lstLudzie->setModel(m_people);
    m_lstLudzie->setRootIsDecorated(false);
    m_lstLudzie->setUniformRowHeights(true);
    m_lstLudzie->setItemDelegate(new ShownText::Delegate(m_lstLudzie));
    CutTextTips::install(m_lstLudzie);
    m_lstLudzie->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstLudzie->header()->setSectionsClickable(true);
    m_lstLudzie->header()->setStretchLastSection(false);
    connect(m_lstLudzie->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { Ui::guarded([&] { sortPeople(column); }); });
    m_flatHeader = std::make_unique<cFlatHeader>();
    m_flatHeader->Attach(m_lstLudzie);
    m_flatHeader->ThinBorder(m_lstLudzie, true);

    m_miniCal = new GraphicalCalendar(m_surface);
    m_miniCal->setObjectName(QStringLiteral("MiniCal"));
    // Design-time colours (BGR): white sheet, dark blue day names, red today.
    m_miniCal->setBackColor(0xFFFFFF);
    m_miniCal->setForeColor(0x000000);
    m_miniCal->setSeparateLineColor(0xC0C0C0);
    m_miniCal->setSelectedBackColor(0x4C88EC);
    m_miniCal->setSelectedForeColor(0xFFFFFF);
    m_miniCal->setTodayBorderColor(0x0000FF);
    m_miniCal->setDayNamesForeColor(0x784628);

    m_tbBilans = new QToolBar(m_surface);
    m_tbBilans->setObjectName(QStringLiteral("tbBilans"));
    m_tbBilans->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_tbBilans->setIconSize(QSize(16, 16));
    QAction *save = m_tbBilans->addAction(
        QIcon(QPixmap::fromImage(m_imageList1.picture(QStringLiteral("new")))),
        QStringLiteral("Zapisz bilans do bazy danych"));
    save->setObjectName(QStringLiteral("save"));
    connect(save, &QAction::triggered, this, [this] {
        Ui::guarded([this] {
            if (SaveBilans())
                Messages::information(QStringLiteral("Zapisano poprawnie."));
        });
    });

    m_image1 = new QLabel(m_surface);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QPixmap::fromImage(PanelPicture()));
    m_image1->adjustSize();

    m_picture1 = new ProgressBox(m_surface);
    m_picture1->hide();

    m_lista->hide();
    m_lstLudzie->hide();
    m_miniCal->hide();
    m_tbBilans->hide();
}

void Panel::buildMenus()
{
    auto addEntry = [this](QMenu *menu, const char *name, const QString &text,
                           const QKeySequence &keys, auto handler) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty())
            action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [handler] { Ui::guarded(handler); });
        return action;
    };

    QMenu *plik = menuBar()->addMenu(QStringLiteral("&Plik"));
    plik->setObjectName(QStringLiteral("mnuPlik"));
    m_mnuNew = addEntry(plik, "mnuNew", QStringLiteral("Nowy grafik"), {},
                        [this] { toolbarClick(QStringLiteral("create")); });
    m_mnuOpen = addEntry(plik, "mnuOpen", QStringLiteral("Otwórz grafik..."),
                         QKeySequence(QStringLiteral("Ctrl+O")), [this] { openRoster(); });
    m_mnuClose = addEntry(plik, "mnuClose", QStringLiteral("Zamknij"),
                          QKeySequence(QStringLiteral("Ctrl+F4")), [this] { closeRoster(); });
    plik->addSeparator();
    m_mnuSave = addEntry(plik, "mnuSave", QStringLiteral("Zapisz jako..."),
                         QKeySequence(QStringLiteral("Ctrl+S")), [this] { saveRoster(); });
    plik->addSeparator();
    m_mnuEksport =
        addEntry(plik, "mnuEksport", QStringLiteral("Eksport..."), {}, [this] { exportRoster(); });
    plik->addSeparator();
    m_mnuEnd = addEntry(plik, "mnuEnd", QStringLiteral("Zakończ"), {}, [this] { close(); });

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Narzędzia"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    m_mnuToolsErase = addEntry(tools, "mnuToolsErase", QStringLiteral("Wyczyść bazę danych"), {},
                               [this] { eraseDatabase(); });
    tools->addSeparator();
    m_mnuPomysl = addEntry(tools, "mnuPomysl", QStringLiteral("Zgłoś pomysł na rozbudowę programu"),
                           {}, [this] {
                               if (!m_ideaSend) {
                                   m_ideaSend = new IdeaSend(this);
                                   m_ideaSend->setWindowFlag(Qt::Window);
                               }
                               m_ideaSend->show();
                               m_ideaSend->raise();
                               m_ideaSend->activateWindow();
                           });

    QMenu *help = menuBar()->addMenu(QStringLiteral("Pomo&c"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_mnuPomocFile = addEntry(help, "mnuPomocFile", QStringLiteral("Tematy pomocy"),
                              QKeySequence(Qt::Key_F1), [this] { openHelp(); });
    help->addSeparator();
    m_mnuAbout = addEntry(help, "mnuAbout", QStringLiteral("O programie"), {}, [this] {
        About about(this);
        showModal(about);
    });
}

void Panel::loadDutyHeaders()
{
    // The grid's header row starts with every duty's name.
    Db::Database *db = Globals::database();
    if (!db)
        return;
    auto rs = db->openTable(QStringLiteral("sluzby"));
    if (!rs)
        return;
    m_lista->setCols(rs->recordCount() + 1);
    for (int c = 1; !rs->eof(); rs->moveNext(), ++c)
        m_lista->setText(0, c, rs->text(QStringLiteral("nazwa")));
}

QAction *Panel::menuAction(const QString &name) const
{
    return findChild<QAction *>(name);
}

bool Panel::toolbarItemEnabled(const QString &key) const
{
    const TBNItem *item = m_toolBar1->ListItems()->Item(key);
    return item && item->Enabled();
}

void Panel::setXmlDocument(std::unique_ptr<Xml::Document> document)
{
    m_xmlDocument = std::move(document);
}

void Panel::MakeOpened(bool opened)
{
    m_opened = opened;
    m_mnuSave->setEnabled(opened);
    m_mnuEksport->setEnabled(opened);
    m_mnuClose->setEnabled(opened);
    m_toolBar1->ListItems()->Item(QStringLiteral("bilans"))->setEnabled(opened);
    m_toolBar1->ListItems()->Item(QStringLiteral("wykluczenia"))->setEnabled(opened);
    if (!opened)
        layoutControls();
    else
        m_surface->update();
    m_toolBar1->PaintElements();
}

void Panel::layoutControls()
{
    if (isMinimized())
        return;
    const int w = m_surface->width();
    const int h = m_surface->height();
    const int gapY = twipsY(Gap);

    m_toolBar1->setGeometry(0, 0, w, twipsY(ToolBarHeight));

    const int calendarWidth = twipsX(CalendarWidth);
    const int calendarHeight = twipsY(CalendarHeight);
    const int bilansHeight = twipsY(BilansHeight);
    const int top = twipsY(ListaTop);
    const int listHeight = std::max(0, h - top - gapY - calendarHeight - bilansHeight - gapY);
    m_lstLudzie->setGeometry(w - calendarWidth, top, calendarWidth, listHeight);
    m_tbBilans->setGeometry(m_lstLudzie->x(), top + listHeight + gapY, calendarWidth, bilansHeight);
    m_miniCal->setGeometry(m_lstLudzie->x(), top + listHeight + gapY + bilansHeight + gapY,
                           calendarWidth, calendarHeight);
    m_lista->setGeometry(0, top, std::max(0, w - calendarWidth - twipsX(60)), std::max(0, h - top));

    const double inner = calendarWidth - twipsX(300);
    m_lstLudzie->setColumnWidth(0, int(inner * 0.5));
    m_lstLudzie->setColumnWidth(1, int(inner * 0.3));
    m_lstLudzie->setColumnWidth(2, int(inner * 0.18));

    const int toolbar = m_toolBar1->height();
    m_image1->move(w / 2 - m_image1->width() / 2,
                   (h - toolbar) / 2 + toolbar - m_image1->height() / 2);

    if (m_lista->isVisible())
        m_surface->update();
}

void Panel::paintBackground(QPainter &painter)
{
    // The band behind the roster; heights follow the window's.
    const int w = m_surface->width();
    const int h = m_surface->height();
    const int top = int((m_toolBar1->height() + h * 0.13089));
    const int band = int(h * 0.49738);
    painter.fillRect(m_surface->rect(), RosterBack);
    QLinearGradient gradient(0, top, 0, top + band);
    gradient.setColorAt(0, BandTop);
    gradient.setColorAt(1, BandBottom);
    painter.fillRect(QRect(0, top, w, band), gradient);
    painter.fillRect(QRect(0, top + band, w, std::max(0, h - top - band)), BelowBand);
}

bool Panel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_surface) {
        if (event->type() == QEvent::Paint && m_lista->isVisible()) {
            QPainter painter(m_surface);
            paintBackground(painter);
            return true;
        }
        if (event->type() == QEvent::Resize)
            layoutControls();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Panel::toolbarClick(const QString &key)
{
    if (key == QLatin1String("create")) {
        // A run replaces the roster shown.
        if (!askToSaveChanges())
            return;
        BuildTable dialog(*this, this);
        showModal(dialog);
    } else if (key == QLatin1String("bilans")) {
        if (!m_xmlDocument) {
            Messages::exclamation(MissingRoster);
            return;
        }
        Bilans window(*m_xmlDocument, this);
        window.setSaveBilans([this] { return SaveBilans(); });
        showModal(window);
    } else if (key == QLatin1String("wykluczenia")) {
        if (!m_xmlDocument) {
            Messages::exclamation(MissingRoster);
            return;
        }
        Wykluczenia view(m_xmlDocument.get(), this);
        showModal(view);
    } else if (key == QLatin1String("kreator")) {
        Wizard wizard(*this, this);
        showModal(wizard);
    } else if (key == QLatin1String("ludzie")) {
        Ludzie window(this);
        showModal(window);
    } else if (key == QLatin1String("sluzby")) {
        Sluzby window(this);
        showModal(window);
    } else if (key == QLatin1String("options")) {
        Opcje dialog(this);
        showModal(dialog);
    }
}

void Panel::closeRoster()
{
    if (!askToSaveChanges())
        return;
    m_xmlDocument.reset();
    m_modified = false;
    m_rosterPath.clear();
    m_lista->clear();
    m_lista->hide();
    m_lstLudzie->hide();
    m_miniCal->hide();
    m_tbBilans->hide();
    m_image1->show();
    setWindowTitle(Globals::ProgramTitle);
    m_toolBar1->setTitle(Globals::ProgramTitle);
    m_toolBar1->PaintElements();
    m_currFile.clear();
    MakeOpened(false);
    m_surface->update();
}

void Panel::openRoster()
{
    if (!askToSaveChanges())
        return;
    const QString path =
        Module1::ShowOpenDialog(this, RosterFile::RosterFilter, QStringLiteral("Otwórz"));
    if (!path.isEmpty())
        openRosterFile(path);
}

bool Panel::openRosterFile(const QString &path)
{
    // Everything is read and checked before the roster shown is touched.
    Db::Database *db = Globals::database();
    const clsOptions *options = Globals::options();
    QString error = QStringLiteral("Brak otwartej bazy danych.");
    std::optional<RosterFile::OpenedRoster> roster;
    if (db)
        roster = RosterFile::OpenRoster(
            path, *db, options ? options->GetOption(QStringLiteral("CellShow")) : QString(),
            &error);
    if (!roster) {
        Messages::critical(Messages::fileFailure(RosterFile::OpenFailedText, path, error));
        return false;
    }
    // A size option the grid refuses has been shown there; the grid is untouched.
    if (!Module1::ShowScheduleGrid(*m_lista, roster->month, std::move(roster->duties)))
        return false;
    for (auto it = roster->cells.cbegin(); it != roster->cells.cend(); ++it)
        m_lista->setText(it.key().first, it.key().second, it.value());

    m_xmlDocument = std::move(roster->document);
    m_modified = false;
    m_rosterPath = path;
    m_currDate = roster->month;
    m_toolBar1->setTitle(roster->title);
    beginPeople();
    m_pendingPeople.reserve(roster->people.size());
    for (const RosterFile::PersonRow &row : std::as_const(roster->people))
        addPersonRow(row.id, row.name, row.group, row.count, row.date);

    m_lista->growRowsToText(0);
    m_lista->show();
    m_lstLudzie->show();
    m_miniCal->show();
    m_tbBilans->show();
    m_image1->hide();
    m_miniCal->setValue(m_currDate);
    // The list keeps the order it was sorted by, ascending by name at first.
    if (m_sortColumn < 0) {
        sortPeople(0);
    } else {
        sortList(m_sortColumn, m_sortOrder);
    }
    MakeOpened(true);
    setWindowTitle(path + QStringLiteral(" - ") + Globals::ProgramTitle);
    m_currFile = path;
    layoutControls();
    if (roster->gaps)
        Messages::exclamation(RosterFile::GapsText);
    return true;
}

QList<RosterFile::PersonCount> Panel::personCounts() const
{
    QList<RosterFile::PersonCount> people;
    people.reserve(qsizetype(m_people->rows().size()));
    for (const PeopleModel::Row &row : m_people->rows())
        people.append({row.id, row.texts[PeopleModel::CountColumn], row.tag});
    return people;
}

bool Panel::saveRoster()
{
    if (!m_xmlDocument)
        return false;
    const QString path =
        Module1::ShowSaveDialog(this, RosterFile::RosterFilter, QStringLiteral("Zapisz"), QString(),
                                RosterFile::DefaultFileName(m_currFile, m_currDate));
    return !path.isEmpty() && saveRosterTo(path);
}

bool Panel::saveRosterTo(const QString &path)
{
    QString error;
    if (!RosterFile::SaveRoster(*m_xmlDocument, personCounts(), path, &error)) {
        Messages::critical(Messages::fileFailure(Messages::SaveFileFailed, path, error));
        return false;
    }
    m_modified = false;
    m_rosterPath = path;
    setWindowTitle(path + QStringLiteral(" - ") + Globals::ProgramTitle);
    return true;
}

bool Panel::askToSaveChanges()
{
    if (!isModified())
        return true;
    switch (Messages::questionWithCancel(SaveChangesQuestion)) {
    case Messages::Answer::Yes:
        // A roster with a file of its own is saved there; a new one asks where.
        return m_rosterPath.isEmpty() ? saveRoster() : saveRosterTo(m_rosterPath);
    case Messages::Answer::No:
        return true;
    case Messages::Answer::Ok:
    case Messages::Answer::Cancel:
        break;
    }
    return false;
}

bool Panel::exportRoster()
{
    if (!m_xmlDocument)
        return false;
    const QString chosen = Module1::ShowSaveDialog(this, RosterFile::ExportFilter,
                                                   QStringLiteral("Zapisz"), QString(), QString());
    if (chosen.isEmpty())
        return false;
    const QString path = chosen.section(u'>', 0, 0);
    // A name typed in capitals keeps its own extension: compare without case.
    const QString kind = path.right(3).toLower();
    QString error;
    bool done = false;
    if (kind == QLatin1String("xml"))
        return SpreadsheetExport::Export(*m_lista, path); // it shows its own messages
    if (kind == QLatin1String("csv"))
        done = RosterFile::ExportCsv(*m_lista, path, &error);
    else
        return false;
    if (!done)
        Messages::critical(Messages::fileFailure(Messages::SaveFileFailed, path, error));
    return done;
}

bool Panel::SaveBilans()
{
    Db::Database *db = Globals::database();
    QString error = QStringLiteral("Brak otwartej bazy danych.");
    if (db && RosterFile::SaveCounts(*db, m_currDate, personCounts(), &error))
        return true;
    Messages::critical(QStringLiteral("Nie udało się zapisać bilansu do bazy danych.\r\n") + error);
    return false;
}

bool Panel::eraseDatabase()
{
    if (!Messages::question(QStringLiteral(
            "Czy na pewno chcesz wyczyścić wszystkie dotychczasowe informacje z bazy danych?")))
        return false;
    Db::Database *db = Globals::database();
    if (!db)
        return false;
    static const char *const tables[] = {
        "ludzie",     "sluzby",      "wizardlist", "wizardlist_items",
        "zwolnienia", "ludzie_last", "grupy",      "sluzby_ilosc"};
    // All or nothing: a failing DELETE leaves every table as it was. The
    // failure is shown only once the transaction has been rolled back.
    bool done = false;
    QString error;
    {
        Db::Transaction transaction(*db);
        done = transaction.isActive();
        for (const char *table : tables) {
            if (done)
                done = db->execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
        }
        if (done)
            done = transaction.commit();
        if (!done)
            error = db->errorString();
    }
    if (!done) {
        Messages::critical(QStringLiteral("Nie udało się wyczyścić bazy danych.\r\n") + error);
        return false;
    }
    Messages::information(
        QStringLiteral("Usuwanie danych przebiegło pomyślnie. Baza danych jest pusta."));
    return true;
}

QString Panel::helpPath()
{
    return Module1::AppPath() + QStringLiteral("Docs/Help.pdf");
}

void Panel::openHelp()
{
    const QString path = helpPath();
    if (QFileInfo::exists(path))
        openWithShell(path);
}

void Panel::openWithShell(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

int Panel::showModal(QDialog &dialog)
{
    return dialog.exec();
}

void Panel::sortPeople(int column)
{
    if (column == m_sortColumn)
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        m_sortOrder = Qt::AscendingOrder;
    m_sortColumn = column;
    // Texts are compared in Polish order, so counts sort as text.
    sortList(column, m_sortOrder);
    m_lstLudzie->header()->setSortIndicatorShown(true);
}

void Panel::markSelectedPeople()
{
    m_lista->setUpdatesEnabled(false);
    for (int r = 1; r < m_lista->rows(); ++r) {
        for (int c = 1; c < m_lista->cols(); ++c) {
            m_lista->setCellBackColor(r, c, QColor());
            m_lista->setCellForeColor(r, c, QColor());
        }
    }
    QSet<QString> ids;
    for (const QModelIndex &selected : m_lstLudzie->selectionModel()->selectedRows())
        ids.insert(QString::number(m_people->row(selected.row()).id));
    int firstCol = 1;
    int firstRow = 1;
    bool found = false;
    if (!ids.isEmpty() && m_xmlDocument) {
        for (const Xml::Node &person : m_xmlDocument->selectNodes(QStringLiteral("//Osoba"))) {
            if (!ids.contains(person.attribute(QStringLiteral("Id"))))
                continue;
            const QStringList position =
                person.parent().attribute(QStringLiteral("Position")).split(u'.');
            if (position.size() != 2)
                continue;
            const int col = position[0].toInt();
            const int row = position[1].toInt();
            m_lista->setCurrentCell(row, col);
            m_lista->setCellBackColor(row, col, MarkBack);
            m_lista->setCellForeColor(row, col, MarkFore);
            if (!found) {
                firstCol = col;
                firstRow = row;
                found = true;
            }
        }
    }
    m_lista->setUpdatesEnabled(true);
    m_lista->setLeftCol(firstCol > 1 ? firstCol - 1 : firstCol);
    m_lista->setTopRow(firstRow > 1 ? firstRow - 1 : firstRow);
    m_lista->viewport()->update();
}

void Panel::beginGeneration()
{
    if (!m_savedState)
        saveWindowState();
    m_lista->hide();
    m_lstLudzie->hide();
    m_miniCal->hide();
    m_tbBilans->hide();
    m_image1->show();

    m_picture1->clear();
    const int width = m_image1->width();
    const int height = int(width * 0.05);
    m_picture1->setGeometry(m_surface->width() / 2 - width / 2,
                            m_image1->y() - height - twipsY(Gap), width, height);
    m_picture1->show();
    m_picture1->raise();
    m_surface->repaint();
}

void Panel::progress(int dayIndex, int dayCount, const QString &text)
{
    m_picture1->setProgress(dayCount > 0 ? double(dayIndex) / dayCount : 0.0, text);
}

void Panel::setCellText(int row, int column, const QString &text)
{
    m_lista->setText(row, column, text);
}

void Panel::endGeneration()
{
    m_picture1->hide();
    m_lista->show();
    m_lstLudzie->show();
    m_miniCal->show();
    m_tbBilans->show();
    m_image1->hide();
    // The size options are the cells' least size: rows grow to show every name.
    m_lista->growRowsToText(0);
    layoutControls();
}

void Panel::restoreAfterFailure()
{
    restoreWindowState();
}

void Panel::setToolbarTitle(const QString &title)
{
    m_toolBar1->setTitle(title);
    m_toolBar1->PaintElements();
}

QString Panel::toolbarTitle() const
{
    return m_toolBar1->Title();
}

void Panel::setRosterDocument(std::unique_ptr<Xml::Document> document)
{
    m_xmlDocument = std::move(document);
    // A new roster belongs to no file yet, whatever was open before.
    m_currFile.clear();
    m_rosterPath.clear();
    m_modified = true;
    m_savedState.reset();
}

void Panel::showExclusions()
{
    Wykluczenia view(m_xmlDocument.get(), this);
    showModal(view);
}

void Panel::clear()
{
    // A run empties the list it may have to put back: its rows move to the saved state.
    if (m_savedState && m_savedState->peopleInList) {
        m_savedState->people = m_people->takeRows();
        m_savedState->peopleInList = false;
    }
    beginPeople();
}

void Panel::beginPeople()
{
    // The rows to come are about as many as the list had.
    const size_t had =
        std::max(m_people->rows().size(), m_savedState ? m_savedState->people.size() : size_t(0));
    m_people->setRows({});
    m_pendingPeople.clear();
    m_pendingPeople.reserve(had);
    m_fillingPeople = true;
}

void Panel::sortList(int column, Qt::SortOrder order)
{
    m_lstLudzie->header()->setSortIndicator(column, order);
    if (m_fillingPeople) {
        // The rows wait apart until the list takes them all at once.
        m_fillingPeople = false;
        m_people->setRows(std::exchange(m_pendingPeople, {}));
    }
    // A roster file keeps the rows in the order the list had: a row's look at
    // its neighbour costs less than sorting what is in order already.
    if (!m_people->isSorted(column, order))
        m_people->sort(column, order);
    // Laid out now, the list shows its scroll bar before its first paint
    // instead of painting every row again at the narrower width.
    if (m_lstLudzie->isVisible())
        m_lstLudzie->doItemsLayout();
}

void Panel::addRow(qint64 id, const QString &name, const QString &group, qint64 count,
                   const QString &lastDate)
{
    addPersonRow(id, name, group, WholeNumber::text(count), lastDate);
}

void Panel::addPersonRow(qint64 id, const QString &name, const QString &group, const QString &count,
                         const QString &lastDate)
{
    PeopleModel::Row row{id, {name, group, count}, lastDate};
    if (m_fillingPeople)
        m_pendingPeople.push_back(std::move(row));
    else
        m_people->appendRow(std::move(row));
}

void Panel::sortRows()
{
    m_sortColumn = -1;
    sortPeople(0);
}

void Panel::saveWindowState()
{
    WindowState state;
    state.grid = m_lista->saveState();
    // The rows are not copied: they stay in the list until a run empties it (clear()).
    state.listaVisible = m_lista->isVisibleTo(this);
    state.listVisible = m_lstLudzie->isVisibleTo(this);
    state.calendarVisible = m_miniCal->isVisibleTo(this);
    state.bilansVisible = m_tbBilans->isVisibleTo(this);
    state.imageVisible = m_image1->isVisibleTo(this);
    state.opened = m_opened;
    state.scheduleReady = m_scheduleReady;
    state.caption = windowTitle();
    state.toolbarTitle = m_toolBar1->Title();
    state.currDate = m_currDate;
    m_savedState = std::move(state);
}

void Panel::restoreWindowState()
{
    if (!m_savedState)
        return;
    WindowState state = std::move(*m_savedState);
    m_savedState.reset();
    m_picture1->hide();
    m_lista->restoreState(state.grid);
    m_pendingPeople.clear();
    m_fillingPeople = false;
    if (!state.peopleInList)
        m_people->setRows(std::move(state.people));
    m_lista->setVisible(state.listaVisible);
    m_lstLudzie->setVisible(state.listVisible);
    m_miniCal->setVisible(state.calendarVisible);
    m_tbBilans->setVisible(state.bilansVisible);
    m_image1->setVisible(state.imageVisible);
    m_scheduleReady = state.scheduleReady;
    setWindowTitle(state.caption);
    m_toolBar1->setTitle(state.toolbarTitle);
    m_currDate = state.currDate;
    MakeOpened(state.opened);
    layoutControls();
}

void Panel::refreshWindow()
{
    // Asked for as a run begins: the run's first paint (beginGeneration)
    // follows at once and covers what the dialog left, so the roster about to
    // be replaced is not drawn once more before it.
    m_surface->update();
}

void Panel::setCalendarMonth(const QDate &month)
{
    m_miniCal->setValue(month);
}

QString Panel::pick(int rodzaj)
{
    SelectItem picker;
    picker.setRodzaj(rodzaj);
    picker.setDayRangeWindow([](SelectItem &receiver) {
        Wizard_zwolnienia window;
        window.setMyClass(&receiver);
        window.exec();
    });
    picker.Show();
    return picker.Result();
}

void Panel::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Layout is skipped while minimised; restoring lays the window out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        layoutControls();
}

void Panel::closeEvent(QCloseEvent *event)
{
    if (!askToSaveChanges()) {
        event->ignore();
        return;
    }
    // Options, list header, roster, database: in this order.
    m_flatHeader.reset();
    m_xmlDocument.reset();
    Globals::closeDatabase();
    event->accept();
}
