#include "core/CMD5.h"

#include <array>
#include <vector>

namespace {

using Word = quint32;

constexpr std::array<Word, 64> Sines = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr std::array<int, 16> Shifts = {7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};

constexpr Word rotateLeft(Word x, int n)
{
    return (x << n) | (x >> (32 - n));
}

} // namespace

QString CMD5::MD5(const QString &text) const
{
    // Word array: whole 16-word blocks with room for the 0x80 byte and the bit length.
    const qsizetype n = text.size();
    const size_t words = size_t((n + 8) / 64 + 1) * 16;
    std::vector<Word> x(words, 0);
    for (qsizetype i = 0; i < n; ++i)
        x[size_t(i / 4)] |= Word(text.at(i).unicode() & 0xFF) << (8 * (i % 4));
    x[size_t(n / 4)] |= Word(0x80) << (8 * (n % 4));
    x[words - 2] = Word(quint64(n) << 3);
    x[words - 1] = Word(quint64(n) >> 29);

    std::array<Word, 4> state = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t block = 0; block < words; block += 16) {
        Word a = state[0], b = state[1], c = state[2], d = state[3];
        for (int step = 0; step < 64; ++step) {
            const int round = step / 16;
            Word f = 0;
            int g = 0;
            switch (round) {
            case 0:
                f = (b & c) | (~b & d);
                g = step;
                break;
            case 1:
                f = (b & d) | (c & ~d);
                g = (5 * step + 1) % 16;
                break;
            case 2:
                f = b ^ c ^ d;
                g = (3 * step + 5) % 16;
                break;
            default:
                f = c ^ (b | ~d);
                g = (7 * step) % 16;
                break;
            }
            const Word sum = a + f + Sines[size_t(step)] + x[block + size_t(g)];
            a = d;
            d = c;
            c = b;
            b = b + rotateLeft(sum, Shifts[size_t(round * 4 + step % 4)]);
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
    }

    // Each word lowest byte first.
    QString hex;
    hex.reserve(32);
    for (const Word w : state) {
        for (int byte = 0; byte < 4; ++byte)
            hex += QStringLiteral("%1").arg((w >> (8 * byte)) & 0xFF, 2, 16, QLatin1Char('0'));
    }
    return hex.toLower();
}
