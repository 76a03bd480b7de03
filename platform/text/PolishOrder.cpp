#include "platform/text/PolishOrder.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <optional>

namespace PolishOrder {

namespace {

constexpr int First = 0x20; // the printable ASCII characters, blank to "~"
constexpr int Last = 0x7e;

const QCollator &collator()
{
    static const QCollator polish{QLocale(QLocale::Polish)};
    return polish;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// The collator's order of the printable ASCII characters: each is one
// collation element, whose first level is the letter without its case
// (spaces and punctuation before digits before letters) and whose third
// level puts a small letter before its capital. A text of them is ordered by
// the first levels of all its characters, then by the third.
class AsciiOrder
{
public:
    AsciiOrder()
    {
        QCollator withoutCase{QLocale(QLocale::Polish)};
        withoutCase.setCaseSensitivity(Qt::CaseInsensitive);
        QList<QString> chars;
        for (int c = First; c <= Last; ++c)
            chars.append(QString(QChar(c)));
        std::stable_sort(chars.begin(), chars.end(), [&](const QString &a, const QString &b) {
            return withoutCase.compare(a, b) < 0;
        });
        int rank = 0;
        for (qsizetype i = 0; i < chars.size(); ++i) {
            if (i > 0 && withoutCase.compare(chars.at(i - 1), chars.at(i)) != 0)
                ++rank;
            m_primary[chars.at(i).at(0).unicode()] = rank;
        }
        for (int c = 'A'; c <= 'Z'; ++c)
            m_capital[c] = true;
        m_usable = agreesWithCollator();
    }

    bool usable() const { return m_usable; }

    // The collator's order of a and b when they are made of the characters
    // of the table as far as the order depends on them; none otherwise.
    template <typename Text> std::optional<int> compare(const Text &a, const Text &b) const
    {
        const qsizetype common = std::min(a.size(), b.size());
        for (qsizetype i = 0; i < common; ++i) {
            const unsigned ua = unit(a[i]);
            const unsigned ub = unit(b[i]);
            if (!printable(ua) || !printable(ub))
                return std::nullopt;
            if (m_primary[ua] == m_primary[ub])
                continue;
            // The first difference of the first level decides, unless a mark
            // that follows would join the character (as a dot above joins z).
            if ((i + 1 < a.size() && !printable(unit(a[i + 1]))) ||
                (i + 1 < b.size() && !printable(unit(b[i + 1]))))
                return std::nullopt;
            return m_primary[ua] < m_primary[ub] ? -1 : 1;
        }
        for (qsizetype i = common; i < a.size(); ++i) {
            if (!printable(unit(a[i])))
                return std::nullopt;
        }
        for (qsizetype i = common; i < b.size(); ++i) {
            if (!printable(unit(b[i])))
                return std::nullopt;
        }
        if (a.size() != b.size())
            return a.size() < b.size() ? -1 : 1;
        for (qsizetype i = 0; i < common; ++i) {
            const bool ca = m_capital[unit(a[i])];
            const bool cb = m_capital[unit(b[i])];
            if (ca != cb)
                return ca ? 1 : -1;
        }
        return 0;
    }

private:
    static unsigned unit(QChar c) { return c.unicode(); }
    static unsigned unit(char c) { return uchar(c); }
    static bool printable(unsigned u) { return u >= First && u <= Last; }

    // Every pair of the characters, and every pair of two-letter texts, as
    // the collator orders them.
    bool agreesWithCollator() const
    {
        QList<QString> texts;
        for (int c = First; c <= Last; ++c)
            texts.append(QString(QChar(c)));
        for (const QString &a : texts) {
            for (const QString &b : texts) {
                if (compare(QStringView(a), QStringView(b)) != sign(collator().compare(a, b)))
                    return false;
            }
        }
        QList<QString> pairs;
        const QString letters = QStringLiteral("aAbBcCdDeEhHlLnNoOsSzZ 0-.'");
        for (const QChar x : letters) {
            for (const QChar y : letters)
                pairs.append(QString(x) + y);
        }
        QList<QString> byCollator = pairs;
        std::stable_sort(
            byCollator.begin(), byCollator.end(),
            [](const QString &a, const QString &b) { return collator().compare(a, b) < 0; });
        std::stable_sort(pairs.begin(), pairs.end(), [this](const QString &a, const QString &b) {
            return compare(QStringView(a), QStringView(b)).value_or(0) < 0;
        });
        return pairs == byCollator;
    }

    std::array<int, 128> m_primary{};
    std::array<bool, 128> m_capital{};
    bool m_usable = false;
};

const AsciiOrder &asciiOrder()
{
    static const AsciiOrder order;
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
    const AsciiOrder &ascii = asciiOrder();
    if (ascii.usable()) {
        if (const std::optional<int> order = ascii.compare(a, b))
            return *order;
    }
    const int order = sign(collator().compare(a, b));
    return order != 0 ? order : sign(a.compare(b));
}

int compareUtf8(QByteArrayView a, QByteArrayView b)
{
    const AsciiOrder &ascii = asciiOrder();
    if (ascii.usable()) {
        if (const std::optional<int> order = ascii.compare(a, b))
            return *order;
    }
    QVarLengthArray<QChar, 128> leftRoom;
    QVarLengthArray<QChar, 128> rightRoom;
    return compare(decoded(a, &leftRoom), decoded(b, &rightRoom));
}

} // namespace PolishOrder
