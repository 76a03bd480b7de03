#include "engine/xmlGroups.h"

#include "core/XML.h"

#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString WorkingDocumentText = QStringLiteral("<Doc><Groups/><DaysTable/><Exclusions/></Doc>");
constexpr qint64 LastDayMinutes = 1439;
constexpr qint64 SecondsPerDay = 86400;

QString idText(qint64 value)
{
    return QString::number(value);
}

// The number a query of the document compares with: NaN for a text that is no number.
double queryNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

qint64 secondsOf(const QDateTime &value)
{
    return value.toSecsSinceEpoch();
}

// The absence [a1, last day a2 until 23:59] against the duty, in seconds.
bool absenceLeavesFree(qint64 a1, qint64 a2, qint64 start, qint64 endWithRest, qint64 end)
{
    const qint64 absenceEnd = a2 + LastDayMinutes * 60;
    int relation = xmlGroups::CompareIntervals(a1, absenceEnd, start, endWithRest);
    if (relation == 4)
        relation = xmlGroups::CompareIntervals(a1, absenceEnd, start, end);
    return relation == 0;
}

QDateTime midnight(const QDate &date)
{
    return QDateTime(date, QTime(0, 0), Qt::UTC);
}

QString badPlaceKey(int day, const QString &serviceId, int number)
{
    return QString::number(day) + u'|' + serviceId + u'|' + QString::number(number);
}

// The fixed forms the working document writes; the forms of older files are
// read as well.
QDateTime parseDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const char *format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd", "dd.MM.yyyy HH:mm:ss",
                               "dd.MM.yyyy"}) {
        const QDateTime value = QDateTime::fromString(trimmed, QLatin1String(format));
        if (value.isValid())
            return QDateTime(value.date(), value.time(), Qt::UTC);
    }
    return {};
}

QDate parseDate(const QString &text)
{
    return parseDateTime(text).date();
}

} // namespace

xmlGroups::xmlGroups()
{
    reset();
}

xmlGroups::~xmlGroups() = default;

void xmlGroups::reset()
{
    m_doc = std::make_unique<Xml::Document>();
    m_doc->loadXml(WorkingDocumentText);
    rebuildIndexes();
}

std::unique_ptr<Xml::Document> xmlGroups::takeXmlDocument()
{
    std::unique_ptr<Xml::Document> document = std::move(m_doc);
    reset();
    return document;
}

void xmlGroups::setXmlDocument(std::unique_ptr<Xml::Document> document)
{
    if (!document)
        return;
    m_doc = std::move(document);
    rebuildIndexes();
}

QString xmlGroups::dateText(const QDateTime &value)
{
    const QDateTime utc = value.toUTC();
    if (utc.time() == QTime(0, 0))
        return utc.date().toString(QStringLiteral("yyyy-MM-dd"));
    return utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// --- building -------------------------------------------------------------

Xml::Node xmlGroups::AddGroup(qint64 id, const QString &name, qint64 count)
{
    Xml::Node node = XML::AddElement(m_groupsNode, QStringLiteral("Group"));
    XML::SetAttribute(node, QStringLiteral("Id"), idText(id));
    XML::SetAttribute(node, QStringLiteral("Name"), name);
    XML::SetAttribute(node, QStringLiteral("Count"), idText(count));
    XML::SetAttribute(node, QStringLiteral("RulesBroken"), QStringLiteral("0"));
    Group group;
    group.id = id;
    group.idText = idText(id);
    group.node = node;
    group.badDays = XML::AddElement(node, QStringLiteral("BadDays"));
    group.count = count;
    m_groups.push_back(std::move(group));
    m_groupById.insert(id, int(m_groups.size()) - 1);
    return node;
}

Xml::Node xmlGroups::AddPerson(const Xml::Node &groupNode, qint64 id, const QString &name, qint64 count,
                               const QDateTime &date)
{
    const int g = groupIndex(groupNode);
    if (g < 0)
        return {};
    Xml::Node node = XML::AddElement(m_groups[size_t(g)].node, QStringLiteral("Item"));
    XML::SetAttribute(node, QStringLiteral("Id"), idText(id));
    XML::SetAttribute(node, QStringLiteral("Name"), name);
    XML::SetAttribute(node, QStringLiteral("Count"), idText(count));
    XML::SetAttribute(node, QStringLiteral("CountAtStar"), idText(count));
    XML::SetAttribute(node, QStringLiteral("Date"), dateText(date));
    XML::AddElement(node, QStringLiteral("Zwolnienia"));

    Person person;
    person.id = id;
    person.idText = idText(id);
    person.group = g;
    person.node = node;
    person.count = count;
    person.freeFrom = secondsOf(date);
    person.order = ++m_nextOrder;
    m_persons.push_back(std::move(person));
    const int p = int(m_persons.size()) - 1;
    Group &group = m_groups[size_t(g)];
    m_persons.back().position = group.persons.insert(group.persons.end(), p);
    m_personsById[id].append(p);
    return node;
}

void xmlGroups::AddZwolnienie(const Xml::Node &personNode, qint64 id, const QDate &date1, const QDate &date2,
                              int kind)
{
    const int p = personIndex(personNode);
    if (p < 0)
        return;
    Person &person = m_persons[size_t(p)];
    Xml::Node list = person.node.childElements(QStringLiteral("Zwolnienia")).value(0);
    Xml::Node item = XML::AddElement(list, QStringLiteral("Item"));
    XML::SetAttribute(item, QStringLiteral("Id"), idText(id));
    XML::SetAttribute(item, QStringLiteral("Date1"), date1.toString(QStringLiteral("yyyy-MM-dd")));
    XML::SetAttribute(item, QStringLiteral("Date2"), date2.toString(QStringLiteral("yyyy-MM-dd")));
    XML::SetAttribute(item, QStringLiteral("Kind"), QString::number(kind));
    person.absences.push_back({secondsOf(midnight(date1)), secondsOf(midnight(date2)), date1, date2});
}

void xmlGroups::AddBadDay(const Xml::Node &groupNode, int day, const QString &serviceId, int number)
{
    const int g = groupIndex(groupNode);
    if (g < 0)
        return;
    Group &group = m_groups[size_t(g)];
    Xml::Node item = XML::AddElement(group.badDays, QStringLiteral("Item"));
    XML::SetAttribute(item, QStringLiteral("Day"), QString::number(day));
    XML::SetAttribute(item, QStringLiteral("Service"), serviceId);
    XML::SetAttribute(item, QStringLiteral("Number"), QString::number(number));
    group.badPlaces.insert(badPlaceKey(day, serviceId, number));
}

void xmlGroups::setGroupCount(const Xml::Node &groupNode, qint64 count)
{
    const int g = groupIndex(groupNode);
    if (g < 0)
        return;
    m_groups[size_t(g)].count = count;
    m_groups[size_t(g)].node.setAttribute(QStringLiteral("Count"), idText(count));
}

qint64 xmlGroups::groupCount(const Xml::Node &groupNode) const
{
    const int g = groupIndex(groupNode);
    return g < 0 ? 0 : m_groups[size_t(g)].count;
}

void xmlGroups::setGroupIlosc(const Xml::Node &groupNode, qint64 ilosc)
{
    const int g = groupIndex(groupNode);
    if (g < 0)
        return;
    m_groups[size_t(g)].ilosc = ilosc;
    XML::SetAttribute(m_groups[size_t(g)].node, QStringLiteral("Ilosc"), idText(ilosc));
}

void xmlGroups::setPersonInfo(const Xml::Node &personNode, const QString &sex, const QString &przywilej)
{
    const int p = personIndex(personNode);
    if (p < 0)
        return;
    Person &person = m_persons[size_t(p)];
    XML::SetAttribute(person.node, QStringLiteral("Sex"), sex);
    XML::SetAttribute(person.node, QStringLiteral("Przywilej"), przywilej);
    person.man = sex == QLatin1String("0");
    person.hasPrzywilej = true;
    person.privileged = przywilej == QLatin1String("1");
}

// --- rules ----------------------------------------------------------------

const xmlGroups::Rules &xmlGroups::rulesOf(const Xml::Document &rules)
{
    if (m_rules && m_rulesSource == &rules)
        return *m_rules;
    auto parsed = std::make_unique<Rules>();
    const Xml::Node root = rules.documentElement();
    const std::pair<const char *, Section *> sections[] = {
        {"GrupySluzby", &parsed->grupySluzby},   {"SluzbyGrupy", &parsed->sluzbyGrupy},
        {"LudzieSluzby", &parsed->ludzieSluzby}, {"SluzbyLudzie", &parsed->sluzbyLudzie},
        {"Zwolnienia", &parsed->zwolnienia},     {"SluzbyIlosc", &parsed->sluzbyIlosc},
    };
    if (root && root.name() == QLatin1String("Root")) {
        for (const auto &[name, section] : sections) {
            for (const Xml::Node &sectionNode : root.childElements(QLatin1String(name))) {
                for (const Xml::Node &item : sectionNode.childElements(QStringLiteral("Item"))) {
                    if (!item.hasAttribute(QStringLiteral("Id")))
                        continue;
                    QList<Period> &periods = (*section)[item.attribute(QStringLiteral("Id"))];
                    for (const Xml::Node &sub : item.childElements(QStringLiteral("SubItem"))) {
                        Period period;
                        period.arg2 = sub.hasAttribute(QStringLiteral("Arg2"))
                                          ? sub.attribute(QStringLiteral("Arg2"))
                                          : QString(); // null: matches no text
                        period.day1Text = sub.attribute(QStringLiteral("Date1"));
                        period.day2Text = sub.attribute(QStringLiteral("Date2"));
                        period.day1 = queryNumber(period.day1Text);
                        period.day2 = queryNumber(period.day2Text);
                        periods.append(period);
                    }
                }
            }
        }
    }
    m_rules = std::move(parsed);
    m_rulesSource = &rules;
    return *m_rules;
}

bool xmlGroups::boundToOthers(const Section &section, const QString &key, int day,
                              const QString &serviceId)
{
    const auto it = section.constFind(key);
    if (it == section.constEnd())
        return false;
    bool restricted = false;
    for (const Period &period : *it) {
        if (!period.inForce(day))
            continue;
        restricted = true;
        if (!period.arg2.isNull() && period.arg2 == serviceId)
            return false;
    }
    return restricted;
}

bool xmlGroups::groupBanned(const Rules &rules, int day, const QString &serviceId, const QString &groupId) const
{
    return boundToOthers(rules.grupySluzby, groupId, day, serviceId);
}

bool xmlGroups::RulesDone_Group(const Xml::Document &rules, int day, const QString &serviceId,
                                const QString &groupId)
{
    return groupBanned(rulesOf(rules), day, serviceId, groupId);
}

bool xmlGroups::RulesDone_Person(const Rules &rules, int day, const QString &serviceId,
                                 const QString &personId) const
{
    return boundToOthers(rules.ludzieSluzby, personId, day, serviceId);
}

QStringList xmlGroups::RulesFilter_Persons(const Rules &rules, int day, const QString &serviceId) const
{
    QStringList ids;
    const auto it = rules.sluzbyLudzie.constFind(serviceId);
    if (it == rules.sluzbyLudzie.constEnd())
        return ids;
    for (const Period &period : *it) {
        if (period.inForce(day))
            ids << period.arg2;
    }
    return ids;
}

QSet<QString> xmlGroups::RulesFilter_Groups(const Rules &rules, int day, const QString &serviceId,
                                            bool *active) const
{
    QSet<QString> ids;
    *active = false;
    const auto it = rules.sluzbyGrupy.constFind(serviceId);
    if (it == rules.sluzbyGrupy.constEnd())
        return ids;
    for (const Period &period : *it) {
        if (period.inForce(day)) {
            *active = true;
            ids.insert(period.arg2);
        }
    }
    return ids;
}

// --- absences -------------------------------------------------------------

int xmlGroups::CompareIntervals(qint64 a1, qint64 a2, qint64 b1, qint64 b2)
{
    if (a2 < b1 || a1 > b2)
        return 0;
    if (b1 <= a1 && a2 <= b2)
        return 1;
    if ((a1 < b1 && a2 >= b2) || (a1 <= b1 && a2 > b2))
        return 2;
    if (a1 < b1)
        return 3;
    return 4;
}

bool xmlGroups::IntervalIsFree(const QDateTime &absenceStart, const QDateTime &absenceEnd,
                               const QDateTime &start, const QDateTime &endWithRest, const QDateTime &end)
{
    return absenceLeavesFree(secondsOf(absenceStart), secondsOf(absenceEnd), secondsOf(start),
                             secondsOf(endWithRest), secondsOf(end));
}

bool xmlGroups::rulePeriod(const QDateTime &start, const Period &period, QDateTime *from, QDateTime *to) const
{
    // Periods are days of the generated month; days the month lacks end the
    // period at its last day, and a period wholly past it covers nothing.
    bool ok1 = false;
    bool ok2 = false;
    const int day1 = period.day1Text.trimmed().toInt(&ok1);
    int day2 = period.day2Text.trimmed().toInt(&ok2);
    const QDate month = start.toUTC().date();
    const int last = month.daysInMonth();
    if (!ok1 || !ok2 || day1 < 1 || day2 < 1 || day1 > last)
        return false;
    day2 = std::min(day2, last);
    *from = midnight(QDate(month.year(), month.month(), day1));
    *to = midnight(QDate(month.year(), month.month(), day2));
    return true;
}

bool xmlGroups::blockedByRules(const Section &section, const QString &id, const QString &marker,
                               const QDateTime &start, const QDateTime &endWithRest, const QDateTime &end,
                               QDate *date1, QDate *date2) const
{
    const auto it = section.constFind(id);
    if (it == section.constEnd())
        return false;
    for (const Period &period : *it) {
        if (period.arg2 != marker)
            continue;
        QDateTime from, to;
        if (!rulePeriod(start, period, &from, &to))
            continue;
        if (!IntervalIsFree(from, to, start, endWithRest, end)) {
            *date1 = from.date();
            *date2 = to.date();
            return true;
        }
    }
    return false;
}

bool xmlGroups::FindZwolnienia_Person(const Xml::Document &rules, const QString &personId,
                                      const QString &groupId, const QDateTime &start,
                                      const QDateTime &endWithRest, const QDateTime &end)
{
    bool blocked = false;
    QDate date1, date2;
    bool okGroup = false;
    bool okPerson = false;
    const qint64 g = groupId.toLongLong(&okGroup);
    const qint64 p = personId.toLongLong(&okPerson);
    const int gi = okGroup ? findGroup(g) : -1;
    const int pi = (gi >= 0 && okPerson) ? findPerson(gi, p) : -1;
    if (pi >= 0) {
        const qint64 s = secondsOf(start), e = secondsOf(end), ewr = secondsOf(endWithRest);
        for (const Absence &absence : m_persons[size_t(pi)].absences) {
            if (!absenceLeavesFree(absence.from, absence.to, s, ewr, e)) {
                blocked = true;
                date1 = absence.date1;
                date2 = absence.date2;
                break;
            }
        }
    }
    if (!blocked)
        blocked = blockedByRules(rulesOf(rules).zwolnienia, personId, QStringLiteral("P"), start, endWithRest, end,
                                 &date1, &date2);
    if (blocked)
        AddExclusion(start.toUTC().date().day(), personId + u'P', date1, date2, QStringLiteral("Zw"));
    return blocked;
}

bool xmlGroups::FindZwolnienia_Group(const Xml::Document &rules, const QString &groupId,
                                     const QDateTime &start, const QDateTime &endWithRest,
                                     const QDateTime &end)
{
    QDate date1, date2;
    const bool blocked = blockedByRules(rulesOf(rules).zwolnienia, groupId, QStringLiteral("G"), start,
                                        endWithRest, end, &date1, &date2);
    if (blocked)
        AddExclusion(start.toUTC().date().day(), groupId + u'G', date1, date2, QStringLiteral("Zw"));
    return blocked;
}

void xmlGroups::AddExclusion(int day, const QString &id, const QDate &date1, const QDate &date2,
                             const QString &kind)
{
    auto it = m_exclusions.find(day);
    if (it == m_exclusions.end()) {
        ExclusionDay entry;
        entry.node = XML::AddElement(m_exclusionsNode, QStringLiteral("Day"));
        XML::SetAttribute(entry.node, QStringLiteral("Id"), QString::number(day));
        it = m_exclusions.insert(day, entry);
    }
    if (it->ids.contains(id))
        return;
    Xml::Node item = XML::AddElement(it->node, QStringLiteral("Item"));
    XML::SetAttribute(item, QStringLiteral("Id"), id);
    XML::SetAttribute(item, QStringLiteral("Date1"), date1.toString(QStringLiteral("yyyy-MM-dd")));
    XML::SetAttribute(item, QStringLiteral("Date2"), date2.toString(QStringLiteral("yyyy-MM-dd")));
    XML::SetAttribute(item, QStringLiteral("Kind"), kind);
    it->ids.insert(id);
}

// --- choosing -------------------------------------------------------------

qint64 xmlGroups::ChooseGroup(const Xml::Document &rules, int day, const QString &serviceId, int number,
                              const QDateTime &start, const QDateTime &endWithRest, const QDateTime &end)
{
    const Rules &parsed = rulesOf(rules);
    const QString badKey = badPlaceKey(day, serviceId, number);
    bool cleared = false;
    for (;;) {
        bool filtered = false;
        const QSet<QString> allowed = RulesFilter_Groups(parsed, day, serviceId, &filtered);
        const DayTable *today = nullptr;
        if (const auto it = m_days.constFind(day); it != m_days.constEnd())
            today = &*it;

        int chosen = -1;
        double best = 0;
        for (size_t g = 0; g < m_groups.size(); ++g) {
            const Group &group = m_groups[g];
            if (filtered && !allowed.contains(group.idText))
                continue;
            const bool banned = groupBanned(parsed, day, serviceId, group.idText);
            const bool servedToday = today && today->served.value(group.id) > 0;
            const bool bad = group.badPlaces.contains(badKey);
            if (!((m_balanceCounts || !servedToday) && !bad && !banned))
                continue;
            if (FindZwolnienia_Group(rules, group.idText, start, endWithRest, end))
                continue;
            if (group.ilosc <= 0)
                continue; // nobody to take the place
            const double ratio = double(group.count) / double(group.ilosc);
            if (ratio == 0) {
                chosen = int(g);
                break;
            }
            if (chosen < 0 || ratio < best) {
                best = ratio;
                chosen = int(g);
            }
        }
        if (chosen >= 0)
            return m_groups[size_t(chosen)].id;
        if (cleared)
            return NoGroup;
        // Every group served today: forget the day and let all compete again.
        if (const auto it = m_days.find(day); it != m_days.end()) {
            m_daysTableNode.removeChild(it->node);
            m_days.erase(it);
        }
        cleared = true;
    }
}

bool xmlGroups::matches(const Person &person, const PersonCondition &condition, qint64 freeBefore) const
{
    // The free-from text must sort before the start text. At midnight it reads
    // yyyy-mm-dd alone and so sorts before a start at that very midnight.
    const bool free = person.freeFrom < freeBefore
                      || (person.freeFrom == freeBefore && person.freeFrom % SecondsPerDay == 0);
    return person.hasPrzywilej && !person.privileged && free && (!condition.menOnly || person.man);
}

qint64 xmlGroups::FindPerson(const Xml::Document &rules, int day, const QString &serviceId, int number,
                             const QDateTime &start, const QDateTime &endWithRest, const QDateTime &end,
                             bool wholeGroup, const PersonCondition &personCondition)
{
    const Rules &parsed = rulesOf(rules);
    // The duty-person rule holds on every place, also those of a whole-group
    // duty that stay with the group of the first place.
    const QStringList listed = RulesFilter_Persons(parsed, day, serviceId);
    const QSet<QString> listedIds(listed.cbegin(), listed.cend());

    enum class Scope { LastGroup, AllGroups, Chosen } scope;
    int scopeGroup = -1;
    if (wholeGroup && m_lastGroup != -1) {
        scope = Scope::LastGroup;
        scopeGroup = findGroup(m_lastGroup);
    } else if (!listed.isEmpty()) {
        scope = Scope::AllGroups;
    } else {
        const qint64 g = ChooseGroup(rules, day, serviceId, number, start, endWithRest, end);
        if (g < 0)
            return g;
        scope = Scope::Chosen;
        scopeGroup = findGroup(g);
    }

    const qint64 freeBefore = secondsOf(personCondition.freeBefore);
    std::vector<int> candidates;
    if (scope == Scope::AllGroups) {
        for (const QString &id : listedIds) {
            bool ok = false;
            const qint64 personId = id.toLongLong(&ok);
            if (!ok || id != idText(personId))
                continue;
            for (int p : m_personsById.value(personId)) {
                if (matches(m_persons[size_t(p)], personCondition, freeBefore))
                    candidates.push_back(p);
            }
        }
        // Group order first, then each group's current order.
        std::sort(candidates.begin(), candidates.end(), [this](int a, int b) {
            const Person &pa = m_persons[size_t(a)];
            const Person &pb = m_persons[size_t(b)];
            return pa.group != pb.group ? pa.group < pb.group : pa.order < pb.order;
        });
    } else if (scopeGroup >= 0) {
        for (int p : m_groups[size_t(scopeGroup)].persons) {
            const Person &person = m_persons[size_t(p)];
            if (matches(person, personCondition, freeBefore)
                && (listedIds.isEmpty() || listedIds.contains(person.idText)))
                candidates.push_back(p);
        }
    }

    int lastExamined = -1;
    for (int p : candidates) {
        const Person &person = m_persons[size_t(p)];
        const Group &group = m_groups[size_t(person.group)];
        lastExamined = person.group;
        const bool excluded = RulesDone_Person(parsed, day, serviceId, person.idText);
        const bool absent = FindZwolnienia_Person(rules, person.idText, group.idText, start, endWithRest, end);
        if (!excluded && !absent) {
            const qint64 personId = person.id;
            const qint64 groupId = group.id;
            UpdatePerson(groupId, personId, endWithRest);
            AddDayToTable(day, groupId);
            m_lastGroup = groupId;
            return personId;
        }
    }

    const int badGroup = scope == Scope::AllGroups ? lastExamined : scopeGroup;
    if (badGroup >= 0)
        AddBadDay(m_groups[size_t(badGroup)].node, day, serviceId, number);
    // Asking again only helps when another group may be chosen.
    return scope == Scope::Chosen ? GroupHadNobody : NoGroup;
}

void xmlGroups::AddDayToTable(int day, qint64 groupId)
{
    auto it = m_days.find(day);
    if (it == m_days.end()) {
        DayTable table;
        table.node = XML::AddElement(m_daysTableNode, QStringLiteral("Day"));
        XML::SetAttribute(table.node, QStringLiteral("Number"), QString::number(day));
        it = m_days.insert(day, table);
    }
    Xml::Node item = XML::AddElement(it->node, QStringLiteral("Item"));
    XML::SetAttribute(item, QStringLiteral("Id"), idText(groupId));
    ++it->served[groupId];
}

void xmlGroups::UpdatePerson(qint64 groupId, qint64 personId, const QDateTime &freeFrom)
{
    const int g = findGroup(groupId);
    const int p = g < 0 ? -1 : findPerson(g, personId);
    if (p < 0)
        return;
    Group &group = m_groups[size_t(g)];
    Person &person = m_persons[size_t(p)];
    ++person.count;
    person.freeFrom = secondsOf(freeFrom);
    person.node.setAttribute(QStringLiteral("Count"), idText(person.count));
    person.node.setAttribute(QStringLiteral("Date"), dateText(freeFrom));
    ++group.count;
    group.node.setAttribute(QStringLiteral("Count"), idText(group.count));
    group.node.appendMove(person.node);
    group.persons.splice(group.persons.end(), group.persons, person.position);
    person.order = ++m_nextOrder;
}

// --- index look-ups -------------------------------------------------------

int xmlGroups::groupIndex(const Xml::Node &group) const
{
    for (size_t i = m_groups.size(); i-- > 0;) {
        if (m_groups[i].node == group)
            return int(i);
    }
    return -1;
}

int xmlGroups::personIndex(const Xml::Node &person) const
{
    for (size_t i = m_persons.size(); i-- > 0;) {
        if (m_persons[i].node == person)
            return int(i);
    }
    return -1;
}

int xmlGroups::findGroup(qint64 id) const
{
    return m_groupById.value(id, -1);
}

int xmlGroups::findPerson(int group, qint64 id) const
{
    for (int p : m_personsById.value(id)) {
        if (m_persons[size_t(p)].group == group)
            return p;
    }
    return -1;
}

void xmlGroups::rebuildIndexes()
{
    m_groups.clear();
    m_persons.clear();
    m_groupById.clear();
    m_personsById.clear();
    m_days.clear();
    m_exclusions.clear();
    m_nextOrder = 0;

    const Xml::Node root = m_doc->documentElement();
    m_groupsNode = root.childElements(QStringLiteral("Groups")).value(0);
    m_daysTableNode = root.childElements(QStringLiteral("DaysTable")).value(0);
    m_exclusionsNode = root.childElements(QStringLiteral("Exclusions")).value(0);

    for (const Xml::Node &node : m_groupsNode.childElements(QStringLiteral("Group"))) {
        Group group;
        group.id = node.attribute(QStringLiteral("Id")).toLongLong();
        group.idText = node.attribute(QStringLiteral("Id"));
        group.node = node;
        group.badDays = node.childElements(QStringLiteral("BadDays")).value(0);
        group.count = node.attribute(QStringLiteral("Count")).toLongLong();
        group.ilosc = node.attribute(QStringLiteral("Ilosc")).toLongLong();
        for (const Xml::Node &bad : group.badDays.childElements(QStringLiteral("Item")))
            group.badPlaces.insert(badPlaceKey(bad.attribute(QStringLiteral("Day")).toInt(),
                                               bad.attribute(QStringLiteral("Service")),
                                               bad.attribute(QStringLiteral("Number")).toInt()));
        m_groups.push_back(std::move(group));
        const int g = int(m_groups.size()) - 1;
        if (!m_groupById.contains(m_groups.back().id))
            m_groupById.insert(m_groups.back().id, g);

        for (const Xml::Node &item : node.childElements(QStringLiteral("Item"))) {
            Person person;
            person.idText = item.attribute(QStringLiteral("Id"));
            person.id = person.idText.toLongLong();
            person.group = g;
            person.node = item;
            person.count = item.attribute(QStringLiteral("Count")).toLongLong();
            person.freeFrom = secondsOf(parseDateTime(item.attribute(QStringLiteral("Date"))));
            person.hasPrzywilej = item.hasAttribute(QStringLiteral("Przywilej"));
            person.privileged = item.attribute(QStringLiteral("Przywilej")) == QLatin1String("1");
            person.man = item.attribute(QStringLiteral("Sex")) == QLatin1String("0");
            person.order = ++m_nextOrder;
            const Xml::Node list = item.childElements(QStringLiteral("Zwolnienia")).value(0);
            for (const Xml::Node &absence : list.childElements(QStringLiteral("Item"))) {
                const QDate d1 = parseDate(absence.attribute(QStringLiteral("Date1")));
                const QDate d2 = parseDate(absence.attribute(QStringLiteral("Date2")));
                person.absences.push_back({secondsOf(midnight(d1)), secondsOf(midnight(d2)), d1, d2});
            }
            m_persons.push_back(std::move(person));
            const int p = int(m_persons.size()) - 1;
            Group &owner = m_groups[size_t(g)];
            m_persons.back().position = owner.persons.insert(owner.persons.end(), p);
            m_personsById[m_persons.back().id].append(p);
        }
    }

    for (const Xml::Node &node : m_daysTableNode.childElements(QStringLiteral("Day"))) {
        const int day = node.attribute(QStringLiteral("Number")).toInt();
        if (m_days.contains(day))
            continue;
        DayTable table;
        table.node = node;
        for (const Xml::Node &item : node.childElements(QStringLiteral("Item")))
            ++table.served[item.attribute(QStringLiteral("Id")).toLongLong()];
        m_days.insert(day, table);
    }

    for (const Xml::Node &node : m_exclusionsNode.childElements(QStringLiteral("Day"))) {
        const int day = node.attribute(QStringLiteral("Id")).toInt();
        if (m_exclusions.contains(day))
            continue;
        ExclusionDay entry;
        entry.node = node;
        for (const Xml::Node &item : node.childElements(QStringLiteral("Item")))
            entry.ids.insert(item.attribute(QStringLiteral("Id")));
        m_exclusions.insert(day, entry);
    }
}
