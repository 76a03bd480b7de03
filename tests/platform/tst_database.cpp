#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using TestSupport::TestDatabase;

namespace {

QString templatePath()
{
    return QCoreApplication::applicationDirPath() +
           QStringLiteral("/../bin/Databases/Empty/baza.mbd");
}

} // namespace

class TestDatabaseLayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openRefused_data();
    void openRefused();
    void templateDatabase();
    void templateQueriedByStockShell();
    void recordsetEditing();
    void values_data();
    void values();
    void integersAsText();
    void dateFunctions_data();
    void dateFunctions();
    void namesSortAsPolish_data();
    void namesSortAsPolish();
    void queryRowsDeletedWhileWalked();
    void seekFollowsChanges();
    void preparedOnce();
    void transactions();
};

void TestDatabaseLayer::openRefused_data()
{
    QTest::addColumn<QString>("content"); // "good" = a real database file, altered below
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("notADatabase");

    QTest::newRow("wrong key") << "good"
                               << "kov584" << true;
    QTest::newRow("empty key") << "good"
                               << "" << true;
    QTest::newRow("text file") << "Imie;Nazwisko\r\nJan;Kowalski\r\n"
                               << TestDatabase::key() << true;
    QTest::newRow("damaged") << "damaged" << TestDatabase::key() << true;
    QTest::newRow("missing") << "missing" << TestDatabase::key() << false;
}

void TestDatabaseLayer::openRefused()
{
    QFETCH(QString, content);
    QFETCH(QString, key);
    QFETCH(bool, notADatabase);

    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    fixture.close();
    const QString path = fixture.path();
    if (content == QLatin1String("missing")) {
        QVERIFY(QFile::remove(path));
    } else if (content == QLatin1String("damaged")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        for (int i = 0; i < 64; ++i)
            bytes[i] = char(bytes[i] ^ 0x5a);
        file.seek(0);
        file.write(bytes);
    } else if (content != QLatin1String("good")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content.toUtf8());
    }

    QString error;
    QVERIFY(!Db::Database::open(path, key, &error));
    QVERIFY(!error.isEmpty());
    if (notADatabase)
        QVERIFY2(error.contains(QLatin1String("not a database")), qPrintable(error));
}

void TestDatabaseLayer::templateDatabase()
{
    const QString path = templatePath();
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QString error;
    auto db = Db::Database::open(path, TestDatabase::key(), &error);
    QVERIFY2(db, qPrintable(error));

    const QStringList tables = {"ludzie",           "grupy",        "sluzby",
                                "zwolnienia",       "stopnie",      "sluzby_ilosc",
                                "grupy_sluzby",     "sluzby_grupy", "wizardlist",
                                "wizardlist_items", "ludzie_last",  "opcje"};
    for (const QString &table : tables)
        QVERIFY2(db->openTable(table), qPrintable(table));

    const QList<QPair<QString, QString>> seed = {{"CellShow", "[stopien] [nazwisko] [imie]"},
                                                 {"Priorytet", "0"},
                                                 {"CellWidth", "3"},
                                                 {"CellHeight", "1"},
                                                 {"Pass", ""}};
    auto rs = db->openTable("opcje");
    for (const auto &[name, value] : seed) {
        QVERIFY2(rs->seek("name", name.toLower()), qPrintable(name));
        QVERIFY(!rs->isNull("Value"));
        QCOMPARE(rs->text("Value"), value);
    }
    QCOMPARE(db->scalar("SELECT count(*) FROM ludzie").toInt(), 0);
}

// A planner's database answers SQLCipher's own shell: names compare and sort
// there without any collation of the program's.
void TestDatabaseLayer::templateQueriedByStockShell()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    QVERIFY2(!shell.isEmpty(), "the sqlcipher shell is missing (tools/kadrelo.sh installs it)");
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Kompania.mbd"));
    QVERIFY(QFile::copy(templatePath(), path));
    {
        QString error;
        auto db = Db::Database::open(path, TestDatabase::key(), &error);
        QVERIFY2(db, qPrintable(error));
        for (const char *sql :
             {"INSERT INTO grupy (nazwa) VALUES ('Beta'), ('Alfa')",
              "INSERT INTO ludzie (id_grupa, nazwisko, imie) VALUES ('1', 'Nowak', 'Jan'), "
              "('2', 'Adamski', 'Piotr')",
              "INSERT INTO sluzby (nazwa) VALUES ('Patrol')",
              "INSERT INTO stopnie (nazwa) VALUES ('kpr.')",
              "INSERT INTO wizardlist (nazwa) VALUES ('Zasady')"})
            QVERIFY2(db->execute(QString::fromLatin1(sql)), qPrintable(db->errorString()));
        QVERIFY(!db->scalar("SELECT group_concat(sql) FROM sqlite_master")
                     .toString()
                     .contains(QStringLiteral("POLISH"), Qt::CaseInsensitive));
    }

    QProcess process;
    process.start(shell, {QStringLiteral("-bail"), QStringLiteral("-batch"), path});
    QVERIFY(process.waitForStarted());
    process.write("PRAGMA key='" + QByteArray(TestDatabase::key().toLatin1()) +
                  "';\n"
                  "SELECT group_concat(nazwisko || ' ' || imie, ',') FROM "
                  "(SELECT nazwisko, imie FROM ludzie ORDER BY nazwisko, imie);\n"
                  "SELECT count(*) FROM ludzie WHERE nazwisko > 'M' AND imie = 'Jan';\n"
                  "SELECT nazwa FROM grupy ORDER BY nazwa LIMIT 1;\n"
                  "SELECT count(DISTINCT nazwa) FROM sluzby;\n"
                  "SELECT max(nazwa) FROM stopnie;\n"
                  "SELECT nazwa FROM wizardlist GROUP BY nazwa;\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(30000));
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == 0 && errors.isEmpty(), qPrintable(errors));
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
             (QStringList{"Adamski Piotr,Nowak Jan", "1", "Alfa", "1", "kpr.", "Zasady"}));
}

void TestDatabaseLayer::recordsetEditing()
{
    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();

    auto rs = db.openTable("sluzby");
    QVERIFY(rs && rs->eof());
    QList<qint64> ids;
    for (const char *name : {"Dyżur", "Warta", "Patrol"}) {
        rs->addNew();
        // The id is known before the row is written, as the editors expect.
        const qint64 early = rs->integer("ID");
        QVERIFY(early > 0);
        rs->setValue("nazwa", QString::fromUtf8(name));
        rs->setValue("okres", "12"); // typed text; the column makes it a number
        QVERIFY2(rs->update(), qPrintable(rs->errorString()));
        QCOMPARE(rs->lastId(), early);
        QCOMPARE(rs->text("nazwa"), QString::fromUtf8(name));
        QCOMPARE(rs->value("okres").typeId(), QMetaType::LongLong);
        QVERIFY(!rs->flag("kobiety")); // the column's default
        ids << early;
    }
    QCOMPARE(rs->recordCount(), 3);

    QVERIFY(rs->seek("PrimaryKey", ids.at(1)));
    rs->edit();
    rs->setValue("nazwa", "Warta nocna");
    QVERIFY(rs->update());
    QVERIFY(!rs->seek("PrimaryKey", 9999));
    QVERIFY(rs->eof());

    rs->setValue("nazwa", "x"); // no edit started
    QVERIFY(!rs->update());
    QVERIFY(rs->seek("PrimaryKey", ids.at(0)));
    rs->edit();
    rs->setValue("no_such_column", 1);
    QVERIFY(!rs->update());

    // Deleting keeps the cursor: the next move reaches the following row.
    QVERIFY(rs->seek("PrimaryKey", ids.at(0)));
    QVERIFY(rs->remove());
    rs->moveNext();
    QCOMPARE(rs->integer("id"), ids.at(1));
    QCOMPARE(rs->recordCount(), 2);

    auto again = db.openTable("SLUZBY");
    QVERIFY(again);
    QCOMPARE(again->recordCount(), 2);
    QCOMPARE(again->text("Nazwa"), QStringLiteral("Warta nocna"));
    again->moveNext();
    QCOMPARE(again->text("NAZWA"), QStringLiteral("Patrol"));
    again->moveNext();
    QVERIFY(again->eof());

    // A deleted id is not given again, whatever the letter case of the name.
    QVERIFY(again->seek("PrimaryKey", ids.at(2)));
    QVERIFY(again->remove());
    again->addNew();
    QCOMPARE(again->integer("id"), ids.at(2) + 1);

    QVERIFY(!db.openTable("no_such_table"));
    QVERIFY(!db.errorString().isEmpty());
}

void TestDatabaseLayer::values_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("null");
    QTest::addColumn<QString>("text");

    QTest::newRow("null") << QVariant() << true << QString();
    QTest::newRow("empty") << QVariant(QString("")) << false << QString();
    QTest::newRow("apostrophe") << QVariant(QString("O'Brien'); DROP TABLE ludzie;--")) << false
                                << QString("O'Brien'); DROP TABLE ludzie;--");
    const QString withNul = QString("3;Alfa") + QChar(0) + QString("5;Beta") + QChar(0);
    QTest::newRow("NUL") << QVariant(withNul) << false << withNul;
    QTest::newRow("polish") << QVariant(QString::fromUtf8("Łódź żółć")) << false
                            << QString::fromUtf8("Łódź żółć");
    const QString emoji = QString::fromUtf8("kpr. \xF0\x9F\x98\x80");
    QTest::newRow("emoji") << QVariant(emoji) << false << emoji;
    // Half a pair is stored as "?", as QString::toUtf8() writes it.
    QTest::newRow("half a pair") << QVariant(QString("a") + QChar(0xD83D) + QString("b")) << false
                                 << QString("a?b");
    QTest::newRow("bool") << QVariant(true) << false << QString("1");
    // Bytes that are no UTF-8 read as QString::fromUtf8 reads them.
    const QByteArray broken =
        QByteArrayLiteral("\xEF\xBB\xBF\xC5\x82\xF0\x9F\x98\x80\xED\xA0\x80\xC5 \xF0\x9F");
    QTest::newRow("not UTF-8") << QVariant(broken) << false << QString::fromUtf8(broken);
    QTest::newRow("date") << QVariant(QDate(2004, 5, 7)) << false << QString("2004-05-07");
    QTest::newRow("int64") << QVariant(qint64(1) << 40) << false << QString("1099511627776");
    QTest::newRow("real") << QVariant(2.5) << false << QString("2.5");
    QTest::newRow("number as text") << QVariant(QString(" 7 ")) << false << QString(" 7 ");
    QTest::newRow("true as text") << QVariant(QString("True")) << false << QString("True");
}

void TestDatabaseLayer::values()
{
    QFETCH(QVariant, value);
    QFETCH(bool, null);
    QFETCH(QString, text);

    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();

    // Through a recordset and through a bound statement.
    auto rs = db.openTable("wizardlist_items");
    rs->addNew();
    rs->setValue("arg1", value);
    QVERIFY(rs->update());
    QVERIFY(db.execute("INSERT INTO wizardlist_items (arg1) VALUES (?)", {value}));

    auto read = db.openTable("wizardlist_items");
    QCOMPARE(read->recordCount(), 2);
    for (; !read->eof(); read->moveNext()) {
        QCOMPARE(read->isNull("arg1"), null);
        QCOMPARE(read->text("arg1"), text);
    }
    // A cursor reads every value as the recordset does.
    auto again = db.openTable("wizardlist_items");
    Db::Cursor cursor(db, "SELECT arg1 FROM wizardlist_items ORDER BY rowid");
    int rows = 0;
    for (; cursor.next(); again->moveNext()) {
        ++rows;
        QCOMPARE(cursor.isNull(0), null);
        QCOMPARE(cursor.text(0), text);
        qsizetype firstLength = -1;
        QCOMPARE(cursor.joinedText(0, 0, u' ', &firstLength), text + u' ' + text);
        QCOMPARE(firstLength, text.size());
        QCOMPARE(cursor.integer(0), again->integer("arg1"));
        QCOMPARE(cursor.flag(0), again->flag("arg1"));
    }
    QCOMPARE(rows, 2);
    QVERIFY(!cursor.failed());
    if (!null) {
        auto found = db.openQuery("SELECT id FROM wizardlist_items WHERE arg1=?", {value});
        QVERIFY(found);
        QCOMPARE(found->recordCount(), 2);
    }
    QVERIFY(db.openTable("ludzie"));

    Db::Cursor broken(db, "SELECT nothing FROM nowhere");
    QVERIFY(!broken.next());
    QVERIFY(broken.failed());
    QVERIFY(!db.errorString().isEmpty());
}

void TestDatabaseLayer::integersAsText()
{
    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Cursor cursor(fixture.db(), "SELECT 0, 9, 10, -1, 1099511627776");
    QVERIFY(cursor.next());
    const qint64 values[] = {0, 9, 10, -1, qint64(1) << 40};
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(cursor.text(column), QString::number(values[column]));
        qsizetype firstLength = -1;
        QCOMPARE(cursor.joinedText(column, 0, u' ', &firstLength),
                 QString::number(values[column]) + " 0");
        QCOMPARE(firstLength, QString::number(values[column]).size());
    }
}

void TestDatabaseLayer::dateFunctions_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("year");
    QTest::addColumn<QVariant>("month");
    QTest::addColumn<QVariant>("day");

    QTest::newRow("date") << QVariant("2024-05-07") << QVariant(2024) << QVariant(5) << QVariant(7);
    QTest::newRow("date-time") << QVariant("2023-12-31 23:59:00") << QVariant(2023) << QVariant(12)
                               << QVariant(31);
    QTest::newRow("null") << QVariant() << QVariant() << QVariant() << QVariant();
    QTest::newRow("empty") << QVariant("") << QVariant() << QVariant() << QVariant();
    QTest::newRow("locale form") << QVariant("07.05.2024") << QVariant() << QVariant()
                                 << QVariant();
    QTest::newRow("no such day") << QVariant("2023-02-29") << QVariant() << QVariant()
                                 << QVariant();
}

void TestDatabaseLayer::dateFunctions()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, year);
    QFETCH(QVariant, month);
    QFETCH(QVariant, day);

    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();
    QVERIFY(db.execute("INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES ('1', ?, 2)",
                       {stored}));
    auto rs = db.openQuery("SELECT YEAR(data) AS y, MONTH(data) AS m, DAY(data) AS d "
                           "FROM sluzby_ilosc");
    QVERIFY(rs && !rs->eof());
    auto same = [](const QVariant &actual, const QVariant &expected) {
        return expected.isNull() ? actual.isNull() : actual.toInt() == expected.toInt();
    };
    QVERIFY(same(rs->value("y"), year));
    QVERIFY(same(rs->value("m"), month));
    QVERIFY(same(rs->value("d"), day));

    if (!month.isNull()) {
        const QVariant count =
            db.scalar("SELECT count(*) FROM sluzby_ilosc WHERE MONTH(data)=? AND YEAR(data)=?",
                      {month.toInt(), year.toInt()});
        QCOMPARE(count.toInt(), 1);
    }
}

// The program asks for Polish order in its queries; a database of an earlier
// build, whose name columns declare the collation themselves, works the same.
void TestDatabaseLayer::namesSortAsPolish_data()
{
    QTest::addColumn<bool>("earlierBuild");
    QTest::newRow("this build") << false;
    QTest::newRow("earlier build") << true;
}

void TestDatabaseLayer::namesSortAsPolish()
{
    QFETCH(bool, earlierBuild);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("baza.mbd"));
    QFile schemaFile(TestSupport::schemaPath());
    QVERIFY(schemaFile.open(QIODevice::ReadOnly));
    QString schema = QString::fromUtf8(schemaFile.readAll());
    if (earlierBuild) {
        static const QRegularExpression names(QStringLiteral("\\b(nazwa|nazwisko|imie) TEXT\\b"));
        schema.replace(names, QStringLiteral("\\1 TEXT COLLATE POLISH"));
        QCOMPARE(schema.count(QStringLiteral(" TEXT COLLATE POLISH")), 6);
    }
    {
        QString error;
        auto created = Db::Database::create(path, TestDatabase::key(), &error);
        QVERIFY2(created && created->executeScript(schema), qPrintable(error));
    }
    QString error;
    auto db = Db::Database::open(path, TestDatabase::key(), &error);
    QVERIFY2(db, qPrintable(error));
    const QStringList stored{"Żak", "de Wit", "Zieliński", "Łukasik", "Lis", "Ćwik", "Cebula"};
    for (const QString &name : stored)
        QVERIFY(db->execute("INSERT INTO ludzie (nazwisko) VALUES (?)", {name}));

    QStringList sorted;
    for (auto rs = db->openQuery("SELECT nazwisko FROM ludzie ORDER BY nazwisko COLLATE POLISH");
         !rs->eof(); rs->moveNext())
        sorted << rs->text("nazwisko");
    QCOMPARE(sorted,
             (QStringList{"Cebula", "Ćwik", "de Wit", "Lis", "Łukasik", "Zieliński", "Żak"}));
    // Equality stays exact under either collation.
    QCOMPARE(db->scalar("SELECT count(*) FROM ludzie WHERE nazwisko=?", {"lis"}).toInt(), 0);
    QCOMPARE(db->scalar("SELECT count(*) FROM ludzie WHERE nazwisko=?", {"Lis"}).toInt(), 1);
}

void TestDatabaseLayer::queryRowsDeletedWhileWalked()
{
    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();
    for (int i = 1; i <= 4; ++i) {
        QVERIFY(db.execute("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item) "
                           "VALUES ('2024-05-01', '2024-05-02', 0, ?)",
                           {QString::number(i % 2)}));
    }
    auto rs = db.openQuery("SELECT id, od FROM zwolnienia WHERE id_item=? ORDER BY id DESC",
                           {QString("1")});
    QVERIFY(rs);
    int removed = 0;
    for (; !rs->eof(); rs->moveNext()) {
        QVERIFY2(rs->remove(), qPrintable(rs->errorString()));
        ++removed;
    }
    QCOMPARE(removed, 2);
    QCOMPARE(db.scalar("SELECT count(*) FROM zwolnienia").toInt(), 2);
    QCOMPARE(db.scalar("SELECT count(*) FROM zwolnienia WHERE id_item='1'").toInt(), 0);

    auto joined = db.openQuery("SELECT count(*) AS n FROM zwolnienia");
    QVERIFY(joined);
    QVERIFY(!joined->remove());
}

// A seek on PrimaryKey finds the first row of an id as the recordset holds
// it now: after rows are added, deleted or given another id.
void TestDatabaseLayer::seekFollowsChanges()
{
    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();
    for (const char *name : {"Alfa", "Beta", "Gamma"})
        QVERIFY(db.execute("INSERT INTO grupy (nazwa) VALUES (?)", {QString::fromUtf8(name)}));

    auto rs = db.openTable("grupy");
    QVERIFY(rs);
    auto nameOf = [&rs](const QVariant &id) {
        return rs->seek("PrimaryKey", id) ? rs->text("nazwa") : QStringLiteral("-");
    };
    QCOMPARE(nameOf(2), QStringLiteral("Beta"));
    QCOMPARE(nameOf(QStringLiteral(" 3")), QStringLiteral("Gamma")); // an id read from a text
    QCOMPARE(nameOf(4), QStringLiteral("-"));
    QCOMPARE(nameOf(QStringLiteral("x")), QStringLiteral("-"));

    rs->addNew();
    rs->setValue("nazwa", "Delta");
    QVERIFY(rs->update());
    QCOMPARE(nameOf(4), QStringLiteral("Delta"));
    QCOMPARE(rs->recordCount(), 4);

    QVERIFY(rs->seek("PrimaryKey", 2));
    QVERIFY(rs->remove());
    QCOMPARE(nameOf(2), QStringLiteral("-"));
    QCOMPARE(nameOf(1), QStringLiteral("Alfa"));
    QCOMPARE(rs->recordCount(), 3);

    QVERIFY(rs->seek("PrimaryKey", 3));
    rs->edit();
    rs->setValue("id", 30);
    QVERIFY(rs->update());
    QCOMPARE(nameOf(3), QStringLiteral("-"));
    QCOMPARE(nameOf(30), QStringLiteral("Gamma"));

    // Two rows of one id: the first in the recordset's order, then the next.
    auto twice = db.openQuery("SELECT id, nazwa FROM grupy UNION ALL "
                              "SELECT id, nazwa || ' 2' FROM grupy ORDER BY 2");
    QVERIFY(twice);
    QVERIFY(twice->seek("PrimaryKey", 30));
    QCOMPARE(twice->text("nazwa"), QStringLiteral("Gamma"));
    twice->moveNext();
    QCOMPARE(twice->text("nazwa"), QStringLiteral("Gamma 2"));
    QVERIFY(twice->seek("PrimaryKey", 1));
    QCOMPARE(twice->text("nazwa"), QStringLiteral("Alfa"));
}

// Many rows added by few statements, in their order and with their types;
// one statement run for many lists of values; a lookup walked again for
// another key.
void TestDatabaseLayer::preparedOnce()
{
    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();
    auto stored = [&db](const char *sql) {
        QStringList rows;
        Db::Cursor cursor(db, QString::fromLatin1(sql));
        while (cursor.next()) {
            QStringList fields;
            for (int c = 0; c < 3; ++c)
                fields << cursor.text(c) + u'/' + QString::fromLatin1(cursor.value(c).typeName());
            rows << fields.join(u'|');
        }
        return rows;
    };
    const QStringList columns{"id_osoba", "ilosc", "data", "miesiac"};
    QVERIFY(db.insertRows("ludzie_last", columns, {}));
    // More rows than one statement takes, the last batch shorter.
    QList<QVariantList> rows;
    for (int i = 0; i < 600; ++i)
        rows.append({QString::number(600 - i), i,
                     i % 3 ? QVariant(QStringLiteral("2024-05-01")) : QVariant(),
                     QStringLiteral("2024-05")});
    // The ids go on from a row that is gone.
    QVERIFY(db.execute("INSERT INTO ludzie_last (miesiac) VALUES ('2024-04')"));
    QVERIFY(db.execute("DELETE FROM ludzie_last"));
    QList<qint64> added{-1};
    QVERIFY2(db.insertRows("ludzie_last", columns, rows, &added), qPrintable(db.errorString()));
    // Each row's own id, across the statements.
    QCOMPARE(added.size(), 601);
    for (const qsizetype i : {1, 249, 250, 600})
        QCOMPARE(db.scalar("SELECT id_osoba FROM ludzie_last WHERE id=?", {added.at(i)}).toString(),
                 QString::number(601 - i));
    const QStringList all =
        stored("SELECT id_osoba, ilosc, data FROM ludzie_last WHERE miesiac='2024-05' ORDER BY id");
    QCOMPARE(all.size(), 600);
    QCOMPARE(all.first(), QStringLiteral("600/QString|0/qlonglong|/"));
    QCOMPARE(all.at(301), QStringLiteral("299/QString|301/qlonglong|2024-05-01/QString"));
    QCOMPARE(all.last(), QStringLiteral("1/QString|599/qlonglong|2024-05-01/QString"));
    QCOMPARE(db.scalar("SELECT max(id) - min(id) FROM ludzie_last").toInt(), 599);

    QVERIFY(!db.insertRows("ludzie_last", columns, {{"1", 1, "", "2024-06"}, {"2", 2}}));
    QVERIFY(db.errorString().contains(QStringLiteral("row 1 has 2 values")));
    QVERIFY(!db.insertRows("no_such_table", columns, {{"1", 1, "", "2024-06"}}));
    QVERIFY(!db.errorString().isEmpty());
    QVERIFY(db.execute("CREATE TRIGGER stop BEFORE INSERT ON ludzie_last WHEN NEW.ilosc=7 "
                       "BEGIN SELECT RAISE(ABORT, 'zablokowane'); END"));
    QVERIFY(
        !db.insertRows("ludzie_last", columns, {{"1", 6, "", "2024-07"}, {"2", 7, "", "2024-07"}}));
    QVERIFY(db.errorString().contains(QStringLiteral("zablokowane")));
    QCOMPARE(db.scalar("SELECT count(*) FROM ludzie_last WHERE miesiac='2024-07'").toInt(), 0);

    // One statement run for each list, with the id each run added.
    const QString insert = QStringLiteral("INSERT INTO stopnie (nazwa) VALUES (?)");
    QList<qint64> ids;
    QVERIFY(db.executeEach(insert, {{"kpr."}, {"szer."}}, &ids));
    QVERIFY(!db.executeEach(insert, {{"mat"}, {"plut.", "x"}}, &ids));
    QVERIFY(db.errorString().contains(QStringLiteral("2 values")));
    QCOMPARE(ids, (QList<qint64>{1, 2, 3}));
    QCOMPARE(db.scalar("SELECT nazwa FROM stopnie WHERE id=3").toString(), QStringLiteral("mat"));
    Db::Cursor lookup(db, "SELECT id FROM stopnie WHERE nazwa=?", {QStringLiteral("szer.")});
    QVERIFY(lookup.next());
    QCOMPARE(lookup.integer(0), 2);
    QVERIFY(lookup.rerun({QStringLiteral("mat")}));
    QVERIFY(lookup.next());
    QCOMPARE(lookup.integer(0), 3);
    QVERIFY(!lookup.next());
    QVERIFY(lookup.rerun({QStringLiteral("gen.")}));
    QVERIFY(!lookup.next());
    QVERIFY(!lookup.failed());
    QVERIFY(!lookup.rerun({}));
    QVERIFY(lookup.failed() && !lookup.next());
    QVERIFY(lookup.rerun({QStringLiteral("kpr.")}));
    QVERIFY(lookup.next());
    QCOMPARE(lookup.integer(0), 1);

    Db::Cursor twoStatements(db, "SELECT 1; SELECT 2");
    QVERIFY(twoStatements.failed());
    QVERIFY(!twoStatements.rerun({}));
}

void TestDatabaseLayer::transactions()
{
    TestDatabase fixture;
    QVERIFY2(fixture.isValid(), qPrintable(fixture.errorString()));
    Db::Database &db = fixture.db();
    auto count = [&db] { return db.scalar("SELECT count(*) FROM stopnie").toInt(); };

    {
        Db::Transaction outer(db);
        QVERIFY(outer.isActive());
        QVERIFY(db.execute("INSERT INTO stopnie (nazwa) VALUES ('szeregowy')"));
        {
            Db::Transaction inner(db);
            QVERIFY(inner.isActive());
            QVERIFY(db.execute("INSERT INTO stopnie (nazwa) VALUES ('kapral')"));
        } // inner rolls back alone
        QCOMPARE(count(), 1);
        QVERIFY(outer.commit());
    }
    QCOMPARE(count(), 1);
    {
        Db::Transaction dropped(db);
        QVERIFY(db.execute("DELETE FROM stopnie"));
    }
    QCOMPARE(count(), 1);
    QVERIFY(!db.execute("INSERT INTO stopnie (nazwa) VALUES ('a'); DELETE FROM stopnie"));
    QCOMPARE(count(), 1);
    QVERIFY(fixture.reopen());
    QCOMPARE(fixture.db().scalar("SELECT nazwa FROM stopnie").toString(),
             QStringLiteral("szeregowy"));
}

QTEST_GUILESS_MAIN(TestDatabaseLayer)
#include "tst_database.moc"
