#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "engine/ui/Wizard_zwolnienia.h"
#include "masterdata/Grupy.h"
#include "masterdata/Ludzie.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Sluzby.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

// Acts on the modal window Show() opens, once it is up.
template <typename Window> void whenShown(std::function<void(Window *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *window = dynamic_cast<Window *>(QApplication::activeModalWidget());
        QVERIFY(window);
        act(window);
    });
}

} // namespace

class TestSelectItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void groupsComeBackJoinedByNul();
    void dayRangeIsNotCompared();
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
    Globals::database()->execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
                                 {QStringLiteral("Beta")});
    m_beta = Globals::database()->lastInsertId();
    Globals::database()->execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
                                 {QStringLiteral("Alfa")});
    m_alfa = Globals::database()->lastInsertId();
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
    whenShown<Grupy>([](Grupy *window) {
        QVERIFY(window->ButtonOK()->isVisible());
        window->lTasks()->selectAll();
        Q_EMIT window->ButtonOK()->Click();
    });
    picker.Show();
    QCOMPARE(picker.Result(), QString::number(m_beta) + QStringLiteral(";Beta") + QChar(u'\0') +
                                  QString::number(m_alfa) + QStringLiteral(";Alfa"));
    const QStringList entries = picker.Result().split(SelectItem::Separator);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(1).section(QLatin1Char(';'), 0, 0).toLongLong(), m_alfa);
}

void TestSelectItem::dayRangeIsNotCompared()
{
    SelectItem picker;
    picker.setRodzaj(SelectItem::DayRange);
    whenShown<Wizard_zwolnienia>([](Wizard_zwolnienia *window) {
        window->Combo1()->setCurrentText(QStringLiteral("20"));
        window->Combo2()->setCurrentText(QStringLiteral("5"));
        Q_EMIT window->ButtonOK()->Click();
    });
    picker.Show();
    QCOMPARE(picker.Result(), QStringLiteral("20;5"));
}

void TestSelectItem::closingLeavesResultEmpty()
{
    SelectItem picker;
    picker.setRodzaj(SelectItem::DayRange);
    whenShown<Wizard_zwolnienia>(
        [](Wizard_zwolnienia *window) { Q_EMIT window->ButtonOK()->Click(); });
    picker.Show();
    QCOMPARE(picker.Result(), QStringLiteral("1;1"));

    // A second Show starts from an empty answer.
    whenShown<Wizard_zwolnienia>(
        [](Wizard_zwolnienia *window) { Q_EMIT window->ButtonClose()->Click(); });
    picker.Show();
    QCOMPARE(picker.Result(), QString());

    picker.setRodzaj(SelectItem::Groups);
    whenShown<Grupy>([](Grupy *window) { window->close(); });
    picker.Show();
    QCOMPARE(picker.Result(), QString());
}

void TestSelectItem::peopleAndDutiesWindowsAnswer()
{
    Db::Database &db = *Globals::database();
    QVERIFY(db.execute(
        QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, random) VALUES (?, ?, ?, 1)"),
        {QString::number(m_alfa), QStringLiteral("Kowalski"), QStringLiteral("Jan")}));
    const qint64 person = db.lastInsertId();
    QVERIFY(db.execute(
        QStringLiteral(
            "INSERT INTO sluzby (nazwa, od, okres, ilosc_std) VALUES (?, '08:00', 24, 1)"),
        {QStringLiteral("Dyżur")}));
    const qint64 duty = db.lastInsertId();

    SelectItem picker;
    picker.setRodzaj(SelectItem::People);
    whenShown<Ludzie>([](Ludzie *window) {
        QVERIFY(window->MyClass());
        window->lista()->selectAll();
        window->answerPicker();
    });
    picker.Show();
    QCOMPARE(picker.Result(), QString::number(person) + QStringLiteral(";Kowalski Jan"));

    picker.setRodzaj(SelectItem::Duties);
    whenShown<Sluzby>([](Sluzby *window) {
        QVERIFY(window->MyClass());
        window->lista()->selectAll();
        window->answerPicker();
    });
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
