#include "platform/xml/WellFormed.h"

#include <QList>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <array>
#include <cstring>

namespace Xml {

namespace {

// XML 1.0 (fifth edition), productions [4] and [4a].
constexpr bool isNameStartChar(char32_t c)
{
    return c == U':' || c == U'_' || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

constexpr bool isNameChar(char32_t c)
{
    return isNameStartChar(c) || c == U'-' || c == U'.' || (c >= U'0' && c <= U'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// What each ASCII character may be in a name: its first character, a later one.
enum : unsigned char { StartsName = 1, InName = 2 };

constexpr std::array<unsigned char, 128> AsciiInNames = [] {
    std::array<unsigned char, 128> table{};
    for (char32_t c = 0; c < 128; ++c)
        table[c] = (isNameStartChar(c) ? StartsName : 0) | (isNameChar(c) ? InName : 0);
    return table;
}();

bool isName(const char *name)
{
    // The program's own names are ASCII: a table for them, nothing decoded.
    const auto *bytes = reinterpret_cast<const unsigned char *>(name);
    size_t size = 0;
    for (; bytes[size] != 0 && bytes[size] < 0x80; ++size) {
        if (!(AsciiInNames[bytes[size]] & (size == 0 ? StartsName : InName)))
            return false;
    }
    if (bytes[size] == 0)
        return size > 0;
    size += std::strlen(name + size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(name, qsizetype(size)));
    if (decoder.hasError())
        return false;
    const QList<uint> codes = text.toUcs4();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (!(i == 0 ? isNameStartChar(codes[i]) : isNameChar(codes[i])))
            return false;
    }
    return true;
}

// A name as a message shows it: short, and readable whatever its bytes.
QString shown(const char *name)
{
    QString text = QString::fromUtf8(name);
    if (text.size() > 60)
        text = text.left(60) + QStringLiteral("…");
    return QStringLiteral("„") + text + QStringLiteral("”");
}

QString elementFault(const pugi::xml_node &element)
{
    if (!isName(element.name()))
        return QStringLiteral("Błędna nazwa elementu ") + shown(element.name());
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        if (!isName(a.name()))
            return QStringLiteral("Błędna nazwa atrybutu ") + shown(a.name()) +
                   QStringLiteral(" elementu ") + shown(element.name());
        for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute()) {
            if (std::strcmp(a.name(), b.name()) == 0)
                return QStringLiteral("Powtórzony atrybut ") + shown(a.name()) +
                       QStringLiteral(" elementu ") + shown(element.name());
        }
    }
    return {};
}

} // namespace

QString wellFormedFault(const pugi::xml_document &document)
{
    int roots = 0;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        switch (node.type()) {
        case pugi::node_element:
            ++roots;
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            return QStringLiteral("Tekst poza elementem głównym dokumentu");
        default:
            break;
        }
    }
    if (roots > 1)
        return QStringLiteral("Więcej niż jeden element główny dokumentu");

    // Every element, depth first, without recursion: a deep file must not
    // exhaust the stack.
    const pugi::xml_node root = document.document_element();
    pugi::xml_node node = root;
    while (node) {
        if (node.type() == pugi::node_element) {
            const QString fault = elementFault(node);
            if (!fault.isEmpty())
                return fault;
        }
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        while (node && node != root && !node.next_sibling())
            node = node.parent();
        if (!node || node == root)
            break;
        node = node.next_sibling();
    }
    return {};
}

} // namespace Xml
