#include "core/XML.h"
#include "tests/support/RecordingSink.h"

#include <QTest>

using Xml::Node;

class TestXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newDocumentText();
    void rosterElementsText();
    void attributeReplaced();
    void daysOfMonth_data();
    void daysOfMonth();
    void lineBreakAttributeSurvivesSaveAndReload();
    void namespaces_data();
    void namespaces();
    void addElementNeedsElementParent();
    void fillPersonCounts();
    void fillPersonCountsRefusesBadCount();
};

void TestXml::newDocumentText()
{
    const auto doc = XML::CreateScheduleDocument(QDate(2024, 5, 1));
    QVERIFY(doc);
    QCOMPARE(doc->xml(), QStringLiteral("<?xml version='1.0' encoding='windows-1250'?>"
                                        "<Baza Date=\"2024-05-01\"><Services/>\r\n</Baza>"));
}

void TestXml::rosterElementsText()
{
    const auto doc = XML::CreateScheduleDocument(QDate(2024, 3, 1));
    QVERIFY(doc);
    Node day = XML::AddDayNode(*doc, 3);
    Node duty = XML::AddDutyNode(day, QStringLiteral("Patrol"), 7, QStringLiteral("2.3"));
    XML::AddPersonNode(duty, QStringLiteral("Kowalski Jan"), 4200000000LL);
    XML::AddDutyNode(day, QStringLiteral("Wartownia"), 8, QStringLiteral("3.3"));
    QCOMPARE(day.xml(),
             QStringLiteral("<Dzien Id=\"3\">"
                            "<Sluzba Id=\"7\" Name=\"Patrol\" Position=\"2.3\">"
                            "<Osoba Id=\"4200000000\"><Nazwisko>Kowalski Jan</Nazwisko>\r\n"
                            "</Osoba>\r\n"
                            "</Sluzba>\r\n"
                            "<Sluzba Id=\"8\" Name=\"Wartownia\" Position=\"3.3\"/>\r\n"
                            "</Dzien>"));
    QVERIFY(doc->xml().endsWith(QStringLiteral("</Dzien>\r\n</Baza>")));
}

void TestXml::attributeReplaced()
{
    const auto doc = XML::CreateScheduleDocument(QDate(2024, 5, 1));
    QVERIFY(doc);
    Node root = doc->documentElement();
    XML::SetAttribute(root, QStringLiteral("Name"), QStringLiteral("Grafik na maj 2024"));
    XML::SetAttribute(root, QStringLiteral("Date"), QStringLiteral("2024-06-01"));
    const QList<QPair<QString, QString>> expected = {{"Date", "2024-06-01"},
                                                     {"Name", "Grafik na maj 2024"}};
    QCOMPARE(root.attributes(), expected);
}

void TestXml::daysOfMonth_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<int>("days");
    QTest::newRow("February 2023") << QDate(2023, 2, 1) << 28;
    QTest::newRow("February 2024") << QDate(2024, 2, 1) << 29;
    QTest::newRow("April 2024") << QDate(2024, 4, 1) << 30;
    QTest::newRow("December 2024") << QDate(2024, 12, 1) << 31;
}

void TestXml::daysOfMonth()
{
    QFETCH(QDate, month);
    QFETCH(int, days);
    const auto doc = XML::CreateScheduleDocument(month);
    QVERIFY(doc);
    for (int d = 1; d <= month.daysInMonth(); ++d)
        XML::AddDutyNode(XML::AddDayNode(*doc, d), QStringLiteral("Patrol"), 1,
                         QStringLiteral("1.%1").arg(d));

    // Reread from text: the saved form is what later readers see.
    Xml::Document reread;
    QVERIFY(reread.loadXml(doc->xml()));
    const QList<Node> dayNodes = reread.selectNodes(QStringLiteral("/Baza/Dzien"));
    QCOMPARE(dayNodes.size(), days);
    for (int d = 0; d < days; ++d) {
        QCOMPARE(dayNodes.at(d).attribute(QStringLiteral("Id")), QString::number(d + 1));
        QCOMPARE(dayNodes.at(d).childElements(QStringLiteral("Sluzba")).size(), 1);
    }
    QVERIFY(reread.selectNodes(QStringLiteral("//Osoba")).isEmpty());
}

void TestXml::lineBreakAttributeSurvivesSaveAndReload()
{
    const QString text = QStringLiteral("Patrol pieszy\r\nod 08:00 przez 12 h");
    const auto doc = XML::CreateScheduleDocument(QDate(2024, 5, 1));
    QVERIFY(doc);
    Node item = XML::AddElement(doc->selectSingleNode(QStringLiteral("/Baza/Services")),
                                QStringLiteral("ServiceItem"));
    XML::SetAttribute(item, QStringLiteral("Id"), QStringLiteral("5"));
    XML::SetAttribute(item, QStringLiteral("Text"), text);

    Xml::Document reread;
    QVERIFY(reread.loadBytes(doc->toBytes()));
    QCOMPARE(reread.selectSingleNode(QStringLiteral("/Baza/Services/ServiceItem"))
                 .attribute(QStringLiteral("Text")),
             text);
    QCOMPARE(reread.xml(), doc->xml());
}

void TestXml::namespaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("expected");
    const QString ss = QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");
    QTest::newRow("default in scope") << "Row" << ss << "<Row/>";
    QTest::newRow("prefix in scope") << "ss:Data" << ss << "<ss:Data/>";
    QTest::newRow("other default") << "Row"
                                   << "urn:other"
                                   << "<Row xmlns=\"urn:other\"/>";
    QTest::newRow("other prefix") << "x:Row"
                                  << "urn:x"
                                  << "<x:Row xmlns:x=\"urn:x\"/>";
    QTest::newRow("no namespace under default") << "Row"
                                                << ""
                                                << "<Row xmlns=\"\"/>";
}

void TestXml::namespaces()
{
    QFETCH(QString, name);
    QFETCH(QString, uri);
    QFETCH(QString, expected);
    Xml::Document doc;
    QVERIFY(doc.loadXml(QStringLiteral(
        "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Table/></Workbook>")));
    const Node table = doc.selectSingleNode(QStringLiteral("/Workbook/Table"));
    QCOMPARE(XML::AddElement(table, name, uri).xml(), expected);
    QCOMPARE(table.lastChild().text(), QStringLiteral("\r\n"));
}

void TestXml::addElementNeedsElementParent()
{
    Xml::Document doc;
    QVERIFY(doc.loadXml(QStringLiteral("<Root/>")));
    QVERIFY(XML::AddElement(doc.root(), QStringLiteral("Second")).isNull());
    QVERIFY(XML::AddElement(Node(), QStringLiteral("X")).isNull());
    QCOMPARE(doc.xml(), QStringLiteral("<Root/>"));
}

static const QString WorkingDocument = QStringLiteral(
    "<Doc><Groups>"
    "<Group Id=\"1\" Name=\"Pluton 1\" Count=\"5\"><BadDays/>"
    "<Item Id=\"11\" Name=\"Nowak Anna\" Count=\"6\" CountAtStar=\"2\" Date=\"2024-05-30 "
    "20:00:00\"/>"
    "<Item Id=\"12\" Name=\"Wiśniewski Piotr\" Count=\"3\" CountAtStar=\"3\" Date=\"2024-04-28\"/>"
    "</Group>"
    "<Group Id=\"2\" Name=\"Pluton 2\" Count=\"1\"><BadDays/>"
    "<Item Id=\"21\" Name=\"Zając Ewa\" Count=\"%1\" CountAtStar=\"0\" Date=\"2024-05-02\"/>"
    "</Group></Groups><DaysTable/><Exclusions/></Doc>");

void TestXml::fillPersonCounts()
{
    Xml::Document work;
    QVERIFY(work.loadXml(WorkingDocument.arg(QStringLiteral("1"))));
    RecordingSink sink;
    QVERIFY(XML::FillPersonCounts(work, sink));
    const QStringList expected = {
        "clear",
        "11|Nowak Anna|Pluton 1|4|2024-05-30 20:00:00",
        "12|Wiśniewski Piotr|Pluton 1|0|2024-04-28",
        "21|Zając Ewa|Pluton 2|1|2024-05-02",
        "sort",
        "opened 1",
    };
    QCOMPARE(sink.calls, expected);
}

void TestXml::fillPersonCountsRefusesBadCount()
{
    Xml::Document work;
    QVERIFY(work.loadXml(WorkingDocument.arg(QStringLiteral("x"))));
    RecordingSink sink;
    QVERIFY(!XML::FillPersonCounts(work, sink));
    QVERIFY(sink.calls.isEmpty());
}

QTEST_GUILESS_MAIN(TestXml)
#include "tst_xml.moc"
