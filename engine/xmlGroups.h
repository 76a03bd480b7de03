#pragma once

#include "platform/xml/XmlDocument.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <list>
#include <memory>
#include <vector>

// The generator's working document for one run: root Doc with Groups (groups,
// their persons, the persons' absences, BadDays), DaysTable (which groups
// served on which day) and Exclusions (persons and groups passed over for an
// absence). FindPerson decides who takes the next place.
//
// The document holds everything as attribute text, in the order the roster
// and the person list read it.
// Beside it the class keeps indexes (groups, persons in their current order,
// absences, day table, bad days, exclusions and a parsed copy of the rules
// document) so that a place costs no scan of the document. Change the
// document only through this class; setXmlDocument() rebuilds the indexes.
//
// Rules: every operation taking `rules` expects the run's rules document
// (root Root); it is parsed on first use and the parse is kept while the same
// document is passed, so it must not change during the run.
//
// Date-times are UTC QDateTimes; their text form is yyyy-mm-dd hh:nn:ss, or
// yyyy-mm-dd alone at midnight. Failures: none of the operations fails; an
// unknown group or person is ignored (false / no change).
class xmlGroups
{
public:
    // The availability test of a person for a place (in place of the query
    // text "@Przywilej!='1' and @Date<'start'"): the person's Date text must
    // sort before the text of `freeBefore` (so before it in time, or at it when
    // Date is a midnight, which reads yyyy-mm-dd alone), Przywilej must be set
    // and not "1", and for a men-only duty Sex must be "0".
    struct PersonCondition
    {
        QDateTime freeBefore;
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

    const Xml::Document &xmlDocument() const { return *m_doc; }
    // Takes over a working document and rebuilds the indexes from it.
    void setXmlDocument(std::unique_ptr<Xml::Document> document);
    // Takes the document out (the instance is then empty again).
    std::unique_ptr<Xml::Document> takeXmlDocument();

    Xml::Node AddGroup(qint64 id, const QString &name, qint64 count);
    Xml::Node AddPerson(const Xml::Node &group, qint64 id, const QString &name, qint64 count,
                        const QDateTime &date);
    void AddZwolnienie(const Xml::Node &person, qint64 id, const QDate &date1, const QDate &date2,
                       int kind);
    void AddBadDay(const Xml::Node &group, int day, const QString &serviceId, int number);

    // What the generation adds to the elements (Count raised by the carried
    // totals, Ilosc, Sex, Przywilej).
    void setGroupCount(const Xml::Node &group, qint64 count);
    qint64 groupCount(const Xml::Node &group) const;
    void setGroupIlosc(const Xml::Node &group, qint64 ilosc);
    void setPersonInfo(const Xml::Node &person, const QString &sex, const QString &przywilej);

    bool RulesDone_Group(const Xml::Document &rules, int day, const QString &serviceId,
                         const QString &groupId);
    bool FindZwolnienia_Person(const Xml::Document &rules, const QString &personId,
                               const QString &groupId, const QDateTime &start,
                               const QDateTime &endWithRest, const QDateTime &end);
    bool FindZwolnienia_Group(const Xml::Document &rules, const QString &groupId,
                              const QDateTime &start, const QDateTime &endWithRest,
                              const QDateTime &end);
    // Fills one place: a person id, GroupHadNobody (the chosen group is
    // recorded in its BadDays for this place; asking again chooses another
    // group) or NoGroup (asking again cannot help: no group is left, or the
    // place is bound to the whole-group duty's group of the day or to the
    // persons a duty-person rule lists). LastGroup becomes the group of the
    // person picked, not of a group merely chosen: a whole-group duty whose
    // first chosen group has nobody suitable moves on to another group rather
    // than leaving all the day's places empty. A duty-person rule in force
    // holds on every place.
    qint64 FindPerson(const Xml::Document &rules, int day, const QString &serviceId, int number,
                      const QDateTime &start, const QDateTime &endWithRest, const QDateTime &end,
                      bool wholeGroup, const PersonCondition &personCondition);
    void AddDayToTable(int day, qint64 groupId);
    void UpdatePerson(qint64 groupId, qint64 personId, const QDateTime &freeFrom);

    // 0 apart, 1 A inside B, 2 A covers B, 3 A starts before B and ends in it,
    // 4 A starts in B and ends after it (closed intervals).
    static int CompareIntervals(qint64 a1, qint64 a2, qint64 b1, qint64 b2);
    // True when the absence (its last day counting until 23:59) leaves the
    // duty and its rest free.
    static bool IntervalIsFree(const QDateTime &absenceStart, const QDateTime &absenceEnd,
                               const QDateTime &start, const QDateTime &endWithRest,
                               const QDateTime &end);

    // The fixed text form of a date-time.
    static QString dateText(const QDateTime &value);

private:
    struct Period
    {
        QString arg2;
        double day1 = 0;
        double day2 = 0;
        QString day1Text;
        QString day2Text;
        bool inForce(int day) const { return day1 <= day && day2 >= day; }
    };
    using Section = QHash<QString, QList<Period>>;
    struct Rules
    {
        Section grupySluzby, sluzbyGrupy, ludzieSluzby, sluzbyLudzie, zwolnienia, sluzbyIlosc;
    };
    // True when a rule of the section binds key to other duties on that day
    // (a period in force that does not name serviceId).
    static bool boundToOthers(const Section &section, const QString &key, int day,
                              const QString &serviceId);
    struct Absence
    {
        qint64 from = 0; // seconds, first day 00:00
        qint64 to = 0;   // seconds, last day 00:00 (it counts until 23:59)
        QDate date1, date2;
    };
    struct Person
    {
        qint64 id = 0;
        QString idText;
        int group = -1;
        Xml::Node node;
        qint64 count = 0;
        qint64 freeFrom = 0; // seconds since the epoch
        bool hasPrzywilej = false;
        bool privileged = false;
        bool man = false;
        qint64 order = 0; // place within the group's current order
        std::list<int>::iterator position;
        std::vector<Absence> absences;
    };
    struct Group
    {
        qint64 id = 0;
        QString idText;
        Xml::Node node;
        Xml::Node badDays;
        qint64 count = 0;
        qint64 ilosc = 0;
        std::list<int> persons; // current order
        QSet<QString> badPlaces;
    };
    struct DayTable
    {
        Xml::Node node;
        QHash<qint64, int> served; // group id -> places filled on the day
    };
    struct ExclusionDay
    {
        Xml::Node node;
        QSet<QString> ids;
    };

    const Rules &rulesOf(const Xml::Document &rules);
    bool RulesDone_Person(const Rules &rules, int day, const QString &serviceId,
                          const QString &personId) const;
    // Person ids listed for the duty on the day (empty: no such rule in force).
    QStringList RulesFilter_Persons(const Rules &rules, int day, const QString &serviceId) const;
    // Group ids listed for the duty on the day; *active false when none is in force.
    QSet<QString> RulesFilter_Groups(const Rules &rules, int day, const QString &serviceId,
                                     bool *active) const;
    void AddExclusion(int day, const QString &id, const QDate &date1, const QDate &date2,
                      const QString &kind);
    qint64 ChooseGroup(const Xml::Document &rules, int day, const QString &serviceId, int number,
                       const QDateTime &start, const QDateTime &endWithRest, const QDateTime &end);
    bool groupBanned(const Rules &rules, int day, const QString &serviceId, const QString &groupId) const;
    // A rule period of the month of start, its days clamped to the month's last day.
    bool rulePeriod(const QDateTime &start, const Period &period, QDateTime *from, QDateTime *to) const;
    bool blockedByRules(const Section &section, const QString &id, const QString &marker,
                        const QDateTime &start, const QDateTime &endWithRest,
                        const QDateTime &end, QDate *date1, QDate *date2) const;
    bool matches(const Person &person, const PersonCondition &condition, qint64 freeBefore) const;

    int groupIndex(const Xml::Node &group) const;
    int personIndex(const Xml::Node &person) const;
    int findGroup(qint64 id) const;
    int findPerson(int group, qint64 id) const;
    void reset();
    void rebuildIndexes();

    std::unique_ptr<Xml::Document> m_doc;
    Xml::Node m_groupsNode, m_daysTableNode, m_exclusionsNode;
    std::vector<Group> m_groups;
    std::vector<Person> m_persons;
    QHash<qint64, int> m_groupById;
    QHash<qint64, QList<int>> m_personsById;
    QHash<int, DayTable> m_days;
    QHash<int, ExclusionDay> m_exclusions;
    qint64 m_lastGroup = 0;
    qint64 m_nextOrder = 0;
    bool m_balanceCounts = false;
    const Xml::Document *m_rulesSource = nullptr;
    std::unique_ptr<Rules> m_rules;
};
