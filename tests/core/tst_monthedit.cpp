#include "core/ui/MonthEdit.h"
#include "tests/support/Keyboard.h"
#include "tests/support/TextPlace.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A window holding the picker as a dialog does, with a second control to
// take the focus from it.
struct Window
{
    QWidget top;
    MonthEdit *edit = new MonthEdit(&top);
    QLineEdit *other = new QLineEdit(&top);

    explicit Window(int width)
    {
        auto *layout = new QVBoxLayout(&top);
        layout->addWidget(edit);
        layout->addWidget(other);
        top.resize(width, 120);
    }
};

void clickField(MonthEdit *edit, MonthEdit::Field field)
{
    QLineEdit *line = edit->findChild<QLineEdit *>();
    const qsizetype name = MonthEdit::monthName(edit->date().month()).size();
    const int pos = field == MonthEdit::MonthField ? int(name / 2) : int(name + 2);
    QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, TestSupport::placeOfText(line, pos));
}

QString selected(const MonthEdit *edit)
{
    return edit->findChild<QLineEdit *>()->selectedText();
}

} // namespace

Q_DECLARE_METATYPE(MonthEdit::Field)

class TestMonthEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The nominative, in lower case, whatever the machine's locale.
    void polishMonthNames()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        MonthEdit edit;
        edit.setDate(QDate(2026, 12, 9));
        QCOMPARE(edit.text(), QStringLiteral("grudzień 2026"));
        edit.setDate(QDate(2024, 5, 1));
        QCOMPARE(edit.text(), QStringLiteral("maj 2024"));
        QCOMPARE(MonthEdit::monthText(QDate(1999, 9, 30)), QStringLiteral("wrzesień 1999"));
        QCOMPARE(MonthEdit::monthName(2), QStringLiteral("luty"));
        QLocale::setDefault(before);
    }

    // A click selects the whole field it lands in, the month name or the year.
    void clickSelectsTheField_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("width");
        QTest::addColumn<MonthEdit::Field>("field");
        QTest::addColumn<QString>("selection");
        QTest::newRow("grudzień") << QDate(2026, 12, 1) << 300 << MonthEdit::MonthField
                                  << "grudzień";
        QTest::newRow("its year") << QDate(2026, 12, 1) << 300 << MonthEdit::YearField << "2026";
        QTest::newRow("październik, narrow")
            << QDate(2025, 10, 31) << 0 << MonthEdit::MonthField << QString("październik");
        QTest::newRow("maj") << QDate(2024, 5, 1) << 500 << MonthEdit::MonthField << "maj";
        QTest::newRow("year after maj")
            << QDate(2024, 5, 1) << 500 << MonthEdit::YearField << "2024";
    }

    void clickSelectsTheField()
    {
        QFETCH(QDate, date);
        QFETCH(int, width);
        QFETCH(MonthEdit::Field, field);
        QFETCH(QString, selection);
        Window window(width > 0 ? width : 10);
        window.edit->setDate(date);
        QVERIFY(Keyboard::showActive(window.top));
        window.other->setFocus();
        clickField(window.edit, field);
        QVERIFY(window.edit->hasFocus());
        QCOMPARE(selected(window.edit), selection);
        QCOMPARE(window.edit->currentField(), field);
        // Clicking the other field moves the selection there.
        const MonthEdit::Field other =
            field == MonthEdit::MonthField ? MonthEdit::YearField : MonthEdit::MonthField;
        clickField(window.edit, other);
        QCOMPARE(selected(window.edit), other == MonthEdit::YearField
                                            ? QString::number(date.year())
                                            : MonthEdit::monthName(date.month()));
        QCOMPARE(window.edit->date(), date);
    }

    // Typing into the clicked field: letters and numbers pick a month, digits
    // a year; the day stays, cut to a shorter month.
    void typing_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<MonthEdit::Field>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("selection");
        const QDate december(2026, 12, 15);
        const auto month = MonthEdit::MonthField;
        const auto year = MonthEdit::YearField;
        QTest::newRow("m") << december << month << "m" << QDate(2026, 3, 15) << "marzec";
        QTest::newRow("maj") << december << month << "maj" << QDate(2026, 5, 15) << "maj";
        QTest::newRow("li") << december << month << "li" << QDate(2026, 7, 15) << "lipiec";
        QTest::newRow("lis") << december << month << "lis" << QDate(2026, 11, 15) << "listopad";
        QTest::newRow("capital") << december << month << "K" << QDate(2026, 4, 15) << "kwiecień";
        QTest::newRow("no month") << december << month << "x" << december << "grudzień";
        QTest::newRow("a new start")
            << december << month << "lw" << QDate(2026, 9, 15) << "wrzesień";
        QTest::newRow("1, waits for 0-2")
            << december << month << "1" << QDate(2026, 1, 15) << "styczeń";
        QTest::newRow("11, then the year")
            << december << month << "11" << QDate(2026, 11, 15) << "2026";
        QTest::newRow("3, then the year")
            << december << month << "3" << QDate(2026, 3, 15) << "2026";
        QTest::newRow("15 is 5") << december << month << "15" << QDate(2026, 5, 15) << "2026";
        QTest::newRow("month and year")
            << december << month << "2 2030" << QDate(2030, 2, 15) << "2030";
        QTest::newRow("name, blank, year")
            << december << month << "lut 2028" << QDate(2028, 2, 15) << "2028";
        QTest::newRow("year") << december << year << "2025" << QDate(2025, 12, 15) << "2025";
        QTest::newRow("year twice")
            << december << year << "20252031" << QDate(2031, 12, 15) << "2031";
        QTest::newRow("letters in the year") << december << year << "ab" << december << "2026";
        QTest::newRow("year out of range") << december << year << "1899" << december << "2026";
        QTest::newRow("31 January to February")
            << QDate(2024, 1, 31) << month << "lu" << QDate(2024, 2, 29) << "luty";
        QTest::newRow("29 February, another year")
            << QDate(2024, 2, 29) << year << "2025" << QDate(2025, 2, 28) << "2025";
    }

    void typing()
    {
        QFETCH(QDate, start);
        QFETCH(MonthEdit::Field, field);
        QFETCH(QString, keys);
        QFETCH(QDate, date);
        QFETCH(QString, selection);
        Window window(300);
        window.edit->setDate(start);
        QVERIFY(Keyboard::showActive(window.top));
        QSignalSpy changed(window.edit, &MonthEdit::dateChanged);
        clickField(window.edit, field);
        Keyboard::type(keys);
        QCOMPARE(window.edit->date(), date);
        QCOMPARE(window.edit->text(), MonthEdit::monthText(date));
        QCOMPARE(selected(window.edit), selection);
        QCOMPARE(changed.isEmpty(), date == start);
        if (!changed.isEmpty())
            QCOMPARE(changed.last().first().toDate(), date);
    }

    // A year begun is taken at Enter or when the focus leaves; one out of
    // range is dropped; Backspace takes back a digit.
    void partYear_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("leave"); // Tab to the other box, else Enter
        QTest::addColumn<int>("year");
        QTest::newRow("Enter") << "203" << false << 2026;
        QTest::newRow("Tab") << "203" << true << 2026;
        QTest::newRow("Backspace") << "2031\b" << false << 2031;
        QTest::newRow("Backspace, Enter") << "203\b9" << false << 2026;
    }

    void partYear()
    {
        QFETCH(QString, keys);
        QFETCH(bool, leave);
        QFETCH(int, year);
        Window window(300);
        window.edit->setDate(QDate(2026, 12, 1));
        QVERIFY(Keyboard::showActive(window.top));
        clickField(window.edit, MonthEdit::YearField);
        for (const QChar c : keys) {
            if (c == u'\b')
                Keyboard::press(Qt::Key_Backspace);
            else
                Keyboard::type(QString(c));
        }
        if (keys.startsWith(QStringLiteral("203")) && keys.size() == 3)
            QCOMPARE(window.edit->text(), QStringLiteral("grudzień 203"));
        if (leave)
            Keyboard::press(Qt::Key_Tab);
        else
            Keyboard::press(Qt::Key_Return);
        QCOMPARE(window.edit->date().year(), year);
        QCOMPARE(window.edit->text(), QStringLiteral("grudzień %1").arg(year));
        QCOMPARE(window.other->hasFocus(), leave);
    }

    // Arrow keys, the wheel and the box's arrows step the current field;
    // Left and Right choose it, the Tab keys come in on the first or last.
    void stepping()
    {
        Window window(300);
        window.edit->setDate(QDate(2026, 12, 31));
        QVERIFY(Keyboard::showActive(window.top));
        window.other->setFocus();
        Keyboard::press(Qt::Key_Tab);
        QVERIFY(window.edit->hasFocus());
        QCOMPARE(selected(window.edit), QStringLiteral("grudzień"));
        Keyboard::press(Qt::Key_Up);
        QCOMPARE(window.edit->date(), QDate(2027, 1, 31));
        QCOMPARE(selected(window.edit), QStringLiteral("styczeń"));
        Keyboard::press(Qt::Key_Up);
        QCOMPARE(window.edit->date(), QDate(2027, 2, 28));
        Keyboard::press(Qt::Key_Right);
        QCOMPARE(selected(window.edit), QStringLiteral("2027"));
        Keyboard::press(Qt::Key_Down);
        QCOMPARE(window.edit->date(), QDate(2026, 2, 28));
        QCOMPARE(selected(window.edit), QStringLiteral("2026"));
        Keyboard::press(Qt::Key_Left);
        Keyboard::press(Qt::Key_PageUp);
        QCOMPARE(window.edit->date(), QDate(2027, 2, 28));
        QCOMPARE(selected(window.edit), QStringLiteral("luty"));

        // The wheel over the box, and the box's own up arrow.
        QWheelEvent wheel(QPointF(10, 10), window.edit->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.edit, &wheel);
        QCOMPARE(window.edit->date(), QDate(2027, 1, 28));
        QStyleOptionSpinBox option;
        option.initFrom(window.edit);
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        const QRect up = window.edit->style()->subControlRect(QStyle::CC_SpinBox, &option,
                                                              QStyle::SC_SpinBoxUp, window.edit);
        QTest::mouseClick(window.edit, Qt::LeftButton, Qt::NoModifier, up.center());
        QCOMPARE(window.edit->date(), QDate(2027, 2, 28));

        // Shift+Tab comes in on the year.
        window.other->setFocus();
        QTest::keyClick(window.other, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(window.edit->hasFocus());
        QCOMPARE(selected(window.edit), QStringLiteral("2027"));
    }

    // The ends of the range: no step beyond them.
    void range()
    {
        Window window(300);
        QVERIFY(Keyboard::showActive(window.top));
        window.edit->setDate(QDate(9999, 12, 5));
        window.edit->setFocus();
        Keyboard::press(Qt::Key_Up);
        QCOMPARE(window.edit->date(), QDate(9999, 12, 5));
        window.edit->setDate(QDate(1900, 1, 5));
        Keyboard::press(Qt::Key_Down);
        QCOMPARE(window.edit->date(), QDate(1900, 1, 5));
        window.edit->setDate(QDate(1800, 1, 5));
        QCOMPARE(window.edit->date(), QDate(1900, 1, 1));
        window.edit->setDate(QDate());
        QCOMPARE(window.edit->date(), QDate(1900, 1, 1));
    }
};

QTEST_MAIN(TestMonthEdit)
#include "tst_monthedit.moc"
