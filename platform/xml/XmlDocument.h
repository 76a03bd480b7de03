#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

namespace pugi {
class xml_document;
struct xml_node_struct;
} // namespace pugi

namespace Xml {

class Document;
class Fragment;

// A handle to a node of a Document: cheap to copy, valid while the node stays
// in its document. A null Node answers every call with nothing.
//
// Queries are XPath 1.0. Comparing an attribute with a quoted text ("<", ">")
// compares numbers there, not texts: do such comparisons in C++.
class Node
{
public:
    enum class Type { Null, Document, Element, Text, Other };

    Node() = default;
    bool isNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }
    bool operator==(const Node &other) const { return m_node == other.m_node; }
    Type type() const;

    QString name() const;
    // Element: the concatenated text of all descendant text nodes. Text node: its value.
    QString text() const;
    // Element: replaces the children with one text node. Text node: sets its value.
    void setText(const QString &text);

    bool hasAttribute(const QString &name) const;
    QString attribute(const QString &name) const;
    // Its first `length` characters (a character pair may be split): a
    // window showing part of a long value need not convert all of it.
    QString attributeStart(const QString &name, qsizetype length) const;
    // The attribute of the nearest element, from this one up, that has it (as
    // a namespace declaration is found); a null text when none has it.
    QString inheritedAttribute(const QString &name) const;
    // Sets or replaces (in place) the attribute.
    void setAttribute(const QString &name, const QString &value);
    // The same for a whole number, written as QString::number writes it
    // (name: ASCII, NUL-terminated).
    void setAttribute(const char *name, qint64 value);
    // For an element being built: adds the attribute without looking for one
    // of that name first, so the element must not have it yet (it would then
    // hold it twice). Name: ASCII, NUL-terminated.
    void appendAttribute(const char *name, const QString &value);
    void appendAttribute(const char *name, qint64 value);
    // Attributes in document order.
    QList<QPair<QString, QString>> attributes() const;

    Node parent() const;
    Node firstChild() const;
    Node lastChild() const;
    Node nextSibling() const;
    Node previousSibling() const;
    QList<Node> children() const;
    // Child elements, all or those with the given name.
    QList<Node> childElements(const QString &name = {}) const;
    // The first child element with the name, a null Node when there is none.
    Node firstChildElement(const QString &name) const;

    // Appends a new element or text node as the last child; no line break is
    // added (XML::AddElement does that).
    Node appendElement(const QString &name);
    Node appendText(const QString &text);
    // Deep copy of other (from any document) appended as the last child.
    Node appendCopy(const Node &other);
    // Moves a node of the same document to the end of this node's children.
    Node appendMove(const Node &other);
    // Parses the fragment and appends its elements and texts as the last
    // children; the first of them. A null Node, with nothing appended, when
    // this is no element or the fragment is empty or incomplete.
    Node appendFragment(const Fragment &fragment);
    // Removes child from this node; false when it is not a child.
    bool removeChild(const Node &child);

    // Null Node, or an empty list, on no match or an invalid query.
    Node selectSingleNode(const QString &xpath) const;
    QList<Node> selectNodes(const QString &xpath) const;

    // The node serialised without declaration, no indentation added; line
    // breaks in attribute values written as character references.
    QString xml() const;

private:
    friend class Document;
    explicit Node(pugi::xml_node_struct *node) : m_node(node) {}
    pugi::xml_node_struct *m_node = nullptr;
};

// An XML document held in memory.
//
// Ownership: a Document owns its nodes; Node handles die with it. Loading
// keeps whitespace-only text nodes and CR LF as they are (the program's
// documents put a CR LF text node after each element).
//
// Encodings: texts inside are QString. Bytes read from or written to a file
// are converted from/to the encoding the declaration names (UTF-8 or
// windows-1250); characters windows-1250 cannot hold are written as &#N;.
// Characters XML 1.0 does not allow (controls but TAB, LF and CR; U+FFFE,
// U+FFFF) are written as U+FFFD, in every text the document gives out.
class Document
{
public:
    // Drop: whitespace-only text nodes are left out, as a reader that walks
    // sibling elements expects.
    enum class Whitespace { Keep, Drop };

    Document();
    ~Document();
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    // Replaces the content with the parsed text. On failure the document is
    // empty and *error holds the reason and its character offset.
    bool loadXml(const QString &text, QString *error = nullptr,
                 Whitespace whitespace = Whitespace::Keep);
    // The same from UTF-8 bytes, which saves a long text a conversion.
    bool loadUtf8(const QByteArray &utf8, QString *error = nullptr,
                  Whitespace whitespace = Whitespace::Keep);
    // Parses bytes, decoding them by their declaration (UTF-8 by default;
    // windows-1250 when declared).
    bool loadBytes(const QByteArray &bytes, QString *error = nullptr,
                   Whitespace whitespace = Whitespace::Keep);

    // The whole document, declaration included, as text (the declaration's
    // values between single quotes, as the program writes it).
    QString xml() const;
    // The whole document encoded as its declaration says; the program's files
    // are written with it through FileWriter.
    QByteArray toBytes() const;

    // The document node and the root element.
    Node root() const;
    Node documentElement() const;
    Node selectSingleNode(const QString &xpath) const { return root().selectSingleNode(xpath); }
    QList<Node> selectNodes(const QString &xpath) const { return root().selectNodes(xpath); }

    // The encoding named by the declaration, empty when none.
    QString declaredEncoding() const;
    std::unique_ptr<Document> clone() const;

private:
    std::unique_ptr<pugi::xml_document> m_doc;
};

} // namespace Xml
