#include "core/DateTimeText.h"

#include <QTest>

class TestDateTimeText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void secondsRoundTrip_data();
    void secondsRoundTrip();
    void formatEveryDay();
};

void TestDateTimeText::parse_data()
{
    // The stored text, and what it reads as in the written form ("" = refused).
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("date and time") << "2024-05-01 20:30:15"
                                   << "2024-05-01 20:30:15";
    QTest::newRow("without seconds") << "2024-05-01 20:30"
                                     << "2024-05-01 20:30:00";
    QTest::newRow("date alone") << "2024-05-01"
                                << "2024-05-01";
    QTest::newRow("midnight reads as the date") << "2024-05-01 00:00:00"
                                                << "2024-05-01";
    QTest::newRow("ISO T") << "2024-05-01T20:30:15"
                           << "2024-05-01 20:30:15";
    QTest::newRow("ISO T without seconds") << "2024-05-01T20:30"
                                           << "2024-05-01 20:30:00";
    QTest::newRow("older form") << "01.05.2024 20:30:15"
                                << "2024-05-01 20:30:15";
    QTest::newRow("older form without seconds") << "01.05.2024 20:30"
                                                << "2024-05-01 20:30:00";
    QTest::newRow("older date alone") << "01.05.2024"
                                      << "2024-05-01";
    QTest::newRow("blanks around") << "  2024-05-01 20:30 \t"
                                   << "2024-05-01 20:30:00";
    QTest::newRow("leap day") << "2024-02-29"
                              << "2024-02-29";
    QTest::newRow("no such day") << "2023-02-29"
                                 << "";
    QTest::newRow("no such hour") << "2024-05-01 24:00"
                                  << "";
    QTest::newRow("seconds after another sign") << "2024-05-01 20:30x15"
                                                << "";
    QTest::newRow("one-digit hour") << "2024-05-01 8:00"
                                    << "";
    QTest::newRow("one-digit month") << "2024-5-01"
                                     << "";
    QTest::newRow("T after the older form") << "01.05.2024T20:30"
                                            << "";
    QTest::newRow("zone") << "2024-05-01T20:30:00Z"
                          << "";
    QTest::newRow("text") << "wczoraj"
                          << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestDateTimeText::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    const std::optional<DateTimeText::Value> value = DateTimeText::parse(text);
    QCOMPARE(value.has_value(), !written.isEmpty());
    if (value)
        QCOMPARE(DateTimeText::format(*value), written);
}

void TestDateTimeText::secondsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("epoch") << "1970-01-01" << qint64(0);
    QTest::newRow("before the epoch") << "1969-12-31 23:59:59" << qint64(-1);
    // No hour lost or doubled on the night the clocks change in Poland.
    QTest::newRow("spring night") << "2024-03-31 02:30:00" << qint64(1711852200);
    QTest::newRow("autumn night") << "2024-10-27 02:30:00" << qint64(1729996200);
    QTest::newRow("leap day") << "2024-02-29 07:05:09" << qint64(1709190309);
    QTest::newRow("leap day of a century") << "2000-02-29" << qint64(951782400);
    QTest::newRow("no leap day in 1900") << "1900-03-01" << qint64(-2203891200);
    QTest::newRow("last second of a year") << "1999-12-31 23:59:59" << qint64(946684799);
}

void TestDateTimeText::formatEveryDay()
{
    // Every day of four centuries, at midnight and one second before it, as the calendar writes it.
    const qint64 first = DateTimeText::seconds(QDate(1800, 1, 1));
    const qint64 last = DateTimeText::seconds(QDate(2200, 12, 31));
    for (qint64 day = first; day <= last; day += 86400) {
        const QDate date = DateTimeText::dateOf(day);
        QCOMPARE(DateTimeText::format(day), date.toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(DateTimeText::format(day - 1),
                 date.addDays(-1).toString(QStringLiteral("yyyy-MM-dd")) +
                     QStringLiteral(" 23:59:59"));
    }
}

void TestDateTimeText::secondsRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    const std::optional<DateTimeText::Value> value = DateTimeText::parse(text);
    QVERIFY(value);
    QCOMPARE(DateTimeText::seconds(*value), seconds);
    QCOMPARE(DateTimeText::format(seconds),
             text.endsWith(QLatin1String(" 00:00:00")) ? text.left(10) : text);
    QCOMPARE(DateTimeText::dateOf(seconds), value->date);
}

QTEST_GUILESS_MAIN(TestDateTimeText)
#include "tst_datetimetext.moc"
