#pragma once

#include "engine/GenerationHost.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace Db {
class Database;
}
namespace Xml {
class Document;
}

// Random but realistic units for the generation, and the rules no roster of
// them may break. The same seed always gives the same unit.
//
// A unit: groups of uneven size, people in their stored random order (a few
// exempt, a quarter women), duties of 1 to 3 places with some days of their
// own head count, absences that cross either end of the month, the previous
// months' counts and last duties (some reaching into the month), and rule set
// 1 with rules of every kind.
namespace RandomUnit {

struct Shape
{
    int people = 20;
    int groups = 3;
    int duties = 3;
    // Any day of the month to generate; invalid: drawn from the seed.
    QDate month;
    // Also what planners rarely enter: duties of length 0 or from midnight,
    // rests of two days, head counts of 0, several rules of a kind, every
    // stored form of a last-duty time, absences from the month's next day,
    // duty-person rules naming people of an absent group, Priorytet 0 or 1.
    bool awkward = false;
};

// The units the benchmarks time: a small unit, a large one and a very large one.
inline const Shape BenchShapes[] = {{1000, 20, 30, QDate(2024, 5, 1), false},
                                    {10000, 100, 120, QDate(2024, 5, 1), false},
                                    {20000, 100, 200, QDate(2024, 5, 1), false}};

// Empties the unit's tables (ids start at 1 again) and fills them. request
// gets the month, every group and duty, and rule set 1.
bool fill(Db::Database &db, const Shape &shape, quint32 seed, Algorytmy::GenerationRequest *request,
          QString *error);

// Every place of the roster that no roster may hold, one text each: a person
// on duty while absent (own absence, a rule's absence of the person or of the
// group), before being free from an earlier duty and its rest or from the
// previous month's last duty, twice in one duty on one day, exempt, a woman on
// a men-only duty, or against a rule of the set (a released duty, a person
// kept to other duties, a duty kept to other persons, and, where no
// duty-person rule holds, a group kept to other duties or a duty kept to
// other groups). Worked out from the database alone.
QStringList violations(Db::Database &db, const Algorytmy::GenerationRequest &request,
                       const Xml::Document &roster);

} // namespace RandomUnit
