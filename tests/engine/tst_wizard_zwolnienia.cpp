#include "engine/ui/Wizard_zwolnienia.h"
#include "masterdata/SelectItem.h"
#include "tests/support/Keyboard.h"

#include <QTest>

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
    SelectItem picker;
    Wizard_zwolnienia window;
    window.setMyClass(&picker);
    window.show();
    QVERIFY(window.ButtonOK()->isVisible());
    window.Combo1()->setCurrentIndex(first);
    window.Combo2()->setCurrentIndex(last);
    QTest::mouseClick(window.ButtonOK(), Qt::LeftButton);
    QCOMPARE(picker.Result(), result);
    QVERIFY(!window.isVisible());
}

void TestWizardZwolnienia::closeAnswersNothing()
{
    SelectItem picker;
    Wizard_zwolnienia window;
    window.setMyClass(&picker);
    window.show();
    window.Combo1()->setCurrentIndex(5);
    QTest::mouseClick(window.ButtonClose(), Qt::LeftButton);
    QCOMPARE(picker.Result(), QString());
    QVERIFY(!window.isVisible());
}

// Opened, the days are typed at once, Tab goes to the last day, Enter answers.
void TestWizardZwolnienia::byKeyboard()
{
    SelectItem picker;
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
