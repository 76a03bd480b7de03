#include "engine/xmlGroups.h"

#include "core/DateTimeText.h"
#include "core/XML.h"
#include "platform/xml/Fragment.h"

#include <algorithm>
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

// The absence [a1, last day a2 until 23:59] against the duty.
bool absenceLeavesFree(qint64 a1, qint64 a2, qint64 start, qint64 endWithRest, qint64 end)
{
    const qint64 absenceEnd = a2 + LastDayMinutes * 60;
    int relation = xmlGroups::CompareIntervals(a1, absenceEnd, start, endWithRest);
    if (relation == 4)
        relation = xmlGroups::CompareIntervals(a1, absenceEnd, start, end);
    return relation == 0;
}

// A stored instant, or the epoch for a text in no stored form.
qint64 instantOf(const QString &text)
{
    const std::optional<DateTimeText::Value> value = DateTimeText::parse(text);
    return value ? DateTimeText::seconds(*value) : 0;
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
    m_exclusionsUntouched = true;
}

void xmlGroups::setXmlDocument(std::unique_ptr<Xml::Document> document)
{
    if (!document)
        return;
    m_doc = std::move(document);
    rebuildIndexes();
}

QString xmlGroups::dateText(Instant value)
{
    return DateTimeText::format(value);
}

int xmlGroups::symbolOf(const QString &text)
{
    const auto it = m_symbols.constFind(text);
    if (it != m_symbols.constEnd())
        return *it;
    const int symbol = int(m_symbolTexts.size());
    m_symbols.insert(text, symbol);
    bool ok = false;
    if (const qint64 number = text.toLongLong(&ok); ok && text == idText(number))
        m_numberSymbols.insert(number, symbol);
    m_symbolTexts.push_back(text);
    return symbol;
}

int xmlGroups::serviceSymbol(const QString &serviceId)
{
    // A text keeps its number for the object's life.
    if (m_lastServiceSymbol == NoSymbol || serviceId != m_lastService) {
        m_lastService = serviceId;
        m_lastServiceSymbol = symbolOf(serviceId);
    }
    return m_lastServiceSymbol;
}

// --- building -------------------------------------------------------------

Xml::Node xmlGroups::AddGroup(qint64 id, const QString &name, qint64 count)
{
    writeBookings();
    Xml::Node node = XML::AddElement(m_groupsNode, QStringLiteral("Group"));
    node.appendAttribute("Id", id);
    node.appendAttribute("Name", name);
    node.appendAttribute("Count", count);
    node.appendAttribute("RulesBroken", 0);
    Group group;
    group.id = id;
    group.idText = idText(id);
    group.name = name;
    group.symbol = symbolOf(group.idText);
    group.node = node;
    group.badDays = XML::AddElement(node, QStringLiteral("BadDays"));
    group.count = count;
    group.counted();
    m_groups.push_back(std::move(group));
    m_groupById.insert(id, int(m_groups.size()) - 1);
    m_byRatioValid = false;
    m_choiceVersion = std::numeric_limits<int>::min();
    return node;
}

void xmlGroups::reserve(qsizetype groups, qsizetype persons)
{
    m_groups.reserve(size_t(groups));
    m_persons.reserve(size_t(persons));
    m_groupById.reserve(groups);
    m_personById.reserve(persons);
    m_symbols.reserve(groups);
}

// Appends p to a chain of persons sharing a key, in the order they were added.
void xmlGroups::chain(QHash<qint64, int> &heads, qint64 key, int p, int Person::*next)
{
    const auto it = heads.constFind(key);
    if (it == heads.constEnd()) {
        heads.insert(key, p);
        return;
    }
    int last = *it;
    while (m_persons[size_t(last)].*next >= 0)
        last = m_persons[size_t(last)].*next;
    m_persons[size_t(last)].*next = p;
}

void xmlGroups::moveLast(int p, bool inOrder)
{
    Person &person = m_persons[size_t(p)];
    Group &group = m_groups[size_t(person.group)];
    if (inOrder) {
        if (group.last == p)
            return;
        (person.previous >= 0 ? m_persons[size_t(person.previous)].next : group.first) =
            person.next;
        (person.next >= 0 ? m_persons[size_t(person.next)].previous : group.last) = person.previous;
    }
    person.previous = group.last;
    person.next = -1;
    (group.last >= 0 ? m_persons[size_t(group.last)].next : group.first) = p;
    group.last = p;
}

void xmlGroups::addPersonIndex(Person person)
{
    m_persons.push_back(std::move(person));
    indexPerson(int(m_persons.size()) - 1);
}

void xmlGroups::indexPerson(int p)
{
    Person &added = m_persons[size_t(p)];
    added.order = ++m_nextOrder;
    moveLast(p, false);
    chain(m_personById, added.id, p, &Person::nextSameId);
}

xmlGroups::Person xmlGroups::newPerson(int g, qint64 id, const QString &name, qint64 count,
                                       Instant date)
{
    Person person;
    setUp(person, g, id, name, count, date);
    return person;
}

void xmlGroups::setUp(Person &person, int g, qint64 id, const QString &name, qint64 count,
                      Instant date)
{
    person.id = id;
    person.plainId = true;
    person.name = name;
    person.group = g;
    person.count = count;
    person.countAtStart = count;
    person.freeFrom = date;
    person.dateText = momentText(date);
}

const QString &xmlGroups::momentText(Instant date)
{
    // A run's persons start free from a few hundred moments at most (the
    // ends of the previous month's last duties), and everybody booked for a
    // duty on a day is free again at one moment: each text is made once.
    auto it = m_momentTexts.find(date);
    if (it == m_momentTexts.end())
        it = m_momentTexts.insert(date, dateText(date));
    return *it;
}

xmlGroups::Absence xmlGroups::absenceOf(const QDate &date1, const QDate &date2)
{
    return {DateTimeText::seconds(date1), DateTimeText::seconds(date2), date1, date2};
}

void xmlGroups::setInfo(Person &person, const QString &sex, const QString &przywilej)
{
    person.man = sex == QLatin1String("0");
    person.hasPrzywilej = true;
    person.privileged = przywilej == QLatin1String("1");
}

Xml::Node xmlGroups::AddPerson(const Xml::Node &groupNode, qint64 id, const QString &name,
                               qint64 count, Instant date)
{
    writeBookings();
    writePersons();
    const int g = groupIndex(groupNode);
    if (g < 0)
        return {};
    Person person = newPerson(g, id, name, count, date);
    person.node = XML::AddElement(m_groups[size_t(g)].node, QStringLiteral("Item"));
    person.node.appendAttribute("Id", id);
    person.node.appendAttribute("Name", name);
    person.node.appendAttribute("Count", count);
    person.node.appendAttribute("CountAtStar", count);
    person.node.appendAttribute("Date", person.dateText);
    XML::AddElement(person.node, QStringLiteral("Zwolnienia"));
    const Xml::Node node = person.node;
    addPersonIndex(std::move(person));
    return node;
}

void xmlGroups::AddZwolnienie(const Xml::Node &personNode, qint64 id, const QDate &date1,
                              const QDate &date2, int kind)
{
    writeBookings();
    const int p = personIndex(personNode);
    if (p < 0)
        return;
    Person &person = m_persons[size_t(p)];
    Xml::Node list = person.node.firstChildElement(QStringLiteral("Zwolnienia"));
    Xml::Node item = XML::AddElement(list, QStringLiteral("Item"));
    item.appendAttribute("Id", id);
    item.appendAttribute("Date1", DateTimeText::dateText(date1));
    item.appendAttribute("Date2", DateTimeText::dateText(date2));
    item.appendAttribute("Kind", kind);
    person.absences.push_back(absenceOf(date1, date2));
}

void xmlGroups::addBadDay(int g, int day, int service, const QString &serviceId, int number)
{
    Group &group = m_groups[size_t(g)];
    Xml::Node item = XML::AddElement(group.badDays, QStringLiteral("Item"));
    item.appendAttribute("Day", day);
    item.appendAttribute("Service", serviceId);
    item.appendAttribute("Number", number);
    group.badPlaces.insert({day, service, number});
}

void xmlGroups::setGroupCount(const Xml::Node &groupNode, qint64 count)
{
    writeBookings();
    const int g = groupIndex(groupNode);
    if (g < 0)
        return;
    m_groups[size_t(g)].count = count;
    recount(g);
    m_groups[size_t(g)].node.setAttribute("Count", count);
}

void xmlGroups::setGroupIlosc(const Xml::Node &groupNode, qint64 ilosc)
{
    writeBookings();
    const int g = groupIndex(groupNode);
    if (g < 0)
        return;
    m_groups[size_t(g)].ilosc = ilosc;
    recount(g);
    m_groups[size_t(g)].node.setAttribute("Ilosc", ilosc);
}

void xmlGroups::setPersonInfo(const Xml::Node &personNode, const QString &sex,
                              const QString &przywilej)
{
    writeBookings();
    const int p = personIndex(personNode);
    if (p < 0)
        return;
    Person &person = m_persons[size_t(p)];
    XML::SetAttribute(person.node, QStringLiteral("Sex"), sex);
    XML::SetAttribute(person.node, QStringLiteral("Przywilej"), przywilej);
    setInfo(person, sex, przywilej);
}

void xmlGroups::AddPersons(const Xml::Node &groupNode, const std::vector<NewPerson> &persons)
{
    writeBookings();
    const int g = groupIndex(groupNode);
    if (g < 0 || persons.empty())
        return;
    const Xml::Node node = m_groups[size_t(g)].node;
    // The piece written later declares no namespace: where the group's
    // elements are in one, the persons go one by one (each then declares none).
    if (!node.inheritedAttribute(QStringLiteral("xmlns")).isEmpty()) {
        writePersons();
        for (const NewPerson &person : persons) {
            const Xml::Node added =
                AddPerson(node, person.id, person.name, person.count, person.date);
            setPersonInfo(added, person.sex, person.przywilej);
            for (const NewAbsence &absence : person.absences)
                AddZwolnienie(added, absence.id, absence.date1, absence.date2, absence.kind);
        }
        return;
    }
    // The records now, their elements when somebody reads the document: a
    // run reads only its exclusions.
    const size_t first = m_persons.size();
    for (const NewPerson &person : persons) {
        Person &record = m_persons.emplace_back();
        setUp(record, g, person.id, person.name, person.count, person.date);
        setInfo(record, person.sex, person.przywilej);
        record.dateAtStart = person.date;
        record.sexText = person.sex;
        record.przywilejText = person.przywilej;
        for (const NewAbsence &absence : person.absences) {
            Absence &added = record.absences.emplace_back(absenceOf(absence.date1, absence.date2));
            added.id = absence.id;
            added.kind = absence.kind;
        }
        indexPerson(int(m_persons.size()) - 1);
    }
    m_unwritten.emplace_back(first, m_persons.size());
}

void xmlGroups::writePersons()
{
    if (m_unwritten.empty())
        return;
    const std::vector<std::pair<size_t, size_t>> unwritten = std::move(m_unwritten);
    m_unwritten.clear();
    const QString lineBreak = QStringLiteral("\r\n");
    for (const auto &[first, end] : unwritten) {
        // A group's persons added at once go in as one piece, which costs far
        // less than an element at a time.
        Xml::Fragment piece;
        for (size_t p = first; p < end; ++p) {
            const Person &person = m_persons[p];
            piece.open("Item");
            piece.attribute("Id", person.id);
            piece.attribute("Name", person.name);
            piece.attribute("Count", person.countAtStart);
            piece.attribute("CountAtStar", person.countAtStart);
            piece.attribute("Date", dateText(person.dateAtStart));
            piece.attribute("Sex", person.sexText);
            piece.attribute("Przywilej", person.przywilejText);
            piece.open("Zwolnienia");
            for (const Absence &absence : person.absences) {
                piece.open("Item");
                piece.attribute("Id", absence.id);
                piece.attribute("Date1", DateTimeText::dateText(absence.date1));
                piece.attribute("Date2", DateTimeText::dateText(absence.date2));
                piece.attribute("Kind", absence.kind);
                piece.close();
                piece.text(lineBreak);
            }
            piece.close();
            piece.text(lineBreak);
            piece.close();
            piece.text(lineBreak);
        }
        Xml::Node item = m_groups[size_t(m_persons[first].group)].node.appendFragment(piece);
        for (size_t p = first; p < end; ++p) {
            if (!item) {
                writePersonElement(m_persons[p]);
                continue;
            }
            while (item && item.type() != Xml::Node::Type::Element)
                item = item.nextSibling();
            m_persons[p].node = item;
            item = item.nextSibling();
        }
    }
}

void xmlGroups::writePersonElement(Person &person)
{
    // As AddPerson, setPersonInfo and AddZwolnienie write it.
    person.node = XML::AddElement(m_groups[size_t(person.group)].node, QStringLiteral("Item"));
    person.node.appendAttribute("Id", person.id);
    person.node.appendAttribute("Name", person.name);
    person.node.appendAttribute("Count", person.countAtStart);
    person.node.appendAttribute("CountAtStar", person.countAtStart);
    person.node.appendAttribute("Date", dateText(person.dateAtStart));
    const Xml::Node list = XML::AddElement(person.node, QStringLiteral("Zwolnienia"));
    XML::SetAttribute(person.node, QStringLiteral("Sex"), person.sexText);
    XML::SetAttribute(person.node, QStringLiteral("Przywilej"), person.przywilejText);
    for (const Absence &absence : person.absences) {
        Xml::Node item = XML::AddElement(list, QStringLiteral("Item"));
        item.appendAttribute("Id", absence.id);
        item.appendAttribute("Date1", DateTimeText::dateText(absence.date1));
        item.appendAttribute("Date2", DateTimeText::dateText(absence.date2));
        item.appendAttribute("Kind", absence.kind);
    }
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
        {"SluzbyIlosc", &parsed->sluzbyIlosc},   {"Zwolnienia", nullptr},
    };
    const QString groupMarker = QStringLiteral("G");
    const QString personMarker = QStringLiteral("P");
    if (root && root.name() == QLatin1String("Root")) {
        for (const auto &[name, section] : sections) {
            for (const Xml::Node &sectionNode : root.childElements(QLatin1String(name))) {
                for (const Xml::Node &item : sectionNode.childElements(QStringLiteral("Item"))) {
                    if (!item.hasAttribute(QStringLiteral("Id")))
                        continue;
                    const int id = symbolOf(item.attribute(QStringLiteral("Id")));
                    for (const Xml::Node &sub : item.childElements(QStringLiteral("SubItem"))) {
                        Period period;
                        const bool hasArg2 = sub.hasAttribute(QStringLiteral("Arg2"));
                        const QString arg2 = sub.attribute(QStringLiteral("Arg2"));
                        const QString day1 = sub.attribute(QStringLiteral("Date1"));
                        const QString day2 = sub.attribute(QStringLiteral("Date2"));
                        period.day1 = queryNumber(day1);
                        period.day2 = queryNumber(day2);
                        bool ok1 = false;
                        bool ok2 = false;
                        period.firstDay = day1.trimmed().toInt(&ok1);
                        period.lastDay = day2.trimmed().toInt(&ok2);
                        period.wholeDays = ok1 && ok2;
                        Section *target = section;
                        if (!section) {
                            // Absences of groups and of persons share the section, told apart by
                            // Arg2.
                            if (hasArg2 && arg2 == groupMarker)
                                target = &parsed->groupAbsences;
                            else if (hasArg2 && arg2 == personMarker)
                                target = &parsed->personAbsences;
                            else
                                continue;
                        } else if (hasArg2) {
                            period.arg2 = symbolOf(arg2);
                        }
                        (*target)[id].push_back(period);
                    }
                }
            }
        }
    }
    m_rules = std::move(parsed);
    m_rulesSource = &rules;
    ++m_rulesVersion;
    return *m_rules;
}

const xmlGroups::Periods *xmlGroups::periodsOf(const Section &section, int symbol)
{
    const auto it = section.constFind(symbol);
    return it == section.constEnd() ? nullptr : &*it;
}

void xmlGroups::resolve(Group &group)
{
    group.grupySluzby = periodsOf(m_rules->grupySluzby, group.symbol);
    group.absences = periodsOf(m_rules->groupAbsences, group.symbol);
    group.rulesVersion = m_rulesVersion;
}

void xmlGroups::resolve(Person &person)
{
    // Only texts of rules (and of logged absences) are numbered: a person no
    // rule names needs no number of its own.
    person.symbol = person.plainId ? m_numberSymbols.value(person.id, NoSymbol)
                                   : m_symbols.value(person.idText, NoSymbol);
    person.ludzieSluzby = periodsOf(m_rules->ludzieSluzby, person.symbol);
    person.absencesByRule = periodsOf(m_rules->personAbsences, person.symbol);
    person.rulesVersion = m_rulesVersion;
}

bool xmlGroups::boundToOthers(const Periods *periods, int day, int service)
{
    if (!periods)
        return false;
    bool restricted = false;
    for (const Period &period : *periods) {
        if (!period.inForce(day))
            continue;
        restricted = true;
        if (period.arg2 != NoSymbol && period.arg2 == service)
            return false;
    }
    return restricted;
}

xmlGroups::Symbols xmlGroups::inForce(const Periods *periods, int day, bool *any)
{
    Symbols symbols;
    *any = false;
    if (!periods)
        return symbols;
    for (const Period &period : *periods) {
        if (period.inForce(day)) {
            *any = true;
            if (!symbols.contains(period.arg2))
                symbols.append(period.arg2);
        }
    }
    return symbols;
}

bool xmlGroups::ServiceReleased(const Xml::Document &rules, int day, const QString &serviceId)
{
    const Periods *periods = periodsOf(rulesOf(rules).sluzbyIlosc, serviceSymbol(serviceId));
    return periods && std::any_of(periods->cbegin(), periods->cend(),
                                  [day](const Period &period) { return period.inForce(day); });
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

bool xmlGroups::IntervalIsFree(Instant absenceStart, Instant absenceEnd, Instant start,
                               Instant endWithRest, Instant end)
{
    return absenceLeavesFree(absenceStart, absenceEnd, start, endWithRest, end);
}

bool xmlGroups::blockedByPeriods(const Periods *periods, Instant start, Instant endWithRest,
                                 Instant end, QDate *date1, QDate *date2)
{
    if (!periods)
        return false;
    // Periods are days of the generated month; days the month lacks end the
    // period at its last day, and a period wholly past it covers nothing.
    const QDate month = DateTimeText::dateOf(start);
    const int last = month.daysInMonth();
    for (const Period &period : *periods) {
        if (!period.wholeDays || period.firstDay < 1 || period.lastDay < 1 ||
            period.firstDay > last)
            continue;
        const QDate from(month.year(), month.month(), period.firstDay);
        const QDate to(month.year(), month.month(), std::min(period.lastDay, last));
        if (!absenceLeavesFree(DateTimeText::seconds(from), DateTimeText::seconds(to), start,
                               endWithRest, end)) {
            *date1 = from;
            *date2 = to;
            return true;
        }
    }
    return false;
}

const QString &xmlGroups::idTextOf(Person &person)
{
    if (person.plainId && person.idText.isNull())
        person.idText = idText(person.id);
    return person.idText;
}

bool xmlGroups::personAbsent(Person *person, const Periods *byRule, int symbol, const QString *id,
                             Instant start, Instant endWithRest, Instant end)
{
    bool blocked = false;
    QDate date1, date2;
    if (person) {
        for (const Absence &absence : person->absences) {
            if (!absenceLeavesFree(absence.from, absence.to, start, endWithRest, end)) {
                blocked = true;
                date1 = absence.date1;
                date2 = absence.date2;
                break;
            }
        }
    }
    if (!blocked)
        blocked = blockedByPeriods(byRule, start, endWithRest, end, &date1, &date2);
    if (blocked && !id && symbol == NoSymbol) {
        // Its own absences are logged under its id text: numbered once, not at every log.
        if (person->loggedSymbol == NoSymbol)
            person->loggedSymbol = symbolOf(idTextOf(*person));
        symbol = person->loggedSymbol;
    }
    if (blocked)
        AddExclusion(start, symbol, false, id ? *id : idTextOf(*person), date1, date2,
                     person ? &person->loggedDay : nullptr);
    return blocked;
}

bool xmlGroups::groupAbsent(Group &group, Instant start, Instant endWithRest, Instant end)
{
    if (!group.absences)
        return false;
    if (group.absenceAsked == m_findCalls)
        return group.absent;
    QDate date1, date2;
    group.absent = blockedByPeriods(group.absences, start, endWithRest, end, &date1, &date2);
    group.absenceAsked = m_findCalls;
    if (group.absent)
        AddExclusion(start, group.symbol, true, group.idText, date1, date2, &group.loggedDay);
    return group.absent;
}

bool xmlGroups::FindZwolnienia_Person(const Xml::Document &rules, const QString &personId,
                                      const QString &groupId, Instant start, Instant endWithRest,
                                      Instant end)
{
    const Rules &parsed = rulesOf(rules);
    bool okGroup = false;
    bool okPerson = false;
    const qint64 g = groupId.toLongLong(&okGroup);
    const qint64 p = personId.toLongLong(&okPerson);
    const int gi = okGroup ? findGroup(g) : -1;
    const int pi = (gi >= 0 && okPerson) ? findPerson(gi, p) : -1;
    const int symbol = symbolOf(personId);
    return personAbsent(pi >= 0 ? &m_persons[size_t(pi)] : nullptr,
                        periodsOf(parsed.personAbsences, symbol), symbol, &personId, start,
                        endWithRest, end);
}

bool xmlGroups::FindZwolnienia_Group(const Xml::Document &rules, const QString &groupId,
                                     Instant start, Instant endWithRest, Instant end)
{
    const Rules &parsed = rulesOf(rules);
    const int symbol = symbolOf(groupId);
    QDate date1, date2;
    const bool blocked = blockedByPeriods(periodsOf(parsed.groupAbsences, symbol), start,
                                          endWithRest, end, &date1, &date2);
    if (blocked)
        AddExclusion(start, symbol, true, groupId, date1, date2, nullptr);
    return blocked;
}

void xmlGroups::AddExclusion(Instant start, int symbol, bool group, const QString &id,
                             const QDate &date1, const QDate &date2, qint64 *loggedDay)
{
    // Candidates are asked again for every place: one logged today is done with at once.
    const qint64 dayNumber = start / SecondsPerDay - (start % SecondsPerDay < 0 ? 1 : 0);
    if (loggedDay && *loggedDay == dayNumber)
        return;
    const int day = DateTimeText::dateOf(start).day();
    auto it = m_exclusions.find(day);
    if (it == m_exclusions.end()) {
        ExclusionDay entry;
        entry.node = XML::AddElement(m_exclusionsNode, QStringLiteral("Day"));
        entry.node.appendAttribute("Id", day);
        it = m_exclusions.insert(day, entry);
        m_exclusionDays.push_back(day);
    }
    if (symbol == NoSymbol)
        symbol = symbolOf(id);
    const qint64 key = qint64(symbol) * 2 + (group ? 1 : 0);
    if (!it->keys.contains(key)) {
        it->unwritten.push_back({id + (group ? u'G' : u'P'), date1, date2});
        m_excluded = true;
        it->keys.insert(key);
    }
    if (loggedDay)
        *loggedDay = dayNumber;
}

// --- choosing -------------------------------------------------------------

void xmlGroups::recount(int g)
{
    Group &group = m_groups[size_t(g)];
    const std::pair<double, int> before(group.ratio, g);
    group.counted();
    const std::pair<double, int> after(group.ratio, g);
    if (!m_byRatioValid || after == before)
        return;
    // The group moves to its new place, the others keep their order.
    const auto from = std::lower_bound(m_byRatio.begin(), m_byRatio.end(), before);
    const auto to = std::lower_bound(m_byRatio.begin(), m_byRatio.end(), after);
    if (to > from) {
        std::rotate(from, from + 1, to);
        *(to - 1) = after;
    } else {
        std::rotate(to, from, from + 1);
        *to = after;
    }
}

void xmlGroups::prepareChoice()
{
    if (m_choiceVersion != m_rulesVersion) {
        m_absentCapable.clear();
        for (size_t g = 0; g < m_groups.size(); ++g) {
            Group &group = m_groups[g];
            if (group.rulesVersion != m_rulesVersion)
                resolve(group);
            if (group.absences)
                m_absentCapable.push_back(int(g));
        }
        m_choiceVersion = m_rulesVersion;
    }
    if (!m_byRatioValid) {
        m_byRatio.clear();
        m_byRatio.reserve(m_groups.size());
        for (size_t g = 0; g < m_groups.size(); ++g)
            m_byRatio.emplace_back(m_groups[g].ratio, int(g));
        std::sort(m_byRatio.begin(), m_byRatio.end());
        m_byRatioValid = true;
    }
}

bool xmlGroups::groupAbsentUnlogged(const Group &group, Instant start, Instant endWithRest,
                                    Instant end) const
{
    if (!group.absences)
        return false;
    if (group.absenceAsked == m_findCalls)
        return group.absent;
    QDate date1, date2;
    return blockedByPeriods(group.absences, start, endWithRest, end, &date1, &date2);
}

int xmlGroups::ChooseGroup(int day, int service, int number, Instant start, Instant endWithRest,
                           Instant end)
{
    // The group of the lowest ratio that may take the place, the first in
    // group order among equals; but the first group in group order whose
    // ratio is 0 before any other. Groups are looked at in order of their
    // ratios, so the search mostly ends after a few; the absences are then
    // asked (and logged) of every group a walk in group order would have
    // asked up to the chosen one.
    const BadPlace badPlace{day, service, number};
    bool filtered = false;
    const Symbols allowed = inForce(periodsOf(m_rules->sluzbyGrupy, service), day, &filtered);
    prepareChoice();
    bool cleared = false;
    for (;;) {
        // Groups that served today, unless counts are balanced: none of them competes.
        const std::vector<int> *served = nullptr;
        if (!m_balanceCounts) {
            if (const auto it = m_days.constFind(day); it != m_days.constEnd())
                served = &it->served;
        }
        // The tests before the absence; none of them logs anything.
        auto open = [&](int g) {
            if (served && size_t(g) < served->size() && (*served)[size_t(g)] > 0)
                return false;
            const Group &group = m_groups[size_t(g)];
            if (filtered && !allowed.contains(group.symbol))
                return false;
            if (!group.badPlaces.isEmpty() && group.badPlaces.contains(badPlace))
                return false;
            return !(group.grupySluzby && boundToOthers(group.grupySluzby, day, service));
        };
        auto takes = [&](int g) {
            const Group &group = m_groups[size_t(g)];
            return open(g) && !groupAbsentUnlogged(group, start, endWithRest, end) &&
                   group.ilosc > 0; // else nobody to take the place
        };

        int chosen = -1;
        const auto zero =
            std::lower_bound(m_byRatio.cbegin(), m_byRatio.cend(), std::pair<double, int>(0, -1));
        for (auto it = zero; it != m_byRatio.cend() && it->first == 0 && chosen < 0; ++it) {
            if (takes(it->second))
                chosen = it->second;
        }
        const bool atZero = chosen >= 0;
        for (auto it = m_byRatio.cbegin(); it != m_byRatio.cend() && chosen < 0; ++it) {
            if (it->first != 0 && takes(it->second))
                chosen = it->second;
        }
        const int asked = atZero ? chosen : int(m_groups.size()) - 1;
        for (int g : m_absentCapable) {
            if (g > asked)
                break;
            if (open(g))
                groupAbsent(m_groups[size_t(g)], start, endWithRest, end);
        }
        if (chosen >= 0)
            return chosen;
        if (cleared)
            return int(NoGroup);
        // Every group served today: forget the day and let all compete again.
        if (const auto it = m_days.find(day); it != m_days.end()) {
            if (it->node)
                m_daysTableNode.removeChild(it->node);
            m_days.erase(it);
        }
        cleared = true;
    }
}

bool xmlGroups::available(const Person &person, const PersonCondition &condition, int day,
                          int service) const
{
    // The free-from text must sort before the start text. At midnight it reads
    // yyyy-mm-dd alone and so sorts before a start at that very midnight, so a
    // duty of no length from midnight would be free again for its own next
    // place: a person's places of one duty on one day are told apart here.
    const bool free =
        person.freeFrom < condition.freeBefore ||
        (person.freeFrom == condition.freeBefore && person.freeFrom % SecondsPerDay == 0);
    return person.hasPrzywilej && !person.privileged && free &&
           (!condition.menOnly || person.man) &&
           !(person.bookedDay == day && person.bookedService == service);
}

qint64 xmlGroups::FindPerson(const Xml::Document &rules, int day, const QString &serviceId,
                             int number, Instant start, Instant endWithRest, Instant end,
                             bool wholeGroup, const PersonCondition &personCondition)
{
    const Rules &parsed = rulesOf(rules);
    const int service = serviceSymbol(serviceId);
    ++m_findCalls;
    // The duty-person rule holds on every place, also those of a whole-group
    // duty that stay with the group of the first place.
    bool anyListed = false;
    const Symbols listed = inForce(periodsOf(parsed.sluzbyLudzie, service), day, &anyListed);

    enum class Scope { LastGroup, AllGroups, Chosen } scope;
    int scopeGroup = -1;
    if (wholeGroup && m_lastGroup != -1) {
        scope = Scope::LastGroup;
        scopeGroup = findGroup(m_lastGroup);
    } else if (anyListed) {
        scope = Scope::AllGroups;
    } else {
        const int g = ChooseGroup(day, service, number, start, endWithRest, end);
        if (g < 0)
            return NoGroup;
        scope = Scope::Chosen;
        scopeGroup = g;
    }

    // The first candidate that is neither kept off the duty nor absent takes
    // the place; every candidate examined is asked for absences, so that they
    // are logged.
    auto takes = [&](int p) {
        Person &person = m_persons[size_t(p)];
        if (person.rulesVersion != m_rulesVersion)
            resolve(person);
        const bool excluded = boundToOthers(person.ludzieSluzby, day, service);
        const bool absent = personAbsent(&person, person.absencesByRule, person.symbol, nullptr,
                                         start, endWithRest, end);
        if (excluded || absent)
            return false;
        const int g = person.group;
        book(g, p, endWithRest);
        person.bookedDay = day;
        person.bookedService = service;
        addDay(day, g, m_groups[size_t(g)].id);
        m_lastGroup = m_groups[size_t(g)].id;
        return true;
    };

    if (scope == Scope::AllGroups) {
        std::vector<int> candidates;
        for (int symbol : listed) {
            if (symbol == NoSymbol)
                continue;
            const QString &id = m_symbolTexts[size_t(symbol)];
            bool ok = false;
            const qint64 personId = id.toLongLong(&ok);
            if (!ok || id != idText(personId))
                continue;
            for (int p = m_personById.value(personId, -1); p >= 0;
                 p = m_persons[size_t(p)].nextSameId) {
                if (available(m_persons[size_t(p)], personCondition, day, service))
                    candidates.push_back(p);
            }
        }
        // Group order first, then each group's current order.
        std::sort(candidates.begin(), candidates.end(), [this](int a, int b) {
            const Person &pa = m_persons[size_t(a)];
            const Person &pb = m_persons[size_t(b)];
            return pa.group != pb.group ? pa.group < pb.group : pa.order < pb.order;
        });
        int lastExamined = -1;
        for (int p : candidates) {
            lastExamined = m_persons[size_t(p)].group;
            // No group is chosen here, but a group's absence holds for every
            // person of the group, a listed one too.
            Group &group = m_groups[size_t(lastExamined)];
            if (group.rulesVersion != m_rulesVersion)
                resolve(group);
            if (groupAbsent(group, start, endWithRest, end))
                continue;
            if (takes(p))
                return m_persons[size_t(p)].id;
        }
        scopeGroup = lastExamined;
    } else if (scopeGroup >= 0) {
        // In the group's current order; the booking moves the person, so the walk ends there.
        for (int p = m_groups[size_t(scopeGroup)].first; p >= 0; p = m_persons[size_t(p)].next) {
            Person &person = m_persons[size_t(p)];
            if (!available(person, personCondition, day, service))
                continue;
            if (anyListed) {
                if (person.rulesVersion != m_rulesVersion)
                    resolve(person);
                // A period without a person lists nobody, not whoever no rule names.
                if (person.symbol == NoSymbol || !listed.contains(person.symbol))
                    continue;
            }
            if (takes(p))
                return person.id;
        }
    }

    if (scopeGroup >= 0)
        addBadDay(scopeGroup, day, service, serviceId, number);
    // Asking again only helps when another group may be chosen.
    return scope == Scope::Chosen ? GroupHadNobody : NoGroup;
}

void xmlGroups::addDay(int day, int g, qint64 groupId)
{
    // Kept here and written when the document is read: a run reads the
    // table's counts, never its elements.
    auto it = m_days.find(day);
    if (it == m_days.end()) {
        DayTable table;
        table.made = ++m_daysMade;
        it = m_days.insert(day, table);
    }
    it->unwritten.push_back(groupId);
    m_daysAdded = true;
    if (g >= 0) {
        if (it->served.size() <= size_t(g))
            it->served.resize(m_groups.size());
        ++it->served[size_t(g)];
    }
}

void xmlGroups::writeDays()
{
    if (!m_daysAdded)
        return;
    m_daysAdded = false;
    // Days not written yet all began after the written ones: they follow
    // them in the order they began, as if each had been written at once.
    std::vector<std::pair<quint64, int>> unwritten;
    for (auto it = m_days.cbegin(); it != m_days.cend(); ++it) {
        if (!it->node || !it->unwritten.empty())
            unwritten.emplace_back(it->made, it.key());
    }
    std::sort(unwritten.begin(), unwritten.end());
    for (const auto &[made, day] : unwritten) {
        DayTable &table = m_days[day];
        if (!table.node) {
            table.node = XML::AddElement(m_daysTableNode, QStringLiteral("Day"));
            table.node.appendAttribute("Number", day);
        }
        for (qint64 groupId : std::exchange(table.unwritten, {})) {
            Xml::Node item = XML::AddElement(table.node, QStringLiteral("Item"));
            item.appendAttribute("Id", groupId);
        }
    }
}

void xmlGroups::UpdatePerson(qint64 groupId, qint64 personId, Instant freeFrom)
{
    const int g = findGroup(groupId);
    const int p = g < 0 ? -1 : findPerson(g, personId);
    if (p >= 0)
        book(g, p, freeFrom);
}

void xmlGroups::book(int g, int p, Instant freeFrom)
{
    Group &group = m_groups[size_t(g)];
    Person &person = m_persons[size_t(p)];
    ++person.count;
    person.freeFrom = freeFrom;
    person.dateText = momentText(freeFrom);
    person.booked = true;
    ++group.count;
    recount(g);
    group.booked = true;
    m_booked = true;
    moveLast(p, true);
    person.order = ++m_nextOrder;
}

void xmlGroups::writeBookings()
{
    if (!m_booked)
        return;
    m_booked = false;
    writePersons();
    // Every booking moved the element to the end of its group: the booked
    // ones stand there in the order of their last bookings, which is their
    // order in the records, and the others stay where they were.
    for (Group &group : m_groups) {
        if (!group.booked)
            continue;
        group.booked = false;
        group.node.setAttribute("Count", group.count);
        for (int p = group.first; p >= 0; p = m_persons[size_t(p)].next) {
            Person &person = m_persons[size_t(p)];
            if (!person.booked)
                continue;
            person.booked = false;
            person.node.setAttribute("Count", person.count);
            person.node.setAttribute(QStringLiteral("Date"), person.dateText);
            group.node.appendMove(person.node);
        }
    }
}

void xmlGroups::writeExclusionItems(Xml::Fragment &piece,
                                    const std::vector<ExclusionDay::Logged> &logged,
                                    QHash<qint64, QString> &dateTexts)
{
    auto textOf = [&dateTexts](const QDate &date) -> const QString & {
        auto it = dateTexts.find(date.toJulianDay());
        if (it == dateTexts.end())
            it = dateTexts.insert(date.toJulianDay(), DateTimeText::dateText(date));
        return *it;
    };
    const QString lineBreak = QStringLiteral("\r\n");
    for (const ExclusionDay::Logged &item : logged) {
        piece.open("Item");
        piece.attribute("Id", item.id);
        piece.attribute("Date1", textOf(item.date1));
        piece.attribute("Date2", textOf(item.date2));
        piece.attribute("Kind", QStringLiteral("Zw"));
        piece.close();
        piece.text(lineBreak);
    }
}

void xmlGroups::writeExclusions()
{
    if (!m_excluded)
        return;
    m_excluded = false;
    m_exclusionsUntouched = false;
    QHash<qint64, QString> dateTexts;
    for (ExclusionDay &entry : m_exclusions) {
        if (entry.unwritten.empty())
            continue;
        const std::vector<ExclusionDay::Logged> unwritten = std::move(entry.unwritten);
        entry.unwritten.clear();
        // In one piece where the day's elements declare no namespace.
        if (entry.node.inheritedAttribute(QStringLiteral("xmlns")).isEmpty()) {
            Xml::Fragment piece;
            writeExclusionItems(piece, unwritten, dateTexts);
            entry.node.appendFragment(piece);
            continue;
        }
        for (const ExclusionDay::Logged &logged : unwritten) {
            Xml::Node item = XML::AddElement(entry.node, QStringLiteral("Item"));
            item.appendAttribute("Id", logged.id);
            item.appendAttribute("Date1", DateTimeText::dateText(logged.date1));
            item.appendAttribute("Date2", DateTimeText::dateText(logged.date2));
            item.appendAttribute("Kind", QStringLiteral("Zw"));
        }
    }
}

Xml::Node xmlGroups::exclusions()
{
    writeExclusions();
    m_exclusionsUntouched = false; // whoever holds the element may change it
    return m_exclusionsNode;
}

void xmlGroups::appendExclusions(Xml::Node parent)
{
    if (m_exclusionsUntouched) {
        // As AddExclusion and writeExclusions leave the element: each day
        // followed by a line break, its items in the order they were logged.
        // Written once into parent, not into this document and then copied.
        const QString lineBreak = QStringLiteral("\r\n");
        Xml::Fragment piece;
        QHash<qint64, QString> dateTexts;
        piece.open("Exclusions");
        for (int day : m_exclusionDays) {
            piece.open("Day");
            piece.attribute("Id", day);
            writeExclusionItems(piece, m_exclusions[day].unwritten, dateTexts);
            piece.close();
            piece.text(lineBreak);
        }
        piece.close();
        if (parent.appendFragment(piece))
            return;
    }
    parent.appendCopy(exclusions());
}

const Xml::Document &xmlGroups::xmlDocument()
{
    m_exclusionsUntouched = false;
    writePersons();
    writeBookings();
    writeExclusions();
    writeDays();
    return *m_doc;
}

void xmlGroups::FillPersonCounts(XML::PersonCountSink &sink) const
{
    // What XML::FillPersonCounts reads from the document, taken from the
    // records that hold the same: the document is not read back.
    sink.clear();
    for (const Group &group : m_groups) {
        for (int p = group.first; p >= 0; p = m_persons[size_t(p)].next) {
            const Person &person = m_persons[size_t(p)];
            sink.addRow(person.id, person.name, group.name, person.count - person.countAtStart,
                        person.dateText);
        }
    }
    sink.sortRows();
    sink.makeOpened(true);
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
    if (!person)
        return -1; // not a person whose element is still to be written
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
    for (int p = m_personById.value(id, -1); p >= 0; p = m_persons[size_t(p)].nextSameId) {
        if (m_persons[size_t(p)].group == group)
            return p;
    }
    return -1;
}

void xmlGroups::rebuildIndexes()
{
    m_booked = false;
    m_excluded = false;
    m_daysAdded = false;
    m_unwritten.clear();
    m_groups.clear();
    m_byRatioValid = false;
    m_choiceVersion = std::numeric_limits<int>::min();
    m_persons.clear();
    m_groupById.clear();
    m_personById.clear();
    m_days.clear();
    m_exclusions.clear();
    m_exclusionDays.clear();
    m_exclusionsUntouched = false;
    m_nextOrder = 0;

    const Xml::Node root = m_doc->documentElement();
    m_groupsNode = root.childElements(QStringLiteral("Groups")).value(0);
    m_daysTableNode = root.childElements(QStringLiteral("DaysTable")).value(0);
    m_exclusionsNode = root.childElements(QStringLiteral("Exclusions")).value(0);

    for (const Xml::Node &node : m_groupsNode.childElements(QStringLiteral("Group"))) {
        Group group;
        group.idText = node.attribute(QStringLiteral("Id"));
        group.id = group.idText.toLongLong();
        group.name = node.attribute(QStringLiteral("Name"));
        group.symbol = symbolOf(group.idText);
        group.node = node;
        group.badDays = node.childElements(QStringLiteral("BadDays")).value(0);
        group.count = node.attribute(QStringLiteral("Count")).toLongLong();
        group.ilosc = node.attribute(QStringLiteral("Ilosc")).toLongLong();
        group.counted();
        for (const Xml::Node &bad : group.badDays.childElements(QStringLiteral("Item")))
            group.badPlaces.insert({bad.attribute(QStringLiteral("Day")).toInt(),
                                    symbolOf(bad.attribute(QStringLiteral("Service"))),
                                    bad.attribute(QStringLiteral("Number")).toInt()});
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
            person.name = item.attribute(QStringLiteral("Name"));
            person.count = item.attribute(QStringLiteral("Count")).toLongLong();
            person.countAtStart = item.attribute(QStringLiteral("CountAtStar")).toLongLong();
            person.dateText = item.attribute(QStringLiteral("Date"));
            person.freeFrom = instantOf(person.dateText);
            person.hasPrzywilej = item.hasAttribute(QStringLiteral("Przywilej"));
            person.privileged = item.attribute(QStringLiteral("Przywilej")) == QLatin1String("1");
            person.man = item.attribute(QStringLiteral("Sex")) == QLatin1String("0");
            const Xml::Node list = item.childElements(QStringLiteral("Zwolnienia")).value(0);
            for (const Xml::Node &absence : list.childElements(QStringLiteral("Item"))) {
                const std::optional<DateTimeText::Value> d1 =
                    DateTimeText::parse(absence.attribute(QStringLiteral("Date1")));
                const std::optional<DateTimeText::Value> d2 =
                    DateTimeText::parse(absence.attribute(QStringLiteral("Date2")));
                if (d1 && d2)
                    person.absences.push_back(absenceOf(d1->date, d2->date));
            }
            addPersonIndex(std::move(person));
        }
    }

    for (const Xml::Node &node : m_daysTableNode.childElements(QStringLiteral("Day"))) {
        const int day = node.attribute(QStringLiteral("Number")).toInt();
        if (m_days.contains(day))
            continue;
        DayTable table;
        table.node = node;
        table.served.resize(m_groups.size());
        for (const Xml::Node &item : node.childElements(QStringLiteral("Item"))) {
            const int g = findGroup(item.attribute(QStringLiteral("Id")).toLongLong());
            if (g >= 0)
                ++table.served[size_t(g)];
        }
        m_days.insert(day, table);
    }

    for (const Xml::Node &node : m_exclusionsNode.childElements(QStringLiteral("Day"))) {
        const int day = node.attribute(QStringLiteral("Id")).toInt();
        if (m_exclusions.contains(day))
            continue;
        ExclusionDay entry;
        entry.node = node;
        for (const Xml::Node &item : node.childElements(QStringLiteral("Item"))) {
            const QString id = item.attribute(QStringLiteral("Id"));
            const bool group = id.endsWith(u'G');
            if (group || id.endsWith(u'P'))
                entry.keys.insert(qint64(symbolOf(id.chopped(1))) * 2 + (group ? 1 : 0));
        }
        m_exclusions.insert(day, entry);
        m_exclusionDays.push_back(day);
    }
}
