#include "platform/text/Cp1250.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace Cp1250 {

namespace {

// Bytes 0x80..0xFF; below 0x80 the code page is ASCII. The undefined bytes
// 81, 83, 88, 90, 98 map to the C1 characters of the same value.
constexpr std::array<char16_t, 128> HighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t c)
{
    if (c < 0x80)
        return c;
    for (int i = 0; i < 128; ++i) {
        if (HighHalf[size_t(i)] == c)
            return 0x80 + i;
    }
    return -1;
}

void appendUnmappable(QByteArray &out, char32_t codePoint, const QString &text, qsizetype at,
                      qsizetype units, Unmappable policy)
{
    switch (policy) {
    case Unmappable::Question:
        out += '?';
        break;
    case Unmappable::XmlCharRef:
        // A lone surrogate is no character at all: a reference to it would not be XML.
        if (QChar::isSurrogate(codePoint))
            out += '?';
        else
            out += "&#" + QByteArray::number(quint32(codePoint)) + ';';
        break;
    case Unmappable::RtfEscape:
        // RTF numbers UTF-16 units as signed 16-bit values; "?" is the fallback reader's byte.
        for (qsizetype i = 0; i < units; ++i)
            out += "\\u" + QByteArray::number(qint16(text.at(at + i).unicode())) + '?';
        break;
    }
}

// The bytes below 0x80 from p on, eight at a time where it can.
qsizetype asciiRun(const char *p, const char *end)
{
    const char *const start = p;
    constexpr std::uint64_t HighBits = 0x8080808080808080u;
    for (std::uint64_t word = 0; end - p >= 8; p += 8) {
        std::memcpy(&word, p, sizeof word);
        if ((word & HighBits) != 0)
            break;
    }
    while (p < end && static_cast<unsigned char>(*p) < 0x80)
        ++p;
    return p - start;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString text;
    text.resize(bytes.size());
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        out[i] = b < 0x80 ? QChar(b) : QChar(HighHalf[b - 0x80]);
    }
    return text;
}

QByteArray decodeToUtf8(const QByteArray &bytes)
{
    // The high half lies below U+0800 (two bytes) but for the euro sign,
    // quotes, dashes and the like (three bytes). Sized first: texts run to
    // hundreds of megabytes, nearly all of them ASCII, which stands for
    // itself and is passed over or copied a run at a time.
    auto width = [](unsigned char b) { return HighHalf[b - 0x80] < 0x800 ? 2 : 3; };
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    qsizetype size = 0;
    for (const char *p = begin; p < end; ++p) {
        const qsizetype run = asciiRun(p, end);
        size += run;
        p += run;
        if (p < end)
            size += width(static_cast<unsigned char>(*p));
    }
    QByteArray out(size, Qt::Uninitialized);
    char *to = out.data();
    for (const char *p = begin; p < end; ++p) {
        const qsizetype run = asciiRun(p, end);
        std::memcpy(to, p, size_t(run));
        to += run;
        p += run;
        if (p == end)
            break;
        const char16_t c = HighHalf[static_cast<unsigned char>(*p) - 0x80];
        if (c < 0x800) {
            *to++ = char(0xC0 | (c >> 6));
        } else {
            *to++ = char(0xE0 | (c >> 12));
            *to++ = char(0x80 | ((c >> 6) & 0x3F));
        }
        *to++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

QByteArray encode(const QString &text, Unmappable policy)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const int b = byteOf(c);
        if (b >= 0) {
            out += char(b);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            appendUnmappable(out, QChar::surrogateToUcs4(c, text.at(i + 1).unicode()), text, i, 2,
                             policy);
            ++i;
        } else {
            appendUnmappable(out, c, text, i, 1, policy);
        }
    }
    return out;
}

} // namespace Cp1250
