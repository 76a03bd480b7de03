#include "core/Messages.h"
#include "core/Module1.h"
#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/ScheduleGridLayout.h"
#include "mainwindow/SpreadsheetExport.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray OutputDeclaration =
    QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>");

// The template shipped with the program, beside the schema in resources/.
QString shippedTemplate()
{
    return QFileInfo(TestSupport::schemaPath()).absolutePath() + QStringLiteral("/BazaXml.file");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A roster of February 2024 with two duties, shown in a grid the way the main
// window shows it: duty texts in row 0, day labels in column 0, people's
// texts joined by CR LF.
void fillRosterGrid(FlexGrid &grid)
{
    const QDate month(2024, 2, 1);
    std::unique_ptr<Xml::Document> roster = XML::CreateScheduleDocument(month);
    QVERIFY(roster);
    const QStringList duties{QStringLiteral("Dyżur & patrol\r\nod 08:00 przez 24 h"),
                             QStringLiteral("Służba nocna\r\nod 20:00 przez 12 h")};
    for (int d = 1; d <= month.daysInMonth(); ++d) {
        Xml::Node day = XML::AddDayNode(*roster, d);
        for (int s = 1; s <= 2; ++s) {
            Xml::Node duty = XML::AddDutyNode(day, QStringLiteral("S%1").arg(s), s,
                                              QStringLiteral("%1.%2").arg(s).arg(d));
            if (s == 1)
                XML::AddPersonNode(duty, QStringLiteral("Żółkiewski Łukasz"), 7);
            if (s == 1 && d % 2 == 0)
                XML::AddPersonNode(duty, QStringLiteral("Nowak & Syn"), 8);
            // Duty 2 on day 3 is left unfilled.
            if (s == 2 && d != 3)
                XML::AddPersonNode(duty, QStringLiteral("Ćwik Ewa"), 9);
        }
    }

    grid.setRows(month.daysInMonth() + 1);
    grid.setCols(3);
    for (int s = 1; s <= 2; ++s) {
        grid.setText(0, s, duties.at(s - 1));
        grid.setColData(s, s);
    }
    for (int d = 1; d <= month.daysInMonth(); ++d) {
        grid.setText(d, 0, Module1::DayLabel(QDate(2024, 2, d)));
        for (int s = 1; s <= 2; ++s) {
            QStringList people;
            const Xml::Node duty = roster->selectSingleNode(
                QStringLiteral("/Baza/Dzien[./@Id='%1']/Sluzba[./@Id='%2']").arg(d).arg(s));
            for (const Xml::Node &person : duty.childElements(QStringLiteral("Osoba")))
                people.append(person.childElements(QStringLiteral("Nazwisko")).value(0).text());
            grid.setText(d, s, people.join(QStringLiteral("\r\n")));
        }
    }
}

} // namespace

// The roster grid written as an XML spreadsheet from the template beside the program.
class TestSpreadsheet : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_appDir;
    QTemporaryDir m_outDir;

    QString templatePath() const { return m_appDir.filePath(SpreadsheetExport::TemplateFileName); }
    QString outPath() const { return m_outDir.filePath(QStringLiteral("grafik.xml")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_appDir.isValid());
        QVERIFY(m_outDir.isValid());
        QVERIFY2(QFile::exists(shippedTemplate()), qPrintable(shippedTemplate()));
        Module1::setAppPath(m_appDir.path());
    }
    void cleanupTestCase() { Module1::setAppPath(QString()); }
    void init()
    {
        Messages::clearShown();
        QFile::remove(templatePath());
        QFile::remove(outPath());
        QVERIFY(QFile::copy(shippedTemplate(), templatePath()));
    }

    void exportsGridAsShown()
    {
        FlexGrid grid;
        fillRosterGrid(grid);
        QString error;
        QVERIFY2(SpreadsheetExport::Export(grid, outPath(), &error), qPrintable(error));
        QVERIFY(Messages::shown().isEmpty());

        const QByteArray bytes = readAll(outPath());
        QVERIFY(
            bytes.startsWith(OutputDeclaration + "\r\n<?mso-application progid=\"Excel.Sheet\"?>"));
        // The new elements take the workbook's default namespace: no declarations of their own.
        QVERIFY(!bytes.contains("<Row xmlns") && !bytes.contains("<Cell xmlns"));

        Xml::Document out;
        QString parseError;
        QVERIFY2(out.loadBytes(bytes, &parseError), qPrintable(parseError));
        // The template's frame is kept.
        QVERIFY(
            !out.selectSingleNode(QStringLiteral("/Workbook/Styles/Style[@ss:ID='s22']")).isNull());
        QVERIFY(
            !out.selectSingleNode(QStringLiteral("/Workbook/Worksheet/WorksheetOptions")).isNull());

        const Xml::Node table = out.selectSingleNode(QStringLiteral("/Workbook/Worksheet/Table"));
        const QList<Xml::Node> elements = table.childElements();
        QCOMPARE(elements.size(), 3 + 30); // columns, then header row and 29 days
        for (int i = 0; i < elements.size(); ++i) {
            const Xml::Node e = elements.at(i);
            if (i < 3) {
                QCOMPARE(e.name(), QStringLiteral("Column"));
                QCOMPARE(e.attribute(QStringLiteral("ss:AutoFitWidth")), QStringLiteral("0"));
                QCOMPARE(e.attribute(QStringLiteral("ss:Width")), QStringLiteral("90"));
                continue;
            }
            const int r = i - 3;
            QCOMPARE(e.name(), QStringLiteral("Row"));
            QCOMPARE(e.attribute(QStringLiteral("ss:AutoFitHeight")), QStringLiteral("0"));
            QCOMPARE(e.attribute(QStringLiteral("ss:Height")), QStringLiteral("50"));
            const QList<Xml::Node> cells = e.childElements();
            QCOMPARE(cells.size(), 3);
            for (int c = 0; c < 3; ++c) {
                const Xml::Node cell = cells.at(c);
                QCOMPARE(cell.name(), QStringLiteral("Cell"));
                const QString style =
                    r == 0 || c == 0 ? QStringLiteral("s21") : QStringLiteral("s22");
                QCOMPARE(cell.attribute(QStringLiteral("ss:StyleID")), style);
                const QList<Xml::Node> data = cell.childElements();
                QCOMPARE(data.size(), 1);
                QCOMPARE(data.first().name(), QStringLiteral("Data"));
                QCOMPARE(data.first().attribute(QStringLiteral("ss:Type")),
                         QStringLiteral("String"));
                QString expected = grid.text(r, c);
                expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                QCOMPARE(data.first().text(), expected);
            }
        }
        // Spot checks against the roster itself.
        auto data = [&](int r, int c) {
            return elements.at(3 + r).childElements().at(c).childElements().at(0).text();
        };
        QCOMPARE(data(0, 0), QString());
        QCOMPARE(data(0, 1), QStringLiteral("Dyżur & patrol\nod 08:00 przez 24 h"));
        QCOMPARE(data(2, 0), QStringLiteral("2\npt."));
        QCOMPARE(data(2, 1), QStringLiteral("Żółkiewski Łukasz\nNowak & Syn"));
        QCOMPARE(data(3, 2), QString());
    }

    void cellTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("polish letters")
            << QStringLiteral("Żółć Ęą Śń") << QByteArray("\xAF\xF3\xB3\xE6 \xCA\xB9 \x8C\xF1");
        QTest::newRow("ampersand and brackets")
            << QStringLiteral("Nowak & Syn <b>") << QByteArray("Nowak &amp; Syn &lt;b&gt;");
        QTest::newRow("line breaks") << QStringLiteral("Kos Jan\r\nPtak Ewa\r\nSowa Ola")
                                     << QByteArray("Kos Jan&#10;Ptak Ewa&#10;Sowa Ola");
        QTest::newRow("lone line feed") << QStringLiteral("a\nb") << QByteArray("a&#10;b");
        // Typed text is not mistaken for a line break.
        QTest::newRow("literal marker") << QStringLiteral("x[br]y") << QByteArray("x[br]y");
        QTest::newRow("outside the code page")
            << QStringLiteral("Жук") << QByteArray("&#1046;&#1091;&#1082;");
        QTest::newRow("number stays a string") << QStringLiteral("0012") << QByteArray("0012");
    }
    void cellTexts()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);

        const QList<QStringList> cells{{QString(), QStringLiteral("S")},
                                       {QStringLiteral("1"), text}};
        QString error;
        const std::optional<QByteArray> bytes =
            SpreadsheetExport::Build(cells, templatePath(), &error);
        QVERIFY2(bytes, qPrintable(error));
        QVERIFY(bytes->startsWith(OutputDeclaration));
        QVERIFY2(bytes->contains("<Cell ss:StyleID=\"s22\"><Data ss:Type=\"String\">" + written +
                                 "</Data>"),
                 bytes->constData());

        Xml::Document out;
        QVERIFY(out.loadBytes(*bytes));
        QString expected = text;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(out.selectSingleNode(QStringLiteral("//Row[2]/Cell[2]/Data")).text(), expected);
    }

    void singleCellGrid()
    {
        QVERIFY(SpreadsheetExport::Export(QList<QStringList>{{QString()}}, outPath()));
        Xml::Document out;
        QVERIFY(out.loadBytes(readAll(outPath())));
        QCOMPARE(out.selectNodes(QStringLiteral("//Table/Column")).size(), 1);
        QCOMPARE(out.selectNodes(QStringLiteral("//Table/Row")).size(), 1);
        const QList<Xml::Node> cells = out.selectNodes(QStringLiteral("//Table/Row/Cell"));
        QCOMPARE(cells.size(), 1);
        QCOMPARE(cells.first().attribute(QStringLiteral("ss:StyleID")), QStringLiteral("s21"));
        QCOMPARE(out.selectNodes(QStringLiteral("//Table/Row/Cell/Data")).size(), 1);
    }

    void replacesExistingFile()
    {
        QVERIFY(writeFile(outPath(), QByteArray(100000, 'x')));
        const QList<QStringList> cells{{QStringLiteral("a"), QStringLiteral("b")}};
        QVERIFY(SpreadsheetExport::Export(cells, outPath()));
        QCOMPARE(readAll(outPath()), *SpreadsheetExport::Build(cells, templatePath()));
    }

    void unusableTemplate_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no template at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not xml") << QByteArray("<Workbook><Worksheet>");
        QTest::newRow("no Arkusz1")
            << QByteArray("<?xml version=\"1.0\"?><Workbook xmlns:ss=\"urn:schemas-microsoft-com:"
                          "office:spreadsheet\"><Worksheet ss:Name=\"Sheet1\"><Table/>"
                          "</Worksheet></Workbook>");
        QTest::newRow("no Table") << QByteArray(
            "<?xml version=\"1.0\"?><Workbook xmlns:ss=\"urn:schemas-microsoft-com:"
            "office:spreadsheet\"><Worksheet ss:Name=\"Arkusz1\"/></Workbook>");
        // Well-formed but for what the parser lets through.
        const QByteArray workbook = readAll(shippedTemplate());
        const qsizetype root = workbook.indexOf("<Workbook");
        QTest::newRow("two root elements")
            << QByteArray(workbook.left(root) + "<Styles/>\r\n" + workbook.mid(root));
        QByteArray byteInName = workbook;
        byteInName.replace("<Title>Grafik</Title>", "<Tytu\xb3>Grafik</Tytu\xb3>");
        QTest::newRow("byte above 0x7F in a tag name") << byteInName;
        QByteArray foreignName = workbook;
        foreignName.replace("<Author>Dorvat Kadrelo</Author>", "<Ж>Dorvat Kadrelo</Ж>");
        QTest::newRow("name windows-1250 cannot hold") << foreignName;
    }
    void unusableTemplate()
    {
        QFETCH(QByteArray, content);
        QVERIFY(QFile::remove(templatePath()));
        if (!content.isEmpty())
            QVERIFY(writeFile(templatePath(), content));
        const QByteArray old("old export");
        QVERIFY(writeFile(outPath(), old));

        QString error;
        QVERIFY(!SpreadsheetExport::Export(QList<QStringList>{{QStringLiteral("a")}}, outPath(),
                                           &error));
        QVERIFY(!error.isEmpty());
        // The message names the template and says what is wrong with it.
        QCOMPARE(Messages::shown(),
                 QStringList{SpreadsheetExport::TemplateErrorText + QStringLiteral("\r\n") +
                             QDir::toNativeSeparators(templatePath()) + QStringLiteral("\r\n") +
                             error});
        QCOMPARE(readAll(outPath()), old);
    }

    void unwritableTarget()
    {
        const QString path = m_outDir.filePath(QStringLiteral("missing/grafik.xml"));
        QString error;
        QVERIFY(
            !SpreadsheetExport::Export(QList<QStringList>{{QStringLiteral("a")}}, path, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().first().startsWith(Messages::SaveFileFailed +
                                                     QStringLiteral("\r\n")));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
