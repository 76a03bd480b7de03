#include "core/CMD5.h"
#include "core/Tools.h"

#include <QCryptographicHash>
#include <QTest>

class TestMd5 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rfc1321_data();
    void rfc1321();
    void blockBoundaries_data();
    void blockBoundaries();
    void lowByteOfEachCharacter();
    void storedForms_data();
    void storedForms();
    void mmToPixels_data();
    void mmToPixels();
};

void TestMd5::rfc1321_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digest");
    QTest::newRow("empty") << ""
                           << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("a") << "a"
                       << "0cc175b9c0f1b6a831c399e269772661";
    QTest::newRow("abc") << "abc"
                         << "900150983cd24fb0d6963f7d28e17f72";
    QTest::newRow("message digest") << "message digest"
                                    << "f96b697d7cb7938d525a2f31aaf161d0";
    QTest::newRow("alphabet") << "abcdefghijklmnopqrstuvwxyz"
                              << "c3fcd3d76192e4007dfb496cca67e13b";
    QTest::newRow("alphanumeric")
        << "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
        << "d174ab98d277d9f5a5611c2c9f419d9f";
    QTest::newRow("80 digits") << QString("1234567890").repeated(8)
                               << "57edf4a22be3c955ac49da2e2107b67a";
    QTest::newRow("upper case differs") << "ABC"
                                        << "902fbdd2b1df0c4f70b4a5d23525e932";
}

void TestMd5::rfc1321()
{
    QFETCH(QString, text);
    QFETCH(QString, digest);
    QCOMPARE(Tools::GetMD5(text), digest);
}

void TestMd5::blockBoundaries_data()
{
    QTest::addColumn<int>("length");
    for (int n : {55, 56, 57, 63, 64, 65, 119, 120, 128})
        QTest::addRow("%d", n) << n;
}

void TestMd5::blockBoundaries()
{
    QFETCH(int, length);
    QString text;
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
        const char c = char('!' + (i * 7) % 90);
        text += QLatin1Char(c);
        bytes += c;
    }
    const QString expected =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    QCOMPARE(CMD5().MD5(text), expected);
}

void TestMd5::lowByteOfEachCharacter()
{
    // Stored password digests depend on the high byte being dropped.
    const QString polish = QStringLiteral("ą");
    QCOMPARE(Tools::GetMD5(polish), Tools::GetMD5(QString(QChar(0x0005))));
    const QString word = QStringLiteral("hasło");
    QByteArray lowBytes;
    for (const QChar c : word)
        lowBytes += char(c.unicode() & 0xFF);
    QCOMPARE(
        Tools::GetMD5(word),
        QString::fromLatin1(QCryptographicHash::hash(lowBytes, QCryptographicHash::Md5).toHex()));
    // Not the digest of its windows-1250 bytes ("ł" is 0xB3 there, 0x42 here).
    QVERIFY(
        Tools::GetMD5(word) !=
        QString::fromLatin1(QCryptographicHash::hash("has\xB3o", QCryptographicHash::Md5).toHex()));
}

// Digests of texts beyond ASCII as passwords stored earlier hold them: one
// byte per UTF-16 unit, its low byte, NULs and surrogate halves included.
void TestMd5::storedForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digest");
    QTest::newRow("NUL") << QString(QChar(0)) << "93b885adfe0da089cdf634904fd59f71";
    QTest::newRow("U+0100 like NUL")
        << QString(QChar(0x0100)) << "93b885adfe0da089cdf634904fd59f71";
    QTest::newRow("NUL inside") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                                << "70350f6027bce3713f6b76473084309b";
    QTest::newRow("U+FFFF") << QString(QChar(0xFFFF)) << "00594fd4f42ba43fc1ca0427a0576295";
    QTest::newRow("surrogate pair")
        << QStringLiteral("\U0001F600") << "c151c5fa0f424dbf71e349896c45ec16";
    QTest::newRow("Polish sentence")
        << QStringLiteral("Zażółć gęślą jaźń") << "aadbb593b40e24de1675a812112d470b";
    QTest::newRow("Polish, two blocks")
        << QStringLiteral("żółć").repeated(16) << "ea9b1f6f8036871f1ec80aa7468ac17c";
}

void TestMd5::storedForms()
{
    QFETCH(QString, text);
    QFETCH(QString, digest);
    QCOMPARE(Tools::GetMD5(text), digest);
}

void TestMd5::mmToPixels_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<float>("mm");
    QTest::addColumn<float>("pixels");
    QTest::newRow("inch at 96") << 96.0 << 25.4f << 96.0f;
    QTest::newRow("inch at 120") << 120.0 << 25.4f << 120.0f;
    QTest::newRow("zero") << 96.0 << 0.0f << 0.0f;
    QTest::newRow("unrounded") << 96.0 << 10.0f << 37.795277f;
}

void TestMd5::mmToPixels()
{
    QFETCH(double, dpi);
    QFETCH(float, mm);
    QFETCH(float, pixels);
    QCOMPARE(Tools::MmToPixels(dpi, mm), pixels);
}

QTEST_GUILESS_MAIN(TestMd5)
#include "tst_md5.moc"
