#include "ListBoxes.h"
#include "RecordingHost.h"

#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ui/FlexGrid.h"
#include "engine/ui/BuildTable.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

namespace {

// The main window as the build dialog sees it: a grid, the generation's
// recording double, and what the dialog sets after a run.
class Host : public BuildTableHost
{
public:
    FlexGrid grid;
    RecordingHost generation;
    QString caption = QStringLiteral("Dorvat Kadrelo");
    QDate calendar;
    QStringList calls;
    QMap<int, QString> answers; // picker results by Rodzaj
    QList<int> picked;

    FlexGrid &scheduleGrid() override { return grid; }
    Algorytmy::GenerationHost &generationHost() override { return generation; }
    void saveWindowState() override { calls << QStringLiteral("save"); }
    void restoreWindowState() override { calls << QStringLiteral("restore"); }
    void refreshWindow() override { calls << QStringLiteral("refresh"); }
    QDate currDate() const override { return generation.currDate; }
    void setWindowCaption(const QString &text) override { caption = text; }
    void setCalendarMonth(const QDate &month) override { calendar = month; }
    QString pick(int rodzaj) override
    {
        picked << rodzaj;
        return answers.value(rodzaj);
    }
};

using ListBoxes::clickEntry;
using ListBoxes::selectedTexts;
using ListBoxes::texts;

// The button of the list's small toolbar that reads text.
void clickToolButton(const BuildTable &dialog, int index, const QString &text)
{
    ListBoxes::clickButton(dialog.findChild<QToolBar *>(QStringLiteral("tbButtons_%1").arg(index)),
                           text);
}

// "Stwórz", clicked in the shown dialog.
[[nodiscard]] bool clickCreate(BuildTable &dialog)
{
    auto *button = dialog.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
    return button && (dialog.isVisible() || Keyboard::showActive(dialog)) && Mouse::click(*button);
}

} // namespace

// The build dialog: its lists, their ids, its messages and a run.
class TestBuildTable : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::TestDatabase> m_file;

    static void exec(const QString &sql)
    {
        QVERIFY2(Globals::database()->execute(sql), qPrintable(Globals::database()->errorString()));
    }

private Q_SLOTS:
    void init()
    {
        m_file = std::make_unique<TestSupport::TestDatabase>();
        QVERIFY2(m_file->isValid(), qPrintable(m_file->errorString()));
        Globals::setDatabase(m_file->take());
        Globals::setOptions(clsOptions::load(*Globals::database()));
        QVERIFY(Globals::options());
        exec(QStringLiteral("INSERT INTO grupy (id, nazwa) VALUES (3, 'Alfa'), (12, 'Beta')"));
        exec(QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, random) VALUES "
                            "('3', 'Kowalski', 'Jan', 1), ('12', 'Nowak', 'Adam', 2)"));
        exec(QStringLiteral(
            "INSERT INTO sluzby (id, nazwa, od, okres, ilosc_std, kobiety, rest) VALUES "
            "(5, 'Patrol', '20:00', 8, 1, 1, 0), (2, 'Dyżur', '08:00', 24, 1, 1, 0)"));
        exec(QStringLiteral("INSERT INTO wizardlist (id, nazwa) VALUES (9, 'Święta')"));
        Messages::clearShown();
    }
    void cleanup()
    {
        Clock::setNow({});
        Globals::closeDatabase();
        m_file.reset();
    }

    // Every group and duty in stored order, the first selected, no rule set, this month.
    void opensWithEverything()
    {
        Clock::setNow(QDateTime(QDate(2024, 2, 29), QTime(23, 59)));
        Host host;
        BuildTable dialog(host);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Stwórz grafik"));
        QCOMPARE(texts(dialog.list(BuildTable::Groups)), (QStringList{"Alfa", "Beta"}));
        QCOMPARE(dialog.ids(BuildTable::Groups), (QList<qint64>{3, 12}));
        QCOMPARE(dialog.ids(BuildTable::Duties), (QList<qint64>{2, 5}));
        QCOMPARE(dialog.list(BuildTable::Duties)->selectedItems().size(), 1);
        QVERIFY(dialog.list(BuildTable::Duties)->item(0)->isSelected());
        QCOMPARE(dialog.ruleSets()->currentText(), QStringLiteral("(brak)"));
        QCOMPARE(dialog.ruleSets()->count(), 2);
        QCOMPARE(dialog.ruleSets()->itemText(1), QStringLiteral("Święta"));
        QCOMPARE(dialog.month(), QDate(2024, 2, 1));
    }

    // Entries from the picker are compared by id: a second group of the same
    // name is added, an id already listed is not.
    void addAndRemove()
    {
        Host host;
        BuildTable dialog(host);
        QVERIFY(Keyboard::showActive(dialog));
        const QChar nul(u'\0');
        host.answers[0] = QStringLiteral("12;Beta") + nul + QStringLiteral("40;Alfa") + nul +
                          QStringLiteral("41;Gamma");
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Dodaj"));
        QCOMPARE(host.picked, QList<int>{0});
        QCOMPARE(texts(dialog.list(BuildTable::Groups)),
                 (QStringList{"Alfa", "Beta", "Alfa", "Gamma"}));
        QCOMPARE(dialog.ids(BuildTable::Groups), (QList<qint64>{3, 12, 40, 41}));

        // An empty answer adds nothing.
        clickToolButton(dialog, BuildTable::Duties, QStringLiteral("Dodaj"));
        QCOMPARE(host.picked, (QList<int>{0, 3}));
        QCOMPARE(dialog.ids(BuildTable::Duties), (QList<qint64>{2, 5}));

        // Every selected entry goes, from the last to the first.
        // With nothing selected (Ctrl and a click takes the last added off), nothing goes.
        QListWidget *groups = dialog.list(BuildTable::Groups);
        QCOMPARE(selectedTexts(groups), QStringList{"Gamma"});
        clickEntry(groups, 3, Qt::ControlModifier);
        QVERIFY(selectedTexts(groups).isEmpty());
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Usuń"));
        QCOMPARE(groups->count(), 4);
        clickEntry(groups, 1);
        clickEntry(groups, 3, Qt::ControlModifier);
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Usuń"));
        QCOMPARE(dialog.ids(BuildTable::Groups), (QList<qint64>{3, 40}));
    }

    // What "Dodaj" adds is all that is selected afterwards: "Usuń" right
    // after it removes only that, whatever the user had selected before.
    void addedEntryAloneSelected()
    {
        Host host;
        BuildTable dialog(host);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QListWidget *groups = dialog.list(BuildTable::Groups);
        clickEntry(groups, 0);
        clickEntry(groups, 1, Qt::ControlModifier);
        QCOMPARE(selectedTexts(groups), (QStringList{"Alfa", "Beta"}));

        host.answers[0] = QStringLiteral("41;Gamma");
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Dodaj"));
        QCOMPARE(selectedTexts(groups), QStringList{"Gamma"});
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Usuń"));
        QCOMPARE(texts(groups), (QStringList{"Alfa", "Beta"}));

        // Of several entries picked at once the last added is the selected one.
        host.answers[0] = QStringLiteral("50;Delta") + QChar(u'\0') + QStringLiteral("51;Epsilon");
        clickEntry(groups, 0);
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Dodaj"));
        QCOMPARE(selectedTexts(groups), QStringList{"Epsilon"});
        QCOMPARE(groups->currentRow(), 3);
        clickToolButton(dialog, BuildTable::Groups, QStringLiteral("Usuń"));
        QCOMPARE(texts(groups), (QStringList{"Alfa", "Beta", "Delta"}));
    }

    // A rule-set name longer than the box: the dialog keeps its laid-out
    // size, the box shows the name cut with "…" and the whole as tooltip, at
    // the default width and narrowed.
    void longRuleSetNameKeepsTheLayout()
    {
        Host host;
        BuildTable plain(host);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        const QSize plainSize = plain.size();
        const int plainBox = plain.ruleSets()->width();
        plain.close();

        const QString name = QStringLiteral("Ustawienia świąteczne ").repeated(14).left(300);
        QVERIFY(TestSupport::exec(
            *Globals::database(),
            QStringLiteral("INSERT INTO wizardlist (id, nazwa) VALUES (10, ?)"), {name}));
        BuildTable dialog(host);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), plainSize);
        QComboBox *box = dialog.ruleSets();
        QCOMPARE(box->width(), plainBox);
        for (const char *button : {"ButtonOK", "ButtonClose"}) {
            auto *command = dialog.findChild<QWidget *>(QString::fromLatin1(button));
            QVERIFY(command);
            QVERIFY(dialog.rect().contains(
                QRect(command->mapTo(&dialog, QPoint(0, 0)), command->size())));
        }

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), name);
        QCOMPARE(box->toolTip(), name);
        QCOMPARE(box->itemData(2, Qt::ToolTipRole).toString(), name);
        for (const int width : {plainSize.width(), plainSize.width() - 120}) {
            dialog.resize(width, plainSize.height());
            QTest::qWait(20);
            const QString shown = dialog.shownRuleSet();
            QVERIFY(shown.endsWith(QChar(u'…')));
            QVERIFY(name.startsWith(shown.chopped(1)));
            QVERIFY(box->fontMetrics().horizontalAdvance(shown) < box->width());
        }
        // The list opens as wide as the box.
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QTRY_VERIFY(box->view()->isVisible());
        QVERIFY(box->view()->window()->width() <= box->width());
        QTest::keyClick(box->view(), Qt::Key_Escape);
        QTRY_VERIFY(!box->view()->isVisible());
        QCOMPARE(box->currentText(), name);

        // A name that fits is shown whole.
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(dialog.shownRuleSet(), QStringLiteral("Święta"));
    }

    // "Stwórz" without groups names only the groups; without duties the duties.
    void emptyListMessages_data()
    {
        QTest::addColumn<bool>("noGroups");
        QTest::addColumn<bool>("noDuties");
        QTest::addColumn<QString>("message");
        QTest::newRow("both empty") << true << true << "Proszę podać przynajmniej jedną grupę!";
        QTest::newRow("no groups") << true << false << "Proszę podać przynajmniej jedną grupę!";
        QTest::newRow("no duties") << false << true << "Proszę podać przynajmniej jedną służbę!";
    }
    void emptyListMessages()
    {
        QFETCH(bool, noGroups);
        QFETCH(bool, noDuties);
        QFETCH(QString, message);
        Host host;
        BuildTable dialog(host);
        if (noGroups)
            dialog.list(BuildTable::Groups)->clear();
        if (noDuties)
            dialog.list(BuildTable::Duties)->clear();
        QVERIFY(clickCreate(dialog));
        QVERIFY(!host.generation.roster);
        QCOMPARE(Messages::shown(), QStringList{message});
        QVERIFY(host.calls.isEmpty());
        QVERIFY(host.generation.calls.isEmpty());
    }

    // A run for May 2024 with the chosen groups and duties in list order:
    // headers, cell columns and Position all follow that order.
    void runHandsOverRoster()
    {
        Host host;
        BuildTable dialog(host);
        dialog.setMonth(QDate(2024, 5, 20));
        // Remove Dyżur and add it back: it now comes after Patrol.
        QVERIFY(Keyboard::showActive(dialog));
        QListWidget *duties = dialog.list(BuildTable::Duties);
        clickEntry(duties, 0);
        clickToolButton(dialog, BuildTable::Duties, QStringLiteral("Usuń"));
        host.answers[3] = QStringLiteral("2;Dyżur");
        clickToolButton(dialog, BuildTable::Duties, QStringLiteral("Dodaj"));
        QCOMPARE(dialog.ids(BuildTable::Duties), (QList<qint64>{5, 2}));

        QVERIFY(clickCreate(dialog));
        QVERIFY(host.generation.roster);
        // Two people cannot fill every place: at most the gap question was asked.
        QVERIFY(Messages::shown().size() <= 1);
        if (!Messages::shown().isEmpty())
            QVERIFY(Messages::shown().first().startsWith(QStringLiteral("Istnieją luki")));
        QCOMPARE(host.calls, (QStringList{"refresh", "save"}));
        QCOMPARE(host.grid.rows(), 32);
        QCOMPARE(host.grid.cols(), 3);
        QCOMPARE(host.grid.text(0, 1), QStringLiteral("Patrol\r\nod 20:00 przez 8 h"));
        QCOMPARE(host.grid.text(0, 2), QStringLiteral("Dyżur\r\nod 08:00 przez 24 h"));
        QCOMPARE(host.grid.colData(1), 5);
        QCOMPARE(host.grid.colData(2), 2);
        QVERIFY(host.generation.roster);
        const QString position =
            host.generation.roster
                ->selectSingleNode(QStringLiteral("/Baza/Dzien[@Id='3']/Sluzba[@Id='2']"))
                .attribute(QStringLiteral("Position"));
        QCOMPARE(position, QStringLiteral("2.3"));
        QVERIFY(!host.generation.cell(3, 2).isEmpty());
        QCOMPARE(host.caption, QStringLiteral("Grafik [2024-05] - Dorvat Kadrelo"));
        QCOMPARE(host.calendar, QDate(2024, 5, 1));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // A duty of a fractional length keeps its stored hours in the grid header,
    // as the roster's ServiceItem/@Text does.
    void headerKeepsStoredHours()
    {
        exec(QStringLiteral("UPDATE sluzby SET okres=7.5 WHERE id=5"));
        Host host;
        BuildTable dialog(host);
        dialog.setMonth(QDate(2024, 5, 1));
        QVERIFY(clickCreate(dialog));
        QCOMPARE(host.grid.text(0, 2), QStringLiteral("Patrol\r\nod 20:00 przez 7.5 h"));
        QVERIFY(host.generation.roster);
        QCOMPARE(host.generation.roster
                     ->selectSingleNode(QStringLiteral("/Baza/Services/ServiceItem[@Id='5']"))
                     .attribute(QStringLiteral("Text")),
                 host.grid.text(0, 2));
    }

    // A run that hands nothing over leaves caption and calendar alone and
    // asks the window to put itself back.
    void failedRunRestores()
    {
        Host host;
        BuildTable dialog(host);
        exec(QStringLiteral("DROP TABLE ludzie_last"));
        QVERIFY(clickCreate(dialog));
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(!host.generation.roster);
        QCOMPARE(host.calls.last(), QStringLiteral("restore"));
        QCOMPARE(host.caption, QStringLiteral("Dorvat Kadrelo"));
        QVERIFY(!host.calendar.isValid());
    }
};

QTEST_MAIN(TestBuildTable)
#include "tst_buildtable.moc"
