#pragma once

#include <QByteArrayView>
#include <QStringView>

// Texts in the order Polish readers expect ("adamczyk" before "Zieliński",
// "Ćwik" between "Cygan" and "Dudek", "Łączność" before "Zwiad"), on every
// machine whatever its locale: the Polish collation of the system's ICU;
// texts it finds equal fall back to their code points, so only identical
// texts compare equal. The one comparison of names in lists, trees and the
// database's POLISH collation.
//
// Texts of printable ASCII alone (most ids, many names) are compared by a
// table of the collator's own order of those characters, built from it on
// first use and checked against it; should the check ever fail, every text
// goes to the collator.
namespace PolishOrder {

// Below zero when a comes first, above zero when b does, zero for identical texts.
int compare(QStringView a, QStringView b);
// The same for UTF-8 texts (as SQLite keeps them), decoded as QString::fromUtf8
// decodes them.
int compareUtf8(QByteArrayView a, QByteArrayView b);

} // namespace PolishOrder
