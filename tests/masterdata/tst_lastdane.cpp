#include "MasterDataFixture.h"
#include "controls/BlueCommand.h"
#include "controls/ToolBarN.h"
#include "core/ui/FlexGrid.h"
#include "masterdata/LastDane.h"
#include "masterdata/Ludzie.h"
#include "platform/db/Recordset.h"
#include "tests/support/InkBounds.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>

#include <cstdlib>

namespace {

using Messages::Answer;

const QString Question = QStringLiteral("Czy chcesz zapisać zamiany?");
const QString RangeText =
    QStringLiteral("Błędne dane numeryczne! Ilość służb musi być liczbą całkowitą od 0 do 999.");

QStringList gridColumn(const FlexGrid *grid, int c)
{
    QStringList texts;
    for (int r = 1; r < grid->rows(); ++r)
        texts << grid->text(r, c);
    return texts;
}

} // namespace

class TestLastDane : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    qint64 m_alfa = 0, m_beta = 0;
    qint64 m_nowak = 0, m_adamski = 0, m_zielinski = 0;

    qint64 addGroup(const QString &name)
    {
        return TestSupport::insert(db(), QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
                                   {name});
    }
    qint64 addPerson(qint64 group, const QString &nazwisko, const QString &imie)
    {
        return TestSupport::insert(
            db(), QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie) VALUES (?, ?, ?)"),
            {QString::number(group), nazwisko, imie});
    }
    // A click on the cell where the grid draws it; on the current row the
    // editors stand over the cells, so the click lands on the editor there.
    static bool clickCell(LastDane &window, int r, int c)
    {
        if (!window.isActiveWindow() && !Keyboard::showActive(window))
            return false;
        if (window.lista()->row() == r)
            return Mouse::clickWidget(c == 2 ? *static_cast<QWidget *>(window.countEditor())
                                             : *static_cast<QWidget *>(window.dateEditor()));
        return Mouse::clickCell(*window.lista(), r, c);
    }
    void addLast(qint64 person, const QString &month, int ilosc, const QVariant &data)
    {
        QVERIFY(db().execute(
            QStringLiteral(
                "INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES (?, ?, ?, ?)"),
            {QString::number(person), month, ilosc, data}));
    }
    // "person|count|date" of the month's rows, sorted.
    QStringList month(const QString &key)
    {
        QStringList rows;
        for (auto rs =
                 db().openQuery(QStringLiteral("SELECT * FROM ludzie_last WHERE miesiac=?"), {key});
             !rs->eof(); rs->moveNext())
            rows << rs->text(QStringLiteral("id_osoba")) + u'|' +
                        rs->text(QStringLiteral("ilosc")) + u'|' + rs->text(QStringLiteral("data"));
        rows.sort();
        return rows;
    }
    QString row(qint64 person, int count, const QString &date) const
    {
        return QStringLiteral("%1|%2|%3").arg(person).arg(count).arg(date);
    }
    // Types a count into the editor of grid row r, as the planner does.
    static void typeCount(LastDane &window, int r, const QString &text)
    {
        QVERIFY(clickCell(window, r, 2));
        QCOMPARE(window.lista()->row(), r);
        QVERIFY(!window.countEditor()->isHidden());
        window.countEditor()->selectAll();
        QTest::keyClicks(window.countEditor(), text);
    }
    static void chooseGroup(LastDane &window, const QString &name)
    {
        QVERIFY(Mouse::chooseEntry(*window.groups(), name));
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        m_beta = addGroup(QStringLiteral("Beta"));
        m_alfa = addGroup(QStringLiteral("Alfa"));
        m_nowak = addPerson(m_alfa, QStringLiteral("Nowak"), QStringLiteral("Jan"));
        m_zielinski = addPerson(m_beta, QStringLiteral("Zieliński"), QStringLiteral("Adam"));
        m_adamski = addPerson(m_alfa, QStringLiteral("Adamski"), QStringLiteral("Piotr"));
        addLast(m_nowak, QStringLiteral("2024-05"), 3, QStringLiteral("2024-05-20 08:00:00"));
        addLast(m_zielinski, QStringLiteral("2024-05"), 2, QStringLiteral("2023-12-31 20:30:00"));
        addLast(999, QStringLiteral("2024-05"), 1,
                QStringLiteral("2024-05-02 10:00:00")); // person gone
        addLast(m_nowak, QStringLiteral("2024-04"), 5, QVariant());
    }

    void cleanup() { closeDatabase(); }

    void showsGroupAndMonth()
    {
        LastDane window;
        window.show();
        QCOMPARE(window.groups()->count(), 3);
        QCOMPARE(window.groups()->itemText(0), QStringLiteral("(Wszystkie)"));
        QCOMPARE(window.groups()->itemText(1), QStringLiteral("Alfa"));
        window.setMonth(QDate(2024, 5, 9));
        FlexGrid *grid = window.lista();
        QCOMPARE(grid->text(0, 1), QStringLiteral("Data świeżości"));
        QCOMPARE(gridColumn(grid, 0),
                 QStringList({"Adamski Piotr", "Nowak Jan", "Zieliński Adam"}));
        QCOMPARE(gridColumn(grid, 1), QStringList({"", "20/05 08:00", "31/12 20:30"}));
        QCOMPARE(gridColumn(grid, 2), QStringList({"0", "3", "2"}));
        // The editors stand on the first row.
        QCOMPARE(grid->row(), 1);
        QVERIFY(!window.countEditor()->isHidden());
        QCOMPARE(window.countEditor()->text(), QStringLiteral("0"));

        chooseGroup(window, QStringLiteral("Alfa"));
        QCOMPARE(gridColumn(grid, 0), QStringList({"Adamski Piotr", "Nowak Jan"}));
        window.setMonth(QDate(2024, 4, 1));
        QCOMPARE(gridColumn(grid, 1), QStringList({"", ""}));
        QCOMPARE(gridColumn(grid, 2), QStringList({"0", "5"}));
        QVERIFY(Messages::shown().isEmpty());

        // Groups and people come in Polish order: "Ł" before "N" and "Z".
        addGroup(QStringLiteral("Zwiad"));
        addGroup(QStringLiteral("Łączność"));
        addPerson(m_beta, QStringLiteral("Łukasik"), QStringLiteral("Ola"));
        window.GetGrupy();
        QCOMPARE(window.groups()->itemText(2), QStringLiteral("Beta"));
        QCOMPARE(window.groups()->itemText(3), QStringLiteral("Łączność"));
        QCOMPARE(gridColumn(grid, 0),
                 QStringList({"Adamski Piotr", "Łukasik Ola", "Nowak Jan", "Zieliński Adam"}));
    }

    // As the planner sees the rows: names at the left, vertically centred;
    // dates and counts centred in their columns.
    // A name cut at its column shows whole as the row's tooltip.
    void cutNameShowsWhole()
    {
        addPerson(m_alfa, QStringLiteral("Jankowska-Wielkopolska-Żółkiewska-Brzęczyszczykiewicz"),
                  QStringLiteral("Małgorzata"));
        LastDane window;
        QVERIFY(Keyboard::showActive(window));
        FlexGrid *grid = window.lista();
        QCOMPARE(
            grid->text(2, 0),
            QStringLiteral("Jankowska-Wielkopolska-Żółkiewska-Brzęczyszczykiewicz Małgorzata"));
        const auto tip = [grid](int row, int col) {
            return MasterDataTest::tooltipAt(grid->viewport(),
                                             grid->layout().cellRect(row, col).center());
        };
        QCOMPARE(tip(2, 0), grid->text(2, 0));
        QCOMPARE(tip(1, 0), QString()); // "Adamski Piotr"
        QCOMPARE(tip(0, 1), QString());
    }

    void columnAlignment()
    {
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        FlexGrid *grid = window.lista();
        QCOMPARE(gridColumn(grid, 2), QStringList({"0", "3", "2"}));
        QImage image(grid->viewport()->size(), QImage::Format_RGB32);
        grid->viewport()->render(&image);
        // Rows 2 and 3: the editors stand on row 1.
        for (int r = 2; r <= 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const QRect cell = grid->layout().cellRect(r, c).adjusted(0, 0, -1, -1);
                const QRect text = TestSupport::inkBounds(image, cell.adjusted(0, 0, -1, -1));
                const QString where = QStringLiteral("row %1, column %2").arg(r).arg(c);
                QVERIFY2(!text.isEmpty(), qPrintable(where));
                QVERIFY2(std::abs(text.center().y() - cell.center().y()) <= 2, qPrintable(where));
                if (c == 0)
                    QVERIFY2(text.left() - cell.left() <= 5, qPrintable(where));
                else
                    QVERIFY2(std::abs(text.center().x() - cell.center().x()) <= 2,
                             qPrintable(where));
            }
        }
    }

    void editAndSavePerGroup_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("may");
        // One group shown: the other group's and the missing person's rows stay.
        QTest::newRow("one group")
            << "Alfa"
            << QStringList({"999|1|2024-05-02 10:00:00", "%A|4|2024-05-30 19:45:00",
                            "%N|0|2024-05-20 08:00:00", "%Z|2|2023-12-31 20:30:00"});
        // Everybody shown: the month is replaced whole, the other year kept.
        QTest::newRow("everybody")
            << "(Wszystkie)"
            << QStringList({"%A|4|2024-05-30 19:45:00", "%N|0|2024-05-20 08:00:00",
                            "%Z|2|2023-12-31 20:30:00"});
    }

    void editAndSavePerGroup()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, may);
        for (QString &r : may)
            r.replace(QStringLiteral("%A"), QString::number(m_adamski))
                .replace(QStringLiteral("%Z"), QString::number(m_zielinski))
                .replace(QStringLiteral("%N"), QString::number(m_nowak));
        may.sort();

        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        chooseGroup(window, group);
        // Adamski gets a count and a date; Nowak keeps his date with the count 0.
        typeCount(window, 1, QStringLiteral("4"));
        QCOMPARE(window.lista()->text(1, 2), QStringLiteral("4"));
        window.dateEditor()->setDateTime(QDateTime(QDate(2024, 5, 30), QTime(19, 45)));
        QCOMPARE(window.lista()->text(1, 1), QStringLiteral("30/05 19:45"));
        typeCount(window, 2, QStringLiteral("0"));
        QVERIFY(window.isChanged());
        QVERIFY(window.SaveMonth());
        QVERIFY(!window.isChanged());
        QCOMPARE(month(QStringLiteral("2024-05")), may);
        QCOMPARE(month(QStringLiteral("2024-04")), QStringList{row(m_nowak, 5, QString())});
    }

    void countEditorKeys()
    {
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        FlexGrid *grid = window.lista();
        QVERIFY(clickCell(window, 2, 2));
        // A digit on the grid starts a new count and reaches the cell at once.
        QTest::keyClick(grid, Qt::Key_7);
        QCOMPARE(grid->text(2, 2), QStringLiteral("7"));
        QVERIFY(window.isChanged());
        // A letter is not a count: the cell keeps it, Enter says why.
        QTest::keyClick(grid, Qt::Key_A);
        QCOMPARE(window.countEditor()->text(), QStringLiteral("a"));
        QCOMPARE(grid->text(2, 2), QStringLiteral("7"));
        QTest::keyClick(window.countEditor(), Qt::Key_Return);
        QCOMPARE(Messages::shown(), QStringList{RangeText});
        QCOMPARE(grid->row(), 2);
        // The editor takes whole numbers up to 999 only.
        window.countEditor()->selectAll();
        QTest::keyClicks(window.countEditor(), QStringLiteral("-12345"));
        QCOMPARE(window.countEditor()->text(), QStringLiteral("123"));
        QCOMPARE(grid->text(2, 2), QStringLiteral("123"));
        // Enter moves down, but not beyond the last row.
        QTest::keyClick(window.countEditor(), Qt::Key_Return);
        QCOMPARE(grid->row(), 3);
        QTest::keyClick(window.countEditor(), Qt::Key_Return);
        QCOMPARE(grid->row(), 3);
    }

    void unsavedEditsQuestion_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<Messages::Answer>("answer");
        QTest::newRow("other month, yes") << "month" << Answer::Yes;
        QTest::newRow("other month, no") << "month" << Answer::No;
        QTest::newRow("other group, yes") << "group" << Answer::Yes;
        QTest::newRow("closing, yes") << "close" << Answer::Yes;
        QTest::newRow("closing, no") << "close" << Answer::No;
    }

    void unsavedEditsQuestion()
    {
        QFETCH(QString, leave);
        QFETCH(Messages::Answer, answer);
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        chooseGroup(window, QStringLiteral("Alfa"));
        typeCount(window, 1, QStringLiteral("6"));

        Messages::setNextAnswer(answer);
        if (leave == QLatin1String("month"))
            window.setMonth(QDate(2024, 6, 1));
        else if (leave == QLatin1String("group"))
            chooseGroup(window, QStringLiteral("Beta"));
        else
            window.close();
        QCOMPARE(Messages::shown(), QStringList{Question});
        QVERIFY(!window.isChanged());
        // The edits go to the group and month they were made in.
        const QStringList may = month(QStringLiteral("2024-05"));
        QCOMPARE(may.contains(row(m_adamski, 6, QString())), answer == Answer::Yes);
        QVERIFY(may.contains(row(m_zielinski, 2, QStringLiteral("2023-12-31 20:30:00"))));
        QVERIFY(month(QStringLiteral("2024-06")).isEmpty());
        if (leave == QLatin1String("month"))
            QCOMPARE(gridColumn(window.lista(), 2), QStringList({"0", "0"}));
        else if (leave == QLatin1String("group"))
            QCOMPARE(gridColumn(window.lista(), 0), QStringList{"Zieliński Adam"});
        else
            QVERIFY(!window.isVisible());
    }

    // Values the planner leaves alone are written back as they were read,
    // even where the window could not have entered them; a readable date in
    // another form takes the fixed one, and a row without a date or a count
    // above 0 goes.
    void untouchedRowsKeptAsRead_data()
    {
        QTest::addColumn<QVariant>("ilosc");
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QString>("shownCount");
        QTest::addColumn<QString>("shownDate");
        QTest::addColumn<QString>("after"); // empty: the row is gone
        QTest::newRow("count beyond 999")
            << QVariant(1500) << QVariant(QStringLiteral("2024-05-20 08:00:00")) << "1500"
            << "20/05 08:00"
            << "1500|integer|2024-05-20 08:00:00|text";
        QTest::newRow("fraction, no date") << QVariant(2.5) << QVariant() << "2.5"
                                           << ""
                                           << "2.5|real||null";
        QTest::newRow("date in no form")
            << QVariant(4) << QVariant(QStringLiteral("maj 2024, rano")) << "4"
            << "maj 2024, rano"
            << "4|integer|maj 2024, rano|text";
        QTest::newRow("fixed form, a day that does not exist")
            << QVariant(3) << QVariant(QStringLiteral("2024-02-30 08:00:00")) << "3"
            << "2024-02-30 08:00:00"
            << "3|integer|2024-02-30 08:00:00|text";
        QTest::newRow("date in the older form")
            << QVariant(4) << QVariant(QStringLiteral("20.05.2024 08:00")) << "4"
            << "20/05 08:00"
            << "4|integer|2024-05-20 08:00:00|text";
        QTest::newRow("day alone") << QVariant(0) << QVariant(QStringLiteral("20.05.2024")) << "0"
                                   << "20/05 00:00"
                                   << "0|integer|2024-05-20|text";
        QTest::newRow("nothing at all") << QVariant(0) << QVariant() << "0"
                                        << ""
                                        << "";
        QTest::newRow("no count, an empty date") << QVariant() << QVariant(QString()) << ""
                                                 << ""
                                                 << "";
    }

    void untouchedRowsKeptAsRead()
    {
        QFETCH(QVariant, ilosc);
        QFETCH(QVariant, data);
        QFETCH(QString, shownCount);
        QFETCH(QString, shownDate);
        QFETCH(QString, after);
        QVERIFY(db().execute(QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, "
                                            "data) VALUES (?, '2024-05', ?, ?)"),
                             {QString::number(m_adamski), ilosc, data}));
        const QString query =
            QStringLiteral("SELECT ilosc, typeof(ilosc) AS ti, data, typeof(data) AS td "
                           "FROM ludzie_last WHERE id_osoba=? AND miesiac='2024-05'");
        auto stored = [&] {
            QStringList rows;
            for (auto rs = db().openQuery(query, {QString::number(m_adamski)}); !rs->eof();
                 rs->moveNext())
                rows << QStringList{rs->text("ilosc"), rs->text("ti"), rs->text("data"),
                                    rs->text("td")}
                            .join(u'|');
            return rows;
        };
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        QCOMPARE(window.lista()->text(1, 0), QStringLiteral("Adamski Piotr"));
        QCOMPARE(window.lista()->text(1, 2), shownCount);
        QCOMPARE(window.lista()->text(1, 1), shownDate);
        // Another row changes; Adamski's row has its editors opened, no more.
        typeCount(window, 2, QStringLiteral("1"));
        QVERIFY(clickCell(window, 1, 1));
        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonSave"))));
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Zapisano pomyślnie!")});
        QCOMPARE(stored(), after.isEmpty() ? QStringList() : QStringList{after});
        QVERIFY(month(QStringLiteral("2024-05"))
                    .contains(row(m_nowak, 1, QStringLiteral("2024-05-20 08:00:00"))));
    }

    // The grid shows a person's month as the generation reads it, the first
    // row's date and the sum of the counts, and a save leaves exactly that
    // one row, however the rows name the person.
    void oneRowPerPersonAndMonth_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("rows"); // person as written|count|date
        QTest::addColumn<QString>("shownCount");
        QTest::addColumn<QString>("shownDate");
        QTest::addColumn<QString>("after"); // count|date
        const QStringList two{"%A|4|2024-05-20 08:00:00", "%A|3|2024-05-25 10:00:00"};
        QTest::newRow("two rows") << "(Wszystkie)" << two << "7"
                                  << "20/05 08:00"
                                  << "7|2024-05-20 08:00:00";
        QTest::newRow("two rows, one group") << "Alfa" << two << "7"
                                             << "20/05 08:00"
                                             << "7|2024-05-20 08:00:00";
        QTest::newRow("the first without a date")
            << "Alfa" << QStringList({"%A|2|", "%A|3|2024-05-25 10:00:00"}) << "5"
            << ""
            << "5|";
        QTest::newRow("ids written otherwise")
            << "Alfa" << QStringList({" %A |1|2024-05-20 08:00:00", "0%A|2|", "+%A|3|"}) << "6"
            << "20/05 08:00"
            << "6|2024-05-20 08:00:00";
    }

    void oneRowPerPersonAndMonth()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, rows);
        QFETCH(QString, shownCount);
        QFETCH(QString, shownDate);
        QFETCH(QString, after);
        for (const QString &r : std::as_const(rows)) {
            const QStringList f = r.split(u'|');
            QVERIFY(db().execute(
                QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, "
                               "ilosc, data) VALUES (?, '2024-05', ?, ?)"),
                {QString(f[0]).replace(QStringLiteral("%A"), QString::number(m_adamski)),
                 f[1].toInt(), f[2]}));
        }
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        chooseGroup(window, group);
        QCOMPARE(window.lista()->text(1, 0), QStringLiteral("Adamski Piotr"));
        QCOMPARE(window.lista()->text(1, 2), shownCount);
        QCOMPARE(window.lista()->text(1, 1), shownDate);

        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonSave"))));
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Zapisano pomyślnie!")});
        QStringList adamski;
        for (auto rs = db().openQuery(
                 QStringLiteral("SELECT id_osoba, ilosc, data FROM ludzie_last WHERE "
                                "miesiac='2024-05' AND CAST(trim(id_osoba) AS INTEGER)=?"),
                 {m_adamski});
             !rs->eof(); rs->moveNext())
            adamski << rs->text("ilosc") + u'|' + rs->text("data");
        QCOMPARE(adamski, QStringList{after});
        // The other people keep theirs; saving again changes nothing.
        QVERIFY(month(QStringLiteral("2024-05"))
                    .contains(row(m_nowak, 3, QStringLiteral("2024-05-20 08:00:00"))));
        const QStringList saved = month(QStringLiteral("2024-05"));
        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonSave"))));
        QCOMPARE(month(QStringLiteral("2024-05")), saved);
    }

    // A save writes only what differs from the stored rows, yet leaves what
    // replacing the group's rows would: one row a shown person with a date or
    // a count above 0, other people's rows and other months untouched.
    void saveOverStoredRows_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("extra"); // May rows: person|count|date
        QTest::addColumn<QString>("edit");      // "count row text" or "date row"
        QTest::addColumn<QStringList>("after"); // person|month|count|date as SQL quotes them
        const QString april = QStringLiteral("%N|2024-04|5|NULL");
        const QString nowak = QStringLiteral("%N|2024-05|3|'2024-05-20 08:00:00'");
        const QString zielinski = QStringLiteral("%Z|2024-05|2|'2023-12-31 20:30:00'");
        const QString gone = QStringLiteral("999|2024-05|1|'2024-05-02 10:00:00'");
        QTest::newRow("a person with two rows")
            << "Alfa" << QStringList{"%N|4|2024-05-25 10:00:00"} << ""
            << QStringList{april, "%N|2024-05|7|'2024-05-20 08:00:00'", zielinski, gone};
        QTest::newRow("a person no longer in the table")
            << "(Wszystkie)" << QStringList() << "" << QStringList{april, nowak, zielinski};
        QTest::newRow("changed only in its date")
            << "Alfa" << QStringList() << "date 2"
            << QStringList{april, "%N|2024-05|3|'2024-05-21 08:00:00'", zielinski, gone};
        QTest::newRow("a count going to 0 without a date")
            << "Alfa" << QStringList{"%A|2|"} << "count 1 0"
            << QStringList{april, nowak, zielinski, gone};
        QTest::newRow("new to the month")
            << "(Wszystkie)" << QStringList() << "count 1 4"
            << QStringList{april, nowak, zielinski, "%A|2024-05|4|NULL"};
    }

    void saveOverStoredRows()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, extra);
        QFETCH(QString, edit);
        QFETCH(QStringList, after);
        auto ids = [this](QString text) {
            return text.replace(QStringLiteral("%A"), QString::number(m_adamski))
                .replace(QStringLiteral("%Z"), QString::number(m_zielinski))
                .replace(QStringLiteral("%N"), QString::number(m_nowak));
        };
        for (const QString &r : std::as_const(extra)) {
            const QStringList f = ids(r).split(u'|');
            addLast(f[0].toLongLong(), QStringLiteral("2024-05"), f[1].toInt(), f[2]);
        }
        // By month, then person, a person's rows in the order every reader takes them.
        for (QString &r : after)
            r = ids(r);
        std::stable_sort(after.begin(), after.end(), [](const QString &a, const QString &b) {
            const QStringList fa = a.split(u'|'), fb = b.split(u'|');
            return std::pair(fa[1], fa[0].toLongLong()) < std::pair(fb[1], fb[0].toLongLong());
        });

        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        chooseGroup(window, group);
        const QStringList e = edit.split(u' ');
        if (e[0] == QLatin1String("count")) {
            typeCount(window, e[1].toInt(), e[2]);
        } else if (e[0] == QLatin1String("date")) {
            QVERIFY(clickCell(window, e[1].toInt(), 1));
            QTest::keyClick(window.dateEditor(), Qt::Key_Up);
        }
        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonSave"))));
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Zapisano pomyślnie!")});
        QCOMPARE(TestSupport::storedCountRows(db()), after);

        // The next window shows what this one stored.
        LastDane next;
        next.show();
        next.setMonth(QDate(2024, 5, 1));
        chooseGroup(next, group);
        for (int c = 1; c <= 2; ++c)
            QCOMPARE(gridColumn(next.lista(), c), gridColumn(window.lista(), c));
    }

    void changedRowsChecked_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("far beyond") << 1500;
        QTest::newRow("just beyond") << 1000;
    }

    // In a row the planner changes, only what was changed is written anew,
    // and a count outside 0..999 is refused before anything is written.
    void changedRowsChecked()
    {
        QFETCH(int, count);
        addLast(m_adamski, QStringLiteral("2024-05"), count, QStringLiteral("2024-05-20 08:00:00"));
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        FlexGrid *grid = window.lista();
        BlueCommand *save = window.findChild<BlueCommand *>(QStringLiteral("ButtonSave"));

        // The date moves a day on; the count stays as stored.
        QVERIFY(clickCell(window, 1, 1));
        QTest::keyClick(window.dateEditor(), Qt::Key_Up);
        QCOMPARE(grid->text(1, 1), QStringLiteral("21/05 08:00"));
        QTest::mouseClick(save, Qt::LeftButton);
        QVERIFY(month(QStringLiteral("2024-05"))
                    .contains(row(m_adamski, count, QStringLiteral("2024-05-21 08:00:00"))));

        // A letter is no count: the cell keeps the stored count, which a save refuses.
        Messages::clearShown();
        // The count column of the row the editors stand on, then a key on the grid.
        grid->setCurrentCell(1, 2);
        QTest::keyClick(grid, Qt::Key_A);
        typeCount(window, 3, QStringLiteral("9"));
        const QStringList stored = month(QStringLiteral("2024-05"));
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(Messages::shown(), QStringList{RangeText + QStringLiteral("\r\nAdamski Piotr")});
        QCOMPARE(month(QStringLiteral("2024-05")), stored);
        QCOMPARE(grid->row(), 1);

        // Closing with Yes keeps the window open, as the edits are not stored.
        Messages::clearShown();
        Messages::setNextAnswer(Answer::Yes);
        window.close();
        QCOMPARE(Messages::shown(),
                 (QStringList{Question, RangeText + QStringLiteral("\r\nAdamski Piotr")}));
        QVERIFY(window.isVisible());
        QCOMPARE(month(QStringLiteral("2024-05")), stored);
        // So does choosing another month: the grid keeps May and its edits.
        Messages::setNextAnswer(Answer::Yes);
        window.setMonth(QDate(2024, 6, 1));
        QCOMPARE(window.loadedMonth(), QDate(2024, 5, 1));
        QCOMPARE(gridColumn(grid, 2), (QStringList{QString::number(count), "3", "9"}));

        // A count in range is stored.
        Messages::clearShown();
        typeCount(window, 1, QStringLiteral("12"));
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Zapisano pomyślnie!")});
        QStringList may{row(m_adamski, 12, QStringLiteral("2024-05-21 08:00:00")),
                        row(m_nowak, 3, QStringLiteral("2024-05-20 08:00:00")),
                        row(m_zielinski, 9, QStringLiteral("2023-12-31 20:30:00"))};
        may.sort();
        QCOMPARE(month(QStringLiteral("2024-05")), may);
    }

    void openedFromThePeopleWindow()
    {
        MasterDataTest::InPlace<Ludzie> people;
        QVERIFY(
            people.findChild<ToolBarN *>()->ListItems()->Item(QStringLiteral("lista"))->Enabled());
        QString caption;
        people.onModal = [&](QDialog &dialog) {
            QVERIFY(qobject_cast<LastDane *>(&dialog));
            caption = dialog.windowTitle();
        };
        QVERIFY(Keyboard::showActive(people));
        QVERIFY(Mouse::clickItem(*people.findChild<ToolBarN *>(), QStringLiteral("lista")));
        QCOMPARE(people.modalCount, 1);
        QCOMPARE(caption, QStringLiteral("Dane zakończonych służb"));
    }

    void deleteMonthAtOnce()
    {
        LastDane window;
        window.show();
        window.setMonth(QDate(2024, 5, 1));
        chooseGroup(window, QStringLiteral("Alfa"));
        // Every group's rows of the month go, without a question; other months stay.
        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonDel"))));
        QVERIFY(Messages::shown().isEmpty());
        QVERIFY(month(QStringLiteral("2024-05")).isEmpty());
        QCOMPARE(month(QStringLiteral("2024-04")).size(), 1);
        QCOMPARE(gridColumn(window.lista(), 2), QStringList({"0", "0"}));

        // Unsaved edits are offered for saving after the delete: Yes writes them back.
        typeCount(window, 2, QStringLiteral("2"));
        Messages::setNextAnswer(Answer::Yes);
        QVERIFY(Mouse::click(*window.findChild<BlueCommand *>(QStringLiteral("ButtonDel"))));
        QCOMPARE(Messages::shown(), QStringList{Question});
        QCOMPARE(month(QStringLiteral("2024-05")), QStringList{row(m_nowak, 2, QString())});
        QCOMPARE(gridColumn(window.lista(), 2), QStringList({"0", "2"}));
    }
};

QTEST_MAIN(TestLastDane)
#include "tst_lastdane.moc"
