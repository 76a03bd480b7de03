#include "platform/text/PolishOrder.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

namespace PolishOrder {

namespace {

constexpr unsigned First = 0x20; // the printable ASCII characters, blank to "~"
constexpr unsigned Last = 0x7e;
// With the letters of the Polish alphabet beyond ASCII, the characters of
// nearly every name a unit keeps.
const char16_t PolishLetters[] = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
constexpr unsigned TableSize = 0x180; // up to the end of Latin Extended-A
constexpr unsigned Foreign = 0xffff;  // any character the table does not hold

const QCollator &collator()
{
    static const QCollator polish{QLocale(QLocale::Polish)};
    return polish;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// One character of a text and where the next one begins.
struct Char
{
    unsigned code;
    qsizetype next;
};

inline Char charAt(QStringView text, qsizetype at)
{
    return {text[at].unicode(), at + 1};
}

// Sequences of two bytes are decoded as QString::fromUtf8 decodes them; any
// other beyond ASCII, or a broken one, is a foreign character.
Char decodeAt(QByteArrayView text, qsizetype at)
{
    const auto lead = uchar(text[at]);
    if (lead >= 0xc2 && lead <= 0xdf && at + 1 < text.size()) {
        const auto trail = uchar(text[at + 1]);
        if ((trail & 0xc0) == 0x80)
            return {((lead & 0x1fu) << 6) | (trail & 0x3fu), at + 2};
    }
    return {Foreign, at + 1};
}

inline Char charAt(QByteArrayView text, qsizetype at)
{
    const auto lead = uchar(text[at]);
    if (lead < 0x80) [[likely]]
        return {lead, at + 1};
    return decodeAt(text, at);
}

// The collator's order of the characters of the table: each is one collation
// element, whose first level is the letter without its case (spaces and
// punctuation before digits before letters, each Polish letter after its
// base letter) and whose third level puts a small letter before its capital.
// A text of them is ordered by the first levels of all its characters, then
// by the third.
class TableOrder
{
public:
    TableOrder()
    {
        m_weight.fill(-1);
        QCollator withoutCase{QLocale(QLocale::Polish)};
        withoutCase.setCaseSensitivity(Qt::CaseInsensitive);
        const QList<QString> chars = tableChars();
        const std::vector<Keyed> byLetter = byCollator(withoutCase, chars);
        int rank = 0;
        for (size_t i = 0; i < byLetter.size(); ++i) {
            if (i > 0 && byLetter[i - 1].key.compare(byLetter[i].key) != 0)
                ++rank;
            const QChar c = byLetter[i].text.at(0);
            m_weight[c.unicode()] = qint16(rank * 2 + (c.isUpper() ? 1 : 0));
        }
        // A first level must fit a byte of a sort key.
        m_usable = rank < 255 && agreesWithCollator(chars);
    }

    bool usable() const { return m_usable; }

    // Each character's first level plus one, a zero, then each character's
    // case: compared byte by byte, the order of compare().
    bool appendSortKey(QStringView text, std::string *keys) const
    {
        const qsizetype n = text.size();
        const size_t start = keys->size();
        keys->resize(start + size_t(2 * n + 1));
        char *out = keys->data() + start;
        out[n] = 0;
        const char16_t *units = text.utf16();
        for (qsizetype i = 0; i < n; ++i) {
            const int w = weight(units[i]);
            if (w < 0) {
                keys->resize(start);
                return false;
            }
            out[i] = char(1 + (w >> 1));
            out[n + 1 + i] = char(w & 1);
        }
        return true;
    }

    // The collator's order of a and b when they are made of the characters
    // of the table as far as the order depends on them; none otherwise.
    template <typename Text> std::optional<int> compare(Text a, Text b) const
    {
        // Characters of one weight take as many units (a letter and its
        // capital alike), so up to the first difference both texts are read
        // at the same place.
        const qsizetype common = std::min(a.size(), b.size());
        qsizetype at = 0;
        int byCase = 0; // the first difference of the third level
        while (at < common) {
            const Char x = charAt(a, at);
            const Char y = charAt(b, at);
            const int wx = weight(x.code);
            const int wy = weight(y.code);
            if (wx < 0 || wy < 0)
                return std::nullopt;
            if (wx != wy) {
                if (wx >> 1 != wy >> 1) {
                    // The first difference of the first level decides, unless
                    // a mark that follows would join the character (as a dot
                    // above joins z).
                    if ((x.next < a.size() && weight(charAt(a, x.next).code) < 0) ||
                        (y.next < b.size() && weight(charAt(b, y.next).code) < 0))
                        return std::nullopt;
                    return wx < wy ? -1 : 1;
                }
                if (byCase == 0)
                    byCase = (wx & 1) != 0 ? 1 : -1;
            }
            at = x.next;
        }
        if (!knownFrom(a, at) || !knownFrom(b, at))
            return std::nullopt;
        if (a.size() != b.size())
            return a.size() < b.size() ? -1 : 1;
        return byCase;
    }

private:
    // The first level twice, plus one for a capital; below zero for a
    // character the table does not hold.
    int weight(unsigned code) const { return code < TableSize ? m_weight[code] : -1; }

    template <typename Text> bool knownFrom(Text text, qsizetype at) const
    {
        while (at < text.size()) {
            const Char c = charAt(text, at);
            if (weight(c.code) < 0)
                return false;
            at = c.next;
        }
        return true;
    }

    static QList<QString> tableChars()
    {
        QList<QString> chars;
        for (unsigned c = First; c <= Last; ++c)
            chars.append(QString(QChar(c)));
        for (const QChar c : QStringView(PolishLetters))
            chars.append(QString(c));
        return chars;
    }

    struct Keyed
    {
        QString text;
        QCollatorSortKey key;
    };
    // The texts in the collator's order, stable, each read once into its sort
    // key (which orders them as the collator's comparison does).
    static std::vector<Keyed> byCollator(const QCollator &order, const QList<QString> &texts)
    {
        std::vector<Keyed> keyed;
        keyed.reserve(size_t(texts.size()));
        for (const QString &text : texts)
            keyed.push_back({text, order.sortKey(text)});
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const Keyed &a, const Keyed &b) { return a.key.compare(b.key) < 0; });
        return keyed;
    }

    // The characters, and two-letter texts, as the collator orders them, in
    // UTF-16 and in UTF-8. Both orders are total, so neighbours in the
    // collator's order that the table orders alike mean every pair does.
    bool agreesWithCollator(const QList<QString> &chars) const
    {
        auto agreeInOrder = [this](const std::vector<Keyed> &sorted) {
            for (size_t i = 1; i < sorted.size(); ++i) {
                const QString &a = sorted[i - 1].text;
                const QString &b = sorted[i].text;
                const int want = sign(sorted[i - 1].key.compare(sorted[i].key));
                if (compare(QStringView(a), QStringView(b)) != want ||
                    compare(QByteArrayView(a.toUtf8()), QByteArrayView(b.toUtf8())) != want)
                    return false;
            }
            return true;
        };
        QList<QString> pairs;
        const QString letters = QStringLiteral("aAąĄbBcCćdDeEęhHlLłŁnNńoOóÓsSśzZźżŻ 0-.'");
        for (const QChar x : letters) {
            for (const QChar y : letters)
                pairs.append(QString(x) + y);
        }
        return agreeInOrder(byCollator(collator(), chars)) &&
               agreeInOrder(byCollator(collator(), pairs));
    }

    std::array<qint16, TableSize> m_weight{};
    bool m_usable = false;
};

const TableOrder &tableOrder()
{
    static const TableOrder order;
    return order;
}

// Decoded into room on the stack: a sort compares every text many times.
QStringView decoded(QByteArrayView text, QVarLengthArray<QChar, 128> *room)
{
    room->resize(text.size()); // UTF-16 never takes more units than UTF-8 takes bytes
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar *end = decoder.appendToBuffer(room->data(), text);
    return QStringView(room->data(), end - room->data());
}

} // namespace

int compare(QStringView a, QStringView b)
{
    const TableOrder &table = tableOrder();
    if (table.usable()) {
        if (const std::optional<int> order = table.compare(a, b))
            return *order;
    }
    const int order = sign(collator().compare(a, b));
    return order != 0 ? order : sign(a.compare(b));
}

bool appendSortKey(QStringView text, std::string *keys)
{
    const TableOrder &table = tableOrder();
    return table.usable() && table.appendSortKey(text, keys);
}

namespace {

// The big-endian value of up to eight bytes of a key from at, zeros past its
// end: where two heads differ they order the keys as their bytes do.
quint64 headOf(const char *key, size_t size, size_t at)
{
    quint64 head = 0;
    for (size_t i = 0; i < 8; ++i)
        head = (head << 8) | (at + i < size ? quint8(key[at + i]) : 0);
    return head;
}

} // namespace

std::vector<qsizetype> sortedPlaces(const QList<QString> &texts, bool descending,
                                    const std::function<bool(qsizetype, qsizetype)> &tieLess)
{
    const auto n = size_t(texts.size());
    // Keys of all texts in one buffer, sized first so that it never moves;
    // one text without a key and all are compared as texts.
    size_t room = 0;
    for (const QString &text : texts)
        room += size_t(2 * text.size() + 1);
    std::string keys;
    keys.reserve(room);
    struct Entry
    {
        quint64 head[2]; // sixteen bytes of the key past what all keys share
        const char *key;
        size_t size;
        qsizetype place;
    };
    std::vector<Entry> entries(n);
    bool keyed = true;
    for (size_t i = 0; i < n; ++i) {
        const size_t start = keys.size();
        keyed = keyed && appendSortKey(texts[qsizetype(i)], &keys);
        entries[i] = {{0, 0}, keys.data() + start, keys.size() - start, qsizetype(i)};
    }
    if (keyed && n > 1) {
        // Names of a unit often begin alike ("sierż. ...", a common surname):
        // the heads start where the keys begin to differ.
        size_t shared = entries[0].size;
        for (size_t i = 1; i < n && shared > 0; ++i) {
            const size_t common = std::min(shared, entries[i].size);
            size_t at = 0;
            while (at < common && entries[i].key[at] == entries[0].key[at])
                ++at;
            shared = at;
        }
        for (Entry &entry : entries) {
            entry.head[0] = headOf(entry.key, entry.size, shared);
            entry.head[1] = headOf(entry.key, entry.size, shared + 8);
        }
    }
    auto order = [&](const Entry &a, const Entry &b) {
        if (!keyed)
            return compare(texts[a.place], texts[b.place]);
        for (int h = 0; h < 2; ++h) {
            if (a.head[h] != b.head[h])
                return a.head[h] < b.head[h] ? -1 : 1;
        }
        const int bytes = std::memcmp(a.key, b.key, std::min(a.size, b.size));
        return bytes != 0 ? bytes : int(a.size > b.size) - int(a.size < b.size);
    };
    // Equal texts keep their places' order (or tieLess's): the place decides
    // last, so the quicker unstable sort gives the stable order.
    auto less = [&](const Entry &a, const Entry &b) {
        const int first = descending ? order(b, a) : order(a, b);
        if (first != 0)
            return first < 0;
        if (tieLess) {
            if (tieLess(a.place, b.place))
                return true;
            if (tieLess(b.place, a.place))
                return false;
        }
        return a.place < b.place;
    };
    std::vector<qsizetype> places(n);
    if (!keyed) {
        std::sort(entries.begin(), entries.end(), less);
        for (size_t i = 0; i < n; ++i)
            places[i] = entries[i].place;
        return places;
    }
    // By the first eight bytes as numbers, then each run of equal ones by
    // the whole comparison: most names differ there already.
    std::vector<std::pair<quint64, quint32>> quick(n);
    for (size_t i = 0; i < n; ++i)
        quick[i] = {descending ? ~entries[i].head[0] : entries[i].head[0], quint32(i)};
    std::sort(quick.begin(), quick.end());
    for (size_t run = 0; run < n;) {
        size_t end = run + 1;
        while (end < n && quick[end].first == quick[run].first)
            ++end;
        if (end - run > 1) {
            std::sort(quick.begin() + qsizetype(run), quick.begin() + qsizetype(end),
                      [&](const auto &a, const auto &b) {
                          return less(entries[a.second], entries[b.second]);
                      });
        }
        run = end;
    }
    for (size_t i = 0; i < n; ++i)
        places[i] = entries[quick[i].second].place;
    return places;
}

int compareUtf8(QByteArrayView a, QByteArrayView b)
{
    const TableOrder &table = tableOrder();
    if (table.usable()) {
        if (const std::optional<int> order = table.compare(a, b))
            return *order;
    }
    QVarLengthArray<QChar, 128> leftRoom;
    QVarLengthArray<QChar, 128> rightRoom;
    return compare(decoded(a, &leftRoom), decoded(b, &rightRoom));
}

} // namespace PolishOrder
