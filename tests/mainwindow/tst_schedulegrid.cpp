#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/ScheduleGridLayout.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

#include <cmath>

// The empty roster grid laid out for a month from the size options.
class TestScheduleGrid : public QObject
{
    Q_OBJECT

private:
    TestSupport::TestDatabase m_db;

    static int px(int twips, int dpi) { return int(std::nearbyint(twips * dpi / 1440.0)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.isValid(), qPrintable(m_db.errorString()));
        Globals::setDatabase(m_db.take());
        QString error;
        auto options = clsOptions::load(*Globals::database(), &error);
        QVERIFY2(options, qPrintable(error));
        Globals::setOptions(std::move(options));
    }
    void cleanupTestCase() { Globals::closeDatabase(); }
    void init()
    {
        Messages::clearShown();
        Globals::options()->SetOption(QStringLiteral("CellWidth"), QStringLiteral("2"));
        Globals::options()->SetOption(QStringLiteral("CellHeight"), QStringLiteral("1,5"));
    }

    void cellTwips_data()
    {
        QTest::addColumn<double>("cm");
        QTest::addColumn<double>("dpiX");
        QTest::addColumn<double>("dpiAxis");
        QTest::addColumn<int>("twips");
        QTest::newRow("2 cm at 96 dpi") << 2.0 << 96.0 << 96.0 << 1134;
        QTest::newRow("1 cm at 96 dpi") << 1.0 << 96.0 << 96.0 << 567;
        QTest::newRow("1.5 cm at 120 dpi") << 1.5 << 120.0 << 120.0 << 850;
        // Heights are converted with the horizontal dpi, then scaled by the vertical twips per
        // pixel.
        QTest::newRow("height on 96x120 dpi") << 2.0 << 96.0 << 120.0 << 907;
    }
    void cellTwips()
    {
        QFETCH(double, cm);
        QFETCH(double, dpiX);
        QFETCH(double, dpiAxis);
        QFETCH(int, twips);
        QCOMPARE(Module1::CellTwips(cm, dpiX, dpiAxis), twips);
    }

    void parseCellSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "3" << true << 3.0;
        QTest::newRow("comma") << "1,5" << true << 1.5;
        QTest::newRow("point") << " 2.25 " << true << 2.25;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("text") << "abc" << false << 0.0;
    }
    void parseCellSize()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double parsed = 0;
        QCOMPARE(Module1::ParseCellSize(text, &parsed), ok);
        if (ok)
            QCOMPARE(parsed, value);
    }

    // Rows, labels, weekend colours and pixel sizes for months of every length.
    void layoutOfMonth_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<int>("rows");
        QTest::newRow("May 2024") << QDate(2024, 5, 17) << 32;
        QTest::newRow("Feb 2023") << QDate(2023, 2, 1) << 29;
        QTest::newRow("Feb 2024") << QDate(2024, 2, 1) << 30;
        QTest::newRow("Apr 2024") << QDate(2024, 4, 1) << 31;
    }
    void layoutOfMonth()
    {
        QFETCH(QDate, month);
        QFETCH(int, rows);
        FlexGrid grid;
        const QStringList duties{QStringLiteral("7") + QChar(u'\0') +
                                     QStringLiteral("Dyżur\r\nod 08:00 przez 24 h"),
                                 QStringLiteral("12") + QChar(u'\0') + QStringLiteral("Patrol")};
        QVERIFY(Module1::ShowScheduleGrid(grid, month, duties));
        QVERIFY(Messages::shown().isEmpty());
        QVERIFY(grid.isHidden());
        QCOMPARE(grid.rows(), rows);
        QCOMPARE(grid.cols(), 3);
        QCOMPARE(grid.text(0, 0), QString());
        QCOMPARE(grid.text(0, 1), QStringLiteral("Dyżur\r\nod 08:00 przez 24 h"));
        QCOMPARE(grid.text(0, 2), QStringLiteral("Patrol"));
        QCOMPARE(grid.colData(1), 7);
        QCOMPARE(grid.colData(2), 12);
        QVERIFY(grid.wordWrap());

        const int dpiX = grid.logicalDpiX();
        const int dpiY = grid.logicalDpiY();
        QVERIFY(grid.colWidth(0) >= px(500, dpiX));
        QVERIFY(grid.colWidth(0) > grid.fontMetrics().horizontalAdvance(QStringLiteral("niedz.")));
        QCOMPARE(grid.rowHeight(0), px(800, dpiY));
        QCOMPARE(grid.colWidth(1), px(Module1::CellTwips(2, dpiX, dpiX), dpiX));
        QCOMPARE(grid.colWidth(2), grid.colWidth(1));
        QCOMPARE(grid.rowHeight(1), px(Module1::CellTwips(1.5, dpiX, dpiY), dpiY));

        for (int d = 1; d < rows; ++d) {
            const QDate date(month.year(), month.month(), d);
            QVERIFY(grid.text(d, 0).startsWith(QString::number(d) + QStringLiteral("\r\n")));
            const bool weekend = date.dayOfWeek() >= 6;
            QCOMPARE(grid.cellBackColor(d, 0), weekend ? QColor(255, 192, 192) : QColor());
            QCOMPARE(grid.cellForeColor(d, 0), weekend ? QColor(255, 0, 0) : QColor());
            QCOMPARE(grid.text(d, 1), QString());
        }
    }

    void dayLabels()
    {
        QCOMPARE(Module1::DayLabel(QDate(2024, 5, 1)), QStringLiteral("1\r\nśr."));
        QCOMPARE(Module1::DayLabel(QDate(2024, 5, 5)), QStringLiteral("5\r\nniedz."));
        QCOMPARE(Module1::DayLabel(QDate(2024, 5, 13)), QStringLiteral("13\r\npon."));
    }

    // A second month over a first leaves nothing of the first.
    void relayoutClearsFirstMonth()
    {
        FlexGrid grid;
        const QStringList two{QStringLiteral("1") + QChar(u'\0') + QStringLiteral("A"),
                              QStringLiteral("2") + QChar(u'\0') + QStringLiteral("B")};
        QVERIFY(Module1::ShowScheduleGrid(grid, QDate(2024, 6, 1), two));
        grid.setText(30, 2, QStringLiteral("Kowalski Jan"));
        grid.setCellBackColor(5, 1, Qt::blue);
        QVERIFY(Module1::ShowScheduleGrid(grid, QDate(2023, 2, 1), {}));
        QCOMPARE(grid.rows(), 29);
        QCOMPARE(grid.cols(), 1);
        // 1 June 2024 was a Saturday; 1 February 2023 a Wednesday.
        QCOMPARE(grid.cellBackColor(1, 0), QColor());
        QCOMPARE(grid.cellBackColor(4, 0), QColor(255, 192, 192));
        grid.setCols(3);
        QCOMPARE(grid.text(28, 2), QString());
        QCOMPARE(grid.cellBackColor(5, 1), QColor());
    }

    // A size option that is no number stops the layout with a message and
    // leaves the grid as it was.
    void badSizeOption_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("empty width") << "CellWidth"
                                     << "";
        QTest::newRow("text height") << "CellHeight"
                                     << "wysoka";
    }
    void badSizeOption()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        FlexGrid grid;
        QVERIFY(Module1::ShowScheduleGrid(grid, QDate(2024, 5, 1), {}));
        grid.setText(3, 0, QStringLiteral("zostaje"));
        Globals::options()->SetOption(name, value);
        QVERIFY(!Module1::ShowScheduleGrid(grid, QDate(2024, 2, 1), {}));
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().first().contains(name));
        QCOMPARE(grid.rows(), 32);
        QCOMPARE(grid.text(3, 0), QStringLiteral("zostaje"));
    }
};

QTEST_MAIN(TestScheduleGrid)
#include "tst_schedulegrid.moc"
