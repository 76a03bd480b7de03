#include "MasterDataFixture.h"
#include "controls/BlueCommand.h"
#include "masterdata/Copy.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TextPlace.h"

#include <QAbstractSpinBox>
#include <QLineEdit>

namespace {

const QString Done = QStringLiteral("Kopiowanie przebiegło pomyślnie.");
const QString SameMonth = QStringLiteral("Proszę wybrać różne daty!");

// "OK" of the shown window, clicked as the planner does.
bool clickCopy(Copy &window)
{
    auto *ok = window.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
    return ok && (window.isActiveWindow() || Keyboard::showActive(window)) && Mouse::click(*ok);
}

} // namespace

class TestCopy : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    void addCount(const QString &duty, const QString &day, int ilosc)
    {
        QVERIFY(db().execute(
            QStringLiteral("INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES (?, ?, ?)"),
            {duty, day, ilosc}));
    }
    // "duty|day|count" of the rows whose day starts with prefix (all rows for
    // an empty one), sorted.
    QStringList month(const QString &prefix)
    {
        QStringList rows;
        for (auto rs = db().openQuery(
                 QStringLiteral("SELECT * FROM sluzby_ilosc WHERE data LIKE ?"), {prefix + u'%'});
             !rs->eof(); rs->moveNext())
            rows << rs->text(QStringLiteral("id_sluzba")) + u'|' +
                        rs->text(QStringLiteral("data")) + u'|' + rs->text(QStringLiteral("ilosc"));
        rows.sort();
        return rows;
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        // January 2023, February and March 2024; duty "9" no longer exists.
        addCount(QStringLiteral("1"), QStringLiteral("2023-01-01"), 3);
        addCount(QStringLiteral("1"), QStringLiteral("2023-01-28"), 4);
        addCount(QStringLiteral("9"), QStringLiteral("2023-01-29"), 5);
        addCount(QStringLiteral("2"), QStringLiteral("2023-01-31"), 6);
        addCount(QStringLiteral("1"), QStringLiteral("2024-02-01"), 2);
        addCount(QStringLiteral("2"), QStringLiteral("2024-02-29"), 7);
        addCount(QStringLiteral("2"), QStringLiteral("2024-03-05"), 8);
    }

    void cleanup() { closeDatabase(); }

    void copiesDayForDay_data()
    {
        QTest::addColumn<QDate>("source");
        QTest::addColumn<QDate>("target");
        QTest::addColumn<QStringList>("rows");
        // The 29th to the 31st have no day in February: nothing is written for them.
        QTest::newRow("longer to shorter month")
            << QDate(2023, 1, 15) << QDate(2023, 2, 1)
            << QStringList({"1|2023-02-01|3", "1|2023-02-28|4"});
        QTest::newRow("into a 30-day month")
            << QDate(2023, 1, 1) << QDate(2023, 4, 1)
            << QStringList({"1|2023-04-01|3", "1|2023-04-28|4", "9|2023-04-29|5"});
        QTest::newRow("onto a month with data")
            << QDate(2024, 2, 1) << QDate(2024, 3, 20)
            << QStringList({"1|2024-03-01|2", "2|2024-03-29|7"});
        QTest::newRow("backwards, deleted duty kept")
            << QDate(2023, 1, 1) << QDate(2022, 12, 1)
            << QStringList(
                   {"1|2022-12-01|3", "1|2022-12-28|4", "2|2022-12-31|6", "9|2022-12-29|5"});
        QTest::newRow("empty source empties the target")
            << QDate(2024, 4, 1) << QDate(2024, 3, 1) << QStringList();
    }

    void copiesDayForDay()
    {
        QFETCH(QDate, source);
        QFETCH(QDate, target);
        QFETCH(QStringList, rows);
        const QString targetKey = target.toString(QStringLiteral("yyyy-MM"));
        // The whole table afterwards: the target month's rows replaced, every
        // other row as it was, none written past the target month's end.
        QStringList table = rows;
        for (const QString &stored : month(QString()))
            if (stored.section(u'|', 1).left(7) != targetKey)
                table << stored;
        table.sort();

        Copy window;
        window.setRodzaj(1);
        window.setMonths(source, target);
        QVERIFY(clickCopy(window));
        QCOMPARE(month(QString()), table);
        QCOMPARE(Messages::shown(), QStringList{Done});

        // Running it again gives the same table.
        QVERIFY(clickCopy(window));
        QCOMPARE(month(QString()), table);
        QCOMPARE(Messages::shown(), (QStringList{Done, Done}));
    }

    // Both months are the generation's: a day in either stored form is
    // copied, and deleted from the target; what nobody reads stays.
    void storedFormsAsTheGenerationReadsThem()
    {
        addCount(QStringLiteral("1"), QStringLiteral("05.12.2026"), 9);
        addCount(QStringLiteral("2"), QStringLiteral("2026-12-07 00:00:00"), 3);
        addCount(QStringLiteral("2"), QStringLiteral("31.12.2026"), 6);
        addCount(QStringLiteral("3"), QStringLiteral("12.2026"), 5); // no day
        addCount(QStringLiteral("1"), QStringLiteral("2027-01-03"), 1);
        addCount(QStringLiteral("2"), QStringLiteral("04.01.2027"), 2);
        addCount(QStringLiteral("1"), QStringLiteral("05.02.2027"), 4);

        Copy window;
        window.show();
        window.setMonths(QDate(2026, 12, 1), QDate(2027, 1, 1));
        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
        QCOMPARE(Messages::shown(), QStringList{Done});
        // The whole table: the rows of init() stay too.
        QStringList rows{"1|05.02.2027|4",          "1|05.12.2026|9", "1|2027-01-05|9",
                         "2|2026-12-07 00:00:00|3", "2|2027-01-07|3", "2|2027-01-31|6",
                         "2|31.12.2026|6",          "3|12.2026|5",    "1|2023-01-01|3",
                         "1|2023-01-28|4",          "9|2023-01-29|5", "2|2023-01-31|6",
                         "1|2024-02-01|2",          "2|2024-02-29|7", "2|2024-03-05|8"};
        rows.sort();
        QCOMPARE(month(QString()), rows);
    }

    // A click on a month picker selects its whole month name or year, and
    // typing there chooses another.
    void monthPickers_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<bool>("year");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QDate>("source");
        QTest::addColumn<QDate>("target");
        QTest::newRow("source month") << "poleData0" << false << QString("grudzień") << "lis"
                                      << QDate(2026, 11, 1) << QDate(2027, 1, 1);
        QTest::newRow("source year") << "poleData0" << true << "2026"
                                     << "2025" << QDate(2025, 12, 1) << QDate(2027, 1, 1);
        QTest::newRow("target month") << "poleData1" << false << QString("styczeń") << "lu"
                                      << QDate(2026, 12, 1) << QDate(2027, 2, 1);
        QTest::newRow("target year") << "poleData1" << true << "2027"
                                     << "2030" << QDate(2026, 12, 1) << QDate(2030, 1, 1);
    }

    void monthPickers()
    {
        QFETCH(QString, picker);
        QFETCH(bool, year);
        QFETCH(QString, selection);
        QFETCH(QString, keys);
        QFETCH(QDate, source);
        QFETCH(QDate, target);
        Copy window;
        window.setMonths(QDate(2026, 12, 15), QDate(2027, 1, 15));
        QVERIFY(Keyboard::showActive(window));
        auto *line = window.findChild<QAbstractSpinBox *>(picker)->findChild<QLineEdit *>();
        const int pos = year ? int(line->text().indexOf(u' ')) + 2 : 2;
        QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier,
                          TestSupport::placeOfText(line, pos));
        QCOMPARE(line->selectedText(), selection);
        Keyboard::type(keys);
        QCOMPARE(window.sourceMonth(), source);
        QCOMPARE(window.targetMonth(), target);
    }

    void refusesTheSameMonth()
    {
        Copy window;
        window.setMonths(QDate(2024, 3, 1), QDate(2024, 3, 31));
        QVERIFY(clickCopy(window));
        QCOMPARE(Messages::shown(), QStringList{SameMonth});
        QCOMPARE(month(QStringLiteral("2024-03")), QStringList{"2|2024-03-05|8"});
        QCOMPARE(window.windowTitle(), QStringLiteral("Kopiowanie grafiku"));
    }
};

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
