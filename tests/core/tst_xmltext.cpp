#include "core/XmlText.h"

#include <QTest>

class TestXmlText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstForbidden_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("code");
        QTest::newRow("empty") << QString() << -1 << QString();
        QTest::newRow("Polish letters") << QStringLiteral("Żółć Łęcka") << -1 << QString();
        QTest::newRow("tab, LF, CR") << QStringLiteral("a\tb\nc\r\nd") << -1 << QString();
        QTest::newRow("U+0001") << QStringLiteral("No\u0001wak") << 2 << "U+0001";
        QTest::newRow("NUL") << QString(QChar(0)) << 0 << "U+0000";
        QTest::newRow("U+001F at the end") << QStringLiteral("abc\u001F") << 3 << "U+001F";
        QTest::newRow("U+000B") << QStringLiteral("x\u000By") << 1 << "U+000B";
        QTest::newRow("DEL is allowed") << QStringLiteral("x\u007Fy") << -1 << QString();
        QTest::newRow("U+FFFD is allowed") << QStringLiteral("\uFFFD") << -1 << QString();
        QTest::newRow("U+FFFE") << QStringLiteral("a\uFFFE") << 1 << "U+FFFE";
        QTest::newRow("U+FFFF") << QStringLiteral("\uFFFFa") << 0 << "U+FFFF";
        QTest::newRow("a pair") << QString::fromUcs4(U"a\U0001F600b") << -1 << QString();
        QTest::newRow("high alone at the end")
            << QStringLiteral("ab") + QChar(0xD83D) << 2 << "U+D83D";
        QTest::newRow("high before a letter")
            << QString(QChar(0xD83D)) + QStringLiteral("x") << 0 << "U+D83D";
        QTest::newRow("low alone")
            << QStringLiteral("a") + QChar(0xDE00) + QStringLiteral("b") << 1 << "U+DE00";
        QTest::newRow("two highs")
            << QString(QChar(0xD83D)) + QChar(0xD83D) + QChar(0xDE00) << 0 << "U+D83D";
    }

    void firstForbidden()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QString, code);
        QCOMPARE(XmlText::firstForbidden(text), qsizetype(position));
        QCOMPARE(XmlText::isAllowed(text), position < 0);
        if (position >= 0)
            QCOMPARE(XmlText::codeAt(text, position), code);
    }
};

QTEST_MAIN(TestXmlText)
#include "tst_xmltext.moc"
