#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "mainwindow/CellList.h"
#include "mainwindow/PeopleModel.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"

#include <QListWidget>
#include <QTest>

#include <memory>

namespace {

// The editor with the people picker answered from a queue.
class AnsweredCellList : public CellList
{
public:
    using CellList::CellList;
    QStringList answers;

protected:
    QString pickPeople() override { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

constexpr qint64 DutyId = 10;
constexpr int Day = 2;

} // namespace

// The cell editor: what it lists, that adds and removes reach the roster, the
// grid and the people list only on "Zapisz", and that "Anuluj" keeps all three.
class TestCellList : public QObject
{
    Q_OBJECT

    TestSupport::TestDatabase m_file;
    std::unique_ptr<Xml::Document> m_roster;
    std::unique_ptr<FlexGrid> m_grid;
    std::unique_ptr<PeopleModel> m_people;

    // May 2024, days 1 and 2 with duty 10; day 2's cell holds the ids.
    void buildRoster(const QList<qint64> &cellIds)
    {
        m_roster = XML::CreateScheduleDocument(QDate(2024, 5, 1));
        QVERIFY(m_roster);
        for (int day = 1; day <= 2; ++day) {
            Xml::Node duty =
                XML::AddDutyNode(XML::AddDayNode(*m_roster, day), QStringLiteral("Warta"), DutyId,
                                 QStringLiteral("1.") + QString::number(day));
            if (day == Day)
                for (const qint64 id : cellIds)
                    XML::AddPersonNode(duty, QStringLiteral("x"), id);
        }
    }

    Xml::Node cell() const { return m_roster->selectSingleNode(CellList::cellPath(Day, DutyId)); }

    // The cell as the generation would write it for these people.
    static QString expectedCell(const QList<QPair<qint64, QString>> &people)
    {
        auto roster = XML::CreateScheduleDocument(QDate(2024, 5, 1));
        XML::AddDayNode(*roster, 1);
        Xml::Node duty = XML::AddDutyNode(XML::AddDayNode(*roster, Day), QStringLiteral("Warta"),
                                          DutyId, QStringLiteral("1.2"));
        for (const auto &person : people)
            XML::AddPersonNode(duty, person.second, person.first);
        return duty.xml();
    }

    void addPerson(qint64 id, const QString &name, const QString &group, const QString &count,
                   const QString &tag)
    {
        m_people->appendRow({id, {name, group, count}, tag});
    }

    QStringList peopleLines() const
    {
        QStringList lines;
        for (int i = 0; i < m_people->rowCount(); ++i) {
            auto text = [&](int column, int role = Qt::DisplayRole) {
                return m_people->index(i, column).data(role).toString();
            };
            lines << QStringList{text(0, PeopleModel::KeyRole), text(0), text(1), text(2),
                                 text(0, PeopleModel::TagRole)}
                         .join(u'|');
        }
        return lines;
    }

    static QStringList listTexts(const QListWidget *list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    // "del:<id>" clicks that person's row, then "Usuń"; "new:<answer>" clicks
    // "Dodaj", the picker answering, "|" standing for the NUL between entries.
    static void act(AnsweredCellList &editor, const QStringList &actions)
    {
        for (const QString &action : actions) {
            const QString argument = action.section(u':', 1);
            if (action.startsWith(QLatin1String("del:"))) {
                const int index = int(editor.ids().indexOf(argument.toLongLong()));
                QVERIFY2(index >= 0, qPrintable(action));
                QVERIFY(Mouse::clickRow(*editor.List1(), index));
                QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("del")));
            } else {
                editor.answers << QString(argument).replace(u'|', QChar(u'\0'));
                QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("new")));
            }
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_file.isValid(), qPrintable(m_file.errorString()));
        Globals::setDatabase(m_file.take());
        Db::Database &db = *Globals::database();
        QVERIFY(db.execute(
            QStringLiteral("INSERT INTO grupy (id, nazwa) VALUES (1, 'Alfa'), (2, 'Beta')")));
        QVERIFY(db.execute(QStringLiteral(
            "INSERT INTO ludzie (id, id_grupa, nazwisko, imie, stopien) VALUES "
            "(1, '1', 'Nowak', 'Jan', 'kpr.'), (2, '1', 'Kowal', 'Ewa', 'sierż.'), "
            "(3, '2', 'Wiśniewski', 'Adam', NULL), (4, '9', 'Sierota', 'Olga', 'szer.'), "
            "(5, '2', 'Nowak', 'Jan', 'st. szer.')")));
        Globals::setOptions(clsOptions::load(db));
        QVERIFY(Globals::options());
        // A placeholder in another letter case stays as written.
        QVERIFY(Globals::options()->SetOption(
            QStringLiteral("CellShow"), QStringLiteral("[stopien] [nazwisko] ([grupa]) [Imie]")));
    }
    void cleanupTestCase() { Globals::closeDatabase(); }

    void init()
    {
        Messages::clearShown();
        m_grid = std::make_unique<FlexGrid>();
        m_grid->setRows(3);
        m_grid->setCols(2);
        m_grid->setColData(1, DutyId);
        m_grid->setText(0, 1, QStringLiteral("Warta"));
        m_grid->setText(Day, 1, QStringLiteral("old"));
        m_people = std::make_unique<PeopleModel>();
        addPerson(1, QStringLiteral("Nowak Jan"), QStringLiteral("Alfa"), QStringLiteral("1"),
                  QStringLiteral("2024-05-20"));
        addPerson(2, QStringLiteral("Kowal Ewa"), QStringLiteral("Alfa"), QStringLiteral("3"),
                  QStringLiteral("2024-05-28"));
        addPerson(99, QStringLiteral("Usunięty Piotr"), QStringLiteral("Alfa"), QStringLiteral("2"),
                  QStringLiteral("2024-05-10"));
    }

    void openListsTheCellsPeople()
    {
        buildRoster({2, 99, 1});
        AnsweredCellList editor(m_roster.get(), m_grid.get(), m_people.get(), QDate(2024, 5, 1));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Lista osób w komórce"));
        QCOMPARE(editor.ButtonSave()->Caption(), QStringLiteral("Zapisz"));
        QCOMPARE(editor.ButtonClose()->Caption(), QStringLiteral("Anuluj"));
        QVERIFY(!editor.openCell(0, 1));
        QVERIFY(!editor.openCell(Day, 0));
        QVERIFY(!editor.openCell(3, 1));
        QVERIFY(editor.openCell(Day, 1));
        QCOMPARE(editor.path(), QStringLiteral("/Baza/Dzien[./@Id='2']/Sluzba[./@Id='10']"));
        QCOMPARE(m_grid->row(), Day);
        QCOMPARE(m_grid->col(), 1);
        // Person 99 is no longer in ludzie.
        QCOMPARE(listTexts(editor.List1()), (QStringList{"Kowal Ewa", "Nowak Jan"}));
        QCOMPARE(editor.ids(), (QList<qint64>{2, 1}));

        // Opening again starts from the cell, not from the last list.
        editor.addEntries(QStringLiteral("3;Wiśniewski Adam"));
        editor.GetList(CellList::cellPath(1, DutyId));
        QCOMPARE(editor.List1()->count(), 0);

        AnsweredCellList noRoster(nullptr, m_grid.get(), m_people.get(), QDate(2024, 5, 1));
        QVERIFY(!noRoster.openCell(Day, 1));
    }

    void saveWritesCellGridAndCounts_data()
    {
        QTest::addColumn<QList<qint64>>("cellIds");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QList<qint64>>("osoba");
        QTest::addColumn<QString>("cellText");
        QTest::addColumn<QStringList>("people");

        const QString nowak = QStringLiteral("kpr. Nowak (Alfa) [Imie]");
        const QString kowal = QStringLiteral("sierż. Kowal (Alfa) [Imie]");
        const QString wisniewski = QStringLiteral(" Wiśniewski (Beta) [Imie]");
        const QString sep = QStringLiteral("\r\n\r\n");
        const QString p1 = QStringLiteral("ID=1|Nowak Jan|Alfa|1|2024-05-20");
        const QString p2 = QStringLiteral("ID=2|Kowal Ewa|Alfa|3|2024-05-28");
        const QString p99 = QStringLiteral("ID=99|Usunięty Piotr|Alfa|2|2024-05-10");

        QTest::newRow("remove one, add one; a listed id comes back once")
            << QList<qint64>{1, 2} << QStringList{"del:1", "new:3;Wiśniewski Adam|2;Kowal Ewa"}
            << QStringList{"Kowal Ewa", "Wiśniewski Adam"} << QList<qint64>{2, 3}
            << kowal + sep + wisniewski
            << QStringList{p2, p99, "ID=3|Wiśniewski Adam|Beta|1|2024-05-02"};
        QTest::newRow("namesakes serve together")
            << QList<qint64>{1} << QStringList{"new:5;Nowak Jan"}
            << QStringList{"Nowak Jan", "Nowak Jan"} << QList<qint64>{1, 5}
            << nowak + sep + QStringLiteral("st. szer. Nowak (Beta) [Imie]")
            << QStringList{p1, p2, p99, "ID=5|Nowak Jan|Beta|1|2024-05-02"};
        QTest::newRow("removed and added again keeps the count")
            << QList<qint64>{1, 2} << QStringList{"del:1", "new:1;Nowak Jan"}
            << QStringList{"Kowal Ewa", "Nowak Jan"} << QList<qint64>{2, 1} << kowal + sep + nowak
            << QStringList{p1, p2, p99};
        QTest::newRow("added and removed again adds no row")
            << QList<qint64>{1, 2} << QStringList{"new:3;Wiśniewski Adam", "del:3"}
            << QStringList{"Nowak Jan", "Kowal Ewa"} << QList<qint64>{1, 2} << nowak + sep + kowal
            << QStringList{p1, p2, p99};
        QTest::newRow("empty list empties the cell")
            << QList<qint64>{1, 2} << QStringList{"del:1", "del:2"} << QStringList{}
            << QList<qint64>{} << QString() << QStringList{"ID=2|Kowal Ewa|Alfa|2|2024-05-28", p99};
        // Passed over as the last row, it leaves the break of the row before.
        QTest::newRow("person whose group is gone is passed over, also last")
            << QList<qint64>{1} << QStringList{"new:4;Sierota Olga"}
            << QStringList{"Nowak Jan", "Sierota Olga"} << QList<qint64>{1} << nowak + sep
            << QStringList{p1, p2, p99};
        // Only the people added or removed here change their counts.
        QTest::newRow("deleted person's duty is dropped, the count kept")
            << QList<qint64>{99, 2} << QStringList{} << QStringList{"Kowal Ewa"} << QList<qint64>{2}
            << kowal << QStringList{p1, p2, p99};
    }
    void saveWritesCellGridAndCounts()
    {
        QFETCH(QList<qint64>, cellIds);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, listed);
        QFETCH(QList<qint64>, osoba);
        QFETCH(QString, cellText);
        QFETCH(QStringList, people);

        buildRoster(cellIds);
        const QString rosterBefore = m_roster->xml();
        const QStringList peopleBefore = peopleLines();
        AnsweredCellList editor(m_roster.get(), m_grid.get(), m_people.get(), QDate(2024, 5, 1));
        QVERIFY(editor.openCell(Day, 1));
        QVERIFY(Keyboard::showActive(editor));
        act(editor, actions);
        QCOMPARE(listTexts(editor.List1()), listed);

        // Nothing leaves the window before "Zapisz".
        QCOMPARE(m_roster->xml(), rosterBefore);
        QCOMPARE(m_grid->text(Day, 1), QStringLiteral("old"));
        QCOMPARE(peopleLines(), peopleBefore);

        QVERIFY(Mouse::click(*editor.ButtonSave()));
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(!editor.isVisible());

        QList<QPair<qint64, QString>> expected;
        for (const qint64 id : osoba)
            expected << qMakePair(id, listed.at(editor.ids().indexOf(id)));
        QCOMPARE(cell().xml(), expectedCell(expected));
        QCOMPARE(m_grid->text(Day, 1), cellText);
        QCOMPARE(m_grid->text(1, 1), QString());
        QCOMPARE(peopleLines(), people);
        // Only the edited cell changed.
        QCOMPARE(m_roster->selectNodes(QStringLiteral("//Osoba")).size(), osoba.size());
        QVERIFY(Messages::shown().isEmpty());
    }

    void cancelChangesNothing()
    {
        buildRoster({1, 2});
        const QString rosterBefore = m_roster->xml();
        const QStringList peopleBefore = peopleLines();
        AnsweredCellList editor(m_roster.get(), m_grid.get(), m_people.get(), QDate(2024, 5, 1));
        QVERIFY(editor.openCell(Day, 1));
        QVERIFY(Keyboard::showActive(editor));
        act(editor, {"del:1", "new:3;Wiśniewski Adam", "del:2"});
        // A click on the bar beside its items does nothing.
        QTest::mouseClick(editor.ToolBar(), Qt::LeftButton, {}, QPoint(10, 30));
        QCOMPARE(listTexts(editor.List1()), QStringList{"Wiśniewski Adam"});
        QVERIFY(Mouse::click(*editor.ButtonClose()));
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QVERIFY(!editor.isVisible());
        QCOMPARE(m_roster->xml(), rosterBefore);
        QCOMPARE(m_grid->text(Day, 1), QStringLiteral("old"));
        QCOMPARE(peopleLines(), peopleBefore);
    }

    void pickerAnsweringNothingAddsNothing()
    {
        buildRoster({1});
        AnsweredCellList editor(m_roster.get(), m_grid.get(), m_people.get(), QDate(2024, 5, 1));
        QVERIFY(editor.openCell(Day, 1));
        QVERIFY(Keyboard::showActive(editor));
        QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("new")));
        QCOMPARE(editor.ids(), QList<qint64>{1});
        // Nobody chosen in the list: "Usuń" removes nobody.
        QVERIFY(editor.List1()->selectedItems().isEmpty());
        QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("del")));
        QCOMPARE(editor.ids(), QList<qint64>{1});
    }

    void saveWithoutCellChangesNothing()
    {
        buildRoster({1});
        const QString rosterBefore = m_roster->xml();
        AnsweredCellList editor(m_roster.get(), m_grid.get(), m_people.get(), QDate(2024, 5, 1));
        m_grid->setCurrentCell(Day, 1);
        editor.GetList(CellList::cellPath(Day, 77));
        QVERIFY(Keyboard::showActive(editor));
        editor.answers << QStringLiteral("3;Wiśniewski Adam");
        QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("new")));
        QCOMPARE(editor.ids(), QList<qint64>{3});
        QVERIFY(Mouse::click(*editor.ButtonSave()));
        QVERIFY(!editor.isVisible());
        QCOMPARE(m_roster->xml(), rosterBefore);
        QCOMPARE(m_grid->text(Day, 1), QStringLiteral("old"));
        QCOMPARE(m_people->rowCount(), 3);
    }
};

QTEST_MAIN(TestCellList)
#include "tst_celllist.moc"
