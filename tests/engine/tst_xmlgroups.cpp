#include "core/DateTimeText.h"
#include "core/XML.h"
#include "engine/xmlGroups.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/RecordingSink.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {

// The person list as the class fills it and as XML::FillPersonCounts fills it from the document.
QPair<QStringList, QStringList> personLists(xmlGroups &groups)
{
    RecordingSink fromRecords;
    groups.FillPersonCounts(fromRecords);
    RecordingSink fromDocument;
    XML::FillPersonCounts(groups.xmlDocument(), fromDocument);
    return {fromRecords.calls, fromDocument.calls};
}

const QString EmptyRules =
    QStringLiteral("<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie/>"
                   "<Zwolnienia/><SluzbyIlosc/></Root>");

using Instant = xmlGroups::Instant;

Instant at(int year, int month, int day, int hour = 0)
{
    return DateTimeText::seconds(QDate(year, month, day), hour * 3600);
}

// One duty of 8 hours from 08:00 with the given rest, in May 2024 unless told.
struct Place
{
    Instant start, end, endWithRest;
    Place(int day, int restHours = 0, int month = 5, int year = 2024)
        : start(at(year, month, day, 8)), end(start + 8 * 3600),
          endWithRest(start + (8 + restHours) * 3600)
    {}
};

// A working document filled as the generation fills it.
struct Work
{
    xmlGroups groups;
    Xml::Document rules;
    QList<Xml::Node> groupNodes;

    explicit Work(const QString &rulesText = EmptyRules,
                  const QString &priorytet = QStringLiteral("0"))
    {
        rules.loadXml(rulesText);
        groups.setPriorytet(priorytet);
    }

    // A group whose persons are free from the start of the month.
    Xml::Node group(qint64 id, const QList<qint64> &persons, qint64 count = 0)
    {
        Xml::Node node = groups.AddGroup(id, QStringLiteral("G%1").arg(id), 0);
        for (qint64 person : persons) {
            Xml::Node item = groups.AddPerson(node, person, QStringLiteral("P%1").arg(person), 0,
                                              at(2024, 4, 30));
            groups.setPersonInfo(item, QStringLiteral("0"), QStringLiteral("0"));
        }
        groups.setGroupCount(node, count);
        groups.setGroupIlosc(node, persons.size());
        groupNodes << node;
        return node;
    }

    Xml::Node person(qint64 id)
    {
        return groups.xmlDocument().selectSingleNode(
            QStringLiteral("/Doc/Groups/Group/Item[@Id='%1']").arg(id));
    }

    qint64 find(int day, int number, const QString &service = QStringLiteral("5"),
                bool wholeGroup = false, int restHours = 0, bool menOnly = false)
    {
        const Place place(day, restHours);
        return groups.FindPerson(rules, day, service, number, place.start, place.endWithRest,
                                 place.end, wholeGroup, {place.start, menOnly});
    }

    // Asks for one place as the generation does: again while the chosen group had nobody.
    qint64 fill(int day, int number, const QString &service = QStringLiteral("5"),
                bool wholeGroup = false)
    {
        qint64 result = xmlGroups::GroupHadNobody;
        for (int attempt = 0; attempt < 50 && result == xmlGroups::GroupHadNobody; ++attempt)
            result = find(day, number, service, wholeGroup);
        return result;
    }

    QStringList select(const QString &xpath, const QString &attribute)
    {
        QStringList values;
        for (const Xml::Node &node : groups.xmlDocument().selectNodes(xpath))
            values << node.attribute(attribute);
        return values;
    }
};

} // namespace

class TestXmlGroups : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compareIntervals_data();
    void compareIntervals();
    void absenceAgainstDuty_data();
    void absenceAgainstDuty();
    void groupChoiceByRatio_data();
    void groupChoiceByRatio();
    void groupAbsencesLoggedUpToTheChoice();
    void varietyFirstThenDayTableReset();
    void balanceIgnoresDayTable();
    void badDaySkipsOnlyThatPlace();
    void roundRobinMovesChosenToEnd();
    void availability_data();
    void availability();
    void exclusionsLoggedOncePerDay();
    void exclusionsAppendedAsCopied();
    void ruleChecks_data();
    void ruleChecks();
    void dutyPersonRuleSearchesAllGroups();
    void wholeGroupStaysWithFirstGroup();
    void rulePeriodsEndAtMonthEnd();
    void rebuiltIndexesDecideAlike();
    void bookingsReadLateAsReadAtOnce();
    void personsAtOnceAsOneByOne_data();
    void personsAtOnceAsOneByOne();
};

void TestXmlGroups::compareIntervals_data()
{
    QTest::addColumn<QList<qint64>>("ab");
    QTest::addColumn<int>("relation");
    QTest::newRow("apart before") << QList<qint64>{1, 2, 3, 4} << 0;
    QTest::newRow("apart after") << QList<qint64>{5, 6, 3, 4} << 0;
    QTest::newRow("touching end") << QList<qint64>{1, 3, 3, 4} << 3;
    QTest::newRow("touching start") << QList<qint64>{4, 6, 3, 4} << 4;
    QTest::newRow("inside") << QList<qint64>{3, 4, 2, 5} << 1;
    QTest::newRow("equal is inside") << QList<qint64>{2, 5, 2, 5} << 1;
    QTest::newRow("covers") << QList<qint64>{1, 6, 2, 5} << 2;
    QTest::newRow("covers, same start") << QList<qint64>{2, 6, 2, 5} << 2;
    QTest::newRow("covers, same end") << QList<qint64>{1, 5, 2, 5} << 2;
    QTest::newRow("starts before") << QList<qint64>{1, 3, 2, 5} << 3;
    QTest::newRow("ends after") << QList<qint64>{3, 7, 2, 5} << 4;
}

void TestXmlGroups::compareIntervals()
{
    QFETCH(QList<qint64>, ab);
    QFETCH(int, relation);
    QCOMPARE(xmlGroups::CompareIntervals(ab[0], ab[1], ab[2], ab[3]), relation);
}

void TestXmlGroups::absenceAgainstDuty_data()
{
    // The duty: 10 May 2024 08:00-16:00, then the rest.
    QTest::addColumn<int>("firstDay");
    QTest::addColumn<int>("lastDay");
    QTest::addColumn<int>("restHours");
    QTest::addColumn<bool>("free");
    QTest::newRow("ends the day before") << 1 << 9 << 0 << true;
    QTest::newRow("ends on the day") << 1 << 10 << 0 << false;
    QTest::newRow("the day alone") << 10 << 10 << 0 << false;
    QTest::newRow("begins the day after, no rest") << 11 << 15 << 0 << true;
    QTest::newRow("begins in the rest, lasts beyond it") << 11 << 15 << 24 << true;
    QTest::newRow("wholly inside the rest") << 11 << 11 << 48 << false;
    QTest::newRow("spans the duty") << 1 << 31 << 0 << false;
}

void TestXmlGroups::absenceAgainstDuty()
{
    QFETCH(int, firstDay);
    QFETCH(int, lastDay);
    QFETCH(int, restHours);
    QFETCH(bool, free);
    const Place place(10, restHours);
    QCOMPARE(xmlGroups::IntervalIsFree(at(2024, 5, firstDay), at(2024, 5, lastDay), place.start,
                                       place.endWithRest, place.end),
             free);

    // The same through a person's absence: blocked persons are logged.
    Work work;
    Xml::Node group = work.group(1, {10});
    work.groups.AddZwolnienie(work.person(10), 77, QDate(2024, 5, firstDay),
                              QDate(2024, 5, lastDay), 0);
    Q_UNUSED(group);
    QCOMPARE(work.groups.FindZwolnienia_Person(work.rules, QStringLiteral("10"),
                                               QStringLiteral("1"), place.start, place.endWithRest,
                                               place.end),
             !free);
    QCOMPARE(
        work.select(QStringLiteral("/Doc/Exclusions/Day[@Id='10']/Item"), QStringLiteral("Id")),
        free ? QStringList() : QStringList{QStringLiteral("10P")});
}

void TestXmlGroups::groupChoiceByRatio_data()
{
    QTest::addColumn<QList<qint64>>("counts");
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::addColumn<qint64>("group");
    QTest::newRow("first group with count 0 at once")
        << QList<qint64>{3, 0, 0} << QList<qint64>{1, 1, 1} << qint64(2);
    QTest::newRow("lowest ratio") << QList<qint64>{4, 3, 5} << QList<qint64>{2, 2, 2} << qint64(2);
    QTest::newRow("per person, not in total")
        << QList<qint64>{4, 3} << QList<qint64>{4, 2} << qint64(1);
    QTest::newRow("tie keeps the earlier")
        << QList<qint64>{2, 1, 1} << QList<qint64>{2, 1, 1} << qint64(1);
    // Carried counts can be below 0: a count of 0 still goes first.
    QTest::newRow("count 0 before a lower ratio")
        << QList<qint64>{-2, 0, -5} << QList<qint64>{1, 1, 1} << qint64(2);
    QTest::newRow("lowest ratio below 0")
        << QList<qint64>{1, -3, -3, 2} << QList<qint64>{1, 1, 1, 1} << qint64(2);
    QTest::newRow("count 0 but nobody in it")
        << QList<qint64>{0, 4, 0} << QList<qint64>{0, 2, 1} << qint64(3);
}

void TestXmlGroups::groupChoiceByRatio()
{
    QFETCH(QList<qint64>, counts);
    QFETCH(QList<qint64>, sizes);
    QFETCH(qint64, group);
    for (const QString &priorytet : {QStringLiteral("0"), QStringLiteral("1")}) {
        Work work(EmptyRules, priorytet);
        for (qsizetype g = 0; g < counts.size(); ++g) {
            QList<qint64> persons;
            for (qint64 p = 0; p < sizes[g]; ++p)
                persons << (g + 1) * 100 + p;
            work.group(g + 1, persons, counts[g]);
        }
        const qint64 person = work.find(1, 1);
        QCOMPARE(person / 100, group);
    }
}

void TestXmlGroups::groupAbsencesLoggedUpToTheChoice()
{
    // Groups 1, 3 and 4 are absent on day 3. A group of count 0 is taken as
    // soon as it comes in group order: the absent groups before it are
    // logged, those after it are not asked. Any other choice asks them all.
    const QString rules = QStringLiteral(
        "<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie/><Zwolnienia>"
        "<Item Id='1'><SubItem Arg2='G' Date1='3' Date2='3'/></Item>"
        "<Item Id='3'><SubItem Arg2='G' Date1='3' Date2='3'/></Item>"
        "<Item Id='4'><SubItem Arg2='G' Date1='3' Date2='3'/></Item>"
        "</Zwolnienia><SluzbyIlosc/></Root>");
    for (const auto &[secondCount, logged] :
         {std::pair(qint64(0), QStringList{"1G"}),
          std::pair(qint64(5), QStringList{"1G", "3G", "4G"})}) {
        Work work(rules);
        work.group(1, {11}, 0);
        work.group(2, {21}, secondCount);
        work.group(3, {31}, 0);
        work.group(4, {41}, -1);
        work.group(5, {51}, 9);
        QCOMPARE(work.fill(3, 1), qint64(21));
        QCOMPARE(
            work.select(QStringLiteral("/Doc/Exclusions/Day[@Id='3']/Item"), QStringLiteral("Id")),
            logged);
    }
}

void TestXmlGroups::varietyFirstThenDayTableReset()
{
    Work work;
    work.group(1, {101, 102, 103, 104}, 0);
    work.group(2, {201, 202, 203, 204}, 40);
    work.group(3, {301, 302, 303, 304}, 40);
    QList<qint64> groups;
    for (int place = 1; place <= 5; ++place)
        groups << work.fill(1, place) / 100;
    // Every group once, whatever its count; then the day's record is dropped
    // and is built again from the next place on.
    QCOMPARE(groups, (QList<qint64>{1, 2, 3, 1, 2}));
    QCOMPARE(
        work.select(QStringLiteral("/Doc/DaysTable/Day[@Number='1']/Item"), QStringLiteral("Id")),
        (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(work.groups.xmlDocument().selectNodes(QStringLiteral("/Doc/DaysTable/Day")).size(), 1);
    // Another day starts with every group free again (counts now 3, 42, 41).
    QCOMPARE(work.fill(2, 1) / 100, qint64(1));
    QCOMPARE(work.fill(2, 2) / 100, qint64(3));

    // Read between places, the table holds its days in the order they began:
    // day 1, forgotten once more after it was read, now follows day 2.
    QCOMPARE(work.fill(1, 6) / 100, qint64(3));
    QVERIFY(work.fill(1, 7) > 0);
    QCOMPARE(work.select(QStringLiteral("/Doc/DaysTable/Day"), QStringLiteral("Number")),
             (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
    QCOMPARE(
        work.select(QStringLiteral("/Doc/DaysTable/Day[@Number='2']/Item"), QStringLiteral("Id")),
        (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    QCOMPARE(
        work.select(QStringLiteral("/Doc/DaysTable/Day[@Number='1']/Item"), QStringLiteral("Id"))
            .size(),
        1);
}

void TestXmlGroups::balanceIgnoresDayTable()
{
    Work work(EmptyRules, QStringLiteral("1"));
    work.group(1, {101, 102, 103, 104}, 0);
    work.group(2, {201, 202, 203, 204}, 40);
    QList<qint64> groups;
    for (int place = 1; place <= 3; ++place)
        groups << work.fill(1, place) / 100;
    QCOMPARE(groups, (QList<qint64>{1, 1, 1}));
    QCOMPARE(work.select(QStringLiteral("/Doc/Groups/Group"), QStringLiteral("Count")),
             (QStringList{QStringLiteral("3"), QStringLiteral("40")}));
}

void TestXmlGroups::badDaySkipsOnlyThatPlace()
{
    Work work;
    work.group(1, {101});
    work.group(2, {201}, 5);
    work.group(3, {301}, 9);
    // 101 is busy on day 1 until noon of day 2.
    work.groups.UpdatePerson(1, 101, at(2024, 5, 2, 12));
    QCOMPARE(work.find(1, 1), xmlGroups::GroupHadNobody);
    QCOMPARE(work.find(1, 1), qint64(201));
    QCOMPARE(work.select(QStringLiteral("/Doc/Groups/Group[@Id='1']/BadDays/Item"),
                         QStringLiteral("Number")),
             QStringList{QStringLiteral("1")});
    // Place 2 may choose group 1 again (and is told it had nobody again).
    QCOMPARE(work.find(1, 2), xmlGroups::GroupHadNobody);
    QCOMPARE(work.find(1, 2), qint64(301));
    // Nobody left at all: all groups are bad for place 3.
    QCOMPARE(work.fill(1, 3), xmlGroups::NoGroup);
    QCOMPARE(
        work.select(QStringLiteral("/Doc/Groups/Group/BadDays/Item"), QStringLiteral("Number")),
        (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                     QStringLiteral("3"), QStringLiteral("3")}));
    // The day after the person is free again.
    QCOMPARE(work.fill(3, 1), qint64(101));
}

void TestXmlGroups::roundRobinMovesChosenToEnd()
{
    Work work;
    work.group(1, {11, 12, 13});
    QList<qint64> order;
    for (int day = 1; day <= 4; ++day)
        order << work.fill(day, 1);
    QCOMPARE(order, (QList<qint64>{11, 12, 13, 11}));
    QCOMPARE(work.select(QStringLiteral("/Doc/Groups/Group/Item"), QStringLiteral("Id")),
             (QStringList{QStringLiteral("12"), QStringLiteral("13"), QStringLiteral("11")}));
    QCOMPARE(
        work.select(QStringLiteral("/Doc/Groups/Group/Item[@Id='11']"), QStringLiteral("Count")),
        QStringList{QStringLiteral("2")});
    QCOMPARE(
        work.select(QStringLiteral("/Doc/Groups/Group/Item[@Id='11']"), QStringLiteral("Date")),
        QStringList{QStringLiteral("2024-05-04 16:00:00")});
    QCOMPARE(work.select(QStringLiteral("/Doc/Groups/Group/Item[@Id='13']"),
                         QStringLiteral("CountAtStar")),
             QStringList{QStringLiteral("0")});
    QCOMPARE(work.select(QStringLiteral("/Doc/Groups/Group"), QStringLiteral("Count")),
             QStringList{QStringLiteral("4")});
}

void TestXmlGroups::availability_data()
{
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("przywilej");
    QTest::addColumn<int>("freeFromHour"); // on 1 May
    QTest::addColumn<int>("startHour");    // of the 8-hour duty on 1 May
    QTest::addColumn<bool>("menOnly");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("free man") << "0"
                              << "0" << 0 << 8 << false << true;
    QTest::newRow("privilege 1 never") << "0"
                                       << "1" << 0 << 8 << false << false;
    QTest::newRow("free exactly at the start is not free") << "0"
                                                           << "0" << 8 << 8 << false << false;
    QTest::newRow("free a minute before") << "0"
                                          << "0" << 7 << 8 << false << true;
    // A midnight free-from text reads yyyy-mm-dd alone and sorts before the start text.
    QTest::newRow("free from the midnight the duty starts") << "0"
                                                            << "0" << 0 << 0 << false << true;
    QTest::newRow("woman, duty for everybody") << "1"
                                               << "0" << 0 << 8 << false << true;
    QTest::newRow("woman, men-only duty") << "1"
                                          << "0" << 0 << 8 << true << false;
    QTest::newRow("man, men-only duty") << "0"
                                        << "0" << 0 << 8 << true << true;
}

void TestXmlGroups::availability()
{
    QFETCH(QString, sex);
    QFETCH(QString, przywilej);
    QFETCH(int, freeFromHour);
    QFETCH(int, startHour);
    QFETCH(bool, menOnly);
    QFETCH(bool, chosen);
    Work work;
    Xml::Node group = work.groups.AddGroup(1, QStringLiteral("G"), 0);
    Xml::Node person =
        work.groups.AddPerson(group, 7, QStringLiteral("P"), 0, at(2024, 5, 1, freeFromHour));
    work.groups.setPersonInfo(person, sex, przywilej);
    work.groups.setGroupIlosc(group, 1);
    const Instant start = at(2024, 5, 1, startHour);
    const Instant end = start + 8 * 3600;
    QCOMPARE(work.groups.FindPerson(work.rules, 1, QStringLiteral("5"), 1, start, end, end, false,
                                    {start, menOnly}) == 7,
             chosen);
}

void TestXmlGroups::exclusionsLoggedOncePerDay()
{
    // Person 11 may take only duty 9 on day 3, and is absent then as well.
    Work work(QStringLiteral(
        "<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby><Item Id='11'>"
        "<SubItem Arg2='9' Date1='1' Date2='5'/></Item></LudzieSluzby><SluzbyLudzie/>"
        "<Zwolnienia/><SluzbyIlosc/></Root>"));
    work.group(1, {11, 12});
    work.groups.AddZwolnienie(work.person(11), 5, QDate(2024, 5, 2), QDate(2024, 5, 4), 0);
    work.groups.AddZwolnienie(work.person(11), 6, QDate(2024, 5, 3), QDate(2024, 5, 3), 0);
    QCOMPARE(work.fill(3, 1), qint64(12));
    QCOMPARE(work.fill(3, 2), xmlGroups::NoGroup);
    const Xml::Node item = work.groups.xmlDocument().selectSingleNode(
        QStringLiteral("/Doc/Exclusions/Day[@Id='3']/Item"));
    QCOMPARE(item.attribute(QStringLiteral("Id")), QStringLiteral("11P"));
    QCOMPARE(item.attribute(QStringLiteral("Date1")), QStringLiteral("2024-05-02"));
    QCOMPARE(item.attribute(QStringLiteral("Date2")), QStringLiteral("2024-05-04"));
    QCOMPARE(item.attribute(QStringLiteral("Kind")), QStringLiteral("Zw"));
    QCOMPARE(
        work.groups.xmlDocument().selectNodes(QStringLiteral("/Doc/Exclusions/Day/Item")).size(),
        1);
    QCOMPARE(work.fill(4, 1), qint64(12));
    QCOMPARE(work.select(QStringLiteral("/Doc/Exclusions/Day"), QStringLiteral("Id")),
             (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
}

void TestXmlGroups::exclusionsAppendedAsCopied()
{
    // The exclusions written at once into another document are the copy of
    // the working document's element: also after it was read half way.
    const std::vector<xmlGroups::NewAbsence> early = {{5, QDate(2024, 5, 2), QDate(2024, 5, 4), 0}};
    const std::vector<xmlGroups::NewAbsence> later = {{6, QDate(2024, 5, 3), QDate(2024, 5, 6), 0},
                                                      {7, QDate(2024, 5, 5), QDate(2024, 5, 5), 0}};
    auto person = [](qint64 id, const std::vector<xmlGroups::NewAbsence> &absences) {
        return xmlGroups::NewPerson{id,
                                    QStringLiteral("P%1").arg(id),
                                    0,
                                    at(2024, 4, 30),
                                    QStringLiteral("0"),
                                    QStringLiteral("0"),
                                    absences};
    };
    auto play = [](Work &work, int fromDay, int toDay) {
        for (int day = fromDay; day <= toDay; ++day) {
            for (int place = 1; place <= 3; ++place)
                work.fill(day, place);
        }
    };
    auto appended = [](const std::function<void(Xml::Node)> &append) {
        Xml::Document roster;
        roster.loadXml(QStringLiteral("<Baza><Dzien Id='1'/></Baza>"));
        append(roster.documentElement());
        return roster.xml();
    };
    for (bool readHalfWay : {false, true}) {
        Work copied;
        Work written;
        for (Work *work : {&copied, &written}) {
            // As the generation adds them: persons at once, the document not read.
            const std::vector<std::vector<xmlGroups::NewPerson>> groups = {
                {person(11, early), person(12, {}), person(13, {})},
                {person(21, later), person(22, later)}};
            for (size_t g = 0; g < groups.size(); ++g) {
                const Xml::Node node = work->groups.AddGroup(qint64(g + 1), QStringLiteral("G"), 0);
                work->groups.AddPersons(node, groups[g]);
                work->groups.setGroupIlosc(node, qint64(groups[g].size()));
            }
            play(*work, 1, 3);
            if (readHalfWay)
                work->groups.xmlDocument();
            play(*work, 4, 6);
        }
        const QString byCopy =
            appended([&](Xml::Node root) { root.appendCopy(copied.groups.exclusions()); });
        QVERIFY(byCopy.count(QStringLiteral("<Item ")) >= 4);
        QCOMPARE(appended([&](Xml::Node root) { written.groups.appendExclusions(root); }), byCopy);
    }
}

void TestXmlGroups::ruleChecks_data()
{
    QTest::addColumn<QString>("section"); // the rules document's sections in between
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("service");
    QTest::addColumn<qint64>("person");

    // Groups 1 (persons 11, 12) and 2 (21, 22), group 2 with the higher count.
    const QString groupOneOnlyNine =
        QStringLiteral("<GrupySluzby><Item Id='1'><SubItem Arg2='9' Date1='1' Date2='5'/>"
                       "</Item></GrupySluzby>");
    QTest::newRow("group-duty rule in force") << groupOneOnlyNine << 3 << "5" << qint64(21);
    QTest::newRow("group-duty rule, listed duty") << groupOneOnlyNine << 3 << "9" << qint64(11);
    QTest::newRow("group-duty rule out of force") << groupOneOnlyNine << 6 << "5" << qint64(11);
    const QString dutyOnlyGroupTwo =
        QStringLiteral("<SluzbyGrupy><Item Id='5'><SubItem Arg2='2' Date1='2' Date2='2'/>"
                       "</Item></SluzbyGrupy>");
    QTest::newRow("duty-group rule in force") << dutyOnlyGroupTwo << 2 << "5" << qint64(21);
    QTest::newRow("duty-group rule, other duty") << dutyOnlyGroupTwo << 2 << "6" << qint64(11);
    QTest::newRow("duty-group rule out of force") << dutyOnlyGroupTwo << 3 << "5" << qint64(11);
    const QString personOnlyNine =
        QStringLiteral("<LudzieSluzby><Item Id='11'><SubItem Arg2='9' Date1='1' Date2='31'/>"
                       "</Item></LudzieSluzby>");
    QTest::newRow("person-duty rule") << personOnlyNine << 3 << "5" << qint64(12);
    QTest::newRow("person-duty rule, listed duty") << personOnlyNine << 3 << "9" << qint64(11);
    const QString groupAbsent =
        QStringLiteral("<Zwolnienia><Item Id='1'><SubItem Arg2='G' Date1='3' Date2='4'/>"
                       "</Item></Zwolnienia>");
    QTest::newRow("group absence") << groupAbsent << 4 << "5" << qint64(21);
    QTest::newRow("group absence ended the day before") << groupAbsent << 5 << "5" << qint64(11);
    const QString personAbsent =
        QStringLiteral("<Zwolnienia><Item Id='11'><SubItem Arg2='P' Date1='3' Date2='3'/>"
                       "</Item><Item Id='1'><SubItem Arg2='P' Date1='3' Date2='3'/></Item>"
                       "</Zwolnienia>");
    QTest::newRow("person absence, not the group with that id")
        << personAbsent << 3 << "5" << qint64(12);
    const QString onlyPersons =
        QStringLiteral("<SluzbyLudzie><Item Id='5'><SubItem Arg2='22' Date1='1' Date2='9'/>"
                       "<SubItem Arg2='12' Date1='1' Date2='9'/></Item></SluzbyLudzie>");
    QTest::newRow("duty-person rule, group order first") << onlyPersons << 3 << "5" << qint64(12);
    QTest::newRow("duty-person rule out of force") << onlyPersons << 10 << "5" << qint64(11);
}

void TestXmlGroups::ruleChecks()
{
    QFETCH(QString, section);
    QFETCH(int, day);
    QFETCH(QString, service);
    QFETCH(qint64, person);
    QString rules = EmptyRules;
    const QString name = section.mid(1, section.indexOf(u'>') - 1);
    rules.replace(u'<' + name + QStringLiteral("/>"), section);
    Work work(rules);
    work.group(1, {11, 12}, 0);
    work.group(2, {21, 22}, 6);
    QCOMPARE(work.fill(day, 1, service), person);
}

void TestXmlGroups::dutyPersonRuleSearchesAllGroups()
{
    Work work(QStringLiteral(
        "<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie><Item Id='5'>"
        "<SubItem Arg2='22' Date1='1' Date2='9'/><SubItem Arg2='21' Date1='1' Date2='9'/>"
        "<SubItem Arg2='22' Date1='1' Date2='9'/></Item></SluzbyLudzie>"
        "<Zwolnienia/><SluzbyIlosc/></Root>"));
    work.group(1, {11, 12}, 0);
    work.group(2, {21, 22}, 6);
    // Group 2's current order: 21, 22; then 22, 21 once 21 has served.
    QCOMPARE(work.fill(1, 1), qint64(21));
    QCOMPARE(work.fill(2, 1), qint64(22));
    QCOMPARE(work.fill(3, 1), qint64(21));
    // Both listed persons busy: no group can take the place, nothing is asked again.
    QCOMPARE(work.fill(3, 2), qint64(22));
    QCOMPARE(work.find(3, 3), xmlGroups::NoGroup);
    QCOMPARE(
        work.select(QStringLiteral("/Doc/Groups/Group[@Id='1']/Item"), QStringLiteral("Count")),
        (QStringList{QStringLiteral("0"), QStringLiteral("0")}));
}

void TestXmlGroups::wholeGroupStaysWithFirstGroup()
{
    Work work;
    work.group(1, {11}, 0);
    work.group(2, {21, 22, 23}, 1);
    // Group 1 is chosen first, but 11 is busy: the place goes to group 2, and
    // the duty's later places stay there.
    work.groups.UpdatePerson(1, 11, at(2024, 5, 1, 23));
    work.groups.setLastGroup(-1);
    QList<qint64> persons;
    for (int place = 1; place <= 4; ++place)
        persons << work.fill(1, place, QStringLiteral("5"), true);
    QCOMPARE(persons, (QList<qint64>{21, 22, 23, xmlGroups::NoGroup}));
    QCOMPARE(work.groups.lastGroup(), qint64(2));
    // Groups 1 {11} and 2 {21, 22, 23} under a duty-person rule for duty 5
    // with the given periods.
    auto underRule = [](const char *periods) {
        auto ruled = std::make_unique<Work>(
            QStringLiteral("<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie>"
                           "<Item Id='5'>%1</Item></SluzbyLudzie><Zwolnienia/><SluzbyIlosc/>"
                           "</Root>")
                .arg(QLatin1String(periods)));
        ruled->group(1, {11}, 0);
        ruled->group(2, {21, 22, 23}, 1);
        return ruled;
    };
    // A duty-person rule still holds on the later places.
    const auto namedRule = underRule("<SubItem Arg2='22' Date1='1' Date2='9'/>"
                                     "<SubItem Arg2='11' Date1='1' Date2='9'/>");
    Work &rules = *namedRule;
    rules.groups.setLastGroup(-1);
    QCOMPARE(rules.fill(1, 1, QStringLiteral("5"), true), qint64(11));
    QCOMPARE(rules.groups.lastGroup(), qint64(1));
    QCOMPARE(rules.fill(1, 2, QStringLiteral("5"), true), xmlGroups::NoGroup);
    // A period of the rule that names no person lets nobody in, on a later
    // place of the group as on a first place searched in all groups.
    const auto unnamedRule =
        underRule("<SubItem Arg2='22' Date1='1' Date2='9'/><SubItem Date1='1' Date2='9'/>");
    Work &unnamed = *unnamedRule;
    unnamed.groups.setLastGroup(1);
    QCOMPARE(unnamed.fill(1, 1, QStringLiteral("5"), true), xmlGroups::NoGroup);
    QCOMPARE(unnamed.fill(2, 1, QStringLiteral("5")), qint64(22));
}

void TestXmlGroups::rulePeriodsEndAtMonthEnd()
{
    // February 2023 has 28 days: 27-31 ends on the 28th, 29-31 covers nothing.
    Work work(QStringLiteral(
        "<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie/><Zwolnienia>"
        "<Item Id='1'><SubItem Arg2='G' Date1='27' Date2='31'/></Item>"
        "<Item Id='2'><SubItem Arg2='G' Date1='29' Date2='31'/></Item>"
        "</Zwolnienia><SluzbyIlosc/></Root>"));
    work.group(1, {11});
    work.group(2, {21});
    const Place place(28, 0, 2, 2023);
    QVERIFY(work.groups.FindZwolnienia_Group(work.rules, QStringLiteral("1"), place.start,
                                             place.endWithRest, place.end));
    QVERIFY(!work.groups.FindZwolnienia_Group(work.rules, QStringLiteral("2"), place.start,
                                              place.endWithRest, place.end));
    const Xml::Node item =
        work.groups.xmlDocument().selectSingleNode(QStringLiteral("/Doc/Exclusions/Day/Item"));
    QCOMPARE(item.attribute(QStringLiteral("Id")), QStringLiteral("1G"));
    QCOMPARE(item.attribute(QStringLiteral("Date1")), QStringLiteral("2023-02-27"));
    QCOMPARE(item.attribute(QStringLiteral("Date2")), QStringLiteral("2023-02-28"));
    QCOMPARE(item.parent().attribute(QStringLiteral("Id")), QStringLiteral("28"));
}

void TestXmlGroups::rebuiltIndexesDecideAlike()
{
    // A document taken over half way must lead to the same choices as the
    // instance that built it.
    const QString rules =
        QStringLiteral("<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie/>"
                       "<Zwolnienia/><SluzbyIlosc/></Root>");
    Work original(rules);
    original.group(1, {11, 12, 13}, 2);
    original.group(2, {21, 22}, 0);
    original.group(3, {31, 32, 33, 34}, 5);
    original.groups.AddZwolnienie(original.person(22), 1, QDate(2024, 5, 3), QDate(2024, 5, 6), 0);
    original.groups.UpdatePerson(1, 12, at(2024, 5, 2, 12));
    auto play = [](Work &work, int fromDay, int toDay) {
        QList<qint64> persons;
        for (int day = fromDay; day <= toDay; ++day)
            for (int place = 1; place <= 3; ++place)
                persons << work.fill(day, place);
        return persons;
    };
    play(original, 1, 4);

    Work copy(rules);
    auto document = std::make_unique<Xml::Document>();
    QVERIFY(document->loadXml(original.groups.xmlDocument().xml()));
    copy.groups.setXmlDocument(std::move(document));
    QCOMPARE(play(copy, 5, 9), play(original, 5, 9));
    QCOMPARE(copy.groups.xmlDocument().xml(), original.groups.xmlDocument().xml());
    // The person list read from the records is the one the document gives.
    for (Work *work : {&original, &copy}) {
        const auto [fromRecords, fromDocument] = personLists(work->groups);
        QCOMPARE(fromRecords, fromDocument);
        QCOMPARE(fromRecords.size(), 9 + 3);
    }
}

void TestXmlGroups::bookingsReadLateAsReadAtOnce()
{
    // The document read after every place, or only now and then, tells the
    // same bookings: counts, dates and the persons' order with the line breaks
    // between them.
    Work everyPlace;
    Work now;
    for (Work *work : {&everyPlace, &now}) {
        work->group(1, {11, 12, 13, 14});
        work->group(2, {21, 22}, 1);
        // Busy until the 3rd: the bookings then come out of the persons' first order.
        work->groups.UpdatePerson(1, 11, at(2024, 5, 2, 12));
    }
    QVERIFY(!everyPlace.groups.xmlDocument().xml().isEmpty());
    for (int day = 1; day <= 8; ++day) {
        for (int place = 1; place <= 2; ++place) {
            const qint64 taken = everyPlace.fill(day, place);
            QVERIFY(!everyPlace.groups.xmlDocument().xml().isEmpty());
            QCOMPARE(now.fill(day, place), taken);
        }
        if (day == 4) {
            // A person added on the way comes after those booked so far.
            for (Work *work : {&everyPlace, &now}) {
                const Xml::Node item = work->groups.AddPerson(
                    work->groupNodes[0], 15, QStringLiteral("P15"), 0, at(2024, 4, 30));
                work->groups.setPersonInfo(item, QStringLiteral("0"), QStringLiteral("0"));
                work->groups.setGroupIlosc(work->groupNodes[0], 5);
            }
        }
    }
    QCOMPARE(now.groups.xmlDocument().xml(), everyPlace.groups.xmlDocument().xml());
}

void TestXmlGroups::personsAtOnceAsOneByOne_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("document");
    const QString plain = QStringLiteral("<Doc><Groups/><DaysTable/><Exclusions/></Doc>");
    QTest::newRow("plain") << QStringLiteral("Nowak Jan") << plain;
    QTest::newRow("polish") << QStringLiteral("Żółkiewska-Brzęczyszczykiewicz Małgorzata") << plain;
    QTest::newRow("markup") << QStringLiteral("Nowak & Syn <\"O'Brien\"> &amp;") << plain;
    QTest::newRow("line breaks and tabs") << QStringLiteral("Nowak\r\nJan\tII\n") << plain;
    QTest::newRow("control character") << QStringLiteral("Nowak\x01Jan") << plain;
    QTest::newRow("NUL") << QStringLiteral("Nowak") + QChar(0) + QStringLiteral("Jan") << plain;
    QTest::newRow("outside the BMP") << QStringLiteral("Nowak \U0001F600") << plain;
    QTest::newRow("lone surrogate")
        << QStringLiteral("Nowak ") + QChar(0xD800) + QStringLiteral("x") << plain;
    QTest::newRow("empty") << QString() << plain;
    // Persons added to a group in a namespace declare none, each on its own.
    QTest::newRow("group in a namespace")
        << QStringLiteral("Nowak Jan")
        << QStringLiteral(
               "<Doc xmlns='urn:k'><Groups><Group Id='1' Name='G1' Count='0' RulesBroken='0'>"
               "<BadDays/></Group></Groups><DaysTable/><Exclusions/></Doc>");
}

void TestXmlGroups::personsAtOnceAsOneByOne()
{
    QFETCH(QString, name);
    QFETCH(QString, document);
    const std::vector<xmlGroups::NewAbsence> absences = {
        {5, QDate(2024, 5, 2), QDate(2024, 5, 3), 0},
        {6, QDate(2024, 4, 28), QDate(2024, 5, 1), 1}};
    const std::vector<xmlGroups::NewPerson> persons = {
        {11, name, 2, at(2024, 4, 30), QStringLiteral("0"), QStringLiteral("0"), {}},
        {12, QStringLiteral("P12"), 0, at(2024, 5, 1, 14), QStringLiteral("1"), QStringLiteral("1"),
         absences},
        {-13, name + name, -4, at(2024, 4, 30), QStringLiteral("0"), name, {}},
        {14, QStringLiteral("P14"), 1, at(2024, 4, 29, 23), QStringLiteral("0"),
         QStringLiteral("0"), absences}};
    Work oneByOne;
    Work atOnce;
    Work readLate; // the document read only after the places, the persons given gone by then
    for (Work *work : {&oneByOne, &atOnce, &readLate}) {
        auto doc = std::make_unique<Xml::Document>();
        QVERIFY(doc->loadXml(document));
        work->groups.setXmlDocument(std::move(doc));
        Xml::Node group =
            work->groups.xmlDocument().selectSingleNode(QStringLiteral("/Doc/Groups/Group"));
        if (!group)
            group = work->groups.AddGroup(1, QStringLiteral("G1"), 0);
        work->groupNodes << group;
    }
    for (const xmlGroups::NewPerson &person : persons) {
        const Xml::Node item = oneByOne.groups.AddPerson(oneByOne.groupNodes[0], person.id,
                                                         person.name, person.count, person.date);
        oneByOne.groups.setPersonInfo(item, person.sex, person.przywilej);
        for (const xmlGroups::NewAbsence &absence : person.absences)
            oneByOne.groups.AddZwolnienie(item, absence.id, absence.date1, absence.date2,
                                          absence.kind);
    }
    atOnce.groups.AddPersons(atOnce.groupNodes[0], persons);
    {
        const std::vector<xmlGroups::NewAbsence> given = absences;
        std::vector<xmlGroups::NewPerson> copies = persons;
        for (xmlGroups::NewPerson &person : copies)
            person.absences = person.absences.empty() ? std::span<const xmlGroups::NewAbsence>()
                                                      : std::span(given);
        readLate.groups.AddPersons(readLate.groupNodes[0], copies);
    }
    for (Work *work : {&oneByOne, &atOnce, &readLate})
        work->groups.setGroupIlosc(work->groupNodes[0], qint64(persons.size()));
    QCOMPARE(atOnce.groups.xmlDocument().xml(), oneByOne.groups.xmlDocument().xml());

    // The records behind the elements decide alike and move the right elements.
    QList<qint64> taken[3];
    for (int day = 1; day <= 4; ++day) {
        for (int place = 1; place <= 2; ++place) {
            taken[0] << oneByOne.fill(day, place);
            taken[1] << atOnce.fill(day, place);
            taken[2] << readLate.fill(day, place);
        }
    }
    QCOMPARE(taken[1], taken[0]);
    QCOMPARE(taken[2], taken[0]);
    QCOMPARE(atOnce.groups.xmlDocument().xml(), oneByOne.groups.xmlDocument().xml());
    QCOMPARE(readLate.groups.xmlDocument().xml(), oneByOne.groups.xmlDocument().xml());
    QCOMPARE(personLists(atOnce.groups), personLists(oneByOne.groups));
    QCOMPARE(personLists(readLate.groups), personLists(oneByOne.groups));
}

QTEST_GUILESS_MAIN(TestXmlGroups)
#include "tst_xmlgroups.moc"
