#pragma once

#include <QByteArray>
#include <QString>

// windows-1250, the code page of the program's files. All 256 byte values
// round-trip; the five bytes the code page leaves undefined map to the C1
// characters of the same value (U+0081 ...).
namespace Cp1250 {

enum class Unmappable {
    Question,   // "?" (CSV)
    XmlCharRef, // "&#N;" (XML bodies)
    RtfEscape   // "\uN?" (RTF)
};

QString decode(const QByteArray &bytes);
// decode(bytes).toUtf8() in one pass, for parsers that read UTF-8.
QByteArray decodeToUtf8(const QByteArray &bytes);
QByteArray encode(const QString &text, Unmappable policy = Unmappable::Question);

} // namespace Cp1250
