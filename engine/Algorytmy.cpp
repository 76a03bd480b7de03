#include "engine/Algorytmy.h"

#include "core/Messages.h"
#include "core/Options.h"
#include "core/XML.h"
#include "engine/RuleSetDocument.h"
#include "engine/xmlGroups.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
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
    QString nazwisko;
    QString imie;
    QString stopien;
    qint64 groupId = 0;
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

std::optional<qint64> idOf(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
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

QDateTime parseDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const char *format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd", "dd.MM.yyyy HH:mm:ss",
                               "dd.MM.yyyy HH:mm", "dd.MM.yyyy"}) {
        const QDateTime value = QDateTime::fromString(trimmed, QLatin1String(format));
        if (value.isValid())
            return QDateTime(value.date(), value.time(), Qt::UTC);
    }
    return {};
}

QString monthTitle(const QDate &firstDay)
{
    const QString name = QLocale(QLocale::Polish).standaloneMonthName(firstDay.month(), QLocale::LongFormat);
    return QStringLiteral("Grafik na ") + name.toLower() + u' ' + QString::number(firstDay.year());
}

std::unique_ptr<Db::Recordset> query(Db::Database &db, const QString &sql, const QVariantList &params = {})
{
    auto rows = db.openQuery(sql, params);
    if (!rows)
        throw Failure{db.errorString()};
    return rows;
}

// Everything the run reads from the database, read in a few queries.
struct MonthData
{
    QHash<qint64, QString> groupNames;
    struct GroupRows
    {
        qint64 id = 0;
        QString name;
        std::vector<qint64> persons; // in the order of random
    };
    std::vector<GroupRows> groups; // chosen groups with persons, stored order
    QHash<qint64, PersonInfo> persons;
    struct PersonRun
    {
        QString fullName;
        bool man = false;
        QString przywilej;
    };
    QHash<qint64, PersonRun> personRun;
    QHash<qint64, QDateTime> freeFrom;   // from the previous month's row
    QHash<qint64, bool> previousRowEmpty; // previous month's row without a date
    QHash<qint64, qint64> carried;
    struct Absence
    {
        qint64 id;
        QDate from, to;
        int kind;
    };
    QHash<qint64, std::vector<Absence>> absences;
    QHash<QPair<qint64, int>, qint64> headCounts; // (duty, day) -> ilosc
};

MonthData readMonth(Db::Database &db, const GenerationRequest &request, const QDate &firstDay)
{
    MonthData data;
    const QDate lastDay = firstDay.addDays(firstDay.daysInMonth() - 1);
    const QString month = firstDay.toString(QStringLiteral("yyyy-MM"));
    const QString previousMonth = firstDay.addMonths(-1).toString(QStringLiteral("yyyy-MM"));

    QSet<qint64> chosen(request.groupIds.cbegin(), request.groupIds.cend());
    std::vector<qint64> groupOrder;
    for (auto rows = query(db, QStringLiteral("SELECT id, nazwa FROM grupy ORDER BY rowid")); !rows->eof();
         rows->moveNext()) {
        const qint64 id = rows->integer(QStringLiteral("id"));
        data.groupNames.insert(id, fieldText(*rows, "nazwa"));
        if (chosen.contains(id) && std::find(groupOrder.begin(), groupOrder.end(), id) == groupOrder.end())
            groupOrder.push_back(id);
    }

    QHash<qint64, std::vector<qint64>> byGroup;
    for (auto rows = query(db, QStringLiteral("SELECT * FROM ludzie ORDER BY random, rowid")); !rows->eof();
         rows->moveNext()) {
        const std::optional<qint64> group = idOf(fieldText(*rows, "id_grupa"));
        if (!group || !chosen.contains(*group))
            continue;
        const qint64 id = rows->integer(QStringLiteral("id"));
        PersonInfo info{fieldText(*rows, "nazwisko"), fieldText(*rows, "imie"), fieldText(*rows, "stopien"), *group};
        data.personRun.insert(id, {info.nazwisko + u' ' + info.imie, rows->flag(QStringLiteral("mezczyzna")),
                                   fieldText(*rows, "przywilej")});
        data.persons.insert(id, info);
        byGroup[*group].push_back(id);
    }
    for (qint64 id : groupOrder) {
        const auto it = byGroup.constFind(id);
        if (it == byGroup.constEnd() || it->empty())
            continue; // a group without persons takes no part
        data.groups.push_back({id, data.groupNames.value(id), *it});
    }

    for (auto rows = query(db, QStringLiteral("SELECT id_osoba, data FROM ludzie_last WHERE miesiac=? ORDER BY rowid"),
                           {previousMonth});
         !rows->eof(); rows->moveNext()) {
        const std::optional<qint64> id = idOf(fieldText(*rows, "id_osoba"));
        if (!id || data.freeFrom.contains(*id) || data.previousRowEmpty.contains(*id))
            continue;
        const QString text = fieldText(*rows, "data").trimmed();
        if (text.isEmpty()) {
            data.previousRowEmpty.insert(*id, true);
            continue;
        }
        const QDateTime value = parseDateTime(text);
        if (!value.isValid())
            throw Failure{QStringLiteral("Nieprawidłowa data ostatniej służby: \"%1\".").arg(text)};
        data.freeFrom.insert(*id, value);
    }

    // Only the months before the generated one: its own stored counts (and
    // later ones) must not count twice when a month is generated again.
    for (auto rows = query(db, QStringLiteral("SELECT id_osoba, ilosc FROM ludzie_last WHERE miesiac<? ORDER BY rowid"),
                           {month});
         !rows->eof(); rows->moveNext()) {
        const std::optional<qint64> id = idOf(fieldText(*rows, "id_osoba"));
        if (!id || rows->isNull(QStringLiteral("ilosc")))
            continue;
        data.carried[*id] += rows->integer(QStringLiteral("ilosc"));
    }

    // Every absence that overlaps the month, also one spanning it whole.
    for (auto rows = query(db,
                           QStringLiteral("SELECT id, od, \"do\", id_item FROM zwolnienia WHERE rodzaj=0 "
                                          "AND substr(od,1,10)<=? AND substr(\"do\",1,10)>=? ORDER BY rowid"),
                           {lastDay.toString(QStringLiteral("yyyy-MM-dd")),
                            firstDay.toString(QStringLiteral("yyyy-MM-dd"))});
         !rows->eof(); rows->moveNext()) {
        const std::optional<qint64> person = idOf(fieldText(*rows, "id_item"));
        if (!person || !data.persons.contains(*person))
            continue;
        const QDate from = parseDateTime(fieldText(*rows, "od")).date();
        const QDate to = parseDateTime(fieldText(*rows, "do")).date();
        if (!from.isValid() || !to.isValid())
            throw Failure{QStringLiteral("Nieprawidłowe daty zwolnienia nr %1.").arg(fieldText(*rows, "id"))};
        data.absences[*person].push_back({rows->integer(QStringLiteral("id")), from, to, 0});
    }

    for (auto rows = query(db,
                           QStringLiteral("SELECT id_sluzba, data, ilosc FROM sluzby_ilosc "
                                          "WHERE YEAR(data)=? AND MONTH(data)=? ORDER BY rowid"),
                           {firstDay.year(), firstDay.month()});
         !rows->eof(); rows->moveNext()) {
        const std::optional<qint64> duty = idOf(fieldText(*rows, "id_sluzba"));
        const QDate day = parseDateTime(fieldText(*rows, "data")).date();
        if (!duty || !day.isValid())
            continue;
        const QPair<qint64, int> key(*duty, day.day());
        if (!data.headCounts.contains(key))
            data.headCounts.insert(key, rows->integer(QStringLiteral("ilosc")));
    }
    return data;
}

QString cellPiece(const QString &cellShow, const PersonInfo &person, const QHash<qint64, QString> &groupNames)
{
    return CellText(cellShow, person.nazwisko, person.imie, person.stopien, groupNames.value(person.groupId));
}

bool dutyReleased(const Xml::Document &rules, qint64 dutyId, int day)
{
    // Numbers compare as numbers in XPath 1.0, so this query is safe as it stands.
    return !rules
                .selectNodes(QStringLiteral("/Root/SluzbyIlosc/Item[@Id='%1']/SubItem[@Date1<=%2 and @Date2>=%2]")
                                 .arg(dutyId)
                                 .arg(day))
                .isEmpty();
}

} // namespace

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

std::optional<QList<DutyRecord>> ChosenDuties(Db::Database &db, const QList<qint64> &dutyIds, QString *error)
{
    QHash<qint64, DutyRecord> byId;
    auto rows = db.openQuery(QStringLiteral("SELECT * FROM sluzby ORDER BY rowid"));
    if (!rows) {
        if (error)
            *error = db.errorString();
        return std::nullopt;
    }
    const QSet<qint64> wanted(dutyIds.cbegin(), dutyIds.cend());
    for (; !rows->eof(); rows->moveNext()) {
        DutyRecord duty;
        duty.id = rows->integer(QStringLiteral("id"));
        if (!wanted.contains(duty.id) || byId.contains(duty.id))
            continue;
        duty.name = fieldText(*rows, "nazwa");
        duty.startText = fieldText(*rows, "od");
        duty.start = parseTime(duty.startText);
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

bool GenerateSchedule(Db::Database &db, clsOptions &options, GenerationHost &host, const GenerationRequest &request,
                      QString *error)
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
    Xml::Node rosterRoot = roster->documentElement();
    const Xml::Node services = rosterRoot.childElements(QStringLiteral("Services")).value(0);
    for (const DutyRecord &duty : duties) {
        Xml::Node item = XML::AddElement(services, QStringLiteral("ServiceItem"));
        XML::SetAttribute(item, QStringLiteral("Id"), QString::number(duty.id));
        XML::SetAttribute(item, QStringLiteral("Text"),
                          duty.name + QStringLiteral("\r\nod ") + duty.startText + QStringLiteral(" przez ")
                              + duty.hoursText + QStringLiteral(" h"));
    }

    host.beginGeneration();
    hostChanged = true;
    host.setScheduleReady(false);

    try {
        // Phase 2: the working document.
        const MonthData data = readMonth(db, request, firstDay);
        xmlGroups groups;
        groups.setPriorytet(options.GetOption(QStringLiteral("Priorytet")));
        const QDateTime dayBefore(firstDay.addDays(-1), QTime(0, 0), Qt::UTC);
        const QDateTime yearBefore(QDate(firstDay.year() - 1, 1, 1), QTime(0, 0), Qt::UTC);
        qint64 totalPersons = 0;
        for (const MonthData::GroupRows &group : data.groups) {
            const Xml::Node groupNode = groups.AddGroup(group.id, group.name, 0);
            qint64 loaded = 0;
            for (qint64 personId : group.persons) {
                QDateTime freeFrom = dayBefore;
                if (data.freeFrom.contains(personId))
                    freeFrom = data.freeFrom.value(personId);
                else if (data.previousRowEmpty.contains(personId))
                    freeFrom = yearBefore;
                const qint64 carried = data.carried.value(personId, 0);
                const MonthData::PersonRun &run = data.personRun[personId];
                const Xml::Node personNode = groups.AddPerson(groupNode, personId, run.fullName, carried, freeFrom);
                groups.setPersonInfo(personNode, run.man ? QStringLiteral("0") : QStringLiteral("1"), run.przywilej);
                for (const MonthData::Absence &absence : data.absences.value(personId))
                    groups.AddZwolnienie(personNode, absence.id, absence.from, absence.to, absence.kind);
                if (carried != 0)
                    groups.setGroupCount(groupNode, groups.groupCount(groupNode) + carried);
                ++loaded;
            }
            groups.setGroupIlosc(groupNode, loaded);
            totalPersons += loaded;
        }

        // Phase 4: the month, day by day, duty by duty, place by place.
        const QString cellShow = options.GetOption(QStringLiteral("CellShow"));
        qint64 gaps = 0;
        for (int day = 1; day <= dayCount; ++day) {
            Xml::Node dayNode = XML::AddDayNode(*roster, day);
            const QDate date = firstDay.addDays(day - 1);
            for (qsizetype i = 0; i < duties.size(); ++i) {
                const DutyRecord &duty = duties.at(i);
                const QString dutyIdText = QString::number(duty.id);
                Xml::Node dutyNode = XML::AddDutyNode(dayNode, duty.name, duty.id,
                                                      QString::number(i + 1) + u'.' + QString::number(day));
                qint64 headCount = duty.standardCount;
                if (dutyReleased(*rules, duty.id, day))
                    headCount = 0;
                else if (const auto it = data.headCounts.constFind({duty.id, day}); it != data.headCounts.constEnd())
                    headCount = *it;
                if (headCount <= 0)
                    continue;

                const QDateTime start(date, duty.start, Qt::UTC);
                const QDateTime end = start.addSecs(qint64(std::nearbyint(duty.hours)) * 3600);
                const QDateTime endWithRest = start.addSecs(qint64(std::nearbyint(duty.hours + duty.restHours)) * 3600);
                const xmlGroups::PersonCondition condition{start, duty.menOnly};

                groups.setLastGroup(-1);
                QStringList pieces;
                for (qint64 place = 1; place <= headCount; ++place) {
                    qint64 result = xmlGroups::GroupHadNobody;
                    for (qint64 attempts = 0; result == xmlGroups::GroupHadNobody && attempts <= totalPersons;
                         ++attempts)
                        result = groups.FindPerson(*rules, day, dutyIdText, int(place), start, endWithRest, end,
                                                   duty.wholeGroup, condition);
                    if (result >= 0) {
                        const PersonInfo person = data.persons.value(result);
                        pieces << cellPiece(cellShow, person, data.groupNames);
                        XML::AddPersonNode(dutyNode, person.nazwisko + u' ' + person.imie, result);
                    } else {
                        // The gap stands where the place stands; the others stay visible.
                        pieces << GapText;
                        ++gaps;
                    }
                }
                host.setCellText(day, int(i + 1), pieces.join(CellSeparator));
            }
            const int percent = int(std::nearbyint(double(day) / dayCount * 100));
            host.progress(day, dayCount,
                          QStringLiteral("Proszę czekać... ( ") + QString::number(percent) + QStringLiteral("% )"));
        }

        // Phase 5: the hand-over.
        host.endGeneration();
        host.setCurrDate(firstDay);
        host.setToolbarTitle(monthTitle(firstDay));
        XML::SetAttribute(rosterRoot, QStringLiteral("Name"), host.toolbarTitle());
        if (!XML::FillPersonCounts(groups.xmlDocument(), host.personList()))
            throw Failure{QStringLiteral("Nie można wypełnić listy osób.")};
        // The working document goes with the run, so a copy is the move.
        rosterRoot.appendCopy(
            groups.xmlDocument().documentElement().childElements(QStringLiteral("Exclusions")).value(0));
        host.setRosterDocument(std::move(roster));
        if (gaps > 0) {
            const QString question =
                QStringLiteral("Istnieją luki w służbach! Ilość luk: ") + QString::number(gaps)
                + QStringLiteral(".\r\nMożliwe, że zwolnienia są przyczyną tych luk. Czy chcesz sprawdzić istnienie "
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
