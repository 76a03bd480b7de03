#include "tests/engine/RandomUnit.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/xml/XmlDocument.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QTime>

#include <algorithm>
#include <optional>

namespace RandomUnit {

namespace {

const QChar Nul(u'\0');
constexpr qint64 Day = 86400;

// xorshift64*: the same numbers on every machine and compiler.
class Dice
{
public:
    explicit Dice(quint32 seed)
        : m_state(0x9E3779B97F4A7C15ull ^ (quint64(seed) * 0xD1B54A32D192ED03ull))
    {}
    int below(int n)
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return n <= 1 ? 0 : int(((m_state * 0x2545F4914F6CDD1Dull) >> 33) % quint64(n));
    }
    bool oneIn(int n) { return below(n) == 0; }
    template <typename T> T pick(std::initializer_list<T> values)
    {
        return values.begin()[below(int(values.size()))];
    }

private:
    quint64 m_state;
};

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

// A last-duty time in one of the forms planners' databases hold.
QString stamp(const QDate &day, int hour, int minute, int form)
{
    const QString time =
        QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
    switch (form) {
    case 1:
        return dayText(day);
    case 2:
        return dayText(day) + u'T' + time + QStringLiteral(":00");
    case 3:
        return dayText(day) + u' ' + time;
    case 4:
        return day.toString(QStringLiteral("dd.MM.yyyy")) + u' ' + time;
    default:
        return dayText(day) + u' ' + time + QStringLiteral(":00");
    }
}

QString entries(const QList<int> &ids, const QString &name)
{
    QStringList parts;
    for (int id : ids)
        parts << QStringLiteral("%1;%2 %1").arg(id).arg(name);
    return parts.join(Nul);
}

// --- reading back ------------------------------------------------------------

qint64 secondsOf(const QDate &day, const QTime &time = QTime(0, 0))
{
    return (day.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * Day +
           time.msecsSinceStartOfDay() / 1000;
}

// The forms stamp() writes and the absences' dates; -1 for anything else.
qint64 storedSeconds(const QString &text)
{
    const QString t = text.trimmed();
    QDate day = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    QString rest = t.mid(11);
    if (!day.isValid()) {
        day = QDate::fromString(t.left(10), QStringLiteral("dd.MM.yyyy"));
    }
    if (!day.isValid())
        return -1;
    if (t.size() <= 10)
        return secondsOf(day);
    QTime time = QTime::fromString(rest, QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(rest, QStringLiteral("HH:mm"));
    return time.isValid() ? secondsOf(day, time) : -1;
}

QList<qint64> idsOf(const QString &list)
{
    QList<qint64> ids;
    for (const QString &entry : list.split(Nul, Qt::SkipEmptyParts))
        ids << entry.section(u';', 0, 0).toLongLong();
    return ids;
}

struct Rule
{
    int kind = 0;
    QList<qint64> subjects, objects;
    QList<QPair<int, int>> periods;
    bool inForce(int day) const
    {
        return std::any_of(periods.cbegin(), periods.cend(), [day](const QPair<int, int> &p) {
            return p.first <= day && p.second >= day;
        });
    }
};

struct Span
{
    qint64 from, to; // the last day counts until 23:59
};

Span daysSpan(const QDate &from, const QDate &to)
{
    return {secondsOf(from), secondsOf(to) + 1439 * 60};
}

} // namespace

bool fill(Db::Database &db, const Shape &shape, quint32 seed, Algorytmy::GenerationRequest *request,
          QString *error)
{
    Dice dice(seed);
    const QDate first = shape.month.isValid() ? QDate(shape.month.year(), shape.month.month(), 1)
                                              : QDate(2023 + dice.below(3), 1 + dice.below(12), 1);
    const int days = first.daysInMonth();
    const QDate last = first.addDays(days - 1);
    const bool awkward = shape.awkward;

    Db::Transaction transaction(db);
    bool ok = transaction.isActive();
    auto run = [&](const QString &sql, const QVariantList &params = {}) {
        ok = ok && db.execute(sql, params);
    };
    const QStringList tables = {"grupy",      "ludzie",      "sluzby",     "sluzby_ilosc",
                                "zwolnienia", "ludzie_last", "wizardlist", "wizardlist_items"};
    for (const QString &table : tables)
        run(QStringLiteral("DELETE FROM ") + table);
    run(QStringLiteral("DELETE FROM sqlite_sequence WHERE name<>'opcje'"));
    run(QStringLiteral(
        "UPDATE opcje SET Value='[stopien] [nazwisko] [imie] ([grupa])' WHERE Name='CellShow'"));
    run(QStringLiteral("UPDATE opcje SET Value=? WHERE Name='Priorytet'"),
        {awkward && dice.oneIn(2) ? QStringLiteral("1") : QStringLiteral("0")});

    for (int g = 1; g <= shape.groups; ++g)
        run(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
            {QStringLiteral("Grupa %1").arg(g)});

    QList<int> groupOf(shape.people + 1);
    for (int p = 1; p <= shape.people; ++p) {
        groupOf[p] = 1 + dice.below(shape.groups);
        run(QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, "
                           "przywilej, random) "
                           "VALUES (?, ?, 'Jan', ?, ?, ?, ?)"),
            {QString::number(groupOf[p]), QStringLiteral("Nazwisko%1").arg(p),
             dice.pick({QStringLiteral("szer."), QStringLiteral("kpr."), QStringLiteral("sierż."),
                        QString()}),
             int(!dice.oneIn(4)), int(dice.oneIn(50)), dice.below(10000)});

        const QString insertLast = QStringLiteral(
            "INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES (?, ?, ?, ?)");
        if (!dice.oneIn(10)) {
            // The previous month's last duty: its rest may reach the month's first days.
            QString data;
            if (!dice.oneIn(6))
                data = stamp(first.addDays(dice.below(4) - 2), dice.below(24),
                             dice.oneIn(3) ? 30 : 0, awkward ? dice.below(5) : dice.below(2));
            run(insertLast,
                {QString::number(p), first.addMonths(-1).toString(QStringLiteral("yyyy-MM")),
                 dice.below(8), data});
        }
        if (dice.oneIn(2))
            run(insertLast,
                {QString::number(p), first.addMonths(-2).toString(QStringLiteral("yyyy-MM")),
                 dice.below(10), QString()});
        if (awkward && dice.oneIn(10)) // the month itself, stored by an earlier run
            run(insertLast, {QString::number(p), first.toString(QStringLiteral("yyyy-MM")), 30,
                             stamp(last, 20, 0, 0)});

        const QString insertAbsence = QStringLiteral(
            "INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) VALUES (?, ?, ?, ?, 'L4')");
        for (int n = dice.oneIn(8) ? 1 + dice.below(2) : 0; n > 0; --n) {
            QDate from, to;
            switch (dice.below(awkward ? 5 : 4)) {
            case 0: // from the month before
                from = first.addDays(-1 - dice.below(10));
                to = first.addDays(dice.below(8));
                break;
            case 1:
                from = first.addDays(dice.below(days));
                to = from.addDays(dice.below(6));
                break;
            case 2: // into the next month
                from = last.addDays(-dice.below(5));
                to = last.addDays(1 + dice.below(10));
                break;
            case 3:
                from = first.addDays(-3);
                to = last.addDays(3);
                break;
            default: // from the day after the month
                from = last.addDays(1);
                to = from.addDays(dice.below(5));
                break;
            }
            const QString suffix = dice.oneIn(5) ? QStringLiteral(" 00:00:00") : QString();
            run(insertAbsence,
                {dayText(from) + suffix, dayText(to) + suffix, 0, QString::number(p)});
        }
        if (dice.oneIn(20)) // another kind of absence: no bar to duty
            run(insertAbsence, {dayText(first), dayText(last), 1, QString::number(p)});
    }

    for (int d = 1; d <= shape.duties; ++d) {
        QString start =
            dice.pick({QStringLiteral("06:00"), QStringLiteral("07:00"), QStringLiteral("08:00"),
                       QStringLiteral("12:00"), QStringLiteral("14:00"), QStringLiteral("19:00"),
                       QStringLiteral("20:00"), QStringLiteral("22:00")});
        int hours = dice.pick({6, 8, 8, 12, 12, 24});
        int rest = dice.pick({0, 8, 12, 16, 24});
        int count = 1 + dice.below(3);
        if (awkward) {
            if (dice.oneIn(4))
                start = QStringLiteral("00:00");
            if (dice.oneIn(6))
                hours = 0;
            if (dice.oneIn(8))
                rest = 48;
            if (dice.oneIn(10))
                count = 0;
        }
        run(QStringLiteral(
                "INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {QStringLiteral("Służba %1").arg(d), start, hours, count, int(!dice.oneIn(5)), rest,
             int(dice.oneIn(6))});
        if (dice.oneIn(3)) {
            for (int day = 1; day <= days; ++day) {
                if (dice.oneIn(5))
                    run(QStringLiteral(
                            "INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES (?, ?, ?)"),
                        {QString::number(d), dayText(first.addDays(day - 1)), dice.below(4)});
            }
        }
    }

    run(QStringLiteral("INSERT INTO wizardlist (nazwa) VALUES ('Reguły')"));
    auto some = [&](int most, int of) {
        QList<int> ids;
        for (int n = 1 + dice.below(most); n > 0; --n) {
            const int id = 1 + dice.below(of);
            if (!ids.contains(id))
                ids << id;
        }
        return ids;
    };
    auto period = [&]() {
        const int day1 = 1 + dice.below(31);
        const int day2 = day1 + dice.below(6);
        return QStringLiteral("%1;%2;%1-%2").arg(day1).arg(day2);
    };
    QString absentGroupPeriod;
    int absentGroup = 0;
    for (int kind = 0; kind <= 6; ++kind) {
        for (int n = awkward ? dice.below(3) : 1; n > 0; --n) {
            QString dates = period();
            if (dice.oneIn(3))
                dates += Nul + period();
            QString arg1, arg2;
            switch (kind) {
            case 0:
                arg1 = entries(some(2, shape.groups), QStringLiteral("Grupa"));
                arg2 = entries(some(3, shape.duties), QStringLiteral("Służba"));
                break;
            case 1:
                arg1 = entries(some(1, shape.duties), QStringLiteral("Służba"));
                arg2 = entries(some(2, shape.groups), QStringLiteral("Grupa"));
                break;
            case 2:
                absentGroup = 1 + dice.below(shape.groups);
                absentGroupPeriod = dates;
                arg1 = entries({absentGroup}, QStringLiteral("Grupa"));
                break;
            case 3:
                arg1 = entries(some(3, shape.people), QStringLiteral("Osoba"));
                break;
            case 4:
                arg1 = entries(some(1, shape.duties), QStringLiteral("Służba"));
                break;
            case 5:
                arg1 = entries(some(3, shape.people), QStringLiteral("Osoba"));
                arg2 = entries(some(2, shape.duties), QStringLiteral("Służba"));
                break;
            default: {
                QList<int> persons = some(5, shape.people);
                if (awkward && absentGroup > 0 && dice.oneIn(2)) {
                    // People of the absent group, on its days.
                    for (int p = 1; p <= shape.people && persons.size() < 6; ++p) {
                        if (groupOf[p] == absentGroup)
                            persons.prepend(p);
                    }
                    dates = absentGroupPeriod;
                }
                arg1 = entries(some(1, shape.duties), QStringLiteral("Służba"));
                arg2 = entries(persons, QStringLiteral("Osoba"));
                break;
            }
            }
            run(QStringLiteral("INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) "
                               "VALUES ('1', ?, ?, ?, ?)"),
                {kind, arg1, arg2, dates});
        }
    }
    ok = ok && transaction.commit();
    if (!ok && error)
        *error = db.errorString();

    request->month = first;
    request->dutyIds.clear();
    request->groupIds.clear();
    for (int d = 1; d <= shape.duties; ++d)
        request->dutyIds << d;
    for (int g = 1; g <= shape.groups; ++g)
        request->groupIds << g;
    request->ruleSetId = 1;
    return ok;
}

QStringList violations(Db::Database &db, const Algorytmy::GenerationRequest &request,
                       const Xml::Document &roster)
{
    QStringList found;
    const QDate first(request.month.year(), request.month.month(), 1);
    const int days = first.daysInMonth();

    struct Duty
    {
        QTime start;
        qint64 hours = 0, rest = 0;
        bool menOnly = false;
    };
    QHash<qint64, Duty> duties;
    for (auto rows = db.openQuery(QStringLiteral("SELECT * FROM sluzby")); rows && !rows->eof();
         rows->moveNext())
        duties.insert(rows->integer(QStringLiteral("id")),
                      {QTime::fromString(rows->text(QStringLiteral("od")), QStringLiteral("HH:mm")),
                       rows->integer(QStringLiteral("okres")),
                       rows->integer(QStringLiteral("rest")),
                       !rows->flag(QStringLiteral("kobiety"))});

    struct Person
    {
        qint64 group = 0;
        bool exempt = false, man = false;
    };
    QHash<qint64, Person> persons;
    for (auto rows = db.openQuery(QStringLiteral("SELECT * FROM ludzie")); rows && !rows->eof();
         rows->moveNext())
        persons.insert(rows->integer(QStringLiteral("id")),
                       {rows->text(QStringLiteral("id_grupa")).toLongLong(),
                        rows->integer(QStringLiteral("przywilej")) == 1,
                        rows->flag(QStringLiteral("mezczyzna"))});

    QHash<qint64, QList<Span>> ownAbsences;
    for (auto rows = db.openQuery(QStringLiteral("SELECT * FROM zwolnienia WHERE rodzaj=0"));
         rows && !rows->eof(); rows->moveNext()) {
        const qint64 from = storedSeconds(rows->text(QStringLiteral("od")));
        const qint64 to = storedSeconds(rows->text(QStringLiteral("do")));
        ownAbsences[rows->text(QStringLiteral("id_item")).toLongLong()].append(
            {from, to + 1439 * 60});
    }

    // Free from: the previous month's last duty, 1 January of the year before
    // for a row without one, the day before the month for no row.
    QHash<qint64, qint64> freeFrom;
    for (auto rows = db.openQuery(
             QStringLiteral("SELECT * FROM ludzie_last WHERE miesiac=? ORDER BY rowid"),
             {first.addMonths(-1).toString(QStringLiteral("yyyy-MM"))});
         rows && !rows->eof(); rows->moveNext()) {
        const qint64 id = rows->text(QStringLiteral("id_osoba")).toLongLong();
        const QString data = rows->text(QStringLiteral("data"));
        if (!freeFrom.contains(id))
            freeFrom.insert(id, data.isEmpty() ? secondsOf(QDate(first.year() - 1, 1, 1))
                                               : storedSeconds(data));
    }

    QList<Rule> rules;
    for (auto rows =
             db.openQuery(QStringLiteral("SELECT * FROM wizardlist_items WHERE id_parent=?"),
                          {QString::number(request.ruleSetId)});
         rows && !rows->eof(); rows->moveNext()) {
        Rule rule;
        rule.kind = int(rows->integer(QStringLiteral("Kind")));
        rule.subjects = idsOf(rows->text(QStringLiteral("arg1")));
        rule.objects = idsOf(rows->text(QStringLiteral("arg2")));
        for (const QString &entry :
             rows->text(QStringLiteral("Dates")).split(Nul, Qt::SkipEmptyParts))
            rule.periods.append(
                {entry.section(u';', 0, 0).toInt(), entry.section(u';', 1, 1).toInt()});
        rules << rule;
    }
    // What a kind of rule in force on the day allows the subject: nullopt when
    // no such rule holds it.
    auto allowed = [&rules](int kind, qint64 subject, int day) -> std::optional<QSet<qint64>> {
        std::optional<QSet<qint64>> result;
        for (const Rule &rule : rules) {
            if (rule.kind != kind || !rule.subjects.contains(subject) || !rule.inForce(day))
                continue;
            if (!result)
                result.emplace();
            for (qint64 object : rule.objects)
                result->insert(object);
        }
        return result;
    };
    // The rules' absences of a person (kind 3) or a group (kind 2): days of
    // the month, cut at its last day.
    auto ruleAbsences = [&](int kind, qint64 subject) {
        QList<Span> spans;
        for (const Rule &rule : rules) {
            if (rule.kind != kind || !rule.subjects.contains(subject))
                continue;
            for (const auto &[day1, day2] : rule.periods) {
                if (day1 >= 1 && day1 <= days && day2 >= day1)
                    spans << daysSpan(first.addDays(day1 - 1),
                                      first.addDays(std::min(day2, days) - 1));
            }
        }
        return spans;
    };

    for (const Xml::Node &dayNode : roster.selectNodes(QStringLiteral("/Baza/Dzien"))) {
        const int day = dayNode.attribute(QStringLiteral("Id")).toInt();
        for (const Xml::Node &dutyNode : dayNode.childElements(QStringLiteral("Sluzba"))) {
            const qint64 dutyId = dutyNode.attribute(QStringLiteral("Id")).toLongLong();
            const Duty duty = duties.value(dutyId);
            const qint64 start = secondsOf(first.addDays(day - 1), duty.start);
            const qint64 end = start + duty.hours * 3600;
            const qint64 endWithRest = end + duty.rest * 3600;
            const std::optional<QSet<qint64>> listed = allowed(6, dutyId, day);
            const std::optional<QSet<qint64>> groupsOfDuty = allowed(1, dutyId, day);
            const bool released = allowed(4, dutyId, day).has_value();
            QSet<qint64> here;
            for (const Xml::Node &osoba : dutyNode.childElements(QStringLiteral("Osoba"))) {
                const qint64 id = osoba.attribute(QStringLiteral("Id")).toLongLong();
                const Person person = persons.value(id);
                const QString where =
                    QStringLiteral("day %1 duty %2 person %3: ").arg(day).arg(dutyId).arg(id);
                auto breaks = [&](const QString &what) { found << where + what; };

                if (here.contains(id))
                    breaks(QStringLiteral("twice in the duty"));
                here.insert(id);
                if (person.exempt)
                    breaks(QStringLiteral("exempt from duty"));
                if (duty.menOnly && !person.man)
                    breaks(QStringLiteral("a woman on a men-only duty"));
                if (released)
                    breaks(QStringLiteral("the duty is released that day"));

                // Blocked by an absence that touches the duty or lies within its rest.
                auto blocks = [&](const Span &a) {
                    return (a.from <= end && a.to >= start) ||
                           (a.from > end && a.to <= endWithRest);
                };
                const QList<QPair<QString, QList<Span>>> absences = {
                    {QStringLiteral("own absence"), ownAbsences.value(id)},
                    {QStringLiteral("absence by a rule"), ruleAbsences(3, id)},
                    {QStringLiteral("group absent by a rule"), ruleAbsences(2, person.group)}};
                for (const auto &[what, spans] : absences) {
                    if (std::any_of(spans.cbegin(), spans.cend(), blocks))
                        breaks(what);
                }

                // Free from an earlier duty's rest: a free-from midnight is free at that very
                // midnight.
                const qint64 free = freeFrom.value(id, secondsOf(first.addDays(-1)));
                if (!(start > free || (start == free && free % Day == 0)))
                    breaks(QStringLiteral("not free before %1")
                               .arg(QDateTime::fromSecsSinceEpoch(free, Qt::UTC)
                                        .toString(Qt::ISODate)));
                freeFrom[id] = endWithRest;

                if (const auto duties5 = allowed(5, id, day); duties5 && !duties5->contains(dutyId))
                    breaks(QStringLiteral("kept to other duties"));
                if (listed && !listed->contains(id))
                    breaks(QStringLiteral("not listed for the duty"));
                if (!listed) {
                    // A duty-person rule takes precedence over the group-duty rules.
                    if (const auto duties0 = allowed(0, person.group, day);
                        duties0 && !duties0->contains(dutyId))
                        breaks(QStringLiteral("group kept to other duties"));
                    if (groupsOfDuty && !groupsOfDuty->contains(person.group))
                        breaks(QStringLiteral("duty kept to other groups"));
                }
            }
        }
    }
    return found;
}

} // namespace RandomUnit
