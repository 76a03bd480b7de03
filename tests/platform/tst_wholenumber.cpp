#include "platform/text/WholeNumber.h"

#include <QTest>

#include <limits>
#include <optional>

Q_DECLARE_METATYPE(std::optional<qint64>)

// The one reader of whole numbers kept as text, from a QString and from the
// UTF-8 bytes SQLite hands over: both read every text alike.
class TestWholeNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<qint64>>("value");
        const std::optional<qint64> none;
        const qint64 max = std::numeric_limits<qint64>::max();
        const qint64 min = std::numeric_limits<qint64>::min();

        QTest::newRow("zero") << "0" << std::optional<qint64>(0);
        QTest::newRow("plain") << "42" << std::optional<qint64>(42);
        QTest::newRow("blanks around") << " 42  " << std::optional<qint64>(42);
        QTest::newRow("tab and line break") << "\t7\r\n" << std::optional<qint64>(7);
        QTest::newRow("no-break spaces")
            << QStringLiteral("\u00A015\u00A0") << std::optional<qint64>(15);
        QTest::newRow("plus") << "+5" << std::optional<qint64>(5);
        QTest::newRow("minus") << "-12" << std::optional<qint64>(-12);
        QTest::newRow("minus zero") << "-0" << std::optional<qint64>(0);
        QTest::newRow("leading zeros") << "007" << std::optional<qint64>(7);
        QTest::newRow("largest") << "9223372036854775807" << std::optional<qint64>(max);
        QTest::newRow("smallest") << "-9223372036854775808" << std::optional<qint64>(min);
        QTest::newRow("one past the largest") << "9223372036854775808" << none;
        QTest::newRow("one past the smallest") << "-9223372036854775809" << none;
        QTest::newRow("far too long") << QString(40, u'9') << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("blanks only") << "  " << none;
        QTest::newRow("sign alone") << "-" << none;
        QTest::newRow("two signs") << "+-1" << none;
        QTest::newRow("blank after the sign") << "- 1" << none;
        QTest::newRow("blank inside") << "1 2" << none;
        QTest::newRow("fraction") << "1.0" << none;
        QTest::newRow("decimal comma") << "1,0" << none;
        QTest::newRow("exponent") << "1e3" << none;
        QTest::newRow("hexadecimal") << "0x10" << none;
        QTest::newRow("letters after") << "12abc" << none;
        QTest::newRow("arabic-indic digits") << QStringLiteral("\u0663") << none;
        QTest::newRow("full-width digits") << QStringLiteral("\uFF11\uFF12") << none;
        QTest::newRow("NUL after") << QStringLiteral("5") + QChar(u'\0') << none;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<qint64>, value);
        QCOMPARE(WholeNumber::parse(text), value);
        QCOMPARE(WholeNumber::parseUtf8(text.toUtf8()), value);
    }
};

QTEST_GUILESS_MAIN(TestWholeNumber)
#include "tst_wholenumber.moc"
