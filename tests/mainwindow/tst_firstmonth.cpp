// A planner's first month with a new database, walked through the program's
// own windows: the database made from the template and opened, two groups of
// people with their absences, two duties, and the month generated from the
// main window; the roster the main window shows is then checked against what
// was entered.
#include "controls/BlueCommand.h"
#include "controls/Kat.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Login.h"
#include "core/ui/ScheduleGridLayout.h"
#include "core/ui/SelectDatabase.h"
#include "core/ui/SelectName.h"
#include "core/ui/StartModule.h"
#include "engine/ui/BuildTable.h"
#include "mainwindow/Panel.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/Sluzby.h"
#include "masterdata/Sluzby_item.h"
#include "masterdata/Zwolnienia_item.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tests/support/Modal.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>
#include <iterator>
#include <utility>

namespace {

const QDate Month(2026, 3, 1);
const QString DatabaseName = QStringLiteral("Jednostka");
const QString FullPrivilege = QStringLiteral("Całkowite zwolnienie ze służby");
const QString CellSeparator = QStringLiteral("\r\n\r\n");

struct Person
{
    int group = 0; // index into Groups
    QString nazwisko;
    QString imie;
    bool woman = false;
    bool privileged = false;
    QDate absentFrom;
    QDate absentTo;
    QString stopien; // filled in from the rank list, when it has entries

    QString fullName() const { return nazwisko + u' ' + imie; }
};

const QStringList Groups = {QStringLiteral("Pluton O'Neila"), QStringLiteral("Drużyna Łosia")};

// The person whose absence ends inside the month.
constexpr int PartlyAbsent = 8;

QList<Person> plannedPeople()
{
    const auto person = [](int group, const char16_t *nazwisko, const char16_t *imie) {
        Person p;
        p.group = group;
        p.nazwisko = QString::fromUtf16(nazwisko);
        p.imie = QString::fromUtf16(imie);
        return p;
    };
    QList<Person> people = {
        person(0, u"Nowak", u"Jan"),       person(0, u"Wójcik", u"Piotr"),
        person(0, u"Zieliński", u"Adam"),  person(0, u"Lewandowski", u"Marek"),
        person(0, u"Kamińska", u"Anna"),   person(1, u"Kowalczyk", u"Tomasz"),
        person(1, u"Szymański", u"Paweł"), person(1, u"Dąbrowski", u"Krzysztof"),
        person(1, u"Mazur", u"Michał"),    person(1, u"Krawczyk", u"Łukasz"),
    };
    people[2].privileged = true;
    people[4].woman = true;
    // Absent the whole month.
    people[6].absentFrom = QDate(2026, 3, 1);
    people[6].absentTo = QDate(2026, 3, 31);
    // Absent from before the month until inside it.
    people[PartlyAbsent].absentFrom = QDate(2026, 2, 20);
    people[PartlyAbsent].absentTo = QDate(2026, 3, 10);
    return people;
}

struct Duty
{
    QString name;
    QTime start;
    int hours;
    int count;
    int rest;
    bool menOnly;
    bool wholeGroup;
};

// Short enough with their rest that whoever served one day is free the next:
// the month can be filled without gaps.
const Duty Duties[] = {
    {QStringLiteral("Patrol"), QTime(8, 0), 12, 1, 8, true, false},
    {QStringLiteral("Warta"), QTime(20, 0), 8, 2, 2, false, true},
};

// The main window, its modal windows handed to the test in place of exec().
class FirstMonthPanel : public Panel
{
public:
    std::function<int(QDialog &)> onModal;

protected:
    int showModal(QDialog &dialog) override
    {
        auto handler = std::exchange(onModal, nullptr);
        if (!handler) {
            QTest::qFail(
                qPrintable(QStringLiteral("unexpected window %1")
                               .arg(QString::fromLatin1(dialog.metaObject()->className()))),
                __FILE__, __LINE__);
            return QDialog::Rejected;
        }
        return handler(dialog);
    }
};

template <typename T> T *visibleTopLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            return t;
    }
    return nullptr;
}

void click(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

QTreeWidgetItem *rowWithText(QTreeWidget *list, int column, const QString &text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(column) == text)
            return list->topLevelItem(i);
    }
    return nullptr;
}

QString shownMessages()
{
    return Messages::shown().join(QStringLiteral(" | "));
}

} // namespace

class TestFirstMonth : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    // The walk, in the planner's order; each step needs the ones before it.
    void createDatabaseFromTemplate();
    void openWithoutPassword();
    void enterGroupsAndPeople();
    void enterAbsences();
    void enterDuties();
    void generateMonth();

    // The roster the main window shows.
    void gridHasTheMonthAndTheDuties();
    void cellsNameOnlyPeopleWhoMayServe();
    void peopleListCountsMatchTheCells();

private:
    void addGroup(Ludzie &window, const QString &name);
    void addPerson(Ludzie &window, Person &person);
    void addAbsence(Ludzie &window, const Person &person);
    void addDuty(Sluzby &window, const Duty &duty);
    bool requireRoster();

    QTemporaryDir m_appDir;
    QPointer<SelectDatabase> m_picker;
    QPointer<FirstMonthPanel> m_panel;
    QList<Person> m_people = plannedPeople();
    QHash<QString, int> m_byFullName;
    bool m_generated = false;

    // Per day (1-based) and duty: the indexes of m_people named in the cell.
    QList<QList<QList<int>>> m_cells;
};

void TestFirstMonth::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    for (int i = 0; i < m_people.size(); ++i)
        m_byFullName.insert(m_people[i].fullName(), i);

    // The program folder: the template the build made, where the program looks for it.
    const QString templateFolder = m_appDir.filePath(QStringLiteral("Databases/Empty"));
    QVERIFY(QDir().mkpath(templateFolder));
    const QString target = templateFolder + QStringLiteral("/baza.mbd");
    const QString built =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Databases/Empty/baza.mbd");
    if (QFileInfo::exists(built)) {
        QVERIFY(QFile::copy(built, target));
    } else {
        // Not built beside the tests: made from the same schema the build uses.
        QFile schema(TestSupport::schemaPath());
        QVERIFY2(schema.open(QIODevice::ReadOnly), qPrintable(TestSupport::schemaPath()));
        QString error;
        auto db = Db::Database::create(target, Globals::databasePassword(), &error);
        QVERIFY2(db, qPrintable(error));
        QVERIFY2(db->executeScript(QString::fromUtf8(schema.readAll())),
                 qPrintable(db->errorString()));
    }
    Module1::setAppPath(m_appDir.path());

    StartModule::setShowMainWindow([this] {
        m_panel = new FirstMonthPanel;
        m_panel->setAttribute(Qt::WA_DeleteOnClose);
        m_panel->show();
    });
    Messages::clearShown();
}

void TestFirstMonth::cleanupTestCase()
{
    if (m_panel)
        m_panel->close();
    delete m_panel;
    delete m_picker;
    Globals::closeDatabase();
    StartModule::setShowMainWindow(nullptr);
    StartModule::releaseInstanceLock();
    Module1::setAppPath(QString());
}

void TestFirstMonth::createDatabaseFromTemplate()
{
    QVERIFY(StartModule::Main());
    m_picker = visibleTopLevel<SelectDatabase>();
    QVERIFY(m_picker);
    QCOMPARE(m_picker->File1()->count(), 0);

    SelectName::setNextName(DatabaseName);
    click(m_picker->BlueCommand3()); // "Dodaj"
    QVERIFY2(Messages::shown().isEmpty(), qPrintable(shownMessages()));
    QCOMPARE(m_picker->File1()->count(), 1);
    QCOMPARE(m_picker->File1()->item(0)->text(), DatabaseName + QStringLiteral(".mbd"));
    QVERIFY(QFileInfo(m_appDir.filePath(DatabaseName + QStringLiteral(".mbd"))).isWritable());
}

void TestFirstMonth::openWithoutPassword()
{
    QVERIFY(m_picker);
    QListWidgetItem *file = m_picker->File1()->item(0);
    QVERIFY(file);
    QVERIFY(Mouse::clickRow(*m_picker->File1(), 0));
    click(m_picker->BlueCommand2()); // "Zaloguj"

    QVERIFY2(Messages::shown().isEmpty(), qPrintable(shownMessages()));
    QVERIFY(!visibleTopLevel<Login>());
    QVERIFY(m_panel);
    QVERIFY(m_panel->isVisible());
    QVERIFY(!visibleTopLevel<SelectDatabase>());
    QVERIFY(Globals::database());
    QVERIFY(Globals::options());
    QCOMPARE(m_panel->windowTitle(), Globals::ProgramTitle);
    QVERIFY(!m_panel->isOpened());
}

void TestFirstMonth::addGroup(Ludzie &window, const QString &name)
{
    Kat *tree = window.tvKat();
    const int before = tree->Nodes().Count();
    QVERIFY(tree->button(0));
    click(tree->button(0)); // "dodaj"
    QCOMPARE(tree->Nodes().Count(), before + 1);

    // The new node waits for its name in the tree's editor.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QLineEdit *editor = nullptr;
    for (QLineEdit *line : tree->tree()->findChildren<QLineEdit *>()) {
        if (line->isVisible())
            editor = line;
    }
    QVERIFY2(editor, "no name editor on the new group");
    QCOMPARE(editor->text(), QStringLiteral("Nowa grupa"));
    editor->selectAll();
    editor->insert(name);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits Enter through a queued call.
    QCoreApplication::processEvents();

    QTreeWidgetItem *node = tree->SelectedItem();
    QVERIFY(node);
    QCOMPARE(node->text(0), name);
    const QString key = KatNodes::key(node);
    QCOMPARE(window.currentGroupKey(), key);
    QCOMPARE(Globals::database()
                 ->scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"),
                          {Module1::IdFromKey(key)})
                 .toString(),
             name);
}

void TestFirstMonth::addPerson(Ludzie &window, Person &person)
{
    const int before = window.lista()->topLevelItemCount();
    Modal::answerNext<Ludzie_item>([&person](Ludzie_item &editor) {
        auto *surname = editor.findChild<QLineEdit *>(QStringLiteral("txt0"));
        auto *name = editor.findChild<QLineEdit *>(QStringLiteral("txt1"));
        auto *rank = editor.findChild<QComboBox *>(QStringLiteral("poleStopien"));
        auto *sex = editor.findChild<QComboBox *>(QStringLiteral("polePlec"));
        auto *privilege = editor.findChild<QComboBox *>(QStringLiteral("polePrzywilej"));
        auto *save = editor.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
        QVERIFY(surname && name && rank && sex && privilege && save);
        surname->setText(person.nazwisko);
        name->setText(person.imie);
        if (rank->count() > 0) {
            rank->setCurrentIndex(person.nazwisko.size() % rank->count());
            person.stopien = rank->currentText();
        }
        sex->setCurrentIndex(person.woman ? 1 : 0);
        QCOMPARE(sex->currentText(),
                 person.woman ? QStringLiteral("kobieta") : QStringLiteral("mężczyzna"));
        if (person.privileged) {
            const int full = privilege->findText(FullPrivilege);
            QVERIFY(full >= 0);
            privilege->setCurrentIndex(full);
        }
        click(save); // "Zapisz"
    });
    QVERIFY(Mouse::clickItem(*window.findChild<ToolBarN *>(), QStringLiteral("new")));
    QVERIFY2(Messages::shown().isEmpty(), qPrintable(shownMessages()));
    QCOMPARE(window.lista()->topLevelItemCount(), before + 1);
    QTreeWidgetItem *row = rowWithText(window.lista(), 0, person.nazwisko);
    QVERIFY(row);
    QCOMPARE(row->text(1), person.imie);
    QCOMPARE(row->text(2), person.stopien);
}

void TestFirstMonth::enterGroupsAndPeople()
{
    QVERIFY(m_panel);
    m_panel->onModal = [this](QDialog &dialog) {
        auto *window = qobject_cast<Ludzie *>(&dialog);
        [&] {
            QVERIFY(window);
            window->show();
            for (int g = 0; g < Groups.size(); ++g) {
                addGroup(*window, Groups[g]);
                if (QTest::currentTestFailed())
                    return;
                for (Person &person : m_people) {
                    if (person.group != g)
                        continue;
                    addPerson(*window, person);
                    if (QTest::currentTestFailed())
                        return;
                }
                QCOMPARE(window->lista()->topLevelItemCount(), 5);
            }
            // "Wszystkie" lists everybody.
            Kat *tree = window->tvKat();
            QVERIFY(Mouse::clickRow(*tree->tree(), tree->Nodes().Item(QStringLiteral("ALL"))));
            QCOMPARE(window->lista()->topLevelItemCount(), int(m_people.size()));
        }();
        dialog.reject();
        return int(QDialog::Rejected);
    };
    QVERIFY(Mouse::clickItem(*m_panel->ToolBar1(), QStringLiteral("ludzie")));
    if (QTest::currentTestFailed())
        return;

    // What the window stored.
    Db::Database *db = Globals::database();
    QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM grupy")).toInt(), int(Groups.size()));
    for (const Person &person : std::as_const(m_people)) {
        auto rs = db->openQuery(QStringLiteral("SELECT l.*, g.nazwa AS grupa FROM ludzie l "
                                               "JOIN grupy g ON CAST(l.id_grupa AS INTEGER)=g.id "
                                               "WHERE l.nazwisko=? AND l.imie=?"),
                                {person.nazwisko, person.imie});
        QVERIFY(rs);
        QVERIFY2(!rs->eof(), qPrintable(person.fullName()));
        QCOMPARE(rs->text(QStringLiteral("grupa")), Groups[person.group]);
        QCOMPARE(rs->flag(QStringLiteral("mezczyzna")), !person.woman);
        QCOMPARE(rs->integer(QStringLiteral("przywilej")), qint64(person.privileged ? 1 : 0));
        QCOMPARE(rs->text(QStringLiteral("stopien")), person.stopien);
    }
}

void TestFirstMonth::addAbsence(Ludzie &window, const Person &person)
{
    // The person's group, then the person's row, then Enter opens the editor.
    Kat *tree = window.tvKat();
    QTreeWidgetItem *groupNode = nullptr;
    for (int i = 0; i < tree->Nodes().Item(QStringLiteral("ALL"))->childCount(); ++i) {
        QTreeWidgetItem *node = tree->Nodes().Item(QStringLiteral("ALL"))->child(i);
        if (node->text(0) == Groups[person.group])
            groupNode = node;
    }
    QVERIFY(groupNode);
    QVERIFY(Mouse::clickRow(*tree->tree(), groupNode));
    QTreeWidgetItem *row = rowWithText(window.lista(), 0, person.nazwisko);
    QVERIFY(row);
    QVERIFY(Mouse::clickRow(*window.lista(), row));

    const QString expectedLine =
        absenceLine(person.absentFrom, person.absentTo, QStringLiteral("L4"));
    Modal::answerNext<Ludzie_item>([&person, expectedLine](Ludzie_item &editor) {
        QCOMPARE(editor.absenceList()->count(), 0);
        editor.setMonth(Month);
        auto *tabs = editor.findChild<QTabWidget *>();
        auto *buttons = editor.findChild<QToolBar *>(QStringLiteral("ZwButtons"));
        QVERIFY(tabs && buttons);
        tabs->setCurrentIndex(1); // "Zwolnienia"
        QToolButton *add = nullptr;
        for (QAction *action : buttons->actions()) {
            if (action->text() == QLatin1String("Dodaj"))
                add = qobject_cast<QToolButton *>(buttons->widgetForAction(action));
        }
        QVERIFY(add);
        Modal::answerNext<Zwolnienia_item>([&person](Zwolnienia_item &absence) {
            QCOMPARE(absence.description(), QStringLiteral("L4"));
            absence.setPeriod(person.absentFrom, person.absentTo);
            auto *save = absence.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
            QVERIFY(save);
            click(save); // "Zapisz"
        });
        click(add);
        QCOMPARE(editor.absenceList()->count(), 1);
        QCOMPARE(editor.absenceList()->item(0)->text(), expectedLine);
        auto *close = editor.findChild<BlueCommand *>(QStringLiteral("ButtonClose"));
        QVERIFY(close);
        click(close); // "Zamknij"
    });
    QTest::keyClick(window.lista(), Qt::Key_Return);
    QVERIFY2(Messages::shown().isEmpty(), qPrintable(shownMessages()));

    auto rs = Globals::database()->openQuery(
        QStringLiteral("SELECT z.od, z.\"do\" FROM zwolnienia z JOIN ludzie l ON CAST(z.id_item AS "
                       "INTEGER)=l.id "
                       "WHERE z.rodzaj=0 AND l.nazwisko=?"),
        {person.nazwisko});
    QVERIFY(rs && !rs->eof());
    QCOMPARE(rs->text(QStringLiteral("od")), person.absentFrom.toString(Qt::ISODate));
    QCOMPARE(rs->text(QStringLiteral("do")), person.absentTo.toString(Qt::ISODate));
    rs->moveNext();
    QVERIFY(rs->eof());
}

void TestFirstMonth::enterAbsences()
{
    QVERIFY(m_panel);
    QVERIFY(Globals::database());
    QCOMPARE(Globals::database()->scalar(QStringLiteral("SELECT COUNT(*) FROM ludzie")).toInt(),
             int(m_people.size()));
    m_panel->onModal = [this](QDialog &dialog) {
        auto *window = qobject_cast<Ludzie *>(&dialog);
        [&] {
            QVERIFY(window);
            window->show();
            for (const Person &person : std::as_const(m_people)) {
                if (!person.absentFrom.isValid())
                    continue;
                addAbsence(*window, person);
                if (QTest::currentTestFailed())
                    return;
            }
        }();
        dialog.reject();
        return int(QDialog::Rejected);
    };
    QVERIFY(Mouse::clickItem(*m_panel->ToolBar1(), QStringLiteral("ludzie")));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(Globals::database()->scalar(QStringLiteral("SELECT COUNT(*) FROM zwolnienia")).toInt(),
             2);
}

void TestFirstMonth::addDuty(Sluzby &window, const Duty &duty)
{
    const int before = window.lista()->topLevelItemCount();
    Modal::answerNext<Sluzby_item>([&duty](Sluzby_item &editor) {
        auto *name = editor.findChild<QLineEdit *>(QStringLiteral("txt0"));
        auto *hours = editor.findChild<QLineEdit *>(QStringLiteral("txt1"));
        auto *count = editor.findChild<QLineEdit *>(QStringLiteral("txt2"));
        auto *start = editor.findChild<QTimeEdit *>(QStringLiteral("poleData"));
        auto *servedBy = editor.findChild<QComboBox *>(QStringLiteral("polePrzez"));
        auto *rest = editor.findChild<QComboBox *>(QStringLiteral("poleRest"));
        auto *wholeGroup = editor.findChild<QCheckBox *>(QStringLiteral("Check1"));
        auto *save = editor.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
        QVERIFY(name && hours && count && start && servedBy && rest && wholeGroup && save);
        name->setText(duty.name);
        start->setTime(duty.start);
        hours->setText(QString::number(duty.hours));
        count->setText(QString::number(duty.count));
        servedBy->setCurrentIndex(duty.menOnly ? 1 : 0);
        rest->setEditText(QString::number(duty.rest));
        wholeGroup->setChecked(duty.wholeGroup);
        click(save); // "Zapisz"
    });
    QVERIFY(Mouse::clickItem(*window.findChild<ToolBarN *>(), QStringLiteral("new")));
    QVERIFY2(Messages::shown().isEmpty(), qPrintable(shownMessages()));
    QCOMPARE(window.lista()->topLevelItemCount(), before + 1);
    QTreeWidgetItem *row = rowWithText(window.lista(), 0, duty.name);
    QVERIFY(row);
    QCOMPARE(row->text(1), duty.start.toString(QStringLiteral("HH:mm")));
    QCOMPARE(row->text(2), QString::number(duty.hours));
    QCOMPARE(row->text(3), QString::number(duty.count));
}

void TestFirstMonth::enterDuties()
{
    QVERIFY(m_panel);
    m_panel->onModal = [this](QDialog &dialog) {
        auto *window = qobject_cast<Sluzby *>(&dialog);
        [&] {
            QVERIFY(window);
            window->show();
            for (const Duty &duty : Duties) {
                addDuty(*window, duty);
                if (QTest::currentTestFailed())
                    return;
            }
        }();
        dialog.reject();
        return int(QDialog::Rejected);
    };
    QVERIFY(Mouse::clickItem(*m_panel->ToolBar1(), QStringLiteral("sluzby")));
    if (QTest::currentTestFailed())
        return;

    for (const Duty &duty : Duties) {
        auto rs = Globals::database()->openQuery(
            QStringLiteral("SELECT * FROM sluzby WHERE nazwa=?"), {duty.name});
        QVERIFY(rs && !rs->eof());
        QCOMPARE(rs->text(QStringLiteral("od")), duty.start.toString(QStringLiteral("HH:mm")));
        QCOMPARE(rs->integer(QStringLiteral("okres")), qint64(duty.hours));
        QCOMPARE(rs->integer(QStringLiteral("ilosc_std")), qint64(duty.count));
        QCOMPARE(rs->integer(QStringLiteral("rest")), qint64(duty.rest));
        QCOMPARE(rs->flag(QStringLiteral("kobiety")), !duty.menOnly);
        QCOMPARE(rs->flag(QStringLiteral("calagrupa")), duty.wholeGroup);
    }
}

void TestFirstMonth::generateMonth()
{
    QVERIFY(m_panel);
    m_panel->onModal = [](QDialog &dialog) {
        auto *build = qobject_cast<BuildTable *>(&dialog);
        [&] {
            QVERIFY(build);
            build->show();
            // Every group and every duty take part from the start.
            QCOMPARE(build->list(BuildTable::Groups)->count(), int(Groups.size()));
            QCOMPARE(build->list(BuildTable::Duties)->count(), int(std::size(Duties)));
            build->setMonth(Month);
            QCOMPARE(build->month(), Month);
            auto *create = build->findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
            QVERIFY(create);
            click(create); // "Stwórz"
        }();
        if (build && build->isVisible())
            build->reject();
        return dialog.result();
    };
    QVERIFY(Mouse::clickItem(*m_panel->ToolBar1(), QStringLiteral("create")));
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(Messages::shown().isEmpty(), qPrintable(shownMessages()));
    QVERIFY(m_panel->isOpened());
    QVERIFY(m_panel->xmlDocument());
    QCOMPARE(m_panel->CurrDate(), Month);
    m_generated = true;

    // A picture of the month for a person to look at.
    const QString shots = qEnvironmentVariable("KADRELO_SCREENSHOTS");
    if (!shots.isEmpty()) {
        m_panel->resize(1200, 800);
        QCoreApplication::processEvents();
        m_panel->grab().save(shots + QStringLiteral("/firstmonth.png"));
    }
}

bool TestFirstMonth::requireRoster()
{
    if (!m_generated || !m_panel) {
        QTest::qSkip("no roster was generated", __FILE__, __LINE__);
        return false;
    }
    return true;
}

void TestFirstMonth::gridHasTheMonthAndTheDuties()
{
    if (!requireRoster())
        return;
    QCOMPARE(m_panel->windowTitle(), QStringLiteral("Grafik [2026-03] - Dorvat Kadrelo"));

    const FlexGrid *grid = m_panel->Lista();
    QVERIFY(grid->isVisible());
    const int days = Month.daysInMonth();
    QCOMPARE(grid->rows(), days + 1);
    QCOMPARE(grid->cols(), int(std::size(Duties)) + 1);
    for (int day = 1; day <= days; ++day)
        QCOMPARE(grid->text(day, 0), Module1::DayLabel(Month.addDays(day - 1)));
    for (int c = 0; c < int(std::size(Duties)); ++c) {
        const Duty &duty = Duties[c];
        QCOMPARE(grid->text(0, c + 1),
                 BuildTable::headerText(duty.name, duty.start.toString(QStringLiteral("HH:mm")),
                                        QString::number(duty.hours)));
    }
}

void TestFirstMonth::cellsNameOnlyPeopleWhoMayServe()
{
    if (!requireRoster())
        return;
    const FlexGrid *grid = m_panel->Lista();
    const int days = Month.daysInMonth();
    QCOMPARE(grid->rows(), days + 1);
    QCOMPARE(grid->cols(), int(std::size(Duties)) + 1);

    m_cells.clear();
    m_cells.resize(days + 1);
    bool partlyAbsentServedLater = false;
    for (int day = 1; day <= days; ++day) {
        const QDate date = Month.addDays(day - 1);
        m_cells[day].resize(int(std::size(Duties)));
        for (int c = 0; c < int(std::size(Duties)); ++c) {
            const Duty &duty = Duties[c];
            const QString where =
                QStringLiteral("%1 on %2").arg(duty.name, date.toString(Qt::ISODate));
            const QStringList pieces = grid->text(day, c + 1).split(CellSeparator);
            QCOMPARE(int(pieces.size()), duty.count);
            QList<int> &cell = m_cells[day][c];
            for (const QString &piece : pieces) {
                // The cell shows "[stopien] [nazwisko] [imie]".
                int found = -1;
                for (int i = 0; i < m_people.size(); ++i) {
                    const Person &p = m_people[i];
                    if (piece.trimmed() == (p.stopien + u' ' + p.fullName()).trimmed())
                        found = i;
                }
                QVERIFY2(found >= 0,
                         qPrintable(where + QStringLiteral(": \"%1\" is nobody").arg(piece)));
                QVERIFY2(!cell.contains(found),
                         qPrintable(where + QStringLiteral(": a person twice")));
                cell.append(found);

                const Person &p = m_people[found];
                QVERIFY2(!p.privileged,
                         qPrintable(where + QStringLiteral(": the privileged person serves")));
                QVERIFY2(!(date >= p.absentFrom && date <= p.absentTo),
                         qPrintable(where + QStringLiteral(": %1 is absent").arg(p.fullName())));
                QVERIFY2(!(duty.menOnly && p.woman),
                         qPrintable(where + QStringLiteral(": a woman on a men-only duty")));
                if (found == PartlyAbsent)
                    partlyAbsentServedLater = true;
            }
            if (duty.wholeGroup) {
                for (int i : std::as_const(cell))
                    QVERIFY2(m_people[i].group == m_people[cell.first()].group,
                             qPrintable(where + QStringLiteral(": places from two groups")));
            }
        }
    }
    // The absence ends inside the month: afterwards the person is on the roster again.
    QVERIFY(partlyAbsentServedLater);
}

void TestFirstMonth::peopleListCountsMatchTheCells()
{
    if (!requireRoster())
        return;
    if (m_cells.isEmpty())
        QSKIP("the cells could not be read");
    QList<int> served(m_people.size(), 0);
    for (const auto &day : std::as_const(m_cells)) {
        for (const auto &cell : day) {
            for (int i : cell)
                ++served[i];
        }
    }

    const QTreeView *list = m_panel->lstLudzie();
    QVERIFY(list->isVisible());
    const QAbstractItemModel *rows = list->model();
    QCOMPARE(rows->rowCount(), int(m_people.size()));
    for (int r = 0; r < rows->rowCount(); ++r) {
        auto text = [&](int column) { return rows->index(r, column).data().toString(); };
        const int i = m_byFullName.value(text(0), -1);
        QVERIFY2(i >= 0, qPrintable(text(0)));
        QCOMPARE(text(1), Groups[m_people[i].group]);
        QCOMPARE(text(2), QString::number(served[i]));
    }
}

QTEST_MAIN(TestFirstMonth)
#include "tst_firstmonth.moc"
