#include "MasterDataFixture.h"
#include "masterdata/Copy.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/Sluzby_item.h"
#include "masterdata/Zwolnienia_item.h"
#include "tests/support/Keyboard.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>

// An editor that has just opened takes what the planner types in its first
// field, and Tab walks the fields in the order they are drawn.
class TestTyping : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
    }

    void cleanup() { closeDatabase(); }

    void personEditor()
    {
        Ludzie_item editor;
        editor.SetNew(1);
        QVERIFY(Keyboard::showActive(editor));
        Keyboard::type(QStringLiteral("Żółkiewski"));
        Keyboard::press(Qt::Key_Tab);
        Keyboard::type(QStringLiteral("Stanisław"));
        QCOMPARE(MasterDataTest::field<QLineEdit>(editor, "txt0")->text(),
                 QStringLiteral("Żółkiewski"));
        QCOMPARE(MasterDataTest::field<QLineEdit>(editor, "txt1")->text(),
                 QStringLiteral("Stanisław"));
    }

    void dutyEditor()
    {
        Sluzby_item editor;
        editor.SetNew();
        QVERIFY(Keyboard::showActive(editor));
        Keyboard::type(QStringLiteral("Warta"));
        // The start time is drawn right below the name.
        Keyboard::press(Qt::Key_Tab);
        Keyboard::type(QStringLiteral("0730"));
        Keyboard::press(Qt::Key_Tab);
        Keyboard::type(QStringLiteral("8"));
        QCOMPARE(MasterDataTest::field<QLineEdit>(editor, "txt0")->text(), QStringLiteral("Warta"));
        QCOMPARE(MasterDataTest::field<QTimeEdit>(editor, "poleData")->time(), QTime(7, 30));
        QCOMPARE(MasterDataTest::field<QLineEdit>(editor, "txt1")->text(), QStringLiteral("8"));
    }

    void absenceEditor()
    {
        Zwolnienia_item editor;
        editor.setPeriod(QDate(2024, 5, 10), QDate(2024, 5, 20));
        QVERIFY(Keyboard::showActive(editor));
        Keyboard::press(Qt::Key_Up);
        QCOMPARE(MasterDataTest::field<QDateEdit>(editor, "poleData0")->date(), QDate(2024, 5, 11));
    }

    void monthCopy()
    {
        Copy window;
        window.setMonths(QDate(2024, 5, 1), QDate(2024, 6, 1));
        QVERIFY(Keyboard::showActive(window));
        Keyboard::press(Qt::Key_Down);
        QCOMPARE(window.sourceMonth(), QDate(2024, 4, 1));
    }
};

QTEST_MAIN(TestTyping)
#include "tst_typing.moc"
