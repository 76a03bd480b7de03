#include "platform/xml/XmlDocument.h"

#include "platform/xml/Fragment.h"

#include "platform/text/Cp1250.h"

#include <QRegularExpression>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace Xml {

namespace {

// Whitespace-only text nodes are the program's line breaks; CR LF stays as it is.
constexpr unsigned parseOptions(Document::Whitespace whitespace)
{
    const unsigned options = (pugi::parse_default | pugi::parse_declaration) & ~pugi::parse_eol;
    return whitespace == Document::Whitespace::Keep ? options | pugi::parse_ws_pcdata : options;
}
// No indentation; pugixml writes CR, LF and TAB inside attribute values as
// character references, so they survive a reload.
constexpr unsigned FormatOptions = pugi::format_raw | pugi::format_no_declaration;

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}
QString fromUtf8(const char *text)
{
    return QString::fromUtf8(text);
}

// A NUL-terminated UTF-8 copy for one pugixml call, on the stack for the
// short ASCII names and values the documents mostly hold: building a
// document must not cost an allocation per attribute.
class Utf8
{
public:
    explicit Utf8(const QString &text)
    {
        const qsizetype size = text.size();
        if (size < qsizetype(sizeof m_small)) {
            const QChar *in = text.constData();
            qsizetype i = 0;
            for (; i < size && in[i].unicode() < 0x80; ++i)
                m_small[i] = char(in[i].unicode());
            if (i == size) {
                m_small[size] = '\0';
                m_data = m_small;
                return;
            }
        }
        m_large = text.toUtf8();
        m_data = m_large.constData();
    }
    Utf8(const Utf8 &) = delete;
    Utf8 &operator=(const Utf8 &) = delete;
    const char *constData() const { return m_data; }

private:
    char m_small[256];
    QByteArray m_large;
    const char *m_data = nullptr;
};

pugi::xml_node wrap(pugi::xml_node_struct *node)
{
    return pugi::xml_node(node);
}

// XML 1.0 has no characters below U+0020 but TAB, LF and CR, and none at
// U+FFFE and U+FFFF. pugixml writes the former as references of two digits
// ("&#01;"; a "&" of the text itself becomes "&amp;") and the latter as they
// are. Each becomes U+FFFD, the replacement character, so that every XML
// reader takes what the program writes; every other character stays.
void replaceForbidden(QString &text)
{
    const QChar replacement(0xFFFD);
    qsizetype out = 0;
    QChar *data = text.data();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        auto digit = [&](qsizetype at) { return data[at] >= u'0' && data[at] <= u'9'; };
        if (c == u'&' && i + 4 < size && data[i + 1] == u'#' && digit(i + 2) && digit(i + 3) &&
            data[i + 4] == u';') {
            const int code = (data[i + 2].unicode() - u'0') * 10 + (data[i + 3].unicode() - u'0');
            if (code < 0x20 && code != 0x09 && code != 0x0A && code != 0x0D) {
                data[out++] = replacement;
                i += 4;
                continue;
            }
        }
        data[out++] = c == 0xFFFE || c == 0xFFFF ? replacement : data[i];
    }
    text.truncate(out);
}

QString printNode(const pugi::xml_node &node)
{
    std::ostringstream out;
    node.print(out, "", FormatOptions, pugi::encoding_utf8);
    const std::string bytes = out.str();
    QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    replaceForbidden(text);
    return text;
}

// The declaration keeps the form the program writes: single quotes.
QString printDeclaration(const pugi::xml_node &declaration)
{
    QString text = QStringLiteral("<?xml");
    for (const pugi::xml_attribute &a : declaration.attributes())
        text += QLatin1Char(' ') + fromUtf8(a.name()) + QStringLiteral("='") + fromUtf8(a.value()) +
                QLatin1Char('\'');
    return text + QStringLiteral("?>");
}

QString serialise(const pugi::xml_node &node)
{
    if (node.type() != pugi::node_document)
        return printNode(node);
    QString text;
    for (const pugi::xml_node &child : node.children())
        text += child.type() == pugi::node_declaration ? printDeclaration(child) : printNode(child);
    return text;
}

void collectText(const pugi::xml_node &node, QString &out)
{
    for (const pugi::xml_node &child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += fromUtf8(child.value());
        else if (child.type() == pugi::node_element)
            collectText(child, out);
    }
}

bool isWindows1250(const QString &encoding)
{
    const QString e = encoding.trimmed().toLower();
    return e == QLatin1String("windows-1250") || e == QLatin1String("cp1250") ||
           e == QLatin1String("x-cp1250");
}

// The encoding named by a declaration at the start of raw bytes (ASCII-compatible encodings only).
QString encodingOfBytes(const QByteArray &bytes)
{
    static const QRegularExpression declaration(
        QStringLiteral("^\\s*<\\?xml\\s[^>]*encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const QString head = QString::fromLatin1(bytes.left(200));
    const QRegularExpressionMatch m = declaration.match(head);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString parseReason(pugi::xml_parse_status status)
{
    switch (status) {
    case pugi::status_ok:
        break;
    case pugi::status_file_not_found:
        return QStringLiteral("Plik lub folder nie istnieje");
    case pugi::status_io_error:
        return QStringLiteral("Błąd odczytu pliku");
    case pugi::status_out_of_memory:
        return QStringLiteral("Brak pamięci");
    case pugi::status_internal_error:
        return QStringLiteral("Błąd wewnętrzny analizy XML");
    case pugi::status_unrecognized_tag:
        return QStringLiteral("Nierozpoznany znacznik");
    case pugi::status_bad_pi:
        return QStringLiteral("Błędna deklaracja lub instrukcja przetwarzania");
    case pugi::status_bad_comment:
        return QStringLiteral("Błędny komentarz");
    case pugi::status_bad_cdata:
        return QStringLiteral("Błędna sekcja CDATA");
    case pugi::status_bad_doctype:
        return QStringLiteral("Błędna deklaracja typu dokumentu");
    case pugi::status_bad_pcdata:
        return QStringLiteral("Błędny tekst elementu");
    case pugi::status_bad_start_element:
        return QStringLiteral("Błędny znacznik otwierający");
    case pugi::status_bad_attribute:
        return QStringLiteral("Błędny atrybut elementu");
    case pugi::status_bad_end_element:
        return QStringLiteral("Błędny znacznik zamykający");
    case pugi::status_end_element_mismatch:
        return QStringLiteral("Znacznik zamykający nie pasuje do otwierającego");
    case pugi::status_append_invalid_root:
        return QStringLiteral("Nie można dołączyć węzłów do tego węzła");
    case pugi::status_no_document_element:
        return QStringLiteral("Brak elementu głównego dokumentu");
    }
    return QStringLiteral("Błędny dokument XML");
}

// Polish first, the parser's own words after it: "Brak elementu głównego
// dokumentu, pozycja 15 (No document element found)".
QString describe(const pugi::xml_parse_result &result, qsizetype offset)
{
    return QStringLiteral("%1, pozycja %2 (%3)")
        .arg(parseReason(result.status))
        .arg(offset)
        .arg(QString::fromUtf8(result.description()));
}

} // namespace

// ---- Node ----------------------------------------------------------------

Node::Type Node::type() const
{
    switch (wrap(m_node).type()) {
    case pugi::node_null:
        return Type::Null;
    case pugi::node_document:
        return Type::Document;
    case pugi::node_element:
        return Type::Element;
    case pugi::node_pcdata:
    case pugi::node_cdata:
        return Type::Text;
    default:
        return Type::Other;
    }
}

QString Node::name() const
{
    return fromUtf8(wrap(m_node).name());
}

QString Node::text() const
{
    const pugi::xml_node node = wrap(m_node);
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return fromUtf8(node.value());
    QString out;
    collectText(node, out);
    return out;
}

void Node::setText(const QString &text)
{
    pugi::xml_node node = wrap(m_node);
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
        node.set_value(Utf8(text).constData());
        return;
    }
    if (node.type() != pugi::node_element)
        return;
    while (node.first_child())
        node.remove_child(node.first_child());
    if (!text.isEmpty())
        node.append_child(pugi::node_pcdata).set_value(Utf8(text).constData());
}

bool Node::hasAttribute(const QString &name) const
{
    return bool(wrap(m_node).attribute(Utf8(name).constData()));
}

QString Node::attribute(const QString &name) const
{
    return fromUtf8(wrap(m_node).attribute(Utf8(name).constData()).value());
}

QString Node::inheritedAttribute(const QString &name) const
{
    // Asked for every element added (its namespace), so names are compared
    // by their first byte before the whole of them.
    const Utf8 n(name);
    const char *wanted = n.constData();
    for (pugi::xml_node node = wrap(m_node); node.type() == pugi::node_element;
         node = node.parent()) {
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const char *have = a.name();
            if (have[0] == wanted[0] && std::strcmp(have, wanted) == 0)
                return fromUtf8(a.value());
        }
    }
    return {};
}

QString Node::attributeStart(const QString &name, qsizetype length) const
{
    const char *value = wrap(m_node).attribute(utf8(name).constData()).value();
    // No character takes more than four bytes; what a cut leaves of the last
    // one lies beyond length characters.
    const qsizetype bytes = qsizetype(::strnlen(value, size_t(std::max<qsizetype>(0, length)) * 4));
    return QString::fromUtf8(value, bytes).left(length);
}

void Node::setAttribute(const QString &name, const QString &value)
{
    pugi::xml_node node = wrap(m_node);
    if (node.type() != pugi::node_element)
        return;
    const Utf8 n(name);
    pugi::xml_attribute a = node.attribute(n.constData());
    if (!a)
        a = node.append_attribute(n.constData());
    a.set_value(Utf8(value).constData());
}

void Node::setAttribute(const char *name, qint64 value)
{
    pugi::xml_node node = wrap(m_node);
    if (node.type() != pugi::node_element)
        return;
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        a = node.append_attribute(name);
    a.set_value(static_cast<long long>(value));
}

void Node::appendAttribute(const char *name, const QString &value)
{
    pugi::xml_node node = wrap(m_node);
    if (node.type() == pugi::node_element)
        node.append_attribute(name).set_value(Utf8(value).constData());
}

void Node::appendAttribute(const char *name, qint64 value)
{
    pugi::xml_node node = wrap(m_node);
    if (node.type() == pugi::node_element)
        node.append_attribute(name).set_value(static_cast<long long>(value));
}

QList<QPair<QString, QString>> Node::attributes() const
{
    QList<QPair<QString, QString>> list;
    for (const pugi::xml_attribute &a : wrap(m_node).attributes())
        list.append({fromUtf8(a.name()), fromUtf8(a.value())});
    return list;
}

Node Node::parent() const
{
    return Node(wrap(m_node).parent().internal_object());
}
Node Node::firstChild() const
{
    return Node(wrap(m_node).first_child().internal_object());
}
Node Node::lastChild() const
{
    return Node(wrap(m_node).last_child().internal_object());
}
Node Node::nextSibling() const
{
    return Node(wrap(m_node).next_sibling().internal_object());
}
Node Node::previousSibling() const
{
    return Node(wrap(m_node).previous_sibling().internal_object());
}

QList<Node> Node::children() const
{
    QList<Node> list;
    for (const pugi::xml_node &child : wrap(m_node).children())
        list.append(Node(child.internal_object()));
    return list;
}

QList<Node> Node::childElements(const QString &name) const
{
    QList<Node> list;
    const QByteArray n = utf8(name);
    for (const pugi::xml_node &child : wrap(m_node).children()) {
        if (child.type() == pugi::node_element && (name.isEmpty() || n == child.name()))
            list.append(Node(child.internal_object()));
    }
    return list;
}

Node Node::firstChildElement(const QString &name) const
{
    const Utf8 n(name);
    for (const pugi::xml_node &child : wrap(m_node).children()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), n.constData()) == 0)
            return Node(child.internal_object());
    }
    return {};
}

Node Node::appendElement(const QString &name)
{
    pugi::xml_node node = wrap(m_node);
    pugi::xml_node child = node.append_child(pugi::node_element);
    child.set_name(Utf8(name).constData());
    return Node(child.internal_object());
}

Node Node::appendText(const QString &text)
{
    pugi::xml_node child = wrap(m_node).append_child(pugi::node_pcdata);
    child.set_value(Utf8(text).constData());
    return Node(child.internal_object());
}

Node Node::appendCopy(const Node &other)
{
    if (!other.m_node)
        return {};
    return Node(wrap(m_node).append_copy(wrap(other.m_node)).internal_object());
}

Node Node::appendMove(const Node &other)
{
    if (!other.m_node)
        return {};
    return Node(wrap(m_node).append_move(wrap(other.m_node)).internal_object());
}

Node Node::appendFragment(const Fragment &fragment)
{
    pugi::xml_node node = wrap(m_node);
    const QByteArrayView text = fragment.utf8();
    if (node.type() != pugi::node_element || !fragment.isComplete() || text.isEmpty())
        return {};
    const pugi::xml_node last = node.last_child();
    const bool parsed =
        bool(node.append_buffer(text.constData(), size_t(text.size()),
                                parseOptions(Document::Whitespace::Keep), pugi::encoding_utf8));
    pugi::xml_node first = last ? last.next_sibling() : node.first_child();
    if (!parsed) {
        // What was parsed before the fault goes again.
        while (first) {
            const pugi::xml_node next = first.next_sibling();
            node.remove_child(first);
            first = next;
        }
        return {};
    }
    return Node(first.internal_object());
}

bool Node::removeChild(const Node &child)
{
    if (!child.m_node || wrap(child.m_node).parent() != wrap(m_node))
        return false;
    return wrap(m_node).remove_child(wrap(child.m_node));
}

Node Node::selectSingleNode(const QString &xpath) const
{
    if (!m_node)
        return {};
    try {
        // evaluate_node stops at the first match: the generation asks many of these.
        const pugi::xpath_query query(utf8(xpath).constData());
        const pugi::xpath_node first = query.evaluate_node(wrap(m_node));
        if (!first.attribute())
            return Node(first.node().internal_object());
    } catch (const pugi::xpath_exception &) {
        return {};
    }
    const QList<Node> nodes = selectNodes(xpath);
    return nodes.isEmpty() ? Node() : nodes.first();
}

QList<Node> Node::selectNodes(const QString &xpath) const
{
    QList<Node> list;
    if (!m_node)
        return list;
    try {
        const pugi::xpath_query query(utf8(xpath).constData());
        const pugi::xpath_node_set set = query.evaluate_node_set(wrap(m_node));
        for (const pugi::xpath_node &n : set) {
            // Attribute results have no Node of their own: read them with attribute().
            if (n.node() && !n.attribute())
                list.append(Node(n.node().internal_object()));
        }
    } catch (const pugi::xpath_exception &) {
        list.clear();
    }
    return list;
}

QString Node::xml() const
{
    return m_node ? serialise(wrap(m_node)) : QString();
}

// ---- Document ------------------------------------------------------------

Document::Document() : m_doc(std::make_unique<pugi::xml_document>()) {}
Document::~Document() = default;

bool Document::loadXml(const QString &text, QString *error, Whitespace whitespace)
{
    return loadUtf8(utf8(text), error, whitespace);
}

bool Document::loadUtf8(const QByteArray &bytes, QString *error, Whitespace whitespace)
{
    const pugi::xml_parse_result result = m_doc->load_buffer(
        bytes.constData(), size_t(bytes.size()), parseOptions(whitespace), pugi::encoding_utf8);
    if (result)
        return true;
    m_doc->reset();
    if (error) {
        // pugixml counts bytes of UTF-8; the caller thinks in characters.
        const qsizetype offset = QString::fromUtf8(bytes.left(qsizetype(result.offset))).size();
        *error = describe(result, offset);
    }
    return false;
}

bool Document::loadBytes(const QByteArray &bytes, QString *error, Whitespace whitespace)
{
    if (isWindows1250(encodingOfBytes(bytes)))
        return loadXml(Cp1250::decode(bytes), error, whitespace);
    const pugi::xml_parse_result result = m_doc->load_buffer(
        bytes.constData(), size_t(bytes.size()), parseOptions(whitespace), pugi::encoding_auto);
    if (result)
        return true;
    m_doc->reset();
    if (error)
        *error = describe(result, qsizetype(result.offset));
    return false;
}

QString Document::xml() const
{
    return serialise(*m_doc);
}

QByteArray Document::toBytes() const
{
    const QString text = xml();
    if (isWindows1250(declaredEncoding()))
        return Cp1250::encode(text, Cp1250::Unmappable::XmlCharRef);
    return text.toUtf8();
}

Node Document::root() const
{
    return Node(m_doc->internal_object());
}

Node Document::documentElement() const
{
    return Node(m_doc->document_element().internal_object());
}

QString Document::declaredEncoding() const
{
    for (const pugi::xml_node &child : m_doc->children()) {
        if (child.type() == pugi::node_declaration)
            return fromUtf8(child.attribute("encoding").value());
    }
    return {};
}

std::unique_ptr<Document> Document::clone() const
{
    auto copy = std::make_unique<Document>();
    copy->m_doc->reset(*m_doc);
    return copy;
}

} // namespace Xml
