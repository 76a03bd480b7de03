#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Db {
class Database;
class Recordset;
} // namespace Db

// One rule of a rule set, as the rule editors hold it and as wizardlist_items
// stores it.
//
// Text forms: Argument1/Argument2 are lists of "id;name" entries separated by
// NUL (QChar(0)), no separator after the last; Dates is a list of
// "day1;day2;display" entries separated by NUL. The properties only store and
// return; nothing is checked.
class WizItem
{
public:
    enum RuleKind {
        GroupsTakeOnlyDuties = 0,     // GrupySluzby
        DutiesTakenOnlyByGroups = 1,  // SluzbyGrupy
        GroupsAbsent = 2,             // Zwolnienia "G"
        PersonsAbsent = 3,            // Zwolnienia "P"
        DutiesNotNeeded = 4,          // SluzbyIlosc
        PersonsTakeOnlyDuties = 5,    // LudzieSluzby
        DutiesTakenOnlyByPersons = 6, // SluzbyLudzie
    };

    int Kind() const { return m_kind; }
    void setKind(int kind) { m_kind = kind; }
    // wizardlist_items.id as text; empty for a rule not yet stored.
    QString ID() const { return m_id; }
    void setID(const QString &id) { m_id = id; }
    QString Argument1() const { return m_argument1; }
    void setArgument1(const QString &text) { m_argument1 = text; }
    QString Argument2() const { return m_argument2; }
    void setArgument2(const QString &text) { m_argument2 = text; }
    QString Dates() const { return m_dates; }
    void setDates(const QString &text) { m_dates = text; }

    // The rule's sentence, e.g. "Zwolnienie dla grup: Zmiana A w dniach: 3-4";
    // empty for a kind outside 0..6.
    QString MakeText() const;

    // Splits a NUL-separated list; an empty text is an empty list.
    static QStringList splitList(const QString &text);
    static QString joinList(const QStringList &entries);
    // The "id;name" entry's id (text before the first ";") and name (after it).
    static QString entryId(const QString &entry);
    static QString entryName(const QString &entry);

    // Storage in wizardlist_items. Reading gives the set's rules in the
    // database's order (empty list and *error set on a failing query);
    // store() updates the row of ID() or, for an empty/unknown ID, adds a row
    // under ruleSetId and sets ID(). Both return false with *error on failure.
    static QList<WizItem> LoadRuleSet(Db::Database &db, qint64 ruleSetId, QString *error = nullptr,
                                      bool *ok = nullptr);
    static WizItem fromRecord(const Db::Recordset &row);
    bool store(Db::Database &db, qint64 ruleSetId, QString *error = nullptr);

private:
    int m_kind = 0;
    QString m_id;
    QString m_argument1;
    QString m_argument2;
    QString m_dates;
};
