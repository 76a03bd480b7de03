#pragma once

#include <QString>

namespace pugi {
class xml_document;
}

namespace Xml {

// What pugixml lets through although XML 1.0 forbids it: more than one root
// element, a CDATA section beside the root, names that are no XML names (bytes
// that are not UTF-8 among them) and an attribute given twice. Plain text
// beside the root never reaches the tree (the parser drops it as it reads),
// so such a file opens without it; nothing of a roster is kept there. The empty text for a
// well-formed tree, else the Polish reason.
//
// Used by Document after every parse; character data is not checked here.
QString wellFormedFault(const pugi::xml_document &document);

} // namespace Xml
