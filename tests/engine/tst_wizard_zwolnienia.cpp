#include "controls/BlueCommand.h"
#include "core/ui/PickReceiver.h"
#include "engine/ui/Wizard_zwolnienia.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"

#include <QComboBox>
#include <QTest>

namespace {

// Stands for the picker that opens the window.
class Picker : public PickReceiver
{
public:
    QString result;
    void setResult(const QString &text) override { result = text; }
    QString Result() const { return result; }
};

} // namespace

class TestWizardZwolnienia : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offersEveryDay();
    void answers_data();
    void answers();
    void closeAnswersNothing();
    void byKeyboard();
};

void TestWizardZwolnienia::offersEveryDay()
{
    Wizard_zwolnienia window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Kreator ustawień - zwolnienia"));
    for (QComboBox *combo : {window.Combo1(), window.Combo2()}) {
        QCOMPARE(combo->count(), 31);
        QCOMPARE(combo->itemText(0), QStringLiteral("1"));
        QCOMPARE(combo->itemText(30), QStringLiteral("31"));
        QCOMPARE(combo->currentText(), QStringLiteral("1"));
    }
}

void TestWizardZwolnienia::answers_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("result");
    QTest::newRow("at once") << 0 << 0 << QStringLiteral("1;1");
    QTest::newRow("range") << 2 << 11 << QStringLiteral("3;12");
    QTest::newRow("reversed") << 19 << 4 << QStringLiteral("20;5");
    QTest::newRow("month end") << 28 << 30 << QStringLiteral("29;31");
}

void TestWizardZwolnienia::answers()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, result);
    Picker picker;
    Wizard_zwolnienia window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    QVERIFY(window.ButtonOK()->isVisible());
    window.Combo1()->setCurrentIndex(first);
    window.Combo2()->setCurrentIndex(last);
    QVERIFY(Mouse::click(*window.ButtonOK()));
    QCOMPARE(picker.Result(), result);
    QVERIFY(!window.isVisible());
}

void TestWizardZwolnienia::closeAnswersNothing()
{
    Picker picker;
    Wizard_zwolnienia window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    window.Combo1()->setCurrentIndex(5);
    QVERIFY(Mouse::click(*window.ButtonClose()));
    QCOMPARE(picker.Result(), QString());
    QVERIFY(!window.isVisible());
}

// Opened, the days are typed at once, Tab goes to the last day, Enter answers.
void TestWizardZwolnienia::byKeyboard()
{
    Picker picker;
    Wizard_zwolnienia window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    Keyboard::type(QStringLiteral("5"));
    Keyboard::press(Qt::Key_Tab);
    Keyboard::type(QStringLiteral("7"));
    Keyboard::press(Qt::Key_Return);
    QCOMPARE(picker.Result(), QStringLiteral("5;7"));
}

QTEST_MAIN(TestWizardZwolnienia)
#include "tst_wizard_zwolnienia.moc"
