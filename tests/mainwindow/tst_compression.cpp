#include "mainwindow/Compression.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray header(const QByteArray &length)
{
    return QByteArrayLiteral("DorvKadrelo") + '\0' + length + char(0xB3);
}

// Qt's own inflater, for an opinion independent of the code under test.
QByteArray inflate(const QByteArray &zlibStream, quint32 length)
{
    QByteArray prefixed(4, '\0');
    qToBigEndian(length, prefixed.data());
    return qUncompress(prefixed + zlibStream);
}

const QString Roster = QStringLiteral(
    "<Baza Date=\"2024-05-01\" Name=\"Grafik na maj 2024\"><Services>\r\n"
    "<ServiceItem Id=\"1\" Text=\"Służba dyżurna&#13;&#10;od 08:00 przez 24 "
    "h\"/>\r\n</Services>\r\n"
    "<Dzien Id=\"1\"><Sluzba Id=\"1\" Name=\"Służba dyżurna\" Position=\"1.1\"><Osoba Id=\"7\">"
    "<Nazwisko>Żółkiewski Łukasz</Nazwisko>\r\n</Osoba>\r\n</Sluzba>\r\n</Dzien>\r\n</Baza>");

} // namespace

class TestCompression : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bufferSize_data();
    void bufferSize();
    void exactBytes_data();
    void exactBytes();
    void roundTrip_data();
    void roundTrip();
    void lenientHeader_data();
    void lenientHeader();
    void damaged_data();
    void damaged();
    void everyFlippedBodyByteRefused();
    void saveFailureKeepsNothingHalfWritten();
};

void TestCompression::bufferSize_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<qint64>("size");
    QTest::newRow("0") << qint64(0) << qint64(12);
    QTest::newRow("50, half down to even") << qint64(50) << qint64(62);
    QTest::newRow("150, half up to even") << qint64(150) << qint64(164);
    QTest::newRow("250, half down to even") << qint64(250) << qint64(264);
    QTest::newRow("1000") << qint64(1000) << qint64(1022);
}

void TestCompression::bufferSize()
{
    QFETCH(qint64, n);
    QFETCH(qint64, size);
    QCOMPARE(Compression::BufferSize(n), size);
}

void TestCompression::exactBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expectedHeader");
    QTest::addColumn<QByteArray>("windows1250");
    QTest::newRow("empty") << QString() << header("0") << QByteArray();
    QTest::newRow("polish") << QStringLiteral("Zażółć gęślą jaźń") << header("17")
                            << QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1");
    QTest::newRow("not in the code page")
        << QStringLiteral("Ж") << header("7") << QByteArray("&#1046;");
}

void TestCompression::exactBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expectedHeader);
    QFETCH(QByteArray, windows1250);
    int result = -1;
    const QByteArray content = Compression::CompressText(text, &result);
    QCOMPARE(result, 0);
    QCOMPARE(content.left(expectedHeader.size()), expectedHeader);
    const QByteArray body = content.mid(expectedHeader.size());
    if (text.isEmpty())
        QCOMPARE(body, QByteArray::fromHex("789c030000000001"));
    QCOMPARE(inflate(body, quint32(windows1250.size())), windows1250);
}

void TestCompression::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("roster") << Roster;
    QTest::newRow("every windows-1250 letter")
        << QStringLiteral("ĄĆĘŁŃÓŚŹŻąćęłńóśźż €„”–—ŠšŤťŽžĹĺ");
    QTest::newRow("large") << Roster.repeated(2000);
    // Near deflate's best ratio: the buffer bound taken from the body must still fit.
    QTest::newRow("one letter repeated") << QString(3000000, QLatin1Char('a'));
}

void TestCompression::roundTrip()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grafik.swx"));
    QString error;
    QVERIFY2(Compression::SaveFile(path, text, &error), qPrintable(error));
    const std::optional<QString> back = Compression::DecompressFile(path);
    QVERIFY(back.has_value());
    QCOMPARE(*back, text);
}

void TestCompression::lenientHeader_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray body =
        Compression::CompressText(QStringLiteral("abc")).mid(header("3").size());
    QTest::newRow("other magic") << QByteArray("XXXXXXXXXXX") + '\0' + "3" + char(0xB3) + body;
    QTest::newRow("length larger than text") << header("500") + body;
    QTest::newRow("leading zeros") << header("0003") + body;
    QTest::newRow("length far beyond what the body holds") << header("200000000") + body;
}

void TestCompression::lenientHeader()
{
    QFETCH(QByteArray, content);
    QCOMPARE(Compression::DecompressBytes(content), std::optional<QString>(QStringLiteral("abc")));
}

void TestCompression::damaged_data()
{
    QTest::addColumn<QByteArray>("content");
    const QString text = QStringLiteral("x").repeated(5000);
    const QByteArray good = Compression::CompressText(text);
    const QByteArray body = good.mid(header("5000").size());
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("shorter than the magic") << QByteArray("DorvKadr");
    QTest::newRow("magic only") << header("").left(12);
    QTest::newRow("truncated body") << good.left(good.size() - 6);
    QTest::newRow("body missing") << header("5000");
    QTest::newRow("no separator") << QByteArray("DorvKadrelo") + '\0' + "5000" + body.left(3);
    QTest::newRow("empty length") << header("") + body;
    QTest::newRow("sign") << header("+5000") + body;
    QTest::newRow("negative") << header("-5000") + body;
    QTest::newRow("blank") << header(" 5000") + body;
    QTest::newRow("hexadecimal") << header("0x1388") + body;
    QTest::newRow("exponent") << header("5e3") + body;
    QTest::newRow("huge length") << header("999999999999") + body;
    QTest::newRow("past 64 bits") << header(QByteArray(87, '9')) + body;
    QTest::newRow("separator past byte 100") << header(QByteArray(88, '0') + "5000") + body;
    QTest::newRow("length smaller than text") << header("100") + body;
    QTest::newRow("not zlib") << header("5000") + QByteArray(40, 'z');
}

void TestCompression::damaged()
{
    QFETCH(QByteArray, content);
    QCOMPARE(Compression::DecompressBytes(content), std::nullopt);
}

void TestCompression::everyFlippedBodyByteRefused()
{
    const QByteArray good = Compression::CompressText(Roster);
    const qsizetype bodyStart = header(QByteArray::number(Roster.size())).size();
    QVERIFY(Compression::DecompressBytes(good).has_value());
    for (qsizetype i = bodyStart; i < good.size(); ++i) {
        QByteArray bad = good;
        bad[i] = char(bad.at(i) ^ 0xFF);
        QVERIFY2(!Compression::DecompressBytes(bad).has_value(), qPrintable(QString::number(i)));
    }
}

void TestCompression::saveFailureKeepsNothingHalfWritten()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(
        !Compression::SaveFile(dir.filePath(QStringLiteral("missing/grafik.swx")), Roster, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(Compression::DecompressFile(dir.filePath(QStringLiteral("none.swx"))), std::nullopt);

    // Overwriting replaces the whole file.
    const QString path = dir.filePath(QStringLiteral("grafik.swx"));
    QVERIFY(Compression::SaveFile(path, Roster.repeated(50)));
    QVERIFY(Compression::SaveFile(path, QStringLiteral("<Baza/>")));
    QCOMPARE(Compression::DecompressFile(path), std::optional<QString>(QStringLiteral("<Baza/>")));
}

QTEST_GUILESS_MAIN(TestCompression)
#include "tst_compression.moc"
