#pragma once

#include "platform/xml/XmlDocument.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVarLengthArray>

#include <limits>
#include <memory>
#include <span>
#include <vector>

namespace XML {
class PersonCountSink;
}

// The generator's working document for one run: root Doc with Groups (groups,
// their persons, the persons' absences, BadDays), DaysTable (which groups
// served on which day) and Exclusions (persons and groups passed over for an
// absence). FindPerson decides who takes the next place.
//
// The document holds everything as attribute text, in the order the roster
// and the person list read it.
// Beside it the class keeps indexes (groups, persons in their current order,
// absences, day table, bad days, exclusions and a parsed copy of the rules
// document, every id and rule text turned into a number once) so that a place
// costs no scan of the document and no text work. Change the document only
// through this class; setXmlDocument() rebuilds the indexes (the places of the
// duty-day in progress are not in the document and are not rebuilt).
//
// Rules: every operation taking `rules` expects the run's rules document
// (root Root); it is parsed on first use and the parse is kept while the same
// document is passed, so it must not change during the run.
//
// Instants are whole seconds since 1970-01-01 00:00 of the wall clock
// (DateTimeText::seconds); their text form is yyyy-mm-dd hh:nn:ss, or
// yyyy-mm-dd alone at midnight. Failures: none of the operations fails; an
// unknown group or person is ignored (false / no change).
class xmlGroups
{
public:
    using Instant = qint64;

    // The availability test of a person for a place (in place of the query
    // text "@Przywilej!='1' and @Date<'start'"): the person's Date text must
    // sort before the text of `freeBefore` (so before it in time, or at it when
    // Date is a midnight, which reads yyyy-mm-dd alone), Przywilej must be set
    // and not "1", and for a men-only duty Sex must be "0".
    struct PersonCondition
    {
        Instant freeBefore = 0;
        bool menOnly = false;
    };

    // Results of FindPerson besides a person id.
    static constexpr qint64 GroupHadNobody = -1;
    static constexpr qint64 NoGroup = -2;

    xmlGroups();
    ~xmlGroups();
    xmlGroups(const xmlGroups &) = delete;
    xmlGroups &operator=(const xmlGroups &) = delete;

    // The option Priorytet: "1" balances the counts per person of the groups,
    // anything else prefers groups that have not served on the day yet.
    void setPriorytet(const QString &value) { m_balanceCounts = value == QLatin1String("1"); }

    void setLastGroup(qint64 groupId) { m_lastGroup = groupId; }
    qint64 lastGroup() const { return m_lastGroup; }

    // The document with every person, booking and absence written into it
    // (they are written when it is read, not as they come).
    const Xml::Document &xmlDocument();
    // Its Exclusions element, up to date: reading it does not write the
    // persons and bookings into the document.
    Xml::Node exclusions();
    // Appends to parent what parent.appendCopy(exclusions()) would, written
    // there at once where the element holds only what this object logged.
    void appendExclusions(Xml::Node parent);
    // Takes over a working document and rebuilds the indexes from it.
    void setXmlDocument(std::unique_ptr<Xml::Document> document);

    // Room for the groups and persons a run will add.
    void reserve(qsizetype groups, qsizetype persons);

    Xml::Node AddGroup(qint64 id, const QString &name, qint64 count);
    Xml::Node AddPerson(const Xml::Node &group, qint64 id, const QString &name, qint64 count,
                        Instant date);
    void AddZwolnienie(const Xml::Node &person, qint64 id, const QDate &date1, const QDate &date2,
                       int kind);

    // A person of a run as AddPersons takes it.
    struct NewAbsence
    {
        qint64 id = 0;
        QDate date1, date2;
        int kind = 0;
    };
    struct NewPerson
    {
        qint64 id = 0;
        QString name;
        qint64 count = 0;
        Instant date = 0;
        QString sex, przywilej;
        std::span<const NewAbsence> absences;
    };
    // Adds the persons to the group as AddPerson, setPersonInfo and an
    // AddZwolnienie per absence would, person after person. Their elements
    // go into the document in one piece, and only once it is read (or more
    // goes into the group): a run, which reads only exclusions(), writes none.
    void AddPersons(const Xml::Node &group, const std::vector<NewPerson> &persons);

    // What the generation adds to the elements (Count raised by the carried
    // totals, Ilosc, Sex, Przywilej).
    void setGroupCount(const Xml::Node &group, qint64 count);
    void setGroupIlosc(const Xml::Node &group, qint64 ilosc);
    void setPersonInfo(const Xml::Node &person, const QString &sex, const QString &przywilej);

    // True when a rule (SluzbyIlosc) releases the duty on the day: it then needs nobody.
    bool ServiceReleased(const Xml::Document &rules, int day, const QString &serviceId);
    bool FindZwolnienia_Person(const Xml::Document &rules, const QString &personId,
                               const QString &groupId, Instant start, Instant endWithRest,
                               Instant end);
    bool FindZwolnienia_Group(const Xml::Document &rules, const QString &groupId, Instant start,
                              Instant endWithRest, Instant end);
    // Fills one place: a person id, GroupHadNobody (the chosen group is
    // recorded in its BadDays for this place; asking again chooses another
    // group) or NoGroup (asking again cannot help: no group is left, or the
    // place is bound to the whole-group duty's group of the day or to the
    // persons a duty-person rule lists). LastGroup becomes the group of the
    // person picked, not of a group merely chosen: a whole-group duty whose
    // first chosen group has nobody suitable moves on to another group rather
    // than leaving all the day's places empty. A duty-person rule in force
    // holds on every place and passes over the group-duty rules, but not a
    // group's absence. Nobody takes two places of one duty on one day.
    qint64 FindPerson(const Xml::Document &rules, int day, const QString &serviceId, int number,
                      Instant start, Instant endWithRest, Instant end, bool wholeGroup,
                      const PersonCondition &personCondition);
    void UpdatePerson(qint64 groupId, qint64 personId, Instant freeFrom);

    // 0 apart, 1 A inside B, 2 A covers B, 3 A starts before B and ends in it,
    // 4 A starts in B and ends after it (closed intervals).
    static int CompareIntervals(qint64 a1, qint64 a2, qint64 b1, qint64 b2);
    // True when the absence from absenceStart to the day of absenceEnd (that
    // day counting until 23:59) leaves the duty and its rest free.
    static bool IntervalIsFree(Instant absenceStart, Instant absenceEnd, Instant start,
                               Instant endWithRest, Instant end);

    // Fills the main window's person list as XML::FillPersonCounts does from
    // the document: a row per person, groups and persons in document order.
    void FillPersonCounts(XML::PersonCountSink &sink) const;

    // The fixed text form of an instant.
    static QString dateText(Instant value);

private:
    static constexpr int NoSymbol = -1;
    struct Period
    {
        int arg2 = NoSymbol; // NoSymbol: no Arg2, matches nothing
        double day1 = 0;     // as the document's query compares them
        double day2 = 0;
        bool wholeDays = false; // both days whole numbers, as the absence checks read them
        int firstDay = 0;
        int lastDay = 0;
        bool inForce(int day) const { return day1 <= day && day2 >= day; }
    };
    using Periods = std::vector<Period>;
    using Section = QHash<int, Periods>; // by the Item's Id
    struct Rules
    {
        Section grupySluzby, sluzbyGrupy, ludzieSluzby, sluzbyLudzie, sluzbyIlosc, groupAbsences,
            personAbsences;
    };
    using Symbols = QVarLengthArray<int, 16>;
    struct Absence
    {
        Instant from = 0; // first day 00:00
        Instant to = 0;   // last day 00:00 (it counts until 23:59)
        QDate date1, date2;
        qint64 id = 0; // as added, for the element written later
        int kind = 0;
    };
    struct Person
    {
        // What a place looks at first, together.
        Instant freeFrom = 0;
        int group = -1;
        int symbol = NoSymbol; // of idText, once resolved
        int next = -1;         // the next person in the group's current order
        int previous = -1;
        // The duty-day of the last place taken through FindPerson.
        int bookedDay = 0;
        int bookedService = NoSymbol;
        bool booked = false; // since the bookings were last written into the document
        bool hasPrzywilej = false;
        bool privileged = false;
        bool man = false;
        // The person's rules, found once per rules document.
        int rulesVersion = -1;
        const Periods *ludzieSluzby = nullptr;
        const Periods *absencesByRule = nullptr;
        std::vector<Absence> absences;
        qint64 loggedDay = std::numeric_limits<qint64>::min(); // see AddExclusion
        int loggedSymbol = NoSymbol; // of idText, once an absence is logged

        qint64 id = 0;
        QString idText;       // as the document writes it; made when first asked for when plainId
        bool plainId = false; // idText is QString::number(id)
        QString name;
        Xml::Node node;
        qint64 count = 0;
        qint64 countAtStart = 0;
        QString dateText; // the Date written last
        // What the person was added with, for an element written later.
        Instant dateAtStart = 0;
        QString sexText, przywilejText;
        qint64 order = 0;    // place within the group's current order
        int nextSameId = -1; // the next person with this id
    };
    struct BadPlace
    {
        int day = 0;
        int service = NoSymbol;
        int number = 0;
        bool operator==(const BadPlace &other) const
        {
            return day == other.day && service == other.service && number == other.number;
        }
        friend size_t qHash(const BadPlace &place, size_t seed = 0)
        {
            return qHashMulti(seed, place.day, place.service, place.number);
        }
    };
    struct Group
    {
        // What the group choice looks at, together.
        qint64 count = 0;
        qint64 ilosc = 0;
        double ratio = 0; // count / ilosc where ilosc > 0, made again when either changes
        void counted() { ratio = ilosc > 0 ? double(count) / double(ilosc) : 0; }
        const Periods *grupySluzby = nullptr;
        const Periods *absences = nullptr;
        QSet<BadPlace> badPlaces;
        int symbol = NoSymbol;
        int rulesVersion = -1;
        // The group's absence, asked once per FindPerson call.
        quint64 absenceAsked = 0;
        bool absent = false;
        qint64 loggedDay = std::numeric_limits<qint64>::min();

        qint64 id = 0;
        QString idText;
        QString name;
        Xml::Node node;
        Xml::Node badDays;
        int first = -1; // the group's current order, see Person::next
        int last = -1;
        bool booked = false; // see Person::booked
    };
    struct DayTable
    {
        Xml::Node node;                // none until the day is written
        std::vector<int> served;       // places filled on the day, by group index
        std::vector<qint64> unwritten; // ids of the groups that filled them since
        quint64 made = 0;              // the order in which the days began
    };
    struct ExclusionDay
    {
        Xml::Node node;
        QSet<qint64> keys; // symbol * 2, + 1 for a group
        struct Logged
        {
            QString id; // with its G or P
            QDate date1, date2;
        };
        std::vector<Logged> unwritten; // logged, their elements not yet in node
    };

    int symbolOf(const QString &text);
    // symbolOf for the service of the places in progress, which the calls ask for again and again.
    int serviceSymbol(const QString &serviceId);
    const Rules &rulesOf(const Xml::Document &rules);
    // Finds the rules of a group or person in the parsed rules document.
    void resolve(Group &group);
    void resolve(Person &person);
    static const Periods *periodsOf(const Section &section, int symbol);
    // True when a rule of these periods binds its subject to other duties on
    // that day (a period in force that does not name the service).
    static bool boundToOthers(const Periods *periods, int day, int service);
    // Arg2 of the periods in force on the day (duty-group and duty-person rules).
    static Symbols inForce(const Periods *periods, int day, bool *any);
    // Logs the absence of a person or group under the day of start, once a
    // day; *loggedDay remembers the day so that asking again costs nothing.
    void AddExclusion(Instant start, int symbol, bool group, const QString &idText,
                      const QDate &date1, const QDate &date2, qint64 *loggedDay);
    // The rules' absence periods (days of the month of start, cut at its last
    // day) against the duty; the blocking period's days in *date1, *date2.
    static bool blockedByPeriods(const Periods *periods, Instant start, Instant endWithRest,
                                 Instant end, QDate *date1, QDate *date2);
    // The person's own absences (none for somebody the document does not
    // hold), then the rules' absences of the person; logged under id.
    // id: the text logged, or nullptr for the person's own.
    bool personAbsent(Person *person, const Periods *byRule, int symbol, const QString *id,
                      Instant start, Instant endWithRest, Instant end);
    bool groupAbsent(Group &group, Instant start, Instant endWithRest, Instant end);
    // What groupAbsent answers, without logging it.
    bool groupAbsentUnlogged(const Group &group, Instant start, Instant endWithRest,
                             Instant end) const;
    // Makes the group's ratio again after its count or ilosc changed.
    void recount(int group);
    // Every group resolved for the rules in force, those with absences listed
    // and all in order of their ratios, for ChooseGroup.
    void prepareChoice();
    // Index of the chosen group, or NoGroup.
    int ChooseGroup(int day, int service, int number, Instant start, Instant endWithRest,
                    Instant end);
    bool available(const Person &person, const PersonCondition &condition, int day,
                   int service) const;
    void addBadDay(int group, int day, int service, const QString &serviceId, int number);
    void addDay(int day, int group, qint64 groupId);
    // Books the place in the records; writeBookings() puts it into the document.
    void book(int group, int person, Instant freeFrom);
    // Each booked person's Count and Date, its element moved to the end of its
    // group in the order of the bookings, and the group's Count, as booking
    // them one by one would leave the document.
    void writeBookings();
    // The elements of the persons added at once and not written yet, as
    // AddPersons would have written them then; to be done before anything
    // else goes into their groups or their elements are looked at.
    void writePersons();
    void writePersonElement(Person &person);
    // The elements of the absences logged and not written yet, in the order
    // they were logged.
    void writeExclusions();
    // dateTexts keeps each date's text (by its Julian day) for the next call:
    // an absence is logged on each of its days.
    static void writeExclusionItems(Xml::Fragment &piece,
                                    const std::vector<ExclusionDay::Logged> &logged,
                                    QHash<qint64, QString> &dateTexts);
    // Writes the days table's days and items added since it was last written.
    void writeDays();

    int groupIndex(const Xml::Node &group) const;
    int personIndex(const Xml::Node &person) const;
    int findGroup(qint64 id) const;
    int findPerson(int group, qint64 id) const;
    void chain(QHash<qint64, int> &heads, qint64 key, int p, int Person::*next);
    // Puts p last in its group's current order, taking it out of its place first when it has one.
    void moveLast(int p, bool inOrder);
    void addPersonIndex(Person person);
    // Gives the person at p its place in the orders and the index by id.
    void indexPerson(int p);
    Person newPerson(int group, qint64 id, const QString &name, qint64 count, Instant date);
    void setUp(Person &person, int group, qint64 id, const QString &name, qint64 count,
               Instant date);
    // The Date text of a person free from date.
    const QString &momentText(Instant date);
    static Absence absenceOf(const QDate &date1, const QDate &date2);
    static void setInfo(Person &person, const QString &sex, const QString &przywilej);
    void reset();
    void rebuildIndexes();

    std::unique_ptr<Xml::Document> m_doc;
    Xml::Node m_groupsNode, m_daysTableNode, m_exclusionsNode;
    std::vector<Group> m_groups;
    std::vector<Person> m_persons;
    QHash<qint64, int> m_groupById;
    QHash<qint64, int> m_personById; // the first person of each id, see Person::nextSameId
    QHash<int, DayTable> m_days;
    QHash<int, ExclusionDay> m_exclusions;
    std::vector<int> m_exclusionDays; // in the order their elements were added
    // The Exclusions element holds only the days logged here, without items,
    // and nobody was handed it: appendExclusions() may write it anew.
    bool m_exclusionsUntouched = false;
    QHash<QString, int> m_symbols;      // rule and id texts, numbered
    QHash<qint64, int> m_numberSymbols; // those texts that are QString::number of a number
    const QString &idTextOf(Person &person);
    std::vector<QString> m_symbolTexts;
    // The groups by (ratio, index), while m_byRatioValid; those with
    // absences, in index order, for the rules version m_choiceVersion.
    std::vector<std::pair<double, int>> m_byRatio;
    bool m_byRatioValid = false;
    std::vector<int> m_absentCapable;
    int m_choiceVersion = std::numeric_limits<int>::min();
    QString m_lastService;
    int m_lastServiceSymbol = NoSymbol;
    QHash<Instant, QString> m_momentTexts; // the free-from texts written, by moment
    qint64 m_lastGroup = 0;
    qint64 m_nextOrder = 0;
    quint64 m_findCalls = 0;
    bool m_balanceCounts = false;
    bool m_booked = false;    // a booking is not in the document yet
    bool m_excluded = false;  // a logged absence is not in the document yet
    bool m_daysAdded = false; // a filled place is not in the days table yet
    quint64 m_daysMade = 0;
    std::vector<std::pair<size_t, size_t>> m_unwritten; // records [first, end) of one group each
    const Xml::Document *m_rulesSource = nullptr;
    std::unique_ptr<Rules> m_rules;
    int m_rulesVersion = 0;
};
