#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "masterdata/Grupy.h"
#include "masterdata/Ludzie.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Sluzby.h"
#include "platform/db/Database.h"
#include "tests/support/Modal.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

using TestSupport::insert;

class TestSelectItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void groupsComeBackJoinedByNul();
    void dayRangeWindowAnswersThePicker();
    void closingLeavesResultEmpty();
    void peopleAndDutiesWindowsAnswer();
    void unknownKindOpensNothing();

private:
    std::unique_ptr<TestSupport::TestDatabase> m_db;
    qint64 m_alfa = 0;
    qint64 m_beta = 0;
};

void TestSelectItem::init()
{
    m_db = std::make_unique<TestSupport::TestDatabase>();
    QVERIFY2(m_db->isValid(), qPrintable(m_db->errorString()));
    Globals::setDatabase(m_db->take());
    const QString group = QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)");
    m_beta = insert(*Globals::database(), group, {QStringLiteral("Beta")});
    m_alfa = insert(*Globals::database(), group, {QStringLiteral("Alfa")});
}

void TestSelectItem::cleanup()
{
    Globals::closeDatabase();
    m_db.reset();
}

void TestSelectItem::groupsComeBackJoinedByNul()
{
    SelectItem picker;
    QCOMPARE(picker.Rodzaj(), 0);
    picker.setRodzaj(SelectItem::Groups);
    Modal::answerNext<Grupy>([](Grupy &window) {
        QVERIFY(window.ButtonOK()->isVisible());
        QVERIFY(Mouse::clickRow(*window.lTasks(), 0));
        QVERIFY(Mouse::clickRow(*window.lTasks(), 1, Qt::ShiftModifier));
        QVERIFY(Mouse::click(*window.ButtonOK()));
    });
    picker.Show();
    QCOMPARE(picker.Result(), QString::number(m_beta) + QStringLiteral(";Beta") + QChar(u'\0') +
                                  QString::number(m_alfa) + QStringLiteral(";Alfa"));
    const QStringList entries = picker.Result().split(SelectItem::Separator);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(1).section(QLatin1Char(';'), 0, 0).toLongLong(), m_alfa);
}

// The day-range window comes from the rule wizard: Show hands it the picker
// with an empty answer and returns what it wrote.
void TestSelectItem::dayRangeWindowAnswersThePicker()
{
    SelectItem picker;
    picker.setRodzaj(SelectItem::DayRange);
    picker.setResult(QStringLiteral("stale"));
    // Without the window nothing opens and nothing is answered.
    picker.Show();
    QCOMPARE(picker.Result(), QString());

    int opened = 0;
    picker.setDayRangeWindow([&](SelectItem &receiver) {
        ++opened;
        QCOMPARE(&receiver, &picker);
        QCOMPARE(receiver.Result(), QString());
        receiver.setResult(QStringLiteral("20;5"));
    });
    picker.setResult(QStringLiteral("stale"));
    picker.Show();
    QCOMPARE(opened, 1);
    QCOMPARE(picker.Result(), QStringLiteral("20;5"));

    // A second Show starts from an empty answer.
    picker.setDayRangeWindow([&](SelectItem &) { ++opened; });
    picker.Show();
    QCOMPARE(opened, 2);
    QCOMPARE(picker.Result(), QString());
}

void TestSelectItem::closingLeavesResultEmpty()
{
    SelectItem picker;
    picker.setResult(QStringLiteral("stale"));
    picker.setRodzaj(SelectItem::Groups);
    Modal::answerNext<Grupy>([](Grupy &window) { QVERIFY(Mouse::click(*window.ButtonClose())); });
    picker.Show();
    QCOMPARE(picker.Result(), QString());

    Modal::answerNext<Grupy>([](Grupy &window) { window.close(); });
    picker.Show();
    QCOMPARE(picker.Result(), QString());
}

void TestSelectItem::peopleAndDutiesWindowsAnswer()
{
    Db::Database &db = *Globals::database();
    const qint64 person = insert(
        db,
        QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, random) VALUES (?, ?, ?, 1)"),
        {QString::number(m_alfa), QStringLiteral("Kowalski"), QStringLiteral("Jan")});
    const qint64 duty =
        insert(db,
               QStringLiteral(
                   "INSERT INTO sluzby (nazwa, od, okres, ilosc_std) VALUES (?, '08:00', 24, 1)"),
               {QStringLiteral("Dyżur")});

    const auto chooseFirstRow = [](auto &window) {
        QVERIFY(window.MyClass());
        QVERIFY(Mouse::clickRow(*window.lista(), window.lista()->topLevelItem(0)));
        QVERIFY(
            Mouse::click(*window.template findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
    };
    SelectItem picker;
    picker.setRodzaj(SelectItem::People);
    Modal::answerNext<Ludzie>(chooseFirstRow);
    picker.Show();
    QCOMPARE(picker.Result(), QString::number(person) + QStringLiteral(";Kowalski Jan"));

    picker.setRodzaj(SelectItem::Duties);
    Modal::answerNext<Sluzby>(chooseFirstRow);
    picker.Show();
    QCOMPARE(picker.Result(), QString::number(duty) + QStringLiteral(";Dyżur"));
}

void TestSelectItem::unknownKindOpensNothing()
{
    SelectItem picker;
    picker.setResult(QStringLiteral("stale"));
    picker.setRodzaj(7);
    picker.Show();
    QCOMPARE(picker.Result(), QString());
}

QTEST_MAIN(TestSelectItem)
#include "tst_selectitem.moc"
