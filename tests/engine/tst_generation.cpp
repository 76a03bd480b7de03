#include "core/Messages.h"
#include "core/Options.h"
#include "engine/Algorytmy.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/engine/RandomUnit.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// Each case is tests/data/engine/<name>.sql: the rows of a database built from
// the schema, with its request and its hand-derived expectations in comment
// lines:
//   -- include: <file>                 rows shared by several cases
//   -- request: month=2023-02 duties=1,2 groups=1 ruleset=0
//   -- answer: yes                     the answer to the gap question
//   -- expect: <xpath> => <ids>        @Id of the selected roster nodes, "," joined
//   -- cell: <column>.<row> => <text>  a grid cell, "|" for CR LF
//   -- person: <text>                  a row of the person list starts so
// and <name>.golden holds the whole transcript of the run (set
// KADRELO_UPDATE_GOLDEN=1 to write it anew after checking a change by hand).

namespace {

struct Case
{
    QString sql;
    Algorytmy::GenerationRequest request;
    bool answerYes = false;
    QList<QPair<QString, QString>> expects;
    QList<QPair<QString, QString>> cells;
    QStringList persons;
};

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QList<qint64> ids(const QString &text)
{
    QList<qint64> values;
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts))
        values << part.toLongLong();
    return values;
}

Case readCase(const QString &name)
{
    Case result;
    const QString text = readText(TestSupport::dataPath(QStringLiteral("engine/%1.sql").arg(name)));
    for (const QString &line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("-- include:"))) {
            result.sql += readText(
                TestSupport::dataPath(QStringLiteral("engine/") + trimmed.mid(11).trimmed()));
        } else if (trimmed.startsWith(QLatin1String("-- request:"))) {
            for (const QString &field : trimmed.mid(11).split(u' ', Qt::SkipEmptyParts)) {
                const QString key = field.section(u'=', 0, 0);
                const QString value = field.section(u'=', 1);
                if (key == QLatin1String("month"))
                    result.request.month = QDate::fromString(value + QStringLiteral("-01"),
                                                             QStringLiteral("yyyy-MM-dd"));
                else if (key == QLatin1String("duties"))
                    result.request.dutyIds = ids(value);
                else if (key == QLatin1String("groups"))
                    result.request.groupIds = ids(value);
                else if (key == QLatin1String("ruleset"))
                    result.request.ruleSetId = value.toLongLong();
            }
        } else if (trimmed == QLatin1String("-- answer: yes")) {
            result.answerYes = true;
        } else if (trimmed.startsWith(QLatin1String("-- expect:"))) {
            const QString rest = trimmed.mid(10);
            result.expects.append({rest.section(QStringLiteral("=>"), 0, 0).trimmed(),
                                   rest.section(QStringLiteral("=>"), 1).trimmed()});
        } else if (trimmed.startsWith(QLatin1String("-- person:"))) {
            result.persons << line.mid(line.indexOf(QLatin1String("-- person:")) + 11);
        } else if (trimmed.startsWith(QLatin1String("-- cell:"))) {
            const QString rest = trimmed.mid(8);
            result.cells.append({rest.section(QStringLiteral("=>"), 0, 0).trimmed(),
                                 rest.section(QStringLiteral("=>"), 1).trimmed()});
        } else {
            result.sql += line + u'\n';
        }
    }
    return result;
}

struct Run
{
    TestSupport::TestDatabase database;
    RecordingHost host;
    bool ok = false;
    QString error;
    QStringList messages;

    bool start(const Case &c)
    {
        if (!database.isValid() || !database.db().executeScript(c.sql))
            return false;
        std::unique_ptr<clsOptions> options = clsOptions::load(database.db());
        if (!options)
            return false;
        Messages::clearShown();
        if (c.answerYes)
            Messages::setNextAnswer(Messages::Answer::Yes);
        ok = Algorytmy::GenerateSchedule(database.db(), *options, host, c.request, &error);
        messages = Messages::shown();
        Messages::clearShown();
        return true;
    }

    QString transcript() const
    {
        QString text = host.transcript() + QStringLiteral("-- messages\n");
        for (QString message : messages)
            text += message.replace(QLatin1String("\r\n"), QLatin1String("|")) + u'\n';
        return text;
    }

    QString selectIds(const QString &xpath) const
    {
        QStringList values;
        for (const Xml::Node &node : host.roster->selectNodes(xpath))
            values << node.attribute(QStringLiteral("Id"));
        return values.join(u',');
    }
};

QStringList caseNames()
{
    QStringList names;
    const QDir dir(TestSupport::dataPath(QStringLiteral("engine")));
    for (const QString &file : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        if (!file.startsWith(u'_'))
            names << file.chopped(4);
    }
    return names;
}

} // namespace

class TestGeneration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cases_data();
    void cases();
    void sameDatabaseSameDocument();
    void callsTheHostInOrder();
    void failures_data();
    void failures();
    void randomUnitsBreakNoRule();
};

void TestGeneration::cases_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : caseNames())
        QTest::newRow(qPrintable(name)) << name;
    QVERIFY(!caseNames().isEmpty());
}

void TestGeneration::cases()
{
    QFETCH(QString, name);
    const Case c = readCase(name);
    Run run;
    QVERIFY2(run.start(c),
             qPrintable(run.database.errorString() + run.database.db().errorString()));
    QVERIFY2(run.ok, qPrintable(run.error));
    QVERIFY(run.host.roster);

    for (const auto &[xpath, expected] : c.expects)
        QVERIFY2(run.selectIds(xpath) == expected,
                 qPrintable(QStringLiteral("%1 gave \"%2\", expected \"%3\"")
                                .arg(xpath, run.selectIds(xpath), expected)));
    for (const auto &[position, expected] : c.cells) {
        QString actual =
            run.host.cell(position.section(u'.', 1).toInt(), position.section(u'.', 0, 0).toInt());
        actual.replace(QLatin1String("\r\n"), QLatin1String("|"));
        QVERIFY2(actual == expected, qPrintable(QStringLiteral("cell %1 is \"%2\", expected \"%3\"")
                                                    .arg(position, actual, expected)));
    }

    for (const QString &expected : c.persons) {
        const bool found =
            std::any_of(run.host.persons.cbegin(), run.host.persons.cend(),
                        [&](const QString &row) { return row.startsWith(expected); });
        QVERIFY2(found, qPrintable(QStringLiteral("no person row \"%1\" in\n%2")
                                       .arg(expected, run.host.persons.join(u'\n'))));
    }

    const QString goldenPath = TestSupport::dataPath(QStringLiteral("engine/%1.golden").arg(name));
    const QString actual = run.transcript();
    if (qEnvironmentVariableIsSet("KADRELO_UPDATE_GOLDEN")) {
        QFile file(goldenPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(actual.toUtf8());
        return;
    }
    const QStringList expectedLines = readText(goldenPath).split(u'\n');
    const QStringList actualLines = actual.split(u'\n');
    for (qsizetype i = 0; i < std::max(expectedLines.size(), actualLines.size()); ++i) {
        const QString expectedLine = expectedLines.value(i, QStringLiteral("(end)"));
        const QString actualLine = actualLines.value(i, QStringLiteral("(end)"));
        QVERIFY2(expectedLine == actualLine,
                 qPrintable(QStringLiteral("%1 line %2: \"%3\", golden \"%4\"")
                                .arg(name)
                                .arg(i + 1)
                                .arg(actualLine, expectedLine)));
    }
}

void TestGeneration::sameDatabaseSameDocument()
{
    for (const QString &name : {QStringLiteral("priorytet0"), QStringLiteral("rules6")}) {
        const Case c = readCase(name);
        Run first;
        Run second;
        QVERIFY(first.start(c));
        QVERIFY(second.start(c));
        QVERIFY(first.ok && second.ok);
        QCOMPARE(second.transcript(), first.transcript());
    }
}

void TestGeneration::callsTheHostInOrder()
{
    const Case c = readCase(QStringLiteral("wholegroup"));
    Run run;
    QVERIFY(run.start(c));
    QVERIFY(run.ok);
    QCOMPARE(run.host.calls, (QStringList{"begin", "ready 0", "end", "currdate", "title",
                                          "opened 1", "roster", "exclusions", "ready 1"}));
    QCOMPARE(run.host.currDate, QDate(2023, 2, 1));
    QCOMPARE(run.host.progressCalls, 28);
    QCOMPARE(run.host.lastProgress, QStringLiteral("28/28 Proszę czekać... ( 100% )"));
    const Xml::Node root = run.host.roster->documentElement();
    QCOMPARE(root.attribute(QStringLiteral("Name")), QStringLiteral("Grafik na luty 2023"));
    QCOMPARE(root.attribute(QStringLiteral("Date")), QStringLiteral("2023-02-01"));
    QCOMPARE(run.messages.size(), 1);
    QVERIFY(run.messages[0].startsWith(
        QStringLiteral("Istnieją luki w służbach! Ilość luk: 28.\r\nMożliwe")));
    QVERIFY(run.host.roster->documentElement().lastChild().name() == QLatin1String("Exclusions"));
}

void TestGeneration::failures_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("hostTouched");
    QTest::addColumn<QString>("message"); // empty: any description
    QTest::newRow("start time that does not convert")
        << "INSERT INTO sluzby (nazwa, od, okres, ilosc_std, rest) VALUES ('W', 'rano', 8, 1, 0);"
        << false << "";
    QTest::newRow("bad rule in the rule set")
        << "INSERT INTO sluzby (nazwa, od, okres, ilosc_std, rest) VALUES ('W', '08:00', 8, 1, 0);"
           "INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) VALUES ('1', 9, "
           "'1;A', '', '1;2;1-2');"
        << false << "";
    const QString unit =
        "INSERT INTO sluzby (nazwa, od, okres, ilosc_std, rest) VALUES ('Warta', '08:00', 8, 1, 0);"
        "INSERT INTO grupy (nazwa) VALUES ('A');"
        "INSERT INTO ludzie (id_grupa, nazwisko, imie, random) VALUES ('1', 'N', 'I', 1);";
    QTest::newRow("last duty date that does not convert")
        << unit + "INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES ('1', "
                  "'2023-01', 1, 'wczoraj');"
        << true << "Nieprawidłowa data ostatniej służby: \"wczoraj\".";
    QTest::newRow("head count left empty")
        << unit +
               "INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES ('1', '2023-02-14', '');"
        << true << "Nieprawidłowa ilość osób służby \"Warta\" na dzień 2023-02-14.";
    QTest::newRow("head count missing")
        << unit +
               "INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES ('1', '2023-02-14', NULL);"
        << true << "Nieprawidłowa ilość osób służby \"Warta\" na dzień 2023-02-14.";
    QTest::newRow("head count that is no whole number")
        << unit + "INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES ('1', '2023-02-14', "
                  "'dwie');"
        << true << "Nieprawidłowa ilość osób służby \"Warta\" na dzień 2023-02-14.";
}

void TestGeneration::failures()
{
    QFETCH(QString, sql);
    QFETCH(bool, hostTouched);
    QFETCH(QString, message);
    Case c;
    c.sql = sql;
    c.request.month = QDate(2023, 2, 1);
    c.request.dutyIds = {1};
    c.request.groupIds = {1};
    c.request.ruleSetId = 1;
    Run run;
    QVERIFY(run.start(c));
    QVERIFY(!run.ok);
    QVERIFY(!run.error.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(run.error, message);
    QCOMPARE(run.messages, QStringList{run.error});
    QVERIFY(!run.host.roster);
    QCOMPARE(run.host.calls,
             hostTouched ? (QStringList{"begin", "ready 0", "restore"}) : QStringList());
}

void TestGeneration::randomUnitsBreakNoRule()
{
    // Small units with everything a planner may enter, months of 28 to 31
    // days: no roster may put anybody where an absence, a rest, the previous
    // month's last duty or a rule forbids it.
    TestSupport::TestDatabase database;
    QVERIFY(database.isValid());
    // A scratch database: no need to wait for the disk at every unit.
    QVERIFY(database.db().execute(QStringLiteral("PRAGMA synchronous=OFF")));
    constexpr quint32 Units = 300;
    QStringList broken;
    QSet<quint32> brokenUnits;
    for (quint32 seed = 1; seed <= Units; ++seed) {
        RandomUnit::Shape shape;
        shape.people = 6 + int(seed % 23);
        shape.groups = 1 + int(seed % 4);
        shape.duties = 1 + int(seed % 5);
        shape.awkward = true;
        Algorytmy::GenerationRequest request;
        QString error;
        QVERIFY2(RandomUnit::fill(database.db(), shape, seed, &request, &error), qPrintable(error));
        std::unique_ptr<clsOptions> options = clsOptions::load(database.db());
        QVERIFY(options);
        RecordingHost host;
        QStringList found;
        if (Algorytmy::GenerateSchedule(database.db(), *options, host, request, &error))
            found = RandomUnit::violations(database.db(), request, *host.roster);
        else
            found << error;
        for (const QString &text : std::as_const(found))
            broken << QStringLiteral("unit %1, %2").arg(seed).arg(text);
        if (!found.isEmpty())
            brokenUnits.insert(seed);
    }
    Messages::clearShown();
    QVERIFY2(broken.isEmpty(),
             qPrintable(QStringLiteral("%1 of %2 rosters break a rule; first places:\n")
                            .arg(brokenUnits.size())
                            .arg(Units) +
                        broken.mid(0, 20).join(u'\n')));
}

QTEST_GUILESS_MAIN(TestGeneration)
#include "tst_generation.moc"
