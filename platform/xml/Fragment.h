#pragma once

#include <QByteArray>
#include <QStringView>

#include <vector>

namespace Xml {

// A piece of a document written as text, to be parsed into place at once by
// Node::appendFragment: for many elements that is far cheaper than adding
// them one call at a time. What it adds is what Node's own calls would add:
// attribute values as setAttribute stores them (up to a NUL character), and
// texts as appendText stores them.
//
// Names (elements, attributes) are ASCII, NUL-terminated and outlive the
// fragment. Every element opened is closed before the fragment is appended.
class Fragment
{
public:
    Fragment() = default;
    // The write position points into the fragment's own buffer.
    Fragment(const Fragment &) = delete;
    Fragment &operator=(const Fragment &) = delete;

    void open(const char *name);
    void attribute(const char *name, QStringView value);
    void attribute(const char *name, qint64 value);
    // A text node (up to a NUL character); an empty text adds none.
    void text(QStringView text);
    void close();

    QByteArrayView utf8() const { return QByteArrayView(m_text.constData(), m_size); }
    bool isComplete() const { return m_open.empty(); }

private:
    // Room for n more bytes at the end; put() then moves the end.
    char *room(qsizetype n)
    {
        if (m_capacity - m_size < n)
            grow(n);
        return m_data + m_size;
    }
    void grow(qsizetype n);
    void put(const char *end) { m_size = end - m_data; }
    template <size_t N> void literal(const char (&text)[N])
    {
        char *out = room(N - 1);
        for (size_t i = 0; i + 1 < N; ++i)
            out[i] = text[i];
        put(out + N - 1);
    }
    void putName(const char *name);
    void endStartTag();
    void escaped(QStringView text, bool inAttribute);

    QByteArray m_text;      // m_size bytes written, the rest is room
    char *m_data = nullptr; // m_text's bytes, not asked of it (and its sharing) at every write
    qsizetype m_capacity = 0;
    qsizetype m_size = 0;
    struct Open
    {
        const char *name;
        bool hasContent;
    };
    std::vector<Open> m_open;
    bool m_inStartTag = false;
};

} // namespace Xml
