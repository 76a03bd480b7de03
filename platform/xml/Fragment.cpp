#include "platform/xml/Fragment.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstring>

namespace Xml {

namespace {

// What markup writes for an ASCII character, nullptr for the character itself.
const char *reference(char16_t c, bool inAttribute)
{
    switch (c) {
    case u'&':
        return "&amp;";
    case u'<':
        return "&lt;";
    case u'>':
        return "&gt;";
    case u'"':
        return inAttribute ? "&quot;" : nullptr;
    case u'\r':
        return inAttribute ? "&#13;" : nullptr;
    case u'\n':
        return inAttribute ? "&#10;" : nullptr;
    case u'\t':
        return inAttribute ? "&#9;" : nullptr;
    default:
        return nullptr;
    }
}

// The characters below 0x80 that reference() may write otherwise, and NUL:
// every other one is written as it is, without a look at the rest.
constexpr std::array<bool, 0x80> NeedsCare = [] {
    std::array<bool, 0x80> table{};
    for (const char c : {'\0', '&', '<', '>', '"', '\r', '\n', '\t'})
        table[size_t(c)] = true;
    return table;
}();

} // namespace

void Fragment::grow(qsizetype n)
{
    m_text.resize(std::max(m_text.size() * 2, m_size + n + 4096));
    m_data = m_text.data();
    m_capacity = m_text.size();
}

void Fragment::putName(const char *text)
{
    const size_t length = std::strlen(text);
    char *out = room(qsizetype(length));
    std::memcpy(out, text, length);
    put(out + length);
}

void Fragment::open(const char *name)
{
    endStartTag();
    if (!m_open.empty())
        m_open.back().hasContent = true;
    literal("<");
    putName(name);
    m_open.push_back({name, false});
    m_inStartTag = true;
}

void Fragment::attribute(const char *name, QStringView value)
{
    literal(" ");
    putName(name);
    literal("=\"");
    escaped(value, true);
    literal("\"");
}

void Fragment::attribute(const char *name, qint64 value)
{
    literal(" ");
    putName(name);
    literal("=\"");
    char digits[24];
    char *at = digits + sizeof digits;
    // Negative numbers are counted in negative steps, so the smallest one fits.
    qint64 rest = value;
    do {
        *--at = char('0' - rest % 10 * (rest < 0 ? 1 : -1));
        rest /= 10;
    } while (rest != 0);
    if (value < 0)
        *--at = '-';
    const qsizetype length = digits + sizeof digits - at;
    char *out = room(length);
    std::memcpy(out, at, size_t(length));
    put(out + length);
    literal("\"");
}

void Fragment::text(QStringView text)
{
    // The library keeps a text as a C string: a NUL ends it.
    if (text.isEmpty() || text.front() == QChar(0))
        return;
    endStartTag();
    if (!m_open.empty())
        m_open.back().hasContent = true;
    escaped(text, false);
}

void Fragment::close()
{
    if (m_open.empty())
        return;
    const Open element = m_open.back();
    m_open.pop_back();
    if (m_inStartTag) {
        literal("/>");
        m_inStartTag = false;
        return;
    }
    literal("</");
    putName(element.name);
    literal(">");
}

void Fragment::endStartTag()
{
    if (m_inStartTag) {
        literal(">");
        m_inStartTag = false;
    }
}

// UTF-8 as QString::toUtf8 writes it (a lone surrogate becomes "?"), with the
// characters markup needs escaped. In attributes CR, LF and TAB become
// character references: the parser would turn them into blanks. The library
// keeps values as C strings: a NUL ends the text.
void Fragment::escaped(QStringView text, bool inAttribute)
{
    // No character takes more than six bytes ("&quot;").
    char *out = room(text.size() * 6);
    auto put = [&out](const char *piece) {
        while (*piece)
            *out++ = *piece++;
    };
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        if (c < 0x80) {
            if (!NeedsCare[c]) {
                *out++ = char(c);
            } else if (c == 0) {
                break;
            } else if (const char *escape = reference(c, inAttribute)) {
                put(escape);
            } else {
                *out++ = char(c);
            }
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
            const char32_t u = QChar::surrogateToUcs4(c, *p++);
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            *out++ = '?';
        } else {
            *out++ = char(0xE0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
    this->put(out);
}

} // namespace Xml
