#include "platform/text/WholeNumber.h"

#include <QList>
#include <QString>
#include <QtNumeric>

namespace WholeNumber {

namespace {

// Sign and digits, the blanks already gone.
template <typename Char> std::optional<qint64> digits(const Char *begin, const Char *end)
{
    const bool negative = begin != end && *begin == Char('-');
    if (begin != end && (*begin == Char('-') || *begin == Char('+')))
        ++begin;
    if (begin == end)
        return std::nullopt;
    qint64 value = 0;
    for (; begin != end; ++begin) {
        const auto c = *begin;
        if (c < Char('0') || c > Char('9'))
            return std::nullopt;
        const qint64 digit = qint64(c - Char('0'));
        // Built on the side of the sign, so the most negative value fits too.
        if (qMulOverflow(value, qint64(10), &value) ||
            (negative ? qSubOverflow(value, digit, &value) : qAddOverflow(value, digit, &value)))
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<qint64> parse(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    return digits(trimmed.utf16(), trimmed.utf16() + trimmed.size());
}

std::optional<qint64> parseUtf8(QByteArrayView bytes)
{
    for (const char c : bytes) {
        // Blanks beyond ASCII (a no-break space) are for the long way.
        if (uchar(c) >= 0x80)
            return parse(QString::fromUtf8(bytes));
    }
    const QByteArrayView trimmed = bytes.trimmed();
    return digits(trimmed.data(), trimmed.data() + trimmed.size());
}

QString text(qint64 value)
{
    static const QList<QString> small = [] {
        QList<QString> texts;
        for (int n = 0; n < 100; ++n)
            texts.append(QString::number(n));
        return texts;
    }();
    return value >= 0 && value < small.size() ? small[value] : QString::number(value);
}

} // namespace WholeNumber
