#include "platform/text/Cp1250.h"

#include <QRandomGenerator>
#include <QTest>

class TestCp1250 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void allBytesRoundTrip();
    void highBytesAnywhereInLongRuns();
    void knownCharacters_data();
    void knownCharacters();
    void unmappable_data();
    void unmappable();
};

void TestCp1250::allBytesRoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = Cp1250::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Cp1250::decodeToUtf8(all), text.toUtf8());
    QCOMPARE(Cp1250::encode(text, Cp1250::Unmappable::XmlCharRef), all);
    // No two bytes share a character.
    for (int i = 0; i < 256; ++i)
        QCOMPARE(text.indexOf(text.at(i)), i);
}

// Straight to UTF-8 as through QString, wherever the high bytes stand in
// runs of ASCII (within, at the end or start of a word of eight, alone).
void TestCp1250::highBytesAnywhereInLongRuns()
{
    QRandomGenerator dice(1250);
    for (int n = 0; n < 5000; ++n) {
        QByteArray bytes;
        const int length = dice.bounded(40);
        for (int i = 0; i < length; ++i)
            bytes +=
                char(dice.bounded(6) == 0 ? 0x80 + dice.bounded(128) : 0x20 + dice.bounded(0x5f));
        QCOMPARE(Cp1250::decodeToUtf8(bytes), Cp1250::decode(bytes).toUtf8());
    }
}

void TestCp1250::knownCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    const QList<QPair<int, int>> table = {
        {0x41, 'A'},    {0x80, 0x20AC}, {0x81, 0x0081}, {0x83, 0x0083}, {0x88, 0x0088},
        {0x90, 0x0090}, {0x98, 0x0098}, {0x8C, 0x015A}, {0x9C, 0x015B}, {0x8F, 0x0179},
        {0x9F, 0x017A}, {0xA3, 0x0141}, {0xB3, 0x0142}, {0xA5, 0x0104}, {0xB9, 0x0105},
        {0xAF, 0x017B}, {0xBF, 0x017C}, {0xC6, 0x0106}, {0xE6, 0x0107}, {0xCA, 0x0118},
        {0xEA, 0x0119}, {0xD1, 0x0143}, {0xF1, 0x0144}, {0xD3, 0x00D3}, {0xF3, 0x00F3},
        {0x84, 0x201E}, {0x96, 0x2013}, {0xFF, 0x02D9},
    };
    for (const auto &[byte, unicode] : table)
        QTest::addRow("%02X", byte) << byte << unicode;
}

void TestCp1250::knownCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    QCOMPARE(Cp1250::decode(QByteArray(1, char(byte))), QString(QChar(unicode)));
    QCOMPARE(Cp1250::encode(QString(QChar(unicode))), QByteArray(1, char(byte)));
}

void TestCp1250::unmappable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("policy");
    QTest::addColumn<QByteArray>("expected");
    const QString cyrillic = QStringLiteral("a\u0416b"); // Ж = 1046
    const QString wide = QStringLiteral("\u8000");       // above the signed 16-bit range
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const auto q = int(Cp1250::Unmappable::Question);
    const auto x = int(Cp1250::Unmappable::XmlCharRef);
    const auto r = int(Cp1250::Unmappable::RtfEscape);
    QTest::newRow("question") << cyrillic << q << QByteArray("a?b");
    QTest::newRow("xml") << cyrillic << x << QByteArray("a&#1046;b");
    QTest::newRow("rtf") << cyrillic << r << QByteArray("a\\u1046?b");
    QTest::newRow("rtf signed") << wide << r << QByteArray("\\u-32768?");
    QTest::newRow("pair question") << emoji << q << QByteArray("?");
    QTest::newRow("pair xml") << emoji << x << QByteArray("&#128512;");
    QTest::newRow("pair rtf") << emoji << r << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("lone surrogate xml") << QString(QChar(0xD800)) << x << QByteArray("?");
    QTest::newRow("polish kept") << QStringLiteral("Łódź") << x << QByteArray("\xA3\xF3\x64\x9F");
}

void TestCp1250::unmappable()
{
    QFETCH(QString, text);
    QFETCH(int, policy);
    QFETCH(QByteArray, expected);
    QCOMPARE(Cp1250::encode(text, Cp1250::Unmappable(policy)), expected);
}

QTEST_GUILESS_MAIN(TestCp1250)
#include "tst_cp1250.moc"
