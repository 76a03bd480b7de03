#include "core/Globals.h"
#include "core/Options.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

using TestSupport::TestDatabase;

class TestOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void setAndGet_data();
    void setAndGet();
    void nullValueReadsEmpty();
    void namesDifferingInCaseRefused();
    void failedWriteReported();
    void storeGoesWithItsDatabase();
};

namespace {

int rowsNamed(Db::Database &db, const QString &name)
{
    return db.scalar("SELECT count(*) FROM opcje WHERE Name=? COLLATE NOCASE", {name}).toInt();
}

} // namespace

void TestOptions::setAndGet_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("getName");
    QTest::addColumn<int>("addedRows");

    QTest::newRow("existing, other case") << "CELLWIDTH"
                                          << "4,5"
                                          << "cellWidth" << 0;
    QTest::newRow("new key") << "Ludzie.Lista"
                             << "1200;800;600"
                             << "ludzie.lista" << 1;
    QTest::newRow("password removed") << "Pass"
                                      << ""
                                      << "PASS" << 0;
    QTest::newRow("apostrophe") << "CellShow"
                                << "[stopien] O'[nazwisko]"
                                << "cellshow" << 0;
    QTest::newRow("polish name") << QString::fromUtf8("Żółw") << "1" << QString::fromUtf8("żółw")
                                 << 1;
}

void TestOptions::setAndGet()
{
    QFETCH(QString, setName);
    QFETCH(QString, value);
    QFETCH(QString, getName);
    QFETCH(int, addedRows);

    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    const int rowsBefore = fixture.db().scalar("SELECT count(*) FROM opcje").toInt();
    {
        QString error;
        auto options = clsOptions::load(fixture.db(), &error);
        QVERIFY2(options, qPrintable(error));
        QCOMPARE(options->GetOption("cellshow"), QStringLiteral("[stopien] [nazwisko] [imie]"));
        QCOMPARE(options->GetOption("NoSuchKey"), QString());

        QVERIFY(options->SetOption(setName, value));
        QCOMPARE(options->GetOption(getName), value);
        QCOMPARE(fixture.db().scalar("SELECT count(*) FROM opcje").toInt(), rowsBefore + addedRows);
        // Setting the same key again edits the row just written.
        QVERIFY(options->SetOption(getName, value));
        QCOMPARE(fixture.db().scalar("SELECT count(*) FROM opcje").toInt(), rowsBefore + addedRows);
    }

    // The next run finds it in the table.
    QVERIFY(fixture.reopen());
    auto options = clsOptions::load(fixture.db());
    QVERIFY(options);
    QCOMPARE(options->GetOption(setName), value);
    QCOMPARE(rowsNamed(fixture.db(), setName), 1);
    QVERIFY(!fixture.db()
                 .scalar("SELECT Value FROM opcje WHERE Name=? COLLATE NOCASE", {setName})
                 .isNull());
}

void TestOptions::nullValueReadsEmpty()
{
    TestDatabase fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(fixture.db().execute("INSERT INTO opcje (Name, Value) VALUES ('Sluzby.Lista', NULL)"));
    auto options = clsOptions::load(fixture.db());
    QVERIFY(options);
    QCOMPARE(options->GetOption("Sluzby.Lista"), QString(""));
}

void TestOptions::namesDifferingInCaseRefused()
{
    TestDatabase fixture;
    QVERIFY(fixture.isValid());
    Db::Database &db = fixture.db();
    // The table's index refuses the second name ...
    QVERIFY(!db.execute("INSERT INTO opcje (Name, Value) VALUES ('cellshow', 'x')"));
    // ... and a file without that index is refused when it is loaded.
    QVERIFY(db.execute("DROP INDEX name"));
    QVERIFY(db.execute("INSERT INTO opcje (Name, Value) VALUES ('CELLSHOW', 'x')"));
    QString error;
    QVERIFY(!clsOptions::load(db, &error));
    QVERIFY(!error.isEmpty());

    QVERIFY(db.execute("DROP TABLE opcje"));
    error.clear();
    QVERIFY(!clsOptions::load(db, &error));
    QVERIFY2(error.contains("opcje"), qPrintable(error));
}

void TestOptions::failedWriteReported()
{
    TestDatabase fixture;
    QVERIFY(fixture.isValid());
    Db::Database &db = fixture.db();
    auto options = clsOptions::load(db);
    QVERIFY(options);
    // A table that refuses every write, as a locked or read-only file would.
    QVERIFY(db.execute("CREATE TRIGGER no_update BEFORE UPDATE ON opcje "
                       "BEGIN SELECT RAISE(ABORT, 'read-only'); END"));
    QVERIFY(db.execute("CREATE TRIGGER no_insert BEFORE INSERT ON opcje "
                       "BEGIN SELECT RAISE(ABORT, 'read-only'); END"));

    QVERIFY(!options->SetOption("Pass", "0123456789abcdef0123456789abcdef"));
    QVERIFY(db.errorString().contains("read-only"));
    QVERIFY(!options->SetOption("NewKey", "v"));
    // The run goes on with the values in memory.
    QCOMPARE(options->GetOption("pass"), QStringLiteral("0123456789abcdef0123456789abcdef"));
    QCOMPARE(options->GetOption("newkey"), QStringLiteral("v"));
    QCOMPARE(db.scalar("SELECT Value FROM opcje WHERE Name='Pass'").toString(), QString(""));
}

void TestOptions::storeGoesWithItsDatabase()
{
    TestDatabase first;
    TestDatabase second;
    QVERIFY(first.isValid() && second.isValid());
    Globals::setDatabase(first.take());
    Globals::setOptions(clsOptions::load(*Globals::database()));
    QVERIFY(Globals::options());
    // A store kept past its database would write into a closed file.
    Globals::setDatabase(second.take());
    QVERIFY(!Globals::options());
    Globals::setOptions(clsOptions::load(*Globals::database()));
    QVERIFY(Globals::options()->SetOption("Pass", ""));
    Globals::closeDatabase();
    QVERIFY(!Globals::options() && !Globals::database());
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
