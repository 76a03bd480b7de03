#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <string>
#include <vector>

// Texts in the order Polish readers expect ("adamczyk" before "Zieliński",
// "Ćwik" between "Cygan" and "Dudek", "Łączność" before "Zwiad"), on every
// machine whatever its locale: the Polish collation of the system's ICU;
// texts it finds equal fall back to their code points, so only identical
// texts compare equal. The one comparison of names in lists, trees and the
// database's POLISH collation.
//
// Texts of printable ASCII and the Polish letters alone (ids, nearly every
// name) are compared by a table of the collator's own order of those
// characters, built from it on first use and checked against it; should the
// check ever fail, every text goes to the collator.
namespace PolishOrder {

// Below zero when a comes first, above zero when b does, zero for identical texts.
int compare(QStringView a, QStringView b);
// For a text of the table's characters, appends to keys a key whose bytes
// compared one by one (memcmp) order the texts as compare() does; appends
// nothing and is false for any other text. Keys of many texts share one
// buffer: a sort of thousands makes one allocation for them.
bool appendSortKey(QStringView text, std::string *keys);
// The places 0..n-1 of texts in the order of compare(), or its reverse for
// descending; texts that compare equal keep the order of their places, or
// the order tieLess gives their places. By sort keys where every text has one.
std::vector<qsizetype> sortedPlaces(const QList<QString> &texts, bool descending,
                                    const std::function<bool(qsizetype, qsizetype)> &tieLess = {});
// The same for UTF-8 texts (as SQLite keeps them), decoded as QString::fromUtf8
// decodes them.
int compareUtf8(QByteArrayView a, QByteArrayView b);

} // namespace PolishOrder
