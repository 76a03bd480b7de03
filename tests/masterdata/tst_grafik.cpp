#include "MasterDataFixture.h"
#include "controls/ToolBarN.h"
#include "core/ui/FlexGrid.h"
#include "masterdata/Copy.h"
#include "masterdata/Grafik.h"
#include "masterdata/Sluzby.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TextPlace.h"

#include <QAbstractSpinBox>
#include <QLineEdit>

namespace {

using Messages::Answer;

const QString Question = QStringLiteral("Czy chcesz zapisać zamiany?");
const QString RangeText =
    QStringLiteral("Błędne dane numeryczne! Ilość osób musi być liczbą całkowitą od 0 do 999.");

// The calendar with the copy window answered in place.
class TestGrafikWindow : public Grafik
{
public:
    int copyRodzaj = -1;
    QDate copySource, copyTarget;

protected:
    int showModal(QDialog &dialog) override
    {
        auto &copy = static_cast<Copy &>(dialog);
        copyRodzaj = copy.Rodzaj();
        copySource = copy.sourceMonth();
        copyTarget = copy.targetMonth();
        return QDialog::Rejected;
    }
};

} // namespace

class TestGrafik : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    qint64 m_warta = 0;  // standard 2, column 1
    qint64 m_dyzur = 0;  // standard 1, column 2
    qint64 m_patrol = 0; // no standard, column 3

    qint64 addDuty(const QString &name, const QVariant &ilosc)
    {
        return TestSupport::insert(
            db(),
            QStringLiteral(
                "INSERT INTO sluzby (nazwa, od, okres, ilosc_std) VALUES (?, '08:00', 24, ?)"),
            {name, ilosc});
    }
    void addCount(qint64 duty, const QString &day, int ilosc)
    {
        QVERIFY(db().execute(
            QStringLiteral("INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES (?, ?, ?)"),
            {QString::number(duty), day, ilosc}));
    }
    // "duty|day|count" of every stored row, sorted.
    QStringList stored()
    {
        QStringList rows;
        for (auto rs = db().openQuery(QStringLiteral("SELECT * FROM sluzby_ilosc")); !rs->eof();
             rs->moveNext())
            rows << rs->text(QStringLiteral("id_sluzba")) + u'|' +
                        rs->text(QStringLiteral("data")) + u'|' + rs->text(QStringLiteral("ilosc"));
        rows.sort();
        return rows;
    }
    QString row(qint64 duty, const QString &day, int ilosc) const
    {
        return QStringLiteral("%1|%2|%3").arg(duty).arg(day).arg(ilosc);
    }
    // Clicks the cell, types the count and Enter, as the planner does.
    static void edit(Grafik &window, int r, int c, const QString &text)
    {
        QVERIFY(window.isActiveWindow() || Keyboard::showActive(window));
        QVERIFY(Mouse::clickCell(*window.lista(), r, c));
        Keyboard::type(text);
        QVERIFY(!window.editor()->isHidden());
        QCOMPARE(window.editor()->text(), text);
        Keyboard::press(Qt::Key_Return);
        QVERIFY(window.editor()->isHidden());
    }
    static bool clickItem(QWidget &window, const QString &key)
    {
        return Mouse::clickItem(*window.findChild<ToolBarN *>(), key);
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        m_warta = addDuty(QStringLiteral("Warta"), 2);
        m_dyzur = addDuty(QStringLiteral("Dyżur"), 1);
        m_patrol = addDuty(QStringLiteral("Patrol"), QVariant());
    }

    void cleanup() { closeDatabase(); }

    void headCountsPerDay()
    {
        addCount(m_warta, QStringLiteral("2024-05-03"), 5); // the first: the generation's
        addCount(m_warta, QStringLiteral("2024-05-03"), 4);
        addCount(m_warta, QStringLiteral("2024-05-20"), 2); // equals the standard
        addCount(m_dyzur, QStringLiteral("2024-06-03"), 3); // another month
        addCount(999, QStringLiteral("2024-05-07"), 6);     // a duty deleted since

        Grafik window;
        window.setMonth(QDate(2024, 5, 17));
        QVERIFY(Keyboard::showActive(window));
        FlexGrid *grid = window.lista();
        QCOMPARE(grid->rows(), 32);
        QCOMPARE(grid->cols(), 4);
        QCOMPARE(grid->text(0, 0), QStringLiteral("Dzień"));
        QCOMPARE(grid->text(0, 2), QStringLiteral("Dyżur"));
        QCOMPARE(grid->text(31, 0), QStringLiteral("31"));
        QCOMPARE(grid->cellBackColor(4, 0), Grafik::weekendColor()); // Saturday 4 May
        QVERIFY(!grid->cellBackColor(6, 0).isValid());
        QCOMPARE(grid->text(3, 1), QStringLiteral("5"));
        QCOMPARE(grid->cellBackColor(3, 1), Grafik::changedColor());
        QCOMPARE(grid->cellBackColor(20, 1), Grafik::changedColor());
        QCOMPARE(grid->text(1, 1), QStringLiteral("2"));
        QVERIFY(!grid->cellBackColor(1, 1).isValid());
        QCOMPARE(grid->text(3, 2), QStringLiteral("1"));
        QCOMPARE(grid->text(3, 3), QString());

        edit(window, 10, 1, QStringLiteral("7"));
        edit(window, 12, 1, QStringLiteral("02")); // differs as text from "2"
        edit(window, 5, 2, QStringLiteral("1"));   // back to the standard
        edit(window, 8, 3, QStringLiteral("3"));
        QCOMPARE(grid->cellBackColor(12, 1), Grafik::changedColor());
        QVERIFY(!grid->cellBackColor(5, 2).isValid());
        QVERIFY(window.isChanged());
        QVERIFY(window.SaveGrid());
        QVERIFY(!window.isChanged());

        // One row per differing day; the standard, the duplicate and the deleted duty's row are
        // gone.
        QCOMPARE(stored(),
                 QStringList({row(m_warta, "2024-05-03", 5), row(m_warta, "2024-05-10", 7),
                              row(m_warta, "2024-05-12", 2), row(m_dyzur, "2024-06-03", 3),
                              row(m_patrol, "2024-05-08", 3)}));

        Grafik again;
        again.setMonth(QDate(2024, 5, 1));
        QCOMPARE(again.lista()->text(10, 1), QStringLiteral("7"));
        QCOMPARE(again.lista()->text(8, 3), QStringLiteral("3"));
        QVERIFY(!again.lista()->cellBackColor(20, 1).isValid());
        // February of a leap year; an unchanged month stores nothing.
        again.setMonth(QDate(2024, 2, 1));
        QCOMPARE(again.lista()->rows(), 30);
        QVERIFY(again.SaveGrid());
        QCOMPARE(stored().size(), 5);
        QVERIFY(Messages::shown().isEmpty());
    }

    void commitEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("green");
        QTest::addColumn<bool>("refused");
        QTest::newRow("new count") << "5"
                                   << "5" << true << false;
        QTest::newRow("standard") << "2"
                                  << "2" << false << false;
        QTest::newRow("zero") << "0"
                              << "0" << true << false;
        QTest::newRow("not a number") << "abc"
                                      << "2" << false << false;
        QTest::newRow("empty") << ""
                               << "2" << false << false;
        QTest::newRow("largest") << "999"
                                 << "999" << true << false;
        QTest::newRow("too large") << "1000"
                                   << "2" << false << true;
        QTest::newRow("negative") << "-1"
                                  << "2" << false << true;
        QTest::newRow("fraction") << "1,5"
                                  << "2" << false << true;
        QTest::newRow("exponent") << "1e3"
                                  << "2" << false << true;
    }

    void commitEdit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QFETCH(bool, green);
        QFETCH(bool, refused);
        Grafik window;
        window.lista()->setCurrentCell(6, 1);
        window.StartEdit(QString());
        QCOMPARE(window.editor()->text(), QStringLiteral("2"));
        window.editor()->setText(typed);
        QTest::keyClick(window.editor(), Qt::Key_Return);
        QVERIFY(window.editor()->isHidden());
        QCOMPARE(window.lista()->text(6, 1), cell);
        QCOMPARE(window.lista()->cellBackColor(6, 1) == Grafik::changedColor(), green);
        QCOMPARE(Messages::shown(), refused ? QStringList{RangeText} : QStringList());
        QVERIFY(window.isChanged());
    }

    // A duty's name cut in the header shows whole as the cell's tooltip;
    // names and counts that fit show none.
    void cutHeaderShowsWhole()
    {
        const QString name = QStringLiteral("Służba dyżurnego podoficera kompanii w dni wolne");
        addDuty(name, 2);
        Grafik window;
        QVERIFY(Keyboard::showActive(window));
        FlexGrid *grid = window.lista();
        QCOMPARE(grid->text(0, 4), name);
        const auto tip = [grid](int row, int col) {
            return MasterDataTest::tooltipAt(grid->viewport(),
                                             grid->layout().cellRect(row, col).center());
        };
        QCOMPARE(tip(0, 4), name);
        QCOMPARE(tip(0, 1), QString()); // "Warta"
        QCOMPARE(tip(3, 4), QString());
        QCOMPARE(tip(3, 0), QString());
    }

    void keysAndLeavingCells()
    {
        Grafik window;
        QVERIFY(Keyboard::showActive(window));
        FlexGrid *grid = window.lista();
        QVERIFY(Mouse::clickCell(*grid, 2, 1));
        // A digit starts a new value; moving off the cell commits it.
        QTest::keyClick(grid, Qt::Key_4);
        QVERIFY(!window.editor()->isHidden());
        QCOMPARE(window.editor()->text(), QStringLiteral("4"));
        QTest::keyClick(window.editor(), Qt::Key_2);
        QVERIFY(Mouse::clickCell(*grid, 3, 1));
        QVERIFY(window.editor()->isHidden());
        QCOMPARE(grid->text(2, 1), QStringLiteral("42"));
        // Space opens the cell's own text.
        QTest::keyClick(grid, Qt::Key_Space);
        QCOMPARE(window.editor()->text(), QStringLiteral("2"));
        QTest::keyClick(window.editor(), Qt::Key_Return);

        // Leaving an empty cell (a duty without a standard) fills in 1.
        QVERIFY(Mouse::clickCell(*grid, 4, 3));
        QVERIFY(Mouse::clickCell(*grid, 5, 3));
        QCOMPARE(grid->text(4, 3), QStringLiteral("1"));
        QVERIFY(!grid->cellBackColor(4, 3).isValid());
        QCOMPARE(grid->text(6, 3), QString());

        // "Domyślny" puts the standards back, stores nothing.
        QVERIFY(clickItem(window, QStringLiteral("default")));
        QCOMPARE(grid->text(2, 1), QStringLiteral("2"));
        QCOMPARE(grid->text(4, 3), QString());
        QVERIFY(stored().isEmpty());

        // "Kopiuj" hands over the kind, the shown month and the month after it.
        TestGrafikWindow calendar;
        calendar.setRodzaj(1);
        calendar.setMonth(QDate(2024, 12, 9));
        QVERIFY(Keyboard::showActive(calendar));
        QVERIFY(clickItem(calendar, QStringLiteral("copy")));
        QCOMPARE(calendar.copyRodzaj, 1);
        QCOMPARE(calendar.copySource, QDate(2024, 12, 1));
        QCOMPARE(calendar.copyTarget, QDate(2025, 1, 1));
    }

    // The calendar has no cancel button: Escape closes nothing, also not
    // from the cell editor, and asks nothing.
    void escapeKeepsTheCalendarOpen()
    {
        Grafik window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(window.lista(), Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QVERIFY(Mouse::clickCell(*window.lista(), 2, 1));
        QTest::keyClick(window.lista(), Qt::Key_4);
        QTest::keyClick(window.editor(), Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QVERIFY(Messages::shown().isEmpty());
    }

    // The calendar reads, stores and deletes the rows the generation reads:
    // a day in either stored form, the first row of a duty and day.
    void storedFormsAsTheGenerationReadsThem()
    {
        addCount(m_warta, QStringLiteral("05.12.2026"), 9);
        addCount(m_warta, QStringLiteral("2026-12-05"), 4); // second of the day: not read
        addCount(m_dyzur, QStringLiteral("2026-12-07 00:00:00"), 3);
        addCount(m_dyzur, QStringLiteral("31.12.2026"), 6);
        addCount(m_patrol, QStringLiteral("12.2026"), 5);          // no day: nobody reads it
        addCount(m_patrol, QStringLiteral("2026-12-08 25:00"), 5); // no such hour
        addCount(m_warta, QStringLiteral("05.11.2026"), 8);        // November
        addCount(m_dyzur, QStringLiteral(" 01.01.2027 "), 2);      // January
        QVERIFY(db().execute(QStringLiteral("INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) "
                                            "VALUES (?, '2026-12-09', 7)"),
                             {QStringLiteral(" %1").arg(m_warta)})); // the id with a blank

        Grafik window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setMonth(QDate(2026, 12, 1));
        FlexGrid *grid = window.lista();
        const QStringList warta = {grid->text(5, 1), grid->text(9, 1), grid->text(6, 1)};
        QCOMPARE(warta, QStringList({"9", "7", "2"}));
        QCOMPARE(grid->cellBackColor(5, 1), Grafik::changedColor());
        QCOMPARE(grid->text(7, 2), QStringLiteral("3"));
        QCOMPARE(grid->text(31, 2), QStringLiteral("6"));
        QCOMPARE(grid->text(8, 3), QString());

        // "Zapisz" leaves one row a day, in the fixed form, and what nobody reads as it was.
        QVERIFY(Mouse::clickItem(*window.findChild<ToolBarN *>(), QStringLiteral("save")));
        QVERIFY(Messages::shown().isEmpty());
        QStringList rows{row(m_warta, "05.11.2026", 8), row(m_warta, "2026-12-05", 9),
                         row(m_warta, "2026-12-09", 7), row(m_dyzur, " 01.01.2027 ", 2),
                         row(m_dyzur, "2026-12-07", 3), row(m_dyzur, "2026-12-31", 6),
                         row(m_patrol, "12.2026", 5),   row(m_patrol, "2026-12-08 25:00", 5)};
        rows.sort();
        QCOMPARE(stored(), rows);
    }

    // The month is chosen in its picker: a click selects the month name (the
    // year), typing there shows another month at once.
    void monthChosenInThePicker()
    {
        Grafik window;
        window.setMonth(QDate(2024, 5, 1));
        QVERIFY(Keyboard::showActive(window));
        auto *line = window.findChild<QAbstractSpinBox *>(QStringLiteral("poleData"))
                         ->findChild<QLineEdit *>();
        QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, TestSupport::placeOfText(line, 1));
        QCOMPARE(line->selectedText(), QStringLiteral("maj"));
        Keyboard::type(QStringLiteral("lu"));
        QCOMPARE(window.month(), QDate(2024, 2, 1));
        QCOMPARE(window.lista()->rows(), 30);
        QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, TestSupport::placeOfText(line, 6));
        QCOMPARE(line->selectedText(), QStringLiteral("2024"));
        Keyboard::type(QStringLiteral("2025"));
        QCOMPARE(window.month(), QDate(2025, 2, 1));
        QCOMPARE(window.lista()->rows(), 29);
        QVERIFY(Messages::shown().isEmpty());
    }

    void openedFromTheDutiesWindow()
    {
        MasterDataTest::InPlace<Sluzby> duties;
        QVERIFY(
            duties.findChild<ToolBarN *>()->ListItems()->Item(QStringLiteral("grafik"))->Enabled());
        QString caption;
        int rodzaj = 0;
        duties.onModal = [&](QDialog &dialog) {
            auto *calendar = qobject_cast<Grafik *>(&dialog);
            QVERIFY(calendar);
            caption = calendar->windowTitle();
            rodzaj = calendar->Rodzaj();
            QCOMPARE(calendar->lista()->text(0, 1), QStringLiteral("Warta"));
        };
        QVERIFY(Keyboard::showActive(duties));
        QVERIFY(clickItem(duties, QStringLiteral("grafik")));
        QCOMPARE(duties.modalCount, 1);
        QCOMPARE(caption, QStringLiteral("Grafik wymaganej ilości osób na danej służbie"));
        QCOMPARE(rodzaj, 1);
    }

    void unsavedEditsQuestion_data()
    {
        QTest::addColumn<bool>("closing");
        QTest::addColumn<Messages::Answer>("answer");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<bool>("saved");
        QTest::newRow("close, yes") << true << Answer::Yes << false << true;
        QTest::newRow("close, no") << true << Answer::No << false << false;
        QTest::newRow("close, cancel") << true << Answer::Cancel << true << false;
        QTest::newRow("other month, yes") << false << Answer::Yes << true << true;
        QTest::newRow("other month, no") << false << Answer::No << true << false;
    }

    void unsavedEditsQuestion()
    {
        QFETCH(bool, closing);
        QFETCH(Messages::Answer, answer);
        QFETCH(bool, stays);
        QFETCH(bool, saved);
        Grafik window;
        window.setMonth(QDate(2024, 3, 1));
        window.show();
        edit(window, 1, 2, QStringLiteral("9"));
        Messages::setNextAnswer(answer);
        if (closing)
            window.close();
        else
            window.setMonth(QDate(2024, 4, 1));
        QCOMPARE(Messages::shown(), QStringList{Question});
        QCOMPARE(window.isVisible(), stays);
        QCOMPARE(stored(), saved ? QStringList{row(m_dyzur, "2024-03-01", 9)} : QStringList());
        if (!closing)
            QCOMPARE(window.lista()->text(1, 2), QStringLiteral("1")); // April shown

        // Nothing left unsaved: no question.
        Messages::clearShown();
        if (stays && closing)
            QVERIFY(window.SaveGrid());
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(Messages::shown().isEmpty());
    }
};

QTEST_MAIN(TestGrafik)
#include "tst_grafik.moc"
