#pragma once

#include <QString>
#include <QStringView>

// Which texts an XML 1.0 document can carry. Names and templates end up in
// the roster file and the spreadsheet export, so the editors refuse what
// those files could not hold.
//
// Forbidden: the characters below U+0020 other than tab, LF and CR, U+FFFE,
// U+FFFF, and a surrogate without its partner.
namespace XmlText {

// The position of the first forbidden character, -1 when there is none.
qsizetype firstForbidden(QStringView text);

inline bool isAllowed(QStringView text)
{
    return firstForbidden(text) < 0;
}

// "U+0001": the forbidden character at pos, as a person can read it.
QString codeAt(QStringView text, qsizetype pos);

} // namespace XmlText
