#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The one reader of whole numbers kept as text: ids and counts in the
// database, in roster files and in list keys.
//
// Accepted: blanks around (any white space), an optional "+" or "-", then
// one or more decimal digits 0-9, within the range of qint64. Anything else
// (an empty text, a blank inside, a fraction, letters, a value out of range)
// gives no value.
namespace WholeNumber {

std::optional<qint64> parse(QStringView text);
// The same for UTF-8 bytes as SQLite keeps a text, without building a QString
// for the usual plain digits.
std::optional<qint64> parseUtf8(QByteArrayView bytes);
// The number as text; the small ones (counts, flags) share one text each
// instead of making it anew, as lists of thousands of rows show them.
QString text(qint64 value);

} // namespace WholeNumber
