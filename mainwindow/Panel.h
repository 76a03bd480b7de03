#pragma once

#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "engine/GenerationHost.h"
#include "engine/ui/BuildTable.h"
#include "engine/ui/WizardHost.h"
#include "mainwindow/PeopleModel.h"
#include "mainwindow/RosterFile.h"
#include "platform/draw/ImageList.h"

#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class cFlatHeader;
class GraphicalCalendar;
class IdeaSend;
class ProgressBox;
class QAction;
class QLabel;
class QToolBar;
class QTreeView;
class ToolBarN;

namespace Xml {
class Document;
}

// The main window: the open roster (document and month) shown as the grid of
// days and duties beside the people with their duty counts, the menus and the
// main toolbar that start every other window. It takes the database from
// Globals; closing it releases the options, the roster and the database.
//
// It is the window the generation reports to (GenerationHost), the list the
// person counts are written to (PersonCountSink) and the host of the build
// dialog and the rule wizard (the picker).
class Panel : public QMainWindow,
              public Algorytmy::GenerationHost,
              public XML::PersonCountSink,
              public BuildTableHost,
              public WizardHost
{
    Q_OBJECT

public:
    explicit Panel(QWidget *parent = nullptr);
    ~Panel() override;

    // The open roster; null when none is open.
    Xml::Document *xmlDocument() const { return m_xmlDocument.get(); }
    void setXmlDocument(std::unique_ptr<Xml::Document> document);
    QDate CurrDate() const { return m_currDate; }
    void setCurrDate(const QDate &date) override { m_currDate = date; }
    QString CurrFile() const { return m_currFile; }
    void setCurrFile(const QString &path) { m_currFile = path; }
    bool ScheduleReady() const { return m_scheduleReady; }

    // Switches the commands that need an open roster.
    void MakeOpened(bool opened);
    bool isOpened() const { return m_opened; }
    // The roster was generated or changed since it was last saved or opened.
    bool isModified() const { return m_xmlDocument && m_modified; }

    // Commands of the menus and the toolbar.
    void toolbarClick(const QString &key);
    void closeRoster();
    // "Otwórz grafik...": asks for a roster file and opens it.
    void openRoster();
    // Opens the roster file at path; a damaged or foreign file is refused with
    // a message and the roster shown stays as it was.
    bool openRosterFile(const QString &path);
    // "Zapisz jako...": the roster with its Counter section into a .swx file.
    bool saveRoster();
    // Before the roster is set aside (Close, Open, a new generation, the end):
    // a changed roster asks whether to save it first. True to go on; false
    // when the planner cancelled or the save failed, nothing changed.
    bool askToSaveChanges();
    // "Eksport...": the grid as an XML spreadsheet or CSV, by the chosen name.
    bool exportRoster();
    // Stores the month's counts of lstLudzie in ludzie_last (the balance
    // report calls it too); false after showing why nothing was stored.
    bool SaveBilans();
    // The rows of lstLudzie as saving and storing read them, in list order.
    QList<RosterFile::PersonCount> personCounts() const;
    // Empties the master-data tables in one transaction; true when committed.
    bool eraseDatabase();
    void openHelp();
    static QString helpPath();
    // Colours the grid cells of the people selected in lstLudzie and scrolls to the first.
    void markSelectedPeople();
    void sortPeople(int column);
    // The resize layout of the window's controls.
    void layoutControls();

    FlexGrid *Lista() const { return m_lista; }
    QTreeView *lstLudzie() const { return m_lstLudzie; }
    // The rows lstLudzie shows.
    PeopleModel *people() const { return m_people; }
    GraphicalCalendar *MiniCal() const { return m_miniCal; }
    QToolBar *tbBilans() const { return m_tbBilans; }
    QLabel *Image1() const { return m_image1; }
    ProgressBox *Picture1() const { return m_picture1; }
    ToolBarN *ToolBar1() const { return m_toolBar1; }
    QAction *menuAction(const QString &name) const;
    bool toolbarItemEnabled(const QString &key) const;
    const Draw::ImageList &imgListButtons() const { return m_imgListButtons; }

    // GenerationHost
    void setScheduleReady(bool ready) override { m_scheduleReady = ready; }
    void beginGeneration() override;
    void progress(int dayIndex, int dayCount, const QString &text) override;
    void setCellText(int row, int column, const QString &text) override;
    void endGeneration() override;
    void restoreAfterFailure() override;
    void setToolbarTitle(const QString &title) override;
    QString toolbarTitle() const override;
    XML::PersonCountSink &personList() override { return *this; }
    void setRosterDocument(std::unique_ptr<Xml::Document> document) override;
    void showExclusions() override;

    // PersonCountSink
    void clear() override;
    void addRow(qint64 id, const QString &name, const QString &group, qint64 count,
                const QString &lastDate) override;
    void sortRows() override;
    void makeOpened(bool opened) override { MakeOpened(opened); }

    // BuildTableHost
    FlexGrid &scheduleGrid() override { return *m_lista; }
    Algorytmy::GenerationHost &generationHost() override { return *this; }
    void saveWindowState() override;
    void restoreWindowState() override;
    void refreshWindow() override;
    QDate currDate() const override { return m_currDate; }
    void setWindowCaption(const QString &caption) override { setWindowTitle(caption); }
    void setCalendarMonth(const QDate &month) override;
    QString pick(int rodzaj) override;

protected:
    // Shows a window of the program modally; tests answer it in place.
    virtual int showModal(QDialog &dialog);
    // Opens a file with the desktop's program; failures are not reported.
    virtual void openWithShell(const QString &path);

    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildControls();
    void buildButtonImages();
    void loadDutyHeaders();
    // One row of lstLudzie: key "ID=" + id, name, group, count; the tag is the last duty.
    // Between beginPeople() and the next sort the rows wait apart from the list.
    void addPersonRow(qint64 id, const QString &name, const QString &group, const QString &count,
                      const QString &lastDate);
    // Empties lstLudzie; the rows added next go into it at once when it is sorted.
    void beginPeople();
    // Sorts lstLudzie; waiting rows are sorted apart and handed over at once.
    void sortList(int column, Qt::SortOrder order);
    void paintBackground(QPainter &painter);
    bool saveRosterTo(const QString &path);
    int twipsX(double twips) const;
    int twipsY(double twips) const;

    // What a run changes, to put back when it hands over nothing.
    struct WindowState
    {
        FlexGrid::State grid;
        // The rows stay in lstLudzie until the run empties it; then they are kept here.
        bool peopleInList = true;
        std::vector<PeopleModel::Row> people;
        bool listaVisible = false;
        bool listVisible = false;
        bool calendarVisible = false;
        bool bilansVisible = false;
        bool imageVisible = true;
        bool opened = false;
        bool scheduleReady = true;
        QString caption;
        QString toolbarTitle;
        QDate currDate;
    };

    std::unique_ptr<Xml::Document> m_xmlDocument;
    QDate m_currDate;
    QString m_currFile;
    // Changed since last saved or opened; the file it was last saved to or opened from.
    bool m_modified = false;
    QString m_rosterPath;
    bool m_scheduleReady = true;
    bool m_opened = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::optional<WindowState> m_savedState;
    bool m_fillingPeople = false;
    std::vector<PeopleModel::Row> m_pendingPeople;

    QWidget *m_surface = nullptr;
    ToolBarN *m_toolBar1 = nullptr;
    FlexGrid *m_lista = nullptr;
    QTreeView *m_lstLudzie = nullptr;
    PeopleModel *m_people = nullptr;
    GraphicalCalendar *m_miniCal = nullptr;
    QToolBar *m_tbBilans = nullptr;
    QLabel *m_image1 = nullptr;
    ProgressBox *m_picture1 = nullptr;
    std::unique_ptr<cFlatHeader> m_flatHeader;
    QPointer<IdeaSend> m_ideaSend;
    Draw::ImageList m_imgListButtons;
    Draw::ImageList m_imageList1;

    QAction *m_mnuNew = nullptr;
    QAction *m_mnuOpen = nullptr;
    QAction *m_mnuClose = nullptr;
    QAction *m_mnuSave = nullptr;
    QAction *m_mnuEksport = nullptr;
    QAction *m_mnuEnd = nullptr;
    QAction *m_mnuToolsErase = nullptr;
    QAction *m_mnuPomysl = nullptr;
    QAction *m_mnuPomocFile = nullptr;
    QAction *m_mnuAbout = nullptr;
};
