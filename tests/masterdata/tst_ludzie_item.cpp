#include "MasterDataFixture.h"
#include "controls/BlueCommand.h"
#include "controls/Kat.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/Zwolnienia_item.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QToolBar>

namespace {

using MasterDataTest::field;
using TestSupport::insert;
// The person editor with its absence editor driven in place instead of shown.
using TestEditor = MasterDataTest::InPlace<Ludzie_item, Zwolnienia_item>;

QStringList lines(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class TestLudzieItem : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    qint64 m_group = 0;
    qint64 m_person = 0;

    qint64 addAbsence(qint64 person, const QString &od, const QString &to, const QString &opis,
                      int kind = 0)
    {
        return insert(db(),
                      QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) "
                                     "VALUES (?, ?, ?, ?, ?)"),
                      {od, to, kind, QString::number(person), opis});
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        QVERIFY(TestSupport::exec(
            db(), QStringLiteral("INSERT INTO stopnie (nazwa) VALUES ('szer.'), ('kpr.')")));
        m_group = insert(db(), QStringLiteral("INSERT INTO grupy (nazwa) VALUES ('Alfa')"));
        m_person = insert(db(),
                          QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, "
                                         "mezczyzna, przywilej, random) "
                                         "VALUES (?, 'Nowak', 'Jan', 'kpr.', 0, 1, 4321)"),
                          {QString::number(m_group)});
    }

    void cleanup() { closeDatabase(); }

    void newPerson_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<int>("privilege");
        QTest::addColumn<int>("mezczyzna");
        QTest::addColumn<int>("przywilej");
        QTest::newRow("man, none") << 0 << 0 << 1 << 0;
        QTest::newRow("woman, exempt") << 1 << 1 << 0 << 1;
    }

    void newPerson()
    {
        QFETCH(int, sex);
        QFETCH(int, privilege);
        QFETCH(int, mezczyzna);
        QFETCH(int, przywilej);
        Ludzie people;
        QVERIFY(Keyboard::showActive(people));
        QVERIFY(
            Mouse::clickRow(*people.tvKat()->tree(),
                            people.tvKat()->Nodes().Item(QStringLiteral("ID=%1").arg(m_group))));

        // Ranks in Polish order: "ł" before "p".
        QVERIFY(TestSupport::exec(
            db(), QStringLiteral("INSERT INTO stopnie (nazwa) VALUES ('ppłk'), ('płk')")));
        Ludzie_item editor;
        editor.setPeopleWindow(&people);
        editor.SetNew(m_group);
        QVERIFY(!editor.findChild<QTabWidget *>()->isTabEnabled(1));
        QCOMPARE(field<QComboBox>(editor, "polePlec")->currentText(), QStringLiteral("mężczyzna"));
        QCOMPARE(field<QComboBox>(editor, "polePrzywilej")->currentText(), QStringLiteral("Brak"));
        QCOMPARE(field<QComboBox>(editor, "poleStopien")->count(), 4);
        QCOMPARE(field<QComboBox>(editor, "poleStopien")->itemText(1), QStringLiteral("płk"));
        field<QLineEdit>(editor, "txt0")->setText(QStringLiteral("O'Neil "));
        field<QLineEdit>(editor, "txt1")->setText(QStringLiteral("Shaun"));
        field<QComboBox>(editor, "poleStopien")->setEditText(QStringLiteral("szer."));
        field<QComboBox>(editor, "polePlec")->setCurrentIndex(sex);
        field<QComboBox>(editor, "polePrzywilej")->setCurrentIndex(privilege);
        QVERIFY(editor.save());
        QCOMPARE(editor.result(), int(QDialog::Accepted));

        auto rs =
            db().openQuery(QStringLiteral("SELECT * FROM ludzie WHERE id=?"), {editor.personId()});
        QVERIFY(rs && !rs->eof());
        QCOMPARE(rs->text(QStringLiteral("nazwisko")), QStringLiteral("O'Neil "));
        QCOMPARE(rs->text(QStringLiteral("imie")), QStringLiteral("Shaun"));
        QCOMPARE(rs->text(QStringLiteral("stopien")), QStringLiteral("szer."));
        QCOMPARE(rs->text(QStringLiteral("id_grupa")), QString::number(m_group));
        QCOMPARE(rs->integer(QStringLiteral("mezczyzna")), mezczyzna);
        QCOMPARE(rs->integer(QStringLiteral("przywilej")), przywilej);
        QVERIFY(!rs->isNull(QStringLiteral("random")));
        const qint64 random = rs->integer(QStringLiteral("random"));
        QVERIFY(random >= 0 && random <= 9999);

        // The people window shows the new person as its last, only selected row.
        QTreeWidget *list = people.lista();
        QCOMPARE(list->topLevelItemCount(), 2);
        QTreeWidgetItem *last = list->topLevelItem(1);
        QCOMPARE(last->text(0), QStringLiteral("O'Neil "));
        QCOMPARE(last->text(2), QStringLiteral("szer."));
        QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem *>{last});

        // An edit rewrites the texts and keeps the group and the random number.
        Ludzie_item again;
        again.setPeopleWindow(&people);
        QVERIFY(again.GetInfo(editor.personId()));
        QCOMPARE(field<QLineEdit>(again, "txt0")->text(), QStringLiteral("O'Neil "));
        QCOMPARE(field<QComboBox>(again, "polePlec")->currentIndex(), sex);
        QCOMPARE(field<QComboBox>(again, "polePrzywilej")->currentIndex(), privilege);
        field<QLineEdit>(again, "txt1")->setText(QStringLiteral("Sean"));
        QVERIFY(again.save());
        rs = db().openQuery(QStringLiteral("SELECT * FROM ludzie WHERE id=?"), {editor.personId()});
        QCOMPARE(rs->text(QStringLiteral("imie")), QStringLiteral("Sean"));
        QCOMPARE(rs->integer(QStringLiteral("random")), random);
        QCOMPARE(rs->text(QStringLiteral("id_grupa")), QString::number(m_group));
        QCOMPARE(last->text(1), QStringLiteral("Sean"));
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM ludzie")).toInt(), 2);
    }

    void loadExisting()
    {
        Ludzie_item editor;
        QVERIFY(editor.GetInfo(m_person));
        QCOMPARE(field<QLineEdit>(editor, "txt0")->text(), QStringLiteral("Nowak"));
        QCOMPARE(field<QComboBox>(editor, "poleStopien")->currentText(), QStringLiteral("kpr."));
        // mezczyzna 0 opens as a woman; przywilej 1 as the exemption.
        QCOMPARE(field<QComboBox>(editor, "polePlec")->currentText(), QStringLiteral("kobieta"));
        QCOMPARE(field<QComboBox>(editor, "polePrzywilej")->currentText(),
                 QStringLiteral("Całkowite zwolnienie ze służby"));

        // A person that is gone: a message and no editor.
        Ludzie_item gone;
        QVERIFY(!gone.GetInfo(m_person + 100));
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Wybrana osoba nie istnieje już w bazie danych.")});
    }

    void checks_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::newRow("no surname") << QString() << QStringLiteral("Jan");
        QTest::newRow("no first name") << QStringLiteral("Nowak") << QString();
    }

    void checks()
    {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        Ludzie_item editor;
        editor.SetNew(m_group);
        field<QLineEdit>(editor, "txt0")->setText(surname);
        field<QLineEdit>(editor, "txt1")->setText(name);
        QVERIFY(!editor.save());
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Błędne dane")});
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM ludzie")).toInt(), 1);
        QCOMPARE(editor.result(), int(QDialog::Rejected));
    }

    // A character the roster file cannot hold (pasted: no key types it) is
    // refused in every text the person editor stores; nothing is written.
    void refusesWhatTheFilesCannotHold_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::newRow("surname") << "txt0"
                                 << "Nazwisko";
        QTest::newRow("first name") << "txt1" << QStringLiteral("Imię");
        QTest::newRow("rank") << "poleStopien" << QStringLiteral("Stopień");
    }

    void refusesWhatTheFilesCannotHold()
    {
        QFETCH(QString, field);
        QFETCH(QString, caption);
        Ludzie_item editor;
        QVERIFY(editor.GetInfo(m_person));
        QVERIFY(Keyboard::showActive(editor));
        QVERIFY(Mouse::clickWidget(*editor.findChild<QWidget *>(field)));
        MasterDataTest::paste(QStringLiteral("x\u0001y"));
        QVERIFY(Mouse::click(*editor.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
        QCOMPARE(Messages::shown(), QStringList{MasterDataTest::refusal(caption)});
        QVERIFY(editor.isVisible());
        auto rs = db().openQuery(QStringLiteral("SELECT * FROM ludzie WHERE id=?"), {m_person});
        QCOMPARE(QStringList({rs->text("nazwisko"), rs->text("imie"), rs->text("stopien")}),
                 QStringList({"Nowak", "Jan", "kpr."}));
    }

    void absencesOfMonth_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<QStringList>("expected");
        // Ending on the month's first day or starting on its last, an absence is the month's.
        QTest::newRow("may") << QDate(2024, 5, 15)
                             << QStringList({"31.05 do 2.06.2024 - od końca",
                                             "28.05 do 3.06.2024 - urlop", "10-12.05.2024 - L4",
                                             "25.04 do 2.05.2024 - kurs",
                                             "22.04 do 1.05.2024 - do pierwszego",
                                             "20.04 do 10.06.2024 - długie"});
        QTest::newRow("june spanned")
            << QDate(2024, 6, 1)
            << QStringList({"31.05 do 2.06.2024 - od końca", "28.05 do 3.06.2024 - urlop",
                            "20.04 do 10.06.2024 - długie"});
        QTest::newRow("april") << QDate(2024, 4, 30)
                               << QStringList({"25.04 do 2.05.2024 - kurs",
                                               "22.04 do 1.05.2024 - do pierwszego",
                                               "20.04 do 10.06.2024 - długie"});
        QTest::newRow("march") << QDate(2024, 3, 1) << QStringList();
        QTest::newRow("every month")
            << QDate()
            << QStringList({"31.05 do 2.06.2024 - od końca", "28.05 do 3.06.2024 - urlop",
                            "10-12.05.2024 - L4", "25.04 do 2.05.2024 - kurs",
                            "22.04 do 1.05.2024 - do pierwszego", "20.04 do 10.06.2024 - długie",
                            "1.02.2024 - "});
    }

    void absencesOfMonth()
    {
        QFETCH(QDate, month);
        QFETCH(QStringList, expected);
        addAbsence(m_person, "2024-05-10", "2024-05-12", "L4");
        addAbsence(m_person, "2024-04-25", "2024-05-02", "kurs");
        addAbsence(m_person, "2024-05-28", "2024-06-03", "urlop");
        addAbsence(m_person, "2024-04-20", "2024-06-10", QStringLiteral("długie"));
        addAbsence(m_person, "2024-02-01", "2024-02-01", QString());
        addAbsence(m_person, "2024-04-22", "2024-05-01", QStringLiteral("do pierwszego"));
        addAbsence(m_person, "2024-05-31", "2024-06-02", QStringLiteral("od końca"));
        addAbsence(m_person, "2024-05-01", "2024-05-31", "inny rodzaj", 1);
        addAbsence(m_person + 1, "2024-05-01", "2024-05-31", "inna osoba");

        Ludzie_item editor;
        editor.setMonth(month);
        QVERIFY(editor.GetInfo(m_person));
        QCOMPARE(lines(editor.absenceList()), expected);
        // Each line carries its absence's id.
        if (!expected.isEmpty()) {
            const qint64 id = editor.absenceList()->item(0)->data(Qt::UserRole).toLongLong();
            QCOMPARE(db().scalar(QStringLiteral("SELECT opis FROM zwolnienia WHERE id=?"), {id})
                         .toString(),
                     expected.first().section(QStringLiteral(" - "), 1));
        }
    }

    // The months of absences stored in either form are the generation's; a
    // day nobody can read is shown as stored in every month, to be put right.
    void absencesInEitherStoredForm_data()
    {
        const QString wrong = QStringLiteral("31.13.2026 do 2026-12-31 - zły");
        QTest::addColumn<QDate>("month");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("december") << QDate(2026, 12, 1)
                                  << QStringList({"20-22.12.2026 - urlop", "10-11.12.2026 - L4",
                                                  "28.11 do 3.12.2026 - kurs", wrong});
        QTest::newRow("november") << QDate(2026, 11, 30)
                                  << QStringList({"28.11 do 3.12.2026 - kurs",
                                                  "2-3.11.2026 - listopad", wrong});
        QTest::newRow("january") << QDate(2027, 1, 1) << QStringList{wrong};
        QTest::newRow("every month")
            << QDate()
            << QStringList({"20-22.12.2026 - urlop", "10-11.12.2026 - L4",
                            "28.11 do 3.12.2026 - kurs", "2-3.11.2026 - listopad", wrong});
    }

    void absencesInEitherStoredForm()
    {
        QFETCH(QDate, month);
        QFETCH(QStringList, expected);
        addAbsence(m_person, "2026-11-02", "2026-11-03", "listopad");
        addAbsence(m_person, "20.12.2026", "22.12.2026", "urlop");
        addAbsence(m_person, "31.13.2026", "2026-12-31", QStringLiteral("zły"));
        addAbsence(m_person, "2026-11-28", "03.12.2026", "kurs");
        addAbsence(m_person, "2026-12-10 08:00", "11.12.2026 20:00", "L4");

        Ludzie_item editor;
        editor.setMonth(month);
        QVERIFY(editor.GetInfo(m_person));
        QCOMPARE(lines(editor.absenceList()), expected);
    }

    // The absence tab driven as the planner does: its buttons, a double click
    // on a line, a range of lines chosen with Shift.
    void addEditDeleteAbsences()
    {
        TestEditor editor;
        editor.setMonth(QDate(2024, 5, 15));
        QVERIFY(editor.GetInfo(m_person));
        QVERIFY(Keyboard::showActive(editor));
        QVERIFY(Mouse::clickTab(*editor.findChild<QTabWidget *>(), QStringLiteral("Zwolnienia")));
        QToolBar &buttons = *field<QToolBar>(editor, "ZwButtons");
        QListWidget &list = *editor.absenceList();
        QCOMPARE(list.count(), 0);

        // "Dodaj" stores a one-day "L4" at once, even when the editor that follows is closed.
        QVERIFY(Mouse::clickAction(buttons, QStringLiteral("Dodaj")));
        QCOMPARE(editor.modalCount, 1);
        auto rs = db().openQuery(QStringLiteral("SELECT * FROM zwolnienia"));
        QCOMPARE(rs->recordCount(), 1);
        QCOMPARE(rs->text(QStringLiteral("od")), QStringLiteral("2024-05-15"));
        QCOMPARE(rs->text(QStringLiteral("do")), QStringLiteral("2024-05-15"));
        QCOMPARE(rs->text(QStringLiteral("opis")), QStringLiteral("L4"));
        QCOMPARE(rs->text(QStringLiteral("id_item")), QString::number(m_person));
        QCOMPARE(rs->integer(QStringLiteral("rodzaj")), 0);
        QCOMPARE(lines(&list), QStringList{"15.05.2024 - L4"});

        // The absence editor opens on the current line and rewrites it when it saves.
        editor.onModal = [](Zwolnienia_item &absence) {
            absence.setPeriod(QDate(2024, 5, 20), QDate(2024, 5, 22));
            absence.setDescription(QStringLiteral("urlop"));
            QVERIFY(absence.save());
        };
        QVERIFY(Mouse::clickAction(buttons, QStringLiteral("Dodaj")));
        QCOMPARE(editor.modalCount, 2);
        QCOMPARE(lines(&list), QStringList({"15.05.2024 - L4", "20-22.05.2024 - urlop"}));

        // A double click on a line edits that line.
        editor.onModal = [](Zwolnienia_item &absence) {
            absence.setDescription(QStringLiteral("kurs"));
            QVERIFY(absence.save());
        };
        QVERIFY(Mouse::doubleClickRow(list, 0));
        QCOMPARE(editor.modalCount, 3);
        QCOMPARE(lines(&list), QStringList({"15.05.2024 - kurs", "20-22.05.2024 - urlop"}));

        // "Usuń" deletes every selected line without asking.
        editor.onModal = nullptr;
        QVERIFY(Mouse::clickRow(list, 0));
        QVERIFY(Mouse::clickRow(list, 1, Qt::ShiftModifier));
        QVERIFY(Mouse::clickAction(buttons, QStringLiteral("Usuń")));
        QCOMPARE(list.count(), 0);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM zwolnienia")).toInt(), 0);
        QVERIFY(Messages::shown().isEmpty());

        // An absence deleted behind the editor's back: a message, no editor.
        const qint64 id = addAbsence(m_person, "2024-05-03", "2024-05-04", "L4");
        editor.FillAbsences();
        QVERIFY(TestSupport::exec(db(), QStringLiteral("DELETE FROM zwolnienia WHERE id=?"), {id}));
        QVERIFY(Mouse::clickRow(list, 0));
        QVERIFY(Mouse::clickAction(buttons, QStringLiteral("Edytuj")));
        QCOMPARE(editor.modalCount, 3);
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral(
                                        "Wybrane zwolnienie nie istnieje już w bazie danych.")});
    }
};

QTEST_MAIN(TestLudzieItem)
#include "tst_ludzie_item.moc"
