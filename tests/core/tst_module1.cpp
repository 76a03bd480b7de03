#include "core/Messages.h"
#include "core/Module1.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QTest>

using TestSupport::TestDatabase;

class TestModule1 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formatPeriod_data();
    void formatPeriod();
    void idFromKey_data();
    void idFromKey();
    void daysInMonth_data();
    void daysInMonth();
    void executeSqlScript_data();
    void executeSqlScript();
    void appPath();
    void convertLatin2Letters();
};

void TestModule1::formatPeriod_data()
{
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QString>("text");

    QTest::newRow("one day") << QDate(2004, 5, 7) << QDate(2004, 5, 7) << "7.05.2004";
    QTest::newRow("same month") << QDate(2004, 5, 3) << QDate(2004, 5, 7) << "3-7.05.2004";
    QTest::newRow("same year") << QDate(2004, 4, 30) << QDate(2004, 5, 2) << "30.04 do 2.05.2004";
    QTest::newRow("across years") << QDate(2004, 12, 30) << QDate(2005, 1, 2)
                                  << "30.12.04 do 2.01.2005";
    QTest::newRow("same month, other year")
        << QDate(2004, 5, 3) << QDate(2005, 5, 7) << "3.05.04 do 7.05.2005";
}

void TestModule1::formatPeriod()
{
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QString, text);
    QCOMPARE(Module1::FormatPeriod(first, last), text);
}

void TestModule1::idFromKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<qint64>("id");

    QTest::newRow("id") << "ID=42" << qint64(42);
    QTest::newRow("prefix alone") << "ID=" << qint64(0);
    QTest::newRow("letter") << "ID=a" << qint64(0);
    QTest::newRow("root key") << "ALL" << qint64(0);
    QTest::newRow("number and letters") << "ID=12x" << qint64(0);
    QTest::newRow("past 16 bits") << "ID=40000" << qint64(40000);
    QTest::newRow("past 32 bits") << "ID=5000000000" << qint64(5000000000LL);
}

void TestModule1::idFromKey()
{
    QFETCH(QString, key);
    QFETCH(qint64, id);
    QCOMPARE(Module1::IdFromKey(key), id);
    if (id != 0)
        QCOMPARE(Module1::KeyFromId(id), key);
}

void TestModule1::daysInMonth_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");

    QTest::newRow("February, leap year") << 2 << 2024 << 29;
    QTest::newRow("February") << 2 << 2023 << 28;
    QTest::newRow("February 1900") << 2 << 1900 << 28;
    QTest::newRow("February 2000") << 2 << 2000 << 29;
    QTest::newRow("April") << 4 << 2024 << 30;
    QTest::newRow("December") << 12 << 2024 << 31;
    QTest::newRow("month 14 = next February") << 14 << 2023 << 29;
}

void TestModule1::daysInMonth()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(Module1::DaysInMonth(month, year), days);
}

void TestModule1::executeSqlScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("rows");

    QTest::newRow("empty lines and trailing CR LF")
        << "INSERT INTO stopnie (nazwa) VALUES ('kapral')\r\n\r\n"
           "INSERT INTO stopnie (nazwa) VALUES ('sierżant')\r\n"
        << true << 3;
    QTest::newRow("failing line undoes the script")
        << "INSERT INTO stopnie (nazwa) VALUES ('kapral')\r\n"
           "DELETE FROM stopnie WHERE nazwa='szeregowy'\r\n"
           "INSERT INTO no_such_table VALUES (1)\r\n"
           "INSERT INTO stopnie (nazwa) VALUES ('sierżant')"
        << false << 1;
}

void TestModule1::executeSqlScript()
{
    QFETCH(QString, script);
    QFETCH(bool, ok);
    QFETCH(int, rows);

    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();
    QVERIFY(db.execute("INSERT INTO stopnie (nazwa) VALUES ('szeregowy')"));
    Messages::clearShown();

    QCOMPARE(Module1::ExecuteSqlScript(db, script), ok);
    QCOMPARE(db.scalar("SELECT count(*) FROM stopnie").toInt(), rows);
    if (ok) {
        QVERIFY(Messages::shown().isEmpty());
    } else {
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY2(Messages::shown().first().contains("no_such_table"),
                 qPrintable(Messages::shown().first()));
        QCOMPARE(db.scalar("SELECT nazwa FROM stopnie").toString(), QStringLiteral("szeregowy"));
    }
    // No transaction is left open behind the script.
    QVERIFY(db.execute("BEGIN"));
    QVERIFY(db.execute("ROLLBACK"));
}

void TestModule1::appPath()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    QCOMPARE(Module1::AppPath(), exeDir + "/");
    Module1::setAppPath("/opt/kadrelo");
    QCOMPARE(Module1::AppPath(), QStringLiteral("/opt/kadrelo/"));
    Module1::setAppPath("/opt/kadrelo/");
    QCOMPARE(Module1::AppPath(), QStringLiteral("/opt/kadrelo/"));
    Module1::setAppPath("/");
    QCOMPARE(Module1::AppPath(), QStringLiteral("/"));
    Module1::setAppPath(QString());
    qputenv("KADRELO_APPDIR", "/srv/kadrelo");
    QCOMPARE(Module1::AppPath(), QStringLiteral("/srv/kadrelo/"));
    qunsetenv("KADRELO_APPDIR");
    QCOMPARE(Module1::AppPath(), exeDir + "/");
}

void TestModule1::convertLatin2Letters()
{
    const QString polish = QString::fromUtf8("Źródło ąśź ĄŚŹ łóżęćń");
    const QString latin2 = QString::fromUtf8("¬ródło ±¶Ľ ˇ¦¬ łóżęćń");
    QCOMPARE(Module1::ConvertLatin2Letters(polish, false), latin2);
    QCOMPARE(Module1::ConvertLatin2Letters(latin2, true), polish);
}

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
