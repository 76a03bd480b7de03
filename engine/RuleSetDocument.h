#pragma once

#include "platform/xml/XmlDocument.h"

#include <QString>

#include <memory>

namespace Db {
class Database;
}

namespace XML {

// The rules document of one rule set: root Root with the sections
// GrupySluzby, SluzbyGrupy, LudzieSluzby, SluzbyLudzie, Zwolnienia,
// SluzbyIlosc (each on its own line, always present), one Item per subject
// of a rule and one SubItem (Arg2, Date1, Date2) per object and period.
//
// Ownership: the caller owns the document. A ruleSetId of 0 or less gives the
// empty sections without reading the database. Failure contract: nullptr and
// *error for a failing query, a Kind outside 0..6 or a period entry with fewer
// than two fields; nothing is shown.
std::unique_ptr<Xml::Document> BuildRuleSetDocument(Db::Database &db, qint64 ruleSetId,
                                                    QString *error = nullptr);

} // namespace XML
