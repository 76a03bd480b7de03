#include "platform/xml/XmlDocument.h"

#include <QTest>
#include <QXmlStreamReader>

using Xml::Document;
using Xml::Node;

class TestXmlDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectNodes_data();
    void selectNodes();
    void whitespaceAndDeclarationKept();
    void attributeReplacedInPlace();
    void attributeStart_data();
    void attributeStart();
    void textsKeptWhole_data();
    void textsKeptWhole();
    void inheritedAttributeNearestWins();
    void lineBreakInAttributeSurvivesReload();
    void parseError_data();
    void parseError();
    void windows1250RoundTrip();
    void onlyXmlCharactersWritten_data();
    void onlyXmlCharactersWritten();
    void copyAndMove();
};

static const QString Sample = QStringLiteral(
    "<Doc><Groups>"
    "<Group Id=\"1\" Name=\"A\"><Item Id=\"3\" Count=\"2\"/><Item Id=\"4\" Count=\"10\"/></Group>"
    "<Group Id=\"2\" Name=\"B\"><Item Id=\"5\" Count=\"7\"/></Group>"
    "</Groups></Doc>");

void TestXmlDocument::selectNodes_data()
{
    QTest::addColumn<QString>("xpath");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("all items in order") << "/Doc/Groups/Group/Item" << QStringList{"3", "4", "5"};
    QTest::newRow("string equality") << "//Item[@Id='4']" << QStringList{"4"};
    QTest::newRow("numeric comparison") << "//Item[@Count>=7]" << QStringList{"4", "5"};
    QTest::newRow("by parent") << "/Doc/Groups/Group[@Name='B']/Item" << QStringList{"5"};
    QTest::newRow("no match") << "//Item[@Id='9']" << QStringList{};
    QTest::newRow("invalid query") << "//Item[" << QStringList{};
    QTest::newRow("attribute results skipped") << "//Item/@Id" << QStringList{};
}

void TestXmlDocument::selectNodes()
{
    QFETCH(QString, xpath);
    QFETCH(QStringList, ids);
    Document doc;
    QVERIFY(doc.loadXml(Sample));
    QStringList found;
    for (const Node &n : doc.selectNodes(xpath))
        found << n.attribute(QStringLiteral("Id"));
    QCOMPARE(found, ids);
    const Node single = doc.selectSingleNode(xpath);
    QCOMPARE(single.isNull(), ids.isEmpty());
    if (!ids.isEmpty())
        QCOMPARE(single.attribute(QStringLiteral("Id")), ids.first());
}

void TestXmlDocument::whitespaceAndDeclarationKept()
{
    const QString text = QStringLiteral(
        "<?xml version='1.0' encoding='windows-1250'?><Baza Date=\"2024-05-01\"><Services/>\r\n"
        "<Dzien Id=\"1\"><Sluzba Id=\"2\"/>\r\n</Dzien>\r\n</Baza>");
    Document doc;
    QVERIFY(doc.loadXml(text));
    QCOMPARE(doc.xml(), text);
    QCOMPARE(doc.declaredEncoding(), QStringLiteral("windows-1250"));
    const Node services = doc.documentElement().firstChild();
    QCOMPARE(services.nextSibling().type(), Node::Type::Text);
    QCOMPARE(services.nextSibling().text(), QStringLiteral("\r\n"));
    // The element alone carries no declaration.
    QVERIFY(doc.documentElement().xml().startsWith(QStringLiteral("<Baza Date=")));

    Document dropped;
    QVERIFY(dropped.loadXml(text, nullptr, Document::Whitespace::Drop));
    QCOMPARE(dropped.documentElement().firstChild().nextSibling().name(), QStringLiteral("Dzien"));
}

void TestXmlDocument::attributeReplacedInPlace()
{
    Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<a Id=\"1\" Name=\"x\" Position=\"1.1\"/>")));
    Node a = doc.documentElement();
    a.setAttribute(QStringLiteral("Name"), QStringLiteral("y"));
    const QList<QPair<QString, QString>> expected = {
        {"Id", "1"}, {"Name", "y"}, {"Position", "1.1"}};
    QCOMPARE(a.attributes(), expected);
    QCOMPARE(a.xml(), QStringLiteral("<a Id=\"1\" Name=\"y\" Position=\"1.1\"/>"));
}

// The start of a value, counted in characters whatever their UTF-8 length.
void TestXmlDocument::attributeStart_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter") << QStringLiteral("Maj") << 10 << QStringLiteral("Maj");
    QTest::newRow("exact") << QStringLiteral("Maj") << 3 << QStringLiteral("Maj");
    QTest::newRow("cut") << QStringLiteral("Grafik") << 2 << QStringLiteral("Gr");
    QTest::newRow("two-byte letters") << QStringLiteral("żółć gęś") << 5 << QStringLiteral("żółć ");
    QTest::newRow("three-byte signs") << QStringLiteral("€„”–€") << 4 << QStringLiteral("€„”–");
    QTest::newRow("four-byte pair") << QStringLiteral("😀😀x") << 4 << QStringLiteral("😀😀");
    QTest::newRow("none") << QStringLiteral("abc") << 0 << QString();
}

void TestXmlDocument::attributeStart()
{
    QFETCH(QString, value);
    QFETCH(int, length);
    QFETCH(QString, expected);
    Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<a/>")));
    Node a = doc.documentElement();
    a.setAttribute(QStringLiteral("Name"), value);
    QCOMPARE(a.attributeStart(QStringLiteral("Name"), length), expected);
    QCOMPARE(a.attributeStart(QStringLiteral("Missing"), length), QString());
}

void TestXmlDocument::textsKeptWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("short") << QStringLiteral("Warta");
    QTest::newRow("Polish") << QStringLiteral("Zażółć gęślą jaźń");
    QTest::newRow("255") << QString(255, u'a');
    QTest::newRow("256") << QString(256, u'b');
    QTest::newRow("long, Polish at the end") << QString(1000, u'c') + QStringLiteral("ż");
}

void TestXmlDocument::textsKeptWhole()
{
    QFETCH(QString, text);
    Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<Doc/>")));
    Node element = doc.documentElement().appendElement(QStringLiteral("Łączność"));
    element.setAttribute(QStringLiteral("Nazwa"), text);
    element.setAttribute(QStringLiteral("Zażółć") + QString(300, u'x'), text);
    element.appendElement(QStringLiteral("Tekst")).setText(text);
    Document reloaded;
    QVERIFY(reloaded.loadXml(doc.xml()));
    const Node read = reloaded.documentElement().firstChild();
    QCOMPARE(read.name(), QStringLiteral("Łączność"));
    QCOMPARE(read.attribute(QStringLiteral("Nazwa")), text);
    QCOMPARE(read.attribute(QStringLiteral("Zażółć") + QString(300, u'x')), text);
    QVERIFY(read.hasAttribute(QStringLiteral("Nazwa")));
    QCOMPARE(read.firstChild().text(), text);
}

void TestXmlDocument::inheritedAttributeNearestWins()
{
    Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<a xmlns='u1'><b><c xmlns='u2'><d/></c></b><e/></a>")));
    QCOMPARE(
        doc.selectSingleNode(QStringLiteral("//*[local-name()='d']")).inheritedAttribute("xmlns"),
        "u2");
    QCOMPARE(
        doc.selectSingleNode(QStringLiteral("//*[local-name()='b']")).inheritedAttribute("xmlns"),
        "u1");
    QVERIFY(doc.documentElement().inheritedAttribute(QStringLiteral("xmlns:ss")).isNull());
    QVERIFY(doc.root().inheritedAttribute(QStringLiteral("xmlns")).isNull());
}

void TestXmlDocument::lineBreakInAttributeSurvivesReload()
{
    const QString value = QStringLiteral("Patrol\r\nod 08:00 przez 12 h\t\"<&>\"");
    Document doc;
    QVERIFY(
        doc.loadXml(QStringLiteral("<?xml version='1.0' encoding='windows-1250'?><Services/>")));
    Node item = doc.documentElement().appendElement(QStringLiteral("ServiceItem"));
    item.setAttribute(QStringLiteral("Text"), value);
    QVERIFY(doc.xml().contains(QStringLiteral("Patrol&#13;&#10;od")));

    Document fromText;
    QVERIFY(fromText.loadXml(doc.xml()));
    QCOMPARE(fromText.selectSingleNode("//ServiceItem").attribute(QStringLiteral("Text")), value);
    Document fromBytes;
    QVERIFY(fromBytes.loadBytes(doc.toBytes()));
    QCOMPARE(fromBytes.selectSingleNode("//ServiceItem").attribute(QStringLiteral("Text")), value);
}

void TestXmlDocument::parseError_data()
{
    // The reason is Polish, with the character offset and the parser's own words.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QString()
                           << QStringLiteral("Brak elementu głównego dokumentu, pozycja 0 "
                                             "(No document element found)");
    QTest::newRow("mismatched tags")
        << QStringLiteral("<a><b></a>")
        << QStringLiteral("Znacznik zamykający nie pasuje do "
                          "otwierającego, pozycja 8 (Start-end tags mismatch)");
    QTest::newRow("unclosed attribute") << QStringLiteral("<a x=\"1/>")
                                        << QStringLiteral("Błędny atrybut elementu, pozycja 6 "
                                                          "(Error parsing element attribute)");
    QTest::newRow("text only") << QStringLiteral("no markup")
                               << QStringLiteral("Brak elementu głównego dokumentu, pozycja 9 "
                                                 "(No document element found)");
    // What XML 1.0 forbids and the parser alone would let through.
    QTest::newRow("two roots") << QStringLiteral("<a/><b/>")
                               << QStringLiteral("Więcej niż jeden element główny dokumentu");
    QTest::newRow("name not an XML name")
        << QStringLiteral("<a><b→c/></a>") << QStringLiteral("Błędna nazwa elementu „b→c”");
    QTest::newRow("name beginning with what only continues a name")
        << QStringLiteral("<a><Dzień/><\u0301b/></a>")
        << QStringLiteral("Błędna nazwa elementu „\u0301b”");
    QTest::newRow("attribute name not an XML name")
        << QStringLiteral("<a x·=\"1\" y→=\"2\"/>")
        << QStringLiteral("Błędna nazwa atrybutu „y→” elementu „a”");
    QTest::newRow("attribute twice") << QStringLiteral("<a><b id=\"1\" id=\"2\"/></a>")
                                     << QStringLiteral("Powtórzony atrybut „id” elementu „b”");
    // Counted in characters, not in the bytes of UTF-8.
    QTest::newRow("cut short") << QStringLiteral("<Baza><Dzień Id=\"1\">")
                               << QStringLiteral(
                                      "Znacznik zamykający nie pasuje do "
                                      "otwierającego, pozycja 19 (Start-end tags mismatch)");
}

void TestXmlDocument::parseError()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<old/>")));
    QString error;
    QVERIFY(!doc.loadXml(text, &error));
    QCOMPARE(error, reason);
    QVERIFY(doc.documentElement().isNull());
}

void TestXmlDocument::windows1250RoundTrip()
{
    const QString polish = QStringLiteral("Zażółć gęślą jaźń ŁÓDŹ");
    const QString foreign = QStringLiteral("Ж");
    Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<?xml version='1.0' encoding='windows-1250'?><Baza/>")));
    Node person = doc.documentElement().appendElement(QStringLiteral("Osoba"));
    person.setAttribute(QStringLiteral("Name"), polish);
    person.appendText(foreign);

    const QByteArray bytes = doc.toBytes();
    QVERIFY(bytes.startsWith("<?xml version='1.0' encoding='windows-1250'?><Baza>"));
    QVERIFY(bytes.contains("Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1 \xA3\xD3\x44\x8F"));
    QVERIFY(bytes.contains("&#1046;"));

    Document back;
    QString error;
    QVERIFY2(back.loadBytes(bytes, &error), qPrintable(error));
    const Node osoba = back.selectSingleNode(QStringLiteral("/Baza/Osoba"));
    QCOMPARE(osoba.attribute(QStringLiteral("Name")), polish);
    QCOMPARE(osoba.text(), foreign);
    QCOMPARE(back.xml(), doc.xml());
}

// What the program writes is read by every XML 1.0 reader: characters XML
// does not allow come out as U+FFFD, every other character as it went in.
void TestXmlDocument::onlyXmlCharactersWritten_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");
    const QChar r(0xFFFD);
    const struct
    {
        const char *name;
        QString value;
        QString written;
    } rows[] = {
        {"U+0001", QStringLiteral("Kowal") + QChar(0x01) + u'a',
         QStringLiteral("Kowal") + r + u'a'},
        {"U+0008", QString(QChar(0x08)), QString(r)},
        {"U+000B and U+000C", QString(QChar(0x0B)) + QChar(0x0C), QString(r) + r},
        {"U+001F", QStringLiteral("x") + QChar(0x1F), QStringLiteral("x") + r},
        {"U+FFFE and U+FFFF", QString(QChar(0xFFFE)) + QChar(0xFFFF), QString(r) + r},
        {"tab, CR and LF", QStringLiteral("a\tb\r\nc"), QStringLiteral("a\tb\r\nc")},
        {"edges of the allowed ranges",
         QString(QChar(0x20)) + QChar(0xD7FF) + QChar(0xE000) + QChar(0xFFFD),
         QString(QChar(0x20)) + QChar(0xD7FF) + QChar(0xE000) + QChar(0xFFFD)},
        {"beyond the BMP", QStringLiteral("\U00010000\U0010FFFF"),
         QStringLiteral("\U00010000\U0010FFFF")},
        {"a reference typed as text", QStringLiteral("&#01;"), QStringLiteral("&#01;")},
    };
    for (const QString &encoding : QStringList{"windows-1250", "UTF-8"})
        for (const auto &row : rows)
            QTest::addRow("%s, %s", qPrintable(encoding), row.name)
                << encoding << row.value << row.written;
}

void TestXmlDocument::onlyXmlCharactersWritten()
{
    QFETCH(QString, encoding);
    QFETCH(QString, value);
    QFETCH(QString, written);
    Document doc;
    QVERIFY(
        doc.loadXml(QStringLiteral("<?xml version='1.0' encoding='%1'?><Baza/>").arg(encoding)));
    Node person = doc.documentElement().appendElement(QStringLiteral("Osoba"));
    person.setAttribute(QStringLiteral("Name"), value);
    person.appendText(value);

    // The file's bytes, and the root's text that the roster file compresses.
    for (const QByteArray &bytes : {doc.toBytes(), doc.documentElement().xml().toUtf8()}) {
        QXmlStreamReader reader(bytes);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString() + u' ' + bytes));
    }
    Document back;
    QVERIFY(back.loadBytes(doc.toBytes()));
    const Node osoba = back.selectSingleNode(QStringLiteral("/Baza/Osoba"));
    QCOMPARE(osoba.attribute(QStringLiteral("Name")), written);
    QCOMPARE(osoba.text(), written);
}

void TestXmlDocument::copyAndMove()
{
    Document work;
    QVERIFY(work.loadXml(
        QStringLiteral("<Doc><Exclusions><Day Id=\"1\"/></Exclusions><Other/></Doc>")));
    Document roster;
    QVERIFY(roster.loadXml(QStringLiteral("<Baza/>")));

    const Node exclusions = work.selectSingleNode(QStringLiteral("/Doc/Exclusions"));
    roster.documentElement().appendCopy(exclusions);
    QVERIFY(work.documentElement().removeChild(exclusions));
    QCOMPARE(roster.documentElement().xml(),
             QStringLiteral("<Baza><Exclusions><Day Id=\"1\"/></Exclusions></Baza>"));
    QCOMPARE(work.documentElement().xml(), QStringLiteral("<Doc><Other/></Doc>"));

    Node other = work.selectSingleNode(QStringLiteral("/Doc/Other"));
    other.appendElement(QStringLiteral("X"));
    work.documentElement().appendMove(other.firstChild());
    QCOMPARE(work.documentElement().xml(), QStringLiteral("<Doc><Other/><X/></Doc>"));
    // Not a child: refused.
    QVERIFY(!other.removeChild(work.documentElement()));
}

QTEST_GUILESS_MAIN(TestXmlDocument)
#include "tst_xmldocument.moc"
