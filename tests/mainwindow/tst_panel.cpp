#include "controls/GraphicalCalendar.h"
#include "controls/TBNItems.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/FlexGrid.h"
#include "engine/WizItem.h"
#include "engine/ui/BuildTable.h"
#include "engine/ui/WizardItem.h"
#include "engine/ui/Wizard_zwolnienia.h"
#include "mainwindow/Panel.h"
#include "mainwindow/ProgressBox.h"
#include "mainwindow/Wykluczenia.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Modal.h"
#include "tests/support/Mouse.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

#include <memory>

namespace {

// The main window's people list as a planner reads it: rows and their texts.
int rowCount(const QTreeView *list)
{
    return list->model()->rowCount();
}

QModelIndex rowAt(const QTreeView *list, int row, int column = 0)
{
    return list->model()->index(row, column);
}

QString textAt(const QTreeView *list, int row, int column)
{
    return rowAt(list, row, column).data().toString();
}

// The main window with its modal windows answered in place.
class TestPanel : public Panel
{
public:
    QDate runMonth{2024, 5, 1};
    QStringList opened; // class names of the windows shown
    QStringList exclusionLines;
    QString shellPath;

protected:
    int showModal(QDialog &dialog) override
    {
        opened << QString::fromLatin1(dialog.metaObject()->className());
        if (auto *build = qobject_cast<BuildTable *>(&dialog)) {
            build->setMonth(runMonth);
            return build->create() ? QDialog::Accepted : QDialog::Rejected;
        }
        if (auto *view = qobject_cast<Wykluczenia *>(&dialog)) {
            for (int i = 0; i < view->lista()->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *day = view->lista()->topLevelItem(i);
                exclusionLines << day->text(0);
                for (int j = 0; j < day->childCount(); ++j)
                    exclusionLines << QStringLiteral("  ") + day->child(j)->text(0);
            }
        }
        return QDialog::Rejected;
    }
    void openWithShell(const QString &path) override { shellPath = path; }
};

qint64 count(const QString &sql)
{
    return Globals::database()->scalar(sql).toLongLong();
}

} // namespace

// The main window: its two states, the generation reaching the grid and the
// list of people, the gap question, Close, Erase and Help.
class TestPanelWindow : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    static bool visible(QWidget *w, Panel &panel) { return w->isVisibleTo(&panel); }

    static void checkNoRoster(Panel &panel)
    {
        QVERIFY(!panel.xmlDocument());
        QVERIFY(!panel.isOpened());
        QVERIFY(!visible(panel.Lista(), panel));
        QVERIFY(!visible(panel.lstLudzie(), panel));
        QVERIFY(!visible(panel.MiniCal(), panel));
        QVERIFY(!visible(panel.tbBilans(), panel));
        QVERIFY(visible(panel.Image1(), panel));
        QVERIFY(!panel.menuAction(QStringLiteral("mnuClose"))->isEnabled());
        QVERIFY(!panel.toolbarItemEnabled(QStringLiteral("wykluczenia")));
        QCOMPARE(panel.windowTitle(), QStringLiteral("Dorvat Kadrelo"));
        QCOMPARE(panel.ToolBar1()->Title(), QStringLiteral("Dorvat Kadrelo"));
    }

    // Every grid cell holds the names the roster document puts there.
    static void checkCellsMatchDocument(Panel &panel)
    {
        const QList<Xml::Node> duties =
            panel.xmlDocument()->selectNodes(QStringLiteral("/Baza/Dzien/Sluzba"));
        QVERIFY(!duties.isEmpty());
        for (const Xml::Node &duty : duties) {
            const QStringList position = duty.attribute(QStringLiteral("Position")).split(u'.');
            QStringList names;
            for (const Xml::Node &person : duty.childElements(QStringLiteral("Osoba")))
                names << person.childElements(QStringLiteral("Nazwisko")).value(0).text();
            const int col = position[0].toInt();
            const int row = position[1].toInt();
            QCOMPARE(panel.Lista()->colData(col),
                     duty.attribute(QStringLiteral("Id")).toLongLong());
            if (!panel.Lista()->text(row, col).contains(QStringLiteral("{luka}")))
                QCOMPARE(panel.Lista()->text(row, col), names.join(QStringLiteral("\r\n\r\n")));
        }
    }

private Q_SLOTS:
    void init()
    {
        openDatabase();
        Messages::clearShown();
    }
    void cleanup() { closeDatabase(); }

    void startsWithoutRoster()
    {
        TestPanel panel;
        panel.resize(1000, 700);
        panel.show();
        checkNoRoster(panel);
        // Commands that need a roster are off; the others are on.
        QVERIFY(!panel.menuAction(QStringLiteral("mnuSave"))->isEnabled());
        QVERIFY(!panel.menuAction(QStringLiteral("mnuEksport"))->isEnabled());
        QVERIFY(panel.menuAction(QStringLiteral("mnuOpen"))->isEnabled());
        QVERIFY(!panel.toolbarItemEnabled(QStringLiteral("bilans")));
        for (const char *key : {"create", "ludzie", "sluzby", "kreator", "options"})
            QVERIFY2(panel.toolbarItemEnabled(QString::fromLatin1(key)), key);
        QVERIFY(panel.menuAction(QStringLiteral("mnuNew"))->isEnabled());
        QVERIFY(panel.menuAction(QStringLiteral("mnuToolsErase"))->isEnabled());
        QCOMPARE(panel.menuAction(QStringLiteral("mnuPomocFile"))->shortcut(),
                 QKeySequence(Qt::Key_F1));
        QCOMPARE(panel.menuAction(QStringLiteral("mnuClose"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+F4")));
        // The header row starts with every duty's name.
        QCOMPARE(panel.Lista()->cols(), 3);
        QCOMPARE(panel.Lista()->text(0, 2), QStringLiteral("Patrol"));

        // Reached without a roster, the roster views say so and open nothing;
        // their toolbar items are off then, so no click reaches them.
        QVERIFY(!Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("bilans")));
        panel.toolbarClick(QStringLiteral("wykluczenia"));
        panel.toolbarClick(QStringLiteral("bilans"));
        QCOMPARE(Messages::shown(),
                 QStringList(2, QStringLiteral("Brak otworzonego/stworzonego grafiku!")));
        QVERIFY(panel.opened.isEmpty());

        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("ludzie")));
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("sluzby")));
        panel.menuAction(QStringLiteral("mnuAbout"))->trigger();
        QCOMPARE(panel.opened, (QStringList{"Ludzie", "Sluzby", "About"}));
    }

    // "Grafik" lays the grid out, the run fills it, the list of people and
    // the commands of an open roster follow.
    void generationReachesGrid()
    {
        TestPanel panel;
        panel.resize(1000, 700);
        panel.show();
        panel.setCurrFile(QStringLiteral("/tmp/kwiecien.swx"));
        panel.menuAction(QStringLiteral("mnuNew"))->trigger();
        QCOMPARE(panel.opened, QStringList{QStringLiteral("BuildTable")});
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));

        QVERIFY(panel.xmlDocument());
        QVERIFY(panel.isOpened());
        QVERIFY(panel.ScheduleReady());
        QCOMPARE(panel.CurrDate(), QDate(2024, 5, 1));
        QCOMPARE(panel.CurrFile(), QString());
        QCOMPARE(panel.windowTitle(), QStringLiteral("Grafik [2024-05] - Dorvat Kadrelo"));
        QCOMPARE(panel.ToolBar1()->Title(), QStringLiteral("Grafik na maj 2024"));
        QCOMPARE(panel.MiniCal()->Value(), QDate(2024, 5, 1));
        QVERIFY(visible(panel.Lista(), panel));
        QVERIFY(visible(panel.lstLudzie(), panel));
        QVERIFY(visible(panel.MiniCal(), panel));
        QVERIFY(visible(panel.tbBilans(), panel));
        QVERIFY(!visible(panel.Image1(), panel));
        QVERIFY(!visible(panel.Picture1(), panel));
        QVERIFY(panel.menuAction(QStringLiteral("mnuClose"))->isEnabled());
        QVERIFY(panel.toolbarItemEnabled(QStringLiteral("wykluczenia")));
        QVERIFY(panel.toolbarItemEnabled(QStringLiteral("bilans")));
        QVERIFY(panel.menuAction(QStringLiteral("mnuSave"))->isEnabled());
        QVERIFY(panel.menuAction(QStringLiteral("mnuEksport"))->isEnabled());

        FlexGrid *grid = panel.Lista();
        QCOMPARE(grid->rows(), 32);
        QCOMPARE(grid->cols(), 3);
        QCOMPARE(grid->text(0, 1), QStringLiteral("Dyżur\r\nod 08:00 przez 24 h"));
        QCOMPARE(grid->text(0, 2), QStringLiteral("Patrol\r\nod 20:00 przez 8 h"));
        QCOMPARE(grid->colData(1), m_duty);
        QCOMPARE(grid->colData(2), m_patrol);
        QCOMPARE(grid->text(4, 0), QStringLiteral("4\r\nsob."));
        QCOMPARE(grid->cellForeColor(4, 0), QColor(255, 0, 0));
        QCOMPARE(grid->cellForeColor(6, 0), QColor());
        for (int r = 1; r <= 31; ++r)
            for (int c = 1; c <= 2; ++c)
                QVERIFY(!grid->text(r, c).isEmpty());
        checkCellsMatchDocument(panel);

        // One row per person, the count of this month's duties in the third column.
        QTreeView *list = panel.lstLudzie();
        QCOMPARE(rowCount(list), 3);
        int total = 0;
        for (int i = 0; i < rowCount(list); ++i) {
            const qint64 id = Module1::IdFromKey(rowAt(list, i).data(Qt::UserRole).toString());
            QVERIFY(id > 0);
            const int duties = int(panel.xmlDocument()
                                       ->selectNodes(QStringLiteral("//Osoba[@Id='%1']").arg(id))
                                       .size());
            QCOMPARE(textAt(list, i, 2), QString::number(duties));
            total += duties;
        }
        QCOMPARE(total, 62);
        QCOMPARE(textAt(list, 0, 0), QStringLiteral("Kowalski Jan"));
        QCOMPARE(textAt(list, 0, 1), QStringLiteral("Alfa"));

        // Close: back to the state without a roster.
        panel.closeRoster();
        checkNoRoster(panel);
        QCOMPARE(grid->text(1, 1), QString());
    }

    // A run with unfilled places asks whether to check the absences; Yes
    // opens the exclusions view on the new roster.
    void gapQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void gapQuestion()
    {
        QFETCH(bool, yes);
        // Nowak is away for the whole first week.
        exec(QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item) VALUES "
                            "('2024-05-01', '2024-05-07', 0, '2')"));
        exec(QStringLiteral("UPDATE sluzby SET ilosc_std=3 WHERE nazwa='Patrol'"));
        TestPanel panel;
        panel.show();
        Messages::setNextAnswer(yes ? Messages::Answer::Yes : Messages::Answer::No);
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QCOMPARE(Messages::shown().size(), 1);
        const QString question = Messages::shown().first();
        QVERIFY2(question.startsWith(QStringLiteral("Istnieją luki w służbach! Ilość luk: ")),
                 qPrintable(question));
        QVERIFY(question.endsWith(QStringLiteral("Czy chcesz sprawdzić istnienie zwolnień?")));
        QVERIFY(panel.xmlDocument());
        checkCellsMatchDocument(panel);
        int gaps = 0;
        for (int r = 1; r < panel.Lista()->rows(); ++r)
            gaps += panel.Lista()->text(r, 2).count(QStringLiteral("{luka}"));
        QVERIFY(gaps > 0);
        if (yes) {
            QCOMPARE(panel.opened, (QStringList{"BuildTable", "Wykluczenia"}));
            QVERIFY(panel.exclusionLines.contains(QStringLiteral("Dzień 1")));
            QVERIFY(
                panel.exclusionLines.contains(QStringLiteral("  Nowak Adam (zw. 1-7.05.2024)")));
        } else {
            QCOMPARE(panel.opened, QStringList{QStringLiteral("BuildTable")});
        }
    }

    // A run that cannot lay out or fill the grid leaves the window as it was.
    void failedRunRestoresWindow()
    {
        TestPanel panel;
        panel.resize(1000, 700);
        panel.show();
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QVERIFY(panel.xmlDocument());
        const Xml::Document *first = panel.xmlDocument();
        const QString cell = panel.Lista()->text(3, 1);
        const QString person = textAt(panel.lstLudzie(), 0, 2);

        // Each run over the unsaved roster asks first; No goes on.
        const QString question = QStringLiteral("Czy chcesz zapisać zmiany w grafiku?");
        panel.runMonth = QDate(2024, 2, 1);
        Globals::options()->SetOption(QStringLiteral("CellWidth"), QStringLiteral("szeroka"));
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(Messages::shown().first(), question);

        Globals::options()->SetOption(QStringLiteral("CellWidth"), QStringLiteral("3"));
        exec(QStringLiteral("DROP TABLE ludzie_last"));
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QCOMPARE(Messages::shown().size(), 4);
        QCOMPARE(Messages::shown().at(2), question);
        QVERIFY(panel.isModified());

        QCOMPARE(panel.xmlDocument(), first);
        QCOMPARE(panel.windowTitle(), QStringLiteral("Grafik [2024-05] - Dorvat Kadrelo"));
        QCOMPARE(panel.MiniCal()->Value(), QDate(2024, 5, 1));
        QCOMPARE(panel.CurrDate(), QDate(2024, 5, 1));
        QCOMPARE(panel.Lista()->rows(), 32);
        QCOMPARE(panel.Lista()->text(3, 1), cell);
        QCOMPARE(rowCount(panel.lstLudzie()), 3);
        QCOMPARE(textAt(panel.lstLudzie(), 0, 2), person);
        QVERIFY(visible(panel.Lista(), panel));
        QVERIFY(!visible(panel.Picture1(), panel));
        QVERIFY(!visible(panel.Image1(), panel));
        QVERIFY(panel.isOpened());
        QVERIFY(panel.ScheduleReady());
    }

    // Header clicks sort in Polish order, counts as text: ascending, then
    // descending; rows put back after a failed run keep that order.
    void sortPeople()
    {
        TestPanel panel;
        panel.resize(1000, 700);
        panel.show();
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QVERIFY(panel.xmlDocument());
        panel.clear();
        panel.addRow(1, QStringLiteral("Zieliński Adam"), QStringLiteral("Alfa"), 9, {});
        panel.addRow(2, QStringLiteral("Ćwik Jan"), QStringLiteral("beta"), 10, {});
        panel.addRow(3, QStringLiteral("adamczyk Ewa"), QStringLiteral("Alfa"), 2, {});
        panel.addRow(4, QStringLiteral("Łukasik Ola"), QStringLiteral("Żbik"), 2, {});
        panel.addRow(5, QStringLiteral("Cygan Piotr"), QStringLiteral("Alfa"), 1, {});
        QTreeView *list = panel.lstLudzie();
        auto column = [&](int c) {
            QStringList texts;
            for (int i = 0; i < rowCount(list); ++i)
                texts << textAt(list, i, c);
            return texts;
        };
        auto clickHeader = [&](int c) {
            QHeaderView *header = list->header();
            const QPoint at(header->sectionViewportPosition(c) + header->sectionSize(c) / 2,
                            header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        };
        const QStringList byName{"adamczyk Ewa", "Cygan Piotr", "Ćwik Jan", "Łukasik Ola",
                                 "Zieliński Adam"};
        panel.sortRows();
        QCOMPARE(column(0), byName);
        clickHeader(2);
        QCOMPARE(column(2), (QStringList{"1", "10", "2", "2", "9"}));
        clickHeader(2);
        QCOMPARE(column(2), (QStringList{"9", "2", "2", "10", "1"}));
        clickHeader(1);
        QCOMPARE(column(1), (QStringList{"Alfa", "Alfa", "Alfa", "beta", "Żbik"}));
        clickHeader(0);
        QCOMPARE(column(0), byName);
        clickHeader(0);
        QCOMPARE(column(0), (QStringList{byName.rbegin(), byName.rend()}));

        // The people selected stay selected, wherever a sort puts their rows.
        auto selected = [&] {
            QStringList names;
            for (int i = 0; i < rowCount(list); ++i) {
                if (list->selectionModel()->isRowSelected(i))
                    names << textAt(list, i, 0);
            }
            return names;
        };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(rowAt(list, 2)).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualRect(rowAt(list, 4)).center());
        QCOMPARE(selected(), (QStringList{"Ćwik Jan", "adamczyk Ewa"}));
        clickHeader(2);
        QCOMPARE(column(2), (QStringList{"1", "10", "2", "2", "9"}));
        QCOMPARE(selected(), (QStringList{"Ćwik Jan", "adamczyk Ewa"}));
        clickHeader(1);
        QCOMPARE(selected(), (QStringList{"adamczyk Ewa", "Ćwik Jan"}));

        // A run that hands over nothing puts the rows back; they still sort
        // in Polish order.
        panel.runMonth = QDate(2024, 2, 1);
        Globals::options()->SetOption(QStringLiteral("CellWidth"), QStringLiteral("szeroka"));
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        // The question over the unsaved roster (No), then the failure.
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(rowCount(list), 5);
        clickHeader(0);
        QCOMPARE(column(0), byName);
    }

    // A run that fails after filling the list (no input makes it fail so
    // late) puts back the rows the list had, with their texts and tags.
    void listPutBackAfterLateFailure()
    {
        TestPanel panel;
        panel.resize(1000, 700);
        panel.show();
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QTreeView *list = panel.lstLudzie();
        auto rows = [&] {
            QStringList texts;
            for (int i = 0; i < rowCount(list); ++i) {
                texts << QStringList{textAt(list, i, 0), textAt(list, i, 1), textAt(list, i, 2),
                                     rowAt(list, i).data(Qt::UserRole).toString(),
                                     rowAt(list, i).data(Qt::UserRole + 1).toString()}
                             .join(u'|');
            }
            return texts;
        };
        const QStringList before = rows();
        QCOMPARE(before.size(), 3);

        BuildTableHost &host = panel;
        host.saveWindowState();
        panel.clear();
        panel.addRow(9, QStringLiteral("Obcy Jan"), QStringLiteral("Alfa"), 1, {});
        panel.sortRows();
        QCOMPARE(rowCount(list), 1);
        host.restoreWindowState();
        QCOMPARE(rows(), before);
        // Nothing of the failed run is left to come back later.
        host.saveWindowState();
        host.restoreWindowState();
        QCOMPARE(rows(), before);
    }

    // Releasing the mouse over the list marks the cells of the people the
    // list shows selected after the click, and scrolls to the first one.
    void markSelectedPeople()
    {
        TestPanel panel;
        panel.resize(700, 500);
        panel.show();
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QVERIFY(panel.xmlDocument());
        QTreeView *list = panel.lstLudzie();
        FlexGrid *grid = panel.Lista();
        QCOMPARE(rowCount(list), 3);

        auto click = [&](int index, Qt::KeyboardModifiers modifiers = {}) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                              list->visualRect(rowAt(list, index)).center());
        };
        // The list's selection as shown, and the grid's marks as painted.
        auto checkMarks = [&](const QList<int> &selected) {
            QList<int> shown;
            QSet<QString> ids;
            for (int i = 0; i < rowCount(list); ++i) {
                if (list->selectionModel()->isRowSelected(i)) {
                    shown << i;
                    ids << QString::number(
                        Module1::IdFromKey(rowAt(list, i).data(Qt::UserRole).toString()));
                }
            }
            QCOMPARE(shown, selected);
            QSet<QPair<int, int>> marked;
            int firstRow = 1;
            int firstCol = 1;
            for (const Xml::Node &person :
                 panel.xmlDocument()->selectNodes(QStringLiteral("//Osoba"))) {
                if (!ids.contains(person.attribute(QStringLiteral("Id"))))
                    continue;
                const QStringList pos =
                    person.parent().attribute(QStringLiteral("Position")).split(u'.');
                if (marked.isEmpty()) {
                    firstCol = pos[0].toInt();
                    firstRow = pos[1].toInt();
                }
                marked.insert({pos[1].toInt(), pos[0].toInt()});
            }
            QCOMPARE(marked.isEmpty(), selected.isEmpty());
            for (int r = 1; r < grid->rows(); ++r) {
                for (int c = 1; c < grid->cols(); ++c) {
                    const bool mark = marked.contains({r, c});
                    QCOMPARE(grid->cellBackColor(r, c), mark ? QColor(236, 136, 76) : QColor());
                    QCOMPARE(grid->cellForeColor(r, c), mark ? QColor(Qt::white) : QColor());
                }
            }
            QCOMPARE(grid->topRow(),
                     std::min(std::max(1, firstRow - 1),
                              grid->layout().maxTopRow(grid->viewport()->height())));
            QCOMPARE(grid->leftCol(),
                     std::min(std::max(1, firstCol - 1),
                              grid->layout().maxLeftCol(grid->viewport()->width())));
        };

        click(2);
        checkMarks({2});
        click(0, Qt::ControlModifier);
        checkMarks({0, 2});
        // One of the selected rows alone: the selection narrows on release.
        click(0);
        checkMarks({0});
        click(1);
        checkMarks({1});
        // Nobody selected: every mark goes and the grid scrolls to its start.
        click(1, Qt::ControlModifier);
        checkMarks({});
        QCOMPARE(grid->topRow(), 1);
        QCOMPARE(grid->leftCol(), 1);
        // The day column keeps its weekend colours.
        QCOMPARE(grid->cellBackColor(4, 0), QColor(255, 192, 192));
    }

    // The month arrows of the calendar answer where they are drawn, at the
    // window's size and narrowed: the calendar is wider than its month.
    void calendarArrows_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("default size") << QSize(1000, 700);
        QTest::newRow("narrowed") << QSize(640, 480);
    }
    void calendarArrows()
    {
        QFETCH(QSize, size);
        TestPanel panel;
        panel.resize(size);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        GraphicalCalendar *calendar = panel.MiniCal();
        QVERIFY(calendar->isVisible());
        QVERIFY(calendar->layout().offsetX > 0);
        QCOMPARE(calendar->layout().firstShownMonth, QDate(2024, 5, 1));

        const QSizeF arrow = calendar->arrowSize();
        const QPoint client = calendar->contentsRect().topLeft();
        const int y = client.y() + int(calendar->layout().dayCellHeight / 2 + 1);
        const QPoint left(client.x() + 2 + int(arrow.width() / 2), y);
        const QPoint right(client.x() + calendar->contentsRect().width() - int(arrow.width() / 2),
                           y);
        QTest::mouseClick(calendar, Qt::LeftButton, {}, left);
        QCOMPARE(calendar->layout().firstShownMonth, QDate(2024, 4, 1));
        QCOMPARE(calendar->Value(), QDate(2024, 4, 1));
        QTest::mouseClick(calendar, Qt::LeftButton, {}, right);
        QTest::mouseClick(calendar, Qt::LeftButton, {}, right);
        QCOMPARE(calendar->layout().firstShownMonth, QDate(2024, 6, 1));
        QCOMPARE(calendar->Value(), QDate(2024, 6, 1));
    }

    // Erase empties the master data in one transaction; No changes nothing,
    // a failing statement undoes the ones before it.
    void erase_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("failing");
        QTest::newRow("No") << false << false;
        QTest::newRow("Yes") << true << false;
        QTest::newRow("Yes, failing DELETE") << true << true;
    }
    void erase()
    {
        QFETCH(bool, yes);
        QFETCH(bool, failing);
        exec(QStringLiteral("INSERT INTO stopnie (nazwa) VALUES ('kpr.')"));
        exec(QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES ('1', "
                            "'2024-04', 3, '')"));
        // grupy goes after ludzie: a failure there must bring ludzie back.
        if (failing)
            exec(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON grupy BEGIN SELECT "
                                "RAISE(ABORT, 'zablokowane'); END"));
        TestPanel panel;
        Messages::setNextAnswer(yes ? Messages::Answer::Yes : Messages::Answer::No);
        const bool done = panel.eraseDatabase();
        QCOMPARE(done, yes && !failing);
        const bool emptied = yes && !failing;
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie")), emptied ? 0 : 3);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM sluzby")), emptied ? 0 : 2);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie_last")), emptied ? 0 : 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM grupy")), emptied ? 0 : 2);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM stopnie")), 1);
        QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM opcje")) > 0);

        const QStringList shown = Messages::shown();
        QCOMPARE(
            shown.first(),
            QStringLiteral(
                "Czy na pewno chcesz wyczyścić wszystkie dotychczasowe informacje z bazy danych?"));
        const QString success =
            QStringLiteral("Usuwanie danych przebiegło pomyślnie. Baza danych jest pusta.");
        QCOMPARE(shown.contains(success), emptied);
        QCOMPARE(shown.size(), yes ? 2 : 1);
        if (failing)
            QVERIFY(shown.last().contains(QStringLiteral("zablokowane")));
    }

    // Help opens Docs/Help.pdf beside the program; a missing file does nothing.
    void help()
    {
        QTemporaryDir folder;
        Module1::setAppPath(folder.path());
        TestPanel panel;
        panel.menuAction(QStringLiteral("mnuPomocFile"))->trigger();
        QCOMPARE(panel.shellPath, QString());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Docs")));
        QFile pdf(folder.filePath(QStringLiteral("Docs/Help.pdf")));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.close();
        panel.menuAction(QStringLiteral("mnuPomocFile"))->trigger();
        QCOMPARE(QFileInfo(panel.shellPath), QFileInfo(pdf.fileName()));
        QVERIFY(Messages::shown().isEmpty());
        Module1::setAppPath(QString());
    }

    // The rule editor's periods come from the day-range window, which the
    // main window opens for the picker; closed, it adds nothing.
    void ruleEditorPicksPeriodsThroughTheMainWindow()
    {
        Panel panel;
        WizItem rule;
        WizardItem editor(panel);
        editor.setMyItem(&rule);
        editor.SetNew();
        QVERIFY(Keyboard::showActive(editor));
        QToolBar &days = *editor.findChild<QToolBar *>(QStringLiteral("tbButtons_2"));
        Modal::answerNext<Wizard_zwolnienia>([](Wizard_zwolnienia &window) {
            window.Combo1()->setCurrentIndex(19);
            window.Combo2()->setCurrentIndex(4);
            QVERIFY(Mouse::click(*window.ButtonOK()));
        });
        QVERIFY(Mouse::clickAction(days, QStringLiteral("Dodaj")));
        QCOMPARE(editor.dayRanges(), QStringList{QStringLiteral("20;5")});

        Modal::answerNext<Wizard_zwolnienia>(
            [](Wizard_zwolnienia &window) { QVERIFY(Mouse::click(*window.ButtonClose())); });
        QVERIFY(Mouse::clickAction(days, QStringLiteral("Dodaj")));
        QCOMPARE(editor.dayRanges(), QStringList{QStringLiteral("20;5")});
    }
};

QTEST_MAIN(TestPanelWindow)
#include "tst_panel.moc"
