#pragma once

#include "platform/xml/XmlDocument.h"

#include <QDate>
#include <QString>

#include <memory>

// Building blocks of the program's XML documents (roster, rules, working
// document, spreadsheet export) and the roster document itself.
//
// Roster document: root Baza with Date (yyyy-mm-dd), Services, one Dzien per
// day, later Exclusions and Counter. Every element added through AddElement
// is followed inside its parent by a CR LF text node, so the saved text has
// one element per line.
//
// Failures: CreateScheduleDocument shows its message and returns nullptr; the
// others return a null Node for a null parent; FillPersonCounts returns false
// (and leaves the list untouched) when a count is not a number.
namespace XML {

inline const QString ScheduleDocumentText =
    QStringLiteral("<?xml version='1.0' encoding='windows-1250'?><Baza/>");

// The list of people with their duty counts, as the main window shows it.
// The main window implements it; tests use a recording double.
class PersonCountSink
{
public:
    virtual ~PersonCountSink() = default;
    virtual void clear() = 0;
    // One person: id (the row key is "ID=" + id), name, group name, duties of
    // this run, date of the last duty as the working document holds it.
    virtual void addRow(qint64 id, const QString &name, const QString &group, qint64 count,
                        const QString &lastDate) = 0;
    // The list keeps its rows sorted from now on.
    virtual void sortRows() = 0;
    // The roster-dependent commands become available.
    virtual void makeOpened(bool opened) = 0;
};

// A new roster document for the month (Date = month as yyyy-mm-dd, empty
// Services); nullptr after showing "Wystąpił błąd przy tworzeniu bazy XML!".
std::unique_ptr<Xml::Document> CreateScheduleDocument(const QDate &month);

// Appends Dzien with Id = day to the document's root.
Xml::Node AddDayNode(Xml::Document &document, int day);
// Appends Sluzba with Id, Name, Position (in this order) to a Dzien.
Xml::Node AddDutyNode(Xml::Node dayElement, const QString &name, qint64 id,
                      const QString &position);
// Appends Osoba with Id and a child Nazwisko holding text to a Sluzba.
Xml::Node AddPersonNode(Xml::Node dutyElement, const QString &text, qint64 id);

// Appends the element to parent, then a CR LF text node. With a namespace URI
// different from the one in scope for the name's prefix, the element declares
// it (xmlns or xmlns:prefix); the same URI as in scope adds nothing.
Xml::Node AddElement(Xml::Node parent, const QString &name, const QString &namespaceUri = {});
// Sets or replaces the attribute (a prefix such as "ss:" is part of the name).
void SetAttribute(Xml::Node node, const QString &name, const QString &value);

// Fills the person list from the working document (root Doc): one row per
// /Doc/Groups/Group/Item with Count - CountAtStar, then sortRows() and
// makeOpened(true).
bool FillPersonCounts(const Xml::Document &workingDocument, PersonCountSink &sink);

} // namespace XML
