#include "engine/Algorytmy.h"

#include "core/DateTimeText.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/XML.h"
#include "engine/RuleSetDocument.h"
#include "engine/xmlGroups.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/text/WholeNumber.h"
#include "platform/xml/Fragment.h"
#include "platform/xml/XmlDocument.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace Algorytmy {

namespace {

const QString GapText = QStringLiteral("{luka}");

struct PersonInfo
{
    qint64 id = 0;
    qint64 groupId = 0;
    QString fullName; // nazwisko imie
    qsizetype nazwiskoLength = 0;
    QString stopien;
    QString przywilej;
    bool man = false;
    // The previous month's row: none, one without a date, or one with freeFrom.
    enum class LastDuty : quint8 { None, Undated, Dated } lastDuty = LastDuty::None;
    xmlGroups::Instant freeFrom = 0;
    qint64 carried = 0;
    std::vector<xmlGroups::NewAbsence> absences;
};

// A run failure carries its description up to GenerateSchedule.
struct Failure
{
    QString text;
};

QString fieldText(const Db::Recordset &row, const char *field)
{
    return row.text(QLatin1String(field));
}

std::optional<double> numberOf(const Db::Recordset &row, const char *field)
{
    const QVariant value = row.value(QLatin1String(field));
    if (value.isNull())
        return 0.0;
    bool ok = false;
    const double result = value.toString().trimmed().replace(u',', u'.').toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return result;
}

// Times of day as stored ("hh:nn", "hh:nn:ss", also behind a date).
QTime parseTime(const QString &text)
{
    QString trimmed = text.trimmed();
    if (const qsizetype space = trimmed.lastIndexOf(u' '); space >= 0)
        trimmed = trimmed.mid(space + 1);
    for (const char *format : {"HH:mm:ss", "HH:mm", "H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(trimmed, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return {};
}

QString monthTitle(const QDate &firstDay)
{
    const QString name =
        QLocale(QLocale::Polish).standaloneMonthName(firstDay.month(), QLocale::LongFormat);
    return QStringLiteral("Grafik na ") + name.toLower() + u' ' + QString::number(firstDay.year());
}

// Indexes of persons by id: a table where the ids are small, as rowids are,
// else a hash.
class PersonIndex
{
public:
    void reserve(qint64 smallest, qint64 largest, size_t count)
    {
        m_table.clear();
        m_hash.clear();
        m_dense = smallest >= 0 && largest < qint64(count) * 4 + 65536;
        if (m_dense)
            m_table.assign(size_t(largest) + 1, -1);
        else
            m_hash.reserve(qsizetype(count));
    }
    void insert(qint64 id, int index)
    {
        if (m_dense)
            m_table[size_t(id)] = index;
        else
            m_hash.insert(id, index);
    }
    // -1 for an id nobody has.
    int value(qint64 id) const
    {
        if (m_dense)
            return id >= 0 && id < qint64(m_table.size()) ? m_table[size_t(id)] : -1;
        return m_hash.value(id, -1);
    }

private:
    bool m_dense = false;
    std::vector<int> m_table;
    QHash<qint64, int> m_hash;
};

// Everything the run reads from the database, read in a few queries.
struct MonthData
{
    QHash<qint64, QString> groupNames;
    struct GroupRows
    {
        qint64 id = 0;
        QString name;
        std::vector<int> persons; // indexes into persons, in the order of random
    };
    std::vector<GroupRows> groups;                // chosen groups with persons, stored order
    std::vector<PersonInfo> persons;              // stored order
    PersonIndex personIndex;                      // id -> index into persons
    QHash<QPair<qint64, int>, qint64> headCounts; // (duty, day) -> ilosc
};

// A value's place in the database's ORDER BY: NULL first, then numbers by
// value, then texts, then blobs, both by their bytes.
struct RandomKey
{
    enum Storage { Null, Number, Text, Blob } storage = Null;
    bool whole = true;
    qint64 integer = 0;
    long double real = 0;
    QByteArray bytes;

    static RandomKey of(const Db::Cursor &row, int column)
    {
        if (!row.holdsInteger(column))
            return of(row.value(column));
        RandomKey key;
        key.storage = Number;
        key.integer = row.integer(column);
        return key;
    }
    static RandomKey of(const QVariant &value)
    {
        RandomKey key;
        switch (value.typeId()) {
        case QMetaType::LongLong:
            key.storage = Number;
            key.integer = value.toLongLong();
            break;
        case QMetaType::Double:
            key.storage = Number;
            key.whole = false;
            key.real = value.toDouble();
            break;
        case QMetaType::QString:
            key.storage = Text;
            key.bytes = value.toString().toUtf8();
            break;
        case QMetaType::QByteArray:
            key.storage = Blob;
            key.bytes = value.toByteArray();
            break;
        default:
            break;
        }
        return key;
    }
    bool operator<(const RandomKey &other) const
    {
        if (storage != other.storage)
            return storage < other.storage;
        if (storage == Number) {
            if (whole && other.whole)
                return integer < other.integer;
            return (whole ? (long double)integer : real) <
                   (other.whole ? (long double)other.integer : other.real);
        }
        return bytes < other.bytes;
    }
};

// Ranks and privileges repeat over thousands of persons: each text stored
// as text is made once and shared.
class SharedTexts
{
public:
    QString text(const Db::Cursor &row, int column)
    {
        const std::optional<QByteArrayView> bytes = row.textBytes(column);
        if (!bytes)
            return row.text(column);
        for (const auto &[stored, text] : m_texts) {
            if (stored == *bytes)
                return text;
        }
        QString text = QString::fromUtf8(*bytes);
        if (m_texts.size() < Room)
            m_texts.emplace_back(bytes->toByteArray(), text);
        return text;
    }

private:
    static constexpr size_t Room = 16; // beyond it texts are made each time
    std::vector<std::pair<QByteArray, QString>> m_texts;
};

// Walks the rows of a query; a failing query ends the run.
template <typename Visit>
void forEachRow(Db::Database &db, const QString &sql, const QVariantList &params, Visit visit)
{
    Db::Cursor rows(db, sql, params);
    while (rows.next())
        visit(rows);
    if (rows.failed())
        throw Failure{db.errorString()};
}

// A whole number as stored; no value for NULL, an empty text, a fraction or
// a text that is no number.
std::optional<qint64> wholeNumberOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::LongLong)
        return value.toLongLong();
    if (value.typeId() != QMetaType::Double && value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = value.toString().trimmed();
    if (const std::optional<qint64> whole = WholeNumber::parse(text))
        return whole;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::floor(number) != number)
        return std::nullopt;
    return qint64(number);
}

// A duty's start, end and end of rest on a day; hours are rounded to whole ones.
struct DutyTimes
{
    xmlGroups::Instant start, end, endWithRest;
};

DutyTimes timesOn(const QDate &day, const DutyRecord &duty)
{
    const xmlGroups::Instant start =
        DateTimeText::seconds(day, duty.start.msecsSinceStartOfDay() / 1000);
    return {start, start + qint64(std::nearbyint(duty.hours)) * 3600,
            start + qint64(std::nearbyint(duty.hours + duty.restHours)) * 3600};
}

MonthData readMonth(Db::Database &db, const GenerationRequest &request, const QDate &firstDay,
                    const QList<DutyRecord> &duties)
{
    MonthData data;
    const QDate lastDay = firstDay.addDays(firstDay.daysInMonth() - 1);
    // Duties of the last day, with their rest, reach into the next month: an
    // absence that begins there bars them as well.
    xmlGroups::Instant reach = DateTimeText::seconds(lastDay);
    for (const DutyRecord &duty : duties) {
        const DutyTimes times = timesOn(lastDay, duty);
        reach = std::max({reach, times.end, times.endWithRest});
    }
    const QDate lastDayReached = DateTimeText::dateOf(reach);
    const QString month = firstDay.toString(QStringLiteral("yyyy-MM"));
    const QString previousMonth = firstDay.addMonths(-1).toString(QStringLiteral("yyyy-MM"));

    QSet<qint64> chosen(request.groupIds.cbegin(), request.groupIds.cend());
    std::vector<qint64> groupOrder;
    forEachRow(db, QStringLiteral("SELECT id, nazwa FROM grupy ORDER BY rowid"), {},
               [&](const Db::Cursor &row) {
                   const qint64 groupId = row.integer(0);
                   data.groupNames.insert(groupId, row.text(1));
                   if (chosen.contains(groupId) &&
                       std::find(groupOrder.begin(), groupOrder.end(), groupId) == groupOrder.end())
                       groupOrder.push_back(groupId);
               });

    // The persons in the order of random, equal numbers in stored order. The
    // rows are sorted here, not by the query: sorting whole rows costs the
    // database more than the run spends on everything else of a person.
    std::vector<PersonInfo> &rows = data.persons;
    std::vector<RandomKey> keys;
    // Room for every row at once: growing would touch twice the memory, all
    // of it fresh from the system in a planner's one run. Ids are rowids, so
    // the largest bounds the count (room beyond the rows is never touched).
    forEachRow(db, QStringLiteral("SELECT max(rowid) FROM ludzie"), {}, [&](const Db::Cursor &row) {
        const size_t bound = size_t(std::clamp<qint64>(row.integer(0), 0, 1 << 18));
        rows.reserve(bound);
        keys.reserve(bound);
    });
    SharedTexts ranks;
    SharedTexts privileges;
    forEachRow(db,
               QStringLiteral("SELECT id, id_grupa, nazwisko, imie, stopien, mezczyzna, przywilej, "
                              "random FROM ludzie "
                              "ORDER BY rowid"),
               {}, [&](const Db::Cursor &row) {
                   const std::optional<qint64> group = row.wholeNumber(1);
                   if (!group || !chosen.contains(*group))
                       return;
                   PersonInfo info;
                   info.id = row.integer(0);
                   info.groupId = *group;
                   info.fullName = row.joinedText(2, 3, u' ', &info.nazwiskoLength);
                   info.stopien = ranks.text(row, 4);
                   info.man = row.flag(5);
                   info.przywilej = privileges.text(row, 6);
                   rows.push_back(std::move(info));
                   keys.push_back(RandomKey::of(row, 7));
               });
    std::vector<int> order(rows.size());
    const bool allWhole = std::all_of(keys.cbegin(), keys.cend(), [](const RandomKey &key) {
        return key.storage == RandomKey::Number && key.whole;
    });
    if (allWhole) {
        // Whole numbers alone, as random mostly holds: pairs with the stored
        // place sort as the stable sort below would, in far less time.
        std::vector<std::pair<qint64, int>> pairs(rows.size());
        for (size_t i = 0; i < pairs.size(); ++i)
            pairs[i] = {keys[i].integer, int(i)};
        std::sort(pairs.begin(), pairs.end());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = pairs[i].second;
    } else {
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(),
                         [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    }
    std::vector<RandomKey>().swap(keys);
    QHash<qint64, std::vector<int>> byGroup;
    qint64 smallestId = 0;
    qint64 largestId = 0;
    for (const PersonInfo &info : rows) {
        smallestId = std::min(smallestId, info.id);
        largestId = std::max(largestId, info.id);
    }
    data.personIndex.reserve(smallestId, largestId, rows.size());
    for (int i : order) {
        const PersonInfo &info = rows[size_t(i)];
        data.personIndex.insert(info.id, i);
        byGroup[info.groupId].push_back(i);
    }
    for (qint64 groupId : groupOrder) {
        const auto it = byGroup.constFind(groupId);
        if (it == byGroup.constEnd() || it->empty())
            continue; // a group without persons takes no part
        data.groups.push_back({groupId, data.groupNames.value(groupId), *it});
    }

    // One walk over the months before the generated one: their counts make the
    // carried total (the month's own stored counts, and later ones, must not
    // count twice when a month is generated again), the previous month's row
    // the free-from time. Only its first row counts, also for somebody
    // outside the run: its date must still be readable.
    auto personAt = [&data](qint64 id) -> PersonInfo * {
        const int index = data.personIndex.value(id);
        return index < 0 ? nullptr : &data.persons[size_t(index)];
    };
    QSet<qint64> othersSeen;
    forEachRow(
        db,
        QStringLiteral("SELECT id_osoba, miesiac=?, ilosc, data FROM ludzie_last WHERE miesiac<? "
                       "ORDER BY rowid"),
        {previousMonth, month}, [&](const Db::Cursor &row) {
            const std::optional<qint64> personId = row.wholeNumber(0);
            if (!personId)
                return;
            PersonInfo *person = personAt(*personId);
            if (person && !row.isNull(2))
                person->carried += row.integer(2);
            if (!row.flag(1) || (person ? person->lastDuty != PersonInfo::LastDuty::None
                                        : othersSeen.contains(*personId)))
                return;
            if (!person)
                othersSeen.insert(*personId);
            const QString text = row.text(3).trimmed();
            if (text.isEmpty()) {
                if (person)
                    person->lastDuty = PersonInfo::LastDuty::Undated;
                return;
            }
            const std::optional<DateTimeText::Value> value = DateTimeText::parse(text);
            if (!value)
                throw Failure{
                    QStringLiteral("Nieprawidłowa data ostatniej służby: \"%1\".").arg(text)};
            if (person) {
                person->lastDuty = PersonInfo::LastDuty::Dated;
                person->freeFrom = DateTimeText::seconds(*value);
            }
        });

    // Every absence that overlaps the days the month's duties take, also one
    // spanning them whole; dates in the older form are compared here.
    forEachRow(db,
               QStringLiteral("SELECT id, od, \"do\", id_item FROM zwolnienia WHERE rodzaj=0 "
                              "AND ((substr(od,1,10)<=? AND substr(\"do\",1,10)>=?) "
                              "OR substr(od,5,1)<>'-' OR substr(\"do\",5,1)<>'-') ORDER BY rowid"),
               {DateTimeText::dateText(lastDayReached), DateTimeText::dateText(firstDay)},
               [&](const Db::Cursor &row) {
                   const std::optional<qint64> personId = row.wholeNumber(3);
                   PersonInfo *person = personId ? personAt(*personId) : nullptr;
                   if (!person)
                       return;
                   const QDate from = DateTimeText::dateOf(row.text(1));
                   const QDate to = DateTimeText::dateOf(row.text(2));
                   if (!from.isValid() || !to.isValid())
                       throw Failure{
                           QStringLiteral("Nieprawidłowe daty zwolnienia nr %1.").arg(row.text(0))};
                   if (from <= lastDayReached && to >= firstDay)
                       person->absences.push_back({row.integer(0), from, to, 0});
               });

    // The head counts of the month's days: the first row of a duty-day counts.
    QHash<qint64, QString> dutyNames;
    for (const DutyRecord &duty : duties)
        dutyNames.insert(duty.id, duty.name);
    forEachRow(
        db,
        QStringLiteral(
            "SELECT id_sluzba, data, ilosc FROM sluzby_ilosc "
            "WHERE (YEAR(data)=? AND MONTH(data)=?) OR substr(data,5,1)<>'-' ORDER BY rowid"),
        {firstDay.year(), firstDay.month()}, [&](const Db::Cursor &row) {
            const std::optional<qint64> duty = row.wholeNumber(0);
            const QDate day = DateTimeText::dateOf(row.text(1));
            if (!duty || !dutyNames.contains(*duty) || !day.isValid() ||
                day.year() != firstDay.year() || day.month() != firstDay.month())
                return;
            const QPair<qint64, int> key(*duty, day.day());
            if (data.headCounts.contains(key))
                return;
            const std::optional<qint64> count = wholeNumberOf(row.value(2));
            if (!count)
                throw Failure{QStringLiteral("Nieprawidłowa ilość osób służby \"%1\" na dzień %2.")
                                  .arg(dutyNames.value(*duty), DateTimeText::dateText(day))};
            data.headCounts.insert(key, *count);
        });
    return data;
}

} // namespace

CellPattern::CellPattern(const QString &cellShow) : m_show(cellShow)
{
    static const QLatin1String fields[] = {QLatin1String("[nazwisko]"), QLatin1String("[imie]"),
                                           QLatin1String("[stopien]"), QLatin1String("[grupa]")};
    m_plain = true;
    qsizetype literal = 0;
    for (qsizetype at = 0; at < m_show.size();) {
        const QChar c = m_show.at(at);
        if (c == u']') {
            m_plain = false;
            return;
        }
        if (c != u'[') {
            ++at;
            continue;
        }
        int field = 0;
        while (field < 4 && !QStringView(m_show).mid(at).startsWith(fields[field]))
            ++field;
        if (field == 4) {
            m_plain = false;
            return;
        }
        m_pieces.push_back({literal, at - literal, -1});
        m_pieces.push_back({0, 0, field});
        at += fields[field].size();
        literal = at;
    }
    m_pieces.push_back({literal, m_show.size() - literal, -1});
}

QString CellPattern::text(QStringView nazwisko, QStringView imie, const QString &stopien,
                          const QString &grupa) const
{
    const QStringView values[] = {nazwisko, imie, stopien, grupa};
    // Values are short: a plain walk costs less than a search for each bracket.
    const bool plain =
        m_plain && std::none_of(std::begin(values), std::end(values), [](QStringView value) {
            return std::any_of(value.begin(), value.end(),
                               [](QChar c) { return c == u'[' || c == u']'; });
        });
    if (!plain)
        return CellText(m_show, nazwisko.toString(), imie.toString(), stopien, grupa);
    qsizetype size = 0;
    for (const Piece &piece : m_pieces)
        size += piece.field < 0 ? piece.length : values[piece.field].size();
    QString result;
    result.reserve(size);
    for (const Piece &piece : m_pieces) {
        if (piece.field < 0)
            result += QStringView(m_show).mid(piece.from, piece.length);
        else
            result += values[piece.field];
    }
    return result;
}

QString CellText(const QString &cellShow, const QString &nazwisko, const QString &imie,
                 const QString &stopien, const QString &grupa)
{
    QString piece = cellShow;
    piece.replace(QLatin1String("[nazwisko]"), nazwisko);
    piece.replace(QLatin1String("[imie]"), imie);
    piece.replace(QLatin1String("[stopien]"), stopien);
    piece.replace(QLatin1String("[grupa]"), grupa);
    return piece;
}

std::optional<QList<DutyRecord>> ChosenDuties(Db::Database &db, const QList<qint64> &dutyIds,
                                              QString *error)
{
    QHash<qint64, DutyRecord> byId;
    auto rows = db.openQuery(QStringLiteral("SELECT * FROM sluzby ORDER BY rowid"));
    if (!rows) {
        if (error)
            *error = db.errorString();
        return std::nullopt;
    }
    const QSet<qint64> wanted(dutyIds.cbegin(), dutyIds.cend());
    // Duties mostly share a few starting times: each text is parsed once.
    QHash<QString, QTime> times;
    for (; !rows->eof(); rows->moveNext()) {
        DutyRecord duty;
        duty.id = rows->integer(QStringLiteral("id"));
        if (!wanted.contains(duty.id) || byId.contains(duty.id))
            continue;
        duty.name = fieldText(*rows, "nazwa");
        duty.startText = fieldText(*rows, "od");
        auto time = times.constFind(duty.startText);
        if (time == times.constEnd())
            time = times.insert(duty.startText, parseTime(duty.startText));
        duty.start = *time;
        const std::optional<double> hours = numberOf(*rows, "okres");
        const std::optional<double> rest = numberOf(*rows, "rest");
        if (!duty.start.isValid() || !hours || !rest) {
            if (error)
                *error = QStringLiteral("Nieprawidłowe dane służby \"%1\".").arg(duty.name);
            return std::nullopt;
        }
        duty.hours = *hours;
        duty.hoursText = fieldText(*rows, "okres");
        duty.restHours = *rest;
        duty.menOnly = !rows->flag(QStringLiteral("kobiety"));
        duty.standardCount = rows->integer(QStringLiteral("ilosc_std"));
        duty.wholeGroup = rows->flag(QStringLiteral("calagrupa"));
        byId.insert(duty.id, duty);
    }
    QList<DutyRecord> duties;
    QSet<qint64> taken;
    for (qint64 id : dutyIds) {
        if (byId.contains(id) && !taken.contains(id)) {
            duties << byId.value(id);
            taken.insert(id);
        }
    }
    return duties;
}

bool GenerateSchedule(Db::Database &db, clsOptions &options, GenerationHost &host,
                      const GenerationRequest &request, QString *error)
{
    bool hostChanged = false;
    auto fail = [&](const QString &text) {
        Messages::critical(text);
        if (error)
            *error = text;
        if (hostChanged)
            host.restoreAfterFailure();
        return false;
    };

    if (!request.month.isValid())
        return fail(QStringLiteral("Nieprawidłowy miesiąc grafiku."));
    const QDate firstDay(request.month.year(), request.month.month(), 1);
    const int dayCount = firstDay.daysInMonth();

    QString text;
    std::unique_ptr<Xml::Document> rules = XML::BuildRuleSetDocument(db, request.ruleSetId, &text);
    if (!rules)
        return fail(text);

    // Phase 1: the roster document and the duties.
    std::unique_ptr<Xml::Document> roster = XML::CreateScheduleDocument(firstDay);
    if (!roster) {
        if (error)
            *error = QStringLiteral("Wystąpił błąd przy tworzeniu bazy XML!");
        return false; // the message has been shown
    }
    const std::optional<QList<DutyRecord>> chosenDuties = ChosenDuties(db, request.dutyIds, &text);
    if (!chosenDuties)
        return fail(text);
    const QList<DutyRecord> &duties = *chosenDuties;
    QStringList dutyIds;
    for (const DutyRecord &duty : duties)
        dutyIds << QString::number(duty.id);
    Xml::Node rosterRoot = roster->documentElement();
    const Xml::Node services = rosterRoot.childElements(QStringLiteral("Services")).value(0);
    for (const DutyRecord &duty : duties) {
        Xml::Node item = XML::AddElement(services, QStringLiteral("ServiceItem"));
        XML::SetAttribute(item, QStringLiteral("Id"), QString::number(duty.id));
        XML::SetAttribute(item, QStringLiteral("Text"),
                          duty.name + QStringLiteral("\r\nod ") + duty.startText +
                              QStringLiteral(" przez ") + duty.hoursText + QStringLiteral(" h"));
    }

    host.beginGeneration();
    hostChanged = true;
    host.setScheduleReady(false);

    try {
        // Phase 2: the working document.
        const MonthData data = readMonth(db, request, firstDay, duties);
        xmlGroups groups;
        groups.setPriorytet(options.GetOption(QStringLiteral("Priorytet")));
        groups.reserve(qsizetype(data.groups.size()), qsizetype(data.persons.size()));
        const xmlGroups::Instant dayBefore = DateTimeText::seconds(firstDay.addDays(-1));
        const xmlGroups::Instant yearBefore =
            DateTimeText::seconds(QDate(firstDay.year() - 1, 1, 1));
        const QString man = QStringLiteral("0");
        const QString woman = QStringLiteral("1");
        qint64 totalPersons = 0;
        std::vector<xmlGroups::NewPerson> added;
        for (const MonthData::GroupRows &group : data.groups) {
            const Xml::Node groupNode = groups.AddGroup(group.id, group.name, 0);
            added.clear();
            qint64 carriedTotal = 0;
            for (int index : group.persons) {
                const PersonInfo &person = data.persons[size_t(index)];
                const xmlGroups::Instant freeFrom =
                    person.lastDuty == PersonInfo::LastDuty::Dated     ? person.freeFrom
                    : person.lastDuty == PersonInfo::LastDuty::Undated ? yearBefore
                                                                       : dayBefore;
                added.push_back({person.id, person.fullName, person.carried, freeFrom,
                                 person.man ? man : woman, person.przywilej, person.absences});
                carriedTotal += person.carried;
            }
            groups.AddPersons(groupNode, added);
            if (carriedTotal != 0)
                groups.setGroupCount(groupNode, carriedTotal);
            const qint64 loaded = qint64(added.size());
            groups.setGroupIlosc(groupNode, loaded);
            totalPersons += loaded;
        }

        // Phase 4: the month, day by day, duty by duty, place by place.
        const CellPattern cellShow(options.GetOption(QStringLiteral("CellShow")));
        std::vector<QString> pieces(data.persons.size()); // each person's cell text, made once
        auto pieceOf = [&](int index) -> const QString & {
            QString &piece = pieces[size_t(index)];
            if (piece.isNull()) {
                const PersonInfo &person = data.persons[size_t(index)];
                const QStringView name(person.fullName);
                piece = cellShow.text(name.left(person.nazwiskoLength),
                                      name.mid(person.nazwiskoLength + 1), person.stopien,
                                      data.groupNames.value(person.groupId));
            }
            return piece;
        };
        // A day goes into the roster in one piece, as AddDayNode, AddDutyNode
        // and AddPersonNode would add it. A name the piece cannot hold as such
        // (empty, or cut off at once by a NUL) sends every day node by node.
        const bool daysInOnePiece =
            std::none_of(data.persons.cbegin(), data.persons.cend(), [](const PersonInfo &person) {
                return person.fullName.isEmpty() || person.fullName.front() == QChar(0);
            });
        const QString lineBreak = QStringLiteral("\r\n");
        qint64 gaps = 0;
        for (int day = 1; day <= dayCount; ++day) {
            Xml::Node dayNode;
            Xml::Fragment dayPiece;
            if (daysInOnePiece) {
                dayPiece.open("Dzien");
                dayPiece.attribute("Id", day);
            } else {
                dayNode = XML::AddDayNode(*roster, day);
            }
            const QDate date = firstDay.addDays(day - 1);
            const QString dayText = QString::number(day);
            for (qsizetype i = 0; i < duties.size(); ++i) {
                const DutyRecord &duty = duties.at(i);
                const QString &dutyIdText = dutyIds.at(i);
                const QString position = QString::number(i + 1) + u'.' + dayText;
                Xml::Node dutyNode;
                if (daysInOnePiece) {
                    dayPiece.open("Sluzba");
                    dayPiece.attribute("Id", duty.id);
                    dayPiece.attribute("Name", duty.name);
                    dayPiece.attribute("Position", position);
                } else {
                    dutyNode = XML::AddDutyNode(dayNode, duty.name, duty.id, position);
                }
                auto endDuty = [&] {
                    if (daysInOnePiece) {
                        dayPiece.close();
                        dayPiece.text(lineBreak);
                    }
                };
                qint64 headCount = duty.standardCount;
                if (groups.ServiceReleased(*rules, day, dutyIdText))
                    headCount = 0;
                else if (const auto it = data.headCounts.constFind({duty.id, day});
                         it != data.headCounts.constEnd())
                    headCount = *it;
                if (headCount <= 0) {
                    endDuty();
                    continue;
                }

                const auto [start, end, endWithRest] = timesOn(date, duty);
                const xmlGroups::PersonCondition condition{start, duty.menOnly};

                groups.setLastGroup(-1);
                QStringList cell;
                for (qint64 place = 1; place <= headCount; ++place) {
                    qint64 result = xmlGroups::GroupHadNobody;
                    for (qint64 attempts = 0;
                         result == xmlGroups::GroupHadNobody && attempts <= totalPersons;
                         ++attempts)
                        result = groups.FindPerson(*rules, day, dutyIdText, int(place), start,
                                                   endWithRest, end, duty.wholeGroup, condition);
                    if (result >= 0) {
                        const int index = data.personIndex.value(result);
                        cell << pieceOf(index);
                        const QString &name = data.persons[size_t(index)].fullName;
                        if (daysInOnePiece) {
                            dayPiece.open("Osoba");
                            dayPiece.attribute("Id", result);
                            dayPiece.open("Nazwisko");
                            dayPiece.text(name);
                            dayPiece.close();
                            dayPiece.text(lineBreak);
                            dayPiece.close();
                            dayPiece.text(lineBreak);
                        } else {
                            XML::AddPersonNode(dutyNode, name, result);
                        }
                    } else {
                        // The gap stands where the place stands; the others stay visible.
                        cell << GapText;
                        ++gaps;
                    }
                }
                endDuty();
                host.setCellText(day, int(i + 1), cell.join(CellSeparator));
            }
            if (daysInOnePiece) {
                dayPiece.close();
                dayPiece.text(lineBreak);
                rosterRoot.appendFragment(dayPiece);
            }
            const int percent = int(std::nearbyint(double(day) / dayCount * 100));
            host.progress(day, dayCount,
                          QStringLiteral("Proszę czekać... ( ") + QString::number(percent) +
                              QStringLiteral("% )"));
        }

        // Phase 5: the hand-over.
        host.endGeneration();
        host.setCurrDate(firstDay);
        host.setToolbarTitle(monthTitle(firstDay));
        XML::SetAttribute(rosterRoot, QStringLiteral("Name"), host.toolbarTitle());
        groups.FillPersonCounts(host.personList());
        // The working document goes with the run: its exclusions go into the roster.
        groups.appendExclusions(rosterRoot);
        host.setRosterDocument(std::move(roster));
        if (gaps > 0) {
            const QString question = QStringLiteral("Istnieją luki w służbach! Ilość luk: ") +
                                     QString::number(gaps) +
                                     QStringLiteral(".\r\nMożliwe, że zwolnienia są przyczyną tych "
                                                    "luk. Czy chcesz sprawdzić istnienie "
                                                    "zwolnień?");
            if (Messages::question(question))
                host.showExclusions();
        }
        host.setScheduleReady(true);
        return true;
    } catch (const Failure &failure) {
        return fail(failure.text);
    }
}

} // namespace Algorytmy
