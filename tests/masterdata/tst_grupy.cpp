#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "masterdata/Grupy.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QListWidget>
#include <QTest>

class TestGrupy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void listsGroupsByName();
    void picksFromTheBottomUp_data();
    void picksFromTheBottomUp();
    void doubleClickPicksOnlyForAPicker();
    void closeAnswersNothing();
    void emptyTable();
    void unreadableTableIsReported();

private:
    qint64 addGroup(const QVariant &name);
    QHash<QString, qint64> m_ids;
    std::unique_ptr<TestSupport::TestDatabase> m_db;
};

qint64 TestGrupy::addGroup(const QVariant &name)
{
    return TestSupport::insert(*Globals::database(),
                               QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"), {name});
}

void TestGrupy::init()
{
    m_db = std::make_unique<TestSupport::TestDatabase>();
    QVERIFY2(m_db->isValid(), qPrintable(m_db->errorString()));
    Globals::setDatabase(m_db->take());
    // Stored out of name order, one with a ";" and one without a name.
    m_ids.clear();
    m_ids.insert(QStringLiteral("Beta"), addGroup(QStringLiteral("Beta")));
    m_ids.insert(QStringLiteral("Alfa"), addGroup(QStringLiteral("Alfa")));
    m_ids.insert(QStringLiteral("Gamma;2"), addGroup(QStringLiteral("Gamma;2")));
    m_ids.insert(QString(), addGroup(QVariant(QMetaType(QMetaType::QString))));
}

void TestGrupy::cleanup()
{
    Globals::closeDatabase();
    m_db.reset();
}

void TestGrupy::listsGroupsByName()
{
    // Polish order: "Ćma" after "Beta", lower case among capitals.
    m_ids.insert(QStringLiteral("delta"), addGroup(QStringLiteral("delta")));
    m_ids.insert(QStringLiteral("Ćma"), addGroup(QStringLiteral("Ćma")));
    Grupy window;
    QStringList names;
    for (int i = 0; i < window.lTasks()->count(); ++i) {
        names.append(window.lTasks()->item(i)->text());
        QCOMPARE(window.lTasks()->item(i)->data(Qt::UserRole).toLongLong(),
                 m_ids.value(names.last()));
    }
    QCOMPARE(names, (QStringList{QString(), QStringLiteral("Alfa"), QStringLiteral("Beta"),
                                 QStringLiteral("Ćma"), QStringLiteral("delta"),
                                 QStringLiteral("Gamma;2")}));
    QCOMPARE(window.lTasks()->currentRow(), 0);
    QCOMPARE(window.lTasks()->selectedItems().size(), 1);
    // Opened for listing only, there is nothing to choose.
    window.show();
    QVERIFY(!window.ButtonOK()->isVisible());
}

void TestGrupy::picksFromTheBottomUp_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QStringList>("entries");
    const QString nul(QChar(u'\0'));
    QTest::newRow("two") << QList<int>{1, 2}
                         << QStringList{QStringLiteral("Beta"), QStringLiteral("Alfa")};
    QTest::newRow("one") << QList<int>{2} << QStringList{QStringLiteral("Beta")};
    QTest::newRow("with semicolon") << QList<int>{3} << QStringList{QStringLiteral("Gamma;2")};
    QTest::newRow("no name") << QList<int>{0, 3}
                             << QStringList{QStringLiteral("Gamma;2"), QString()};
    QTest::newRow("none") << QList<int>{} << QStringList{};
}

void TestGrupy::picksFromTheBottomUp()
{
    QFETCH(QList<int>, rows);
    QFETCH(QStringList, entries);
    SelectItem picker;
    picker.setResult(QStringLiteral("stale"));
    Grupy window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    QVERIFY(window.ButtonOK()->isVisible());
    QCOMPARE(window.ButtonOK()->Caption(), QStringLiteral("Wybierz"));
    // The first row comes selected; Ctrl and a click choose each row.
    QVERIFY(Mouse::clickRow(*window.lTasks(), 0, Qt::ControlModifier));
    for (int row : rows)
        QVERIFY(Mouse::clickRow(*window.lTasks(), row, Qt::ControlModifier));
    QVERIFY(Mouse::click(*window.ButtonOK()));

    QStringList expected;
    for (const QString &name : entries)
        expected.append(QString::number(m_ids.value(name)) + QLatin1Char(';') + name);
    QCOMPARE(picker.Result(), expected.join(QChar(u'\0')));
    QVERIFY(!window.isVisible());
    QVERIFY(!window.MyClass());
}

void TestGrupy::doubleClickPicksOnlyForAPicker()
{
    Grupy listing;
    QVERIFY(Keyboard::showActive(listing));
    QVERIFY(Mouse::doubleClickRow(*listing.lTasks(), 1));
    QVERIFY(listing.isVisible());

    SelectItem picker;
    Grupy window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    QVERIFY(Mouse::doubleClickRow(*window.lTasks(), 1));
    QCOMPARE(picker.Result(),
             QString::number(m_ids.value(QStringLiteral("Alfa"))) + QStringLiteral(";Alfa"));
    QVERIFY(!window.isVisible());
}

void TestGrupy::closeAnswersNothing()
{
    SelectItem picker;
    Grupy window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    QVERIFY(Mouse::click(*window.ButtonClose()));
    QVERIFY(picker.Result().isEmpty());
    QVERIFY(!window.isVisible());
    QVERIFY(!window.MyClass());
}

void TestGrupy::emptyTable()
{
    QVERIFY(TestSupport::exec(*Globals::database(), QStringLiteral("DELETE FROM grupy")));
    SelectItem picker;
    picker.setResult(QStringLiteral("stale"));
    Grupy window;
    window.setMyClass(&picker);
    QVERIFY(Keyboard::showActive(window));
    QCOMPARE(window.lTasks()->count(), 0);
    QVERIFY(Mouse::click(*window.ButtonOK()));
    QCOMPARE(picker.Result(), QString());
}

void TestGrupy::unreadableTableIsReported()
{
    QVERIFY(Globals::database()->execute(QStringLiteral("DROP TABLE grupy")));
    Messages::clearShown();
    Grupy window;
    QCOMPARE(window.lTasks()->count(), 0);
    QCOMPARE(Messages::shown().size(), 1);
    QVERIFY(!Messages::shown().constFirst().isEmpty());
    Messages::clearShown();
}

QTEST_MAIN(TestGrupy)
#include "tst_grupy.moc"
