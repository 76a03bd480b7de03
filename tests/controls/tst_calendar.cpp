#include "controls/GraphicalCalendar.h"
#include "controls/PropertyBag.h"
#include "platform/clock/Clock.h"
#include "platform/draw/Gdi.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

namespace {

const QDate Today(2026, 3, 15); // a Sunday; March 2026 starts on a Sunday

QColor colorOf(qint32 value)
{
    return Draw::toQColor(Draw::resolveColor(value));
}

// A shown calendar with distinct colours and a fixed clock.
struct CalendarFixture
{
    GraphicalCalendar cal;
    QStringList log;

    explicit CalendarFixture(QDate value = QDate(2026, 3, 20), int cols = 1)
    {
        Clock::setNow(QDateTime(Today, QTime(12, 0)));
        cal.setValue(value);
        cal.setBackColor(0xEEEEEE);
        cal.setForeColor(0x000000);
        cal.setSelectedForeColor(0xFFFFFF);
        cal.setTodayBorderColor(0x0000FF);
        cal.setSeparateLineColor(0x808080);
        cal.setDayNamesForeColor(0x404040);
        cal.setCols(cols);
        cal.setSendToBack(false);
        cal.resize(CalendarGeometry::neededSize(cal.layout()));
        cal.show();
        QObject::connect(&cal, &GraphicalCalendar::DateChange, &cal, [this] { log.append("D"); });
        QObject::connect(
            &cal, &GraphicalCalendar::PositionChange, &cal, [this](bool first, QDate month) {
                log.append(
                    QStringLiteral("P%1:%2").arg(int(first)).arg(month.toString(Qt::ISODate)));
            });
    }
    ~CalendarFixture() { Clock::setNow({}); }

    // Widget position of a client point (the border is one pixel).
    static QPoint widgetPos(QPointF client) { return (client + QPointF(1.5, 1.5)).toPoint(); }
    QPoint cellCentre(QDate date) const
    {
        int row = 0, col = 0;
        CalendarGeometry::blockOfDate(cal.layout(), date, &row, &col);
        const QPointF origin = CalendarGeometry::dayCellOrigin(cal.layout(), row, col, date.day());
        return widgetPos(origin +
                         QPointF(cal.layout().dayCellWidth / 2, cal.layout().dayCellHeight / 2));
    }
    QPoint titleBand(float clientX) const
    {
        return widgetPos(QPointF(clientX, 3 + cal.layout().dayCellHeight / 2));
    }
    QPoint leftArrow() const { return titleBand(2 + float(cal.arrowSize().width()) / 2); }
    QPoint rightArrow() const
    {
        return titleBand(float(cal.contentsRect().width()) - float(cal.arrowSize().width()) / 2);
    }
    QColor pixel(QPointF client) const { return cal.image().pixelColor(client.toPoint()); }
    QPointF cellOrigin(QDate date) const
    {
        int row = 0, col = 0;
        CalendarGeometry::blockOfDate(cal.layout(), date, &row, &col);
        return CalendarGeometry::dayCellOrigin(cal.layout(), row, col, date.day());
    }
};

CalendarLayout layoutFor(QDate firstShown, int cols = 1, float offsetX = 0)
{
    CalendarLayout l;
    l.cols = cols;
    l.firstShownMonth = firstShown;
    l.offsetX = offsetX;
    CalendarGeometry::setMetrics(l, 14, 12); // cells 20 x 15, blocks 154 x 123
    return l;
}

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dayCellPlacement_data();
    void dayCellPlacement();
    void hitTest_data();
    void hitTest();
    void arrowZones();
    void arrowsAnswerWhereDrawn_data();
    void arrowsAnswerWhereDrawn();
    void eventSequences_data();
    void eventSequences();
    void fastPressesAllCount_data();
    void fastPressesAllCount();
    void selectedAndTodayColours();
    void hoverFrame();
    void rightButtonMenu();
    void sizeRule();
    void persistence();
};

void TestCalendar::dayCellPlacement_data()
{
    QTest::addColumn<QDate>("firstShown");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("day");
    QTest::addColumn<QPointF>("origin");
    // June 2026 starts on a Monday: day 1 in the first column.
    QTest::newRow("first weekday, day 1") << QDate(2026, 6, 1) << 0 << 1 << QPointF(7, 33);
    QTest::newRow("first weekday, day 30") << QDate(2026, 6, 1) << 0 << 30 << QPointF(27, 93);
    // March 2026 starts on a Sunday: day 1 in the seventh column, day 31 in
    // the sixth week row.
    QTest::newRow("last weekday, day 1") << QDate(2026, 3, 1) << 0 << 1 << QPointF(127, 33);
    QTest::newRow("last weekday, day 31") << QDate(2026, 3, 1) << 0 << 31 << QPointF(27, 108);
    // Second block (April 2026 starts on a Wednesday), grid centred by 5.5.
    QTest::newRow("second block") << QDate(2026, 3, 1) << 1 << 1 << QPointF(154 + 5.5 + 47, 33);
}

void TestCalendar::dayCellPlacement()
{
    QFETCH(QDate, firstShown);
    QFETCH(int, col);
    QFETCH(int, day);
    QFETCH(QPointF, origin);
    const CalendarLayout l = layoutFor(firstShown, 2, col ? 5.5f : 0);
    QCOMPARE(CalendarGeometry::dayCellOrigin(l, 0, col, day), origin);
}

void TestCalendar::hitTest_data()
{
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<int>("dayRow");
    QTest::addColumn<QDate>("date");
    // View March 2026 (day 1 in column 6) and April.
    QTest::newRow("day 1") << QPointF(130, 40) << 0 << QDate(2026, 3, 1);
    QTest::newRow("day 31") << QPointF(30, 110) << 5 << QDate(2026, 3, 31);
    QTest::newRow("blank after last day") << QPointF(50, 110) << 5 << QDate();
    QTest::newRow("blank before day 1") << QPointF(10, 40) << 0 << QDate();
    QTest::newRow("day names") << QPointF(30, 25) << -1 << QDate();
    QTest::newRow("title band") << QPointF(30, 5) << -2 << QDate();
    QTest::newRow("second block day 1") << QPointF(154 + 50, 40) << 0 << QDate(2026, 4, 1);
}

void TestCalendar::hitTest()
{
    QFETCH(QPointF, pos);
    QFETCH(int, dayRow);
    QFETCH(QDate, date);
    const CalendarLayout l = layoutFor(QDate(2026, 3, 1), 2);
    const CalendarHit hit = CalendarGeometry::hitTest(l, float(pos.x()), float(pos.y()));
    QCOMPARE(hit.dayRow, dayRow);
    QCOMPARE(hit.onDay, date.isValid());
    QCOMPARE(hit.date(), date);
}

void TestCalendar::arrowZones()
{
    // Open intervals: (2, w + 2) and, flush with the client's right edge, (W - w, W).
    QVERIFY(!CalendarGeometry::onLeftArrow(2, 9));
    QVERIFY(CalendarGeometry::onLeftArrow(2.5, 9));
    QVERIFY(CalendarGeometry::onLeftArrow(10.5, 9));
    QVERIFY(!CalendarGeometry::onLeftArrow(11, 9));
    QVERIFY(!CalendarGeometry::onRightArrow(191, 200, 9));
    QVERIFY(CalendarGeometry::onRightArrow(191.5, 200, 9));
    QVERIFY(CalendarGeometry::onRightArrow(199.5, 200, 9));
    QVERIFY(!CalendarGeometry::onRightArrow(200, 200, 9));
}

void TestCalendar::arrowsAnswerWhereDrawn_data()
{
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("extraWidth");
    QTest::newRow("as wide as its block") << 1 << 0;
    QTest::newRow("half a pixel of centring") << 1 << 1;
    QTest::newRow("wider") << 1 << 41;
    QTest::newRow("centring wider than a block") << 1 << 400;
    QTest::newRow("two blocks, wider") << 2 << 60;
}

// Every pixel of each drawn arrow answers a press, at every width; the
// centring strip beside the arrows does not.
void TestCalendar::arrowsAnswerWhereDrawn()
{
    QFETCH(int, cols);
    QFETCH(int, extraWidth);
    CalendarFixture f(QDate(2026, 3, 20), cols);
    const QSize needed = CalendarGeometry::neededSize(f.cal.layout());
    f.cal.resize(needed.width() + extraWidth, needed.height());
    QCOMPARE(f.cal.width(), needed.width() + extraWidth);
    QCOMPARE(f.cal.layout().offsetX, float(extraWidth) / 2);

    const int clientWidth = f.cal.contentsRect().width();
    const int arrowWidth = int(std::ceil(f.cal.arrowSize().width()));
    const int band = int(f.cal.layout().dayCellHeight);
    const QColor ink = colorOf(f.cal.ForeColor());
    // The arrow glyphs, as drawn at the client's left and right edges.
    auto drawn = [&](int from, int to) {
        QList<QPoint> pixels;
        for (int y = 0; y <= band; ++y)
            for (int x = from; x < to; ++x)
                if (f.pixel(QPointF(x, y)) == ink)
                    pixels.append(QPoint(x, y));
        return pixels;
    };
    const QList<QPoint> left = drawn(0, arrowWidth + 4);
    const QList<QPoint> right = drawn(clientWidth - arrowWidth - 4, clientWidth);
    QVERIFY(left.size() > 10);
    QVERIFY(right.size() > 10);

    // A press on a pixel is reported at the pixel's own position.
    const QPoint frame = f.cal.contentsRect().topLeft();
    QDate month = f.cal.layout().firstShownMonth;
    for (const QPoint &p : left) {
        QTest::mouseClick(&f.cal, Qt::LeftButton, {}, p + frame);
        month = month.addMonths(-1);
        QVERIFY2(f.cal.layout().firstShownMonth == month,
                 qPrintable(QStringLiteral("left arrow at %1,%2").arg(p.x()).arg(p.y())));
    }
    for (const QPoint &p : right) {
        QTest::mouseClick(&f.cal, Qt::LeftButton, {}, p + frame);
        month = month.addMonths(1);
        QVERIFY2(f.cal.layout().firstShownMonth == month,
                 qPrintable(QStringLiteral("right arrow at %1,%2").arg(p.x()).arg(p.y())));
    }

    // Where the arrows would be if they moved with the centred blocks: the
    // title band there is not an arrow.
    const float offset = f.cal.layout().offsetX;
    if (offset > float(arrowWidth) + 2) {
        for (const float x : {2 + offset + float(arrowWidth) / 2,
                              float(clientWidth) - float(arrowWidth) / 2 - offset}) {
            QTest::mouseClick(&f.cal, Qt::LeftButton, {}, f.titleBand(x));
            QCOMPARE(f.cal.layout().firstShownMonth, month);
        }
    }
}

void TestCalendar::eventSequences_data()
{
    QTest::addColumn<QDate>("value");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QDate>("finalValue");
    QTest::addColumn<QDate>("finalFirstShown");

    const QDate mar31(2026, 3, 31);
    QTest::newRow("listen") << mar31 << 1 << QStringList{"listen"} << QStringList{"P1:2026-03-01"}
                            << mar31 << QDate(2026, 3, 1);
    QTest::newRow("value later moves view to the date itself")
        << mar31 << 1 << QStringList{"listen", "value:2026-05-10"}
        << QStringList{"P1:2026-03-01", "P0:2026-05-10", "D"} << QDate(2026, 5, 10)
        << QDate(2026, 5, 10);
    QTest::newRow("value earlier") << mar31 << 2 << QStringList{"value:2026-01-20"}
                                   << QStringList{"D"} << QDate(2026, 1, 20) << QDate(2026, 1, 20);
    QTest::newRow("value inside view") << mar31 << 2 << QStringList{"listen", "value:2026-04-02"}
                                       << QStringList{"P1:2026-03-01", "P0:2026-03-01", "D"}
                                       << QDate(2026, 4, 2) << QDate(2026, 3, 1);
    QTest::newRow("same value") << mar31 << 1 << QStringList{"listen", "value:2026-03-31"}
                                << QStringList{"P1:2026-03-01"} << mar31 << QDate(2026, 3, 1);
    QTest::newRow("rows") << mar31 << 1
                          << QStringList{"rows:2", "listen", "rows:3", "rows:3", "rows:8", "rows:0"}
                          << QStringList{"P1:2026-03-01", "P1:2026-03-01", "P0:2026-03-01",
                                         "P1:2026-03-01"}
                          << mar31 << QDate(2026, 3, 1);
    QTest::newRow("cols") << mar31 << 1
                          << QStringList{"cols:1", "listen", "cols:1", "cols:6", "cols:0"}
                          << QStringList{"P1:2026-03-01", "P0:2026-03-01"} << mar31
                          << QDate(2026, 3, 1);
    QTest::newRow("press day") << mar31 << 1 << QStringList{"press:2026-03-05", "press:2026-03-05"}
                               << QStringList{"D", "D"} << QDate(2026, 3, 5) << QDate(2026, 3, 1);
    QTest::newRow("left arrow clamps value") << mar31 << 1 << QStringList{"listen", "left"}
                                             << QStringList{"P1:2026-03-01", "D", "P0:2026-02-01"}
                                             << QDate(2026, 2, 28) << QDate(2026, 2, 1);
    // March..April, Value 31 March: the view moves to February..March and
    // Value stays in view, unchanged.
    QTest::newRow("left arrow, value still shown")
        << mar31 << 2 << QStringList{"left"} << QStringList{} << mar31 << QDate(2026, 2, 1);
    QTest::newRow("right arrow clamps value")
        << QDate(2026, 1, 31) << 1 << QStringList{"listen", "right"}
        << QStringList{"P1:2026-01-01", "D", "P0:2026-02-01"} << QDate(2026, 2, 28)
        << QDate(2026, 2, 1);
    QTest::newRow("right arrow of two blocks")
        << QDate(2026, 3, 20) << 2 << QStringList{"right"} << QStringList{"D"} << QDate(2026, 4, 20)
        << QDate(2026, 4, 1);
}

void TestCalendar::eventSequences()
{
    QFETCH(QDate, value);
    QFETCH(int, cols);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    QFETCH(QDate, finalValue);
    QFETCH(QDate, finalFirstShown);

    CalendarFixture f(value, cols);
    QSignalSpy downs(&f.cal, &GraphicalCalendar::MouseDown);
    int presses = 0;
    for (const QString &step : steps) {
        const QString arg = step.section(':', 1);
        if (step == "listen") {
            f.cal.StartListening();
        } else if (step.startsWith("value:")) {
            f.cal.setValue(QDate::fromString(arg, Qt::ISODate));
        } else if (step.startsWith("rows:")) {
            f.cal.setRows(arg.toInt());
        } else if (step.startsWith("cols:")) {
            f.cal.setCols(arg.toInt());
        } else {
            QPoint at;
            if (step == "left")
                at = f.leftArrow();
            else if (step == "right")
                at = f.rightArrow();
            else
                at = f.cellCentre(QDate::fromString(arg, Qt::ISODate));
            QTest::mouseClick(&f.cal, Qt::LeftButton, {}, at);
            ++presses;
        }
    }
    QCOMPARE(f.log, expected);
    QCOMPARE(f.cal.Value(), finalValue);
    QCOMPARE(f.cal.layout().firstShownMonth, finalFirstShown);
    QCOMPARE(downs.size(), presses);
    QCOMPARE(f.cal.Font().bold, false);
}

void TestCalendar::fastPressesAllCount_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("months");
    QTest::addColumn<QDate>("finalValue");
    QTest::addColumn<QStringList>("events");
    // Value 20 March 2026, four presses in quick succession.
    const QStringList moves{"D", "down", "click", "D", "down", "D", "down", "click", "D", "down"};
    QTest::newRow("right arrow") << "right" << 4 << QDate(2026, 7, 20) << moves;
    QTest::newRow("left arrow") << "left" << -4 << QDate(2025, 11, 20) << moves;
    QTest::newRow("day") << "day" << 0 << QDate(2026, 3, 11)
                         << QStringList{"D", "down", "click", "D", "down", "double",
                                        "D", "down", "click", "D", "down", "double"};
}

// Four presses 120 ms apart, as Qt hands them to a widget: press, release,
// double click, release, twice. Every press counts as one; on a day the
// double click is raised as well.
void TestCalendar::fastPressesAllCount()
{
    QFETCH(QString, place);
    QFETCH(int, months);
    QFETCH(QDate, finalValue);
    QFETCH(QStringList, events);

    CalendarFixture f(QDate(2026, 3, 20));
    f.log.clear();
    QObject::connect(&f.cal, &GraphicalCalendar::MouseDown, &f.cal, [&f] { f.log.append("down"); });
    QObject::connect(&f.cal, &GraphicalCalendar::Click, &f.cal, [&f] { f.log.append("click"); });
    QObject::connect(&f.cal, &GraphicalCalendar::DblClick, &f.cal,
                     [&f] { f.log.append("double"); });
    const QPoint at = place == "right"  ? f.rightArrow()
                      : place == "left" ? f.leftArrow()
                                        : f.cellCentre(QDate(2026, 3, 11));
    const QDate firstShown = f.cal.layout().firstShownMonth;
    QTest::mouseMove(&f.cal, at);
    for (int pair = 0; pair < 2; ++pair) {
        QTest::mouseClick(&f.cal, Qt::LeftButton, {}, at, 120);
        QTest::mouseDClick(&f.cal, Qt::LeftButton, {}, at, 120);
        QTest::mouseRelease(&f.cal, Qt::LeftButton, {}, at);
    }
    QTest::mouseMove(&f.cal, QPoint(-20, -20)); // the pointer away for the next test
    QCOMPARE(f.cal.layout().firstShownMonth, firstShown.addMonths(months));
    QCOMPARE(f.cal.Value(), finalValue);
    QCOMPARE(f.log, events);
}

void TestCalendar::selectedAndTodayColours()
{
    CalendarFixture f(QDate(2026, 3, 20));
    const QDate marked(2026, 3, 10);
    f.cal.SetSelectedDates(
        {GraphicalCalendar::dateText(marked), GraphicalCalendar::dateText(f.cal.Value())});
    f.cal.Refresh();
    const float w = f.cal.layout().dayCellWidth;
    const float h = f.cal.layout().dayCellHeight;

    // The Value cell: default selected back colour (blue) all over.
    const QPointF value = f.cellOrigin(f.cal.Value());
    QCOMPARE(f.pixel(value + QPointF(1, 1)), QColor(Qt::blue));
    QCOMPARE(f.pixel(value + QPointF(w - 1, h - 1)), QColor(Qt::blue));
    // Today's cell: outline in the border colour, inside the back colour.
    const QPointF today = f.cellOrigin(Today);
    QCOMPARE(f.pixel(today), QColor(Qt::red));
    QCOMPARE(f.pixel(today + QPointF(w - 1, h - 1)), QColor(Qt::red));
    QCOMPARE(f.pixel(today + QPointF(1, 1)), colorOf(0xEEEEEE));
    // A marked day (not Value) shows its number in the marking colour.
    const QPointF m = f.cellOrigin(marked);
    int markedPixels = 0;
    for (int y = 0; y < int(h); ++y)
        for (int x = 0; x < int(w); ++x)
            markedPixels += f.pixel(m + QPointF(x, y)) == colorOf(0xCA1300);
    QVERIFY(markedPixels > 0);

    // Selecting another colour, then Refresh: back to blue.
    f.cal.setSelectedBackColor(0x00FF00);
    QCOMPARE(f.pixel(value + QPointF(1, 1)), QColor(Qt::green));
    f.cal.Refresh();
    QCOMPARE(f.cal.SelectedBackColor(), 0xFF0000);
    QCOMPARE(f.pixel(value + QPointF(1, 1)), QColor(Qt::blue));

    // The same month of another year frames today's day number too.
    f.cal.setValue(QDate(2027, 3, 1));
    QCOMPARE(f.pixel(f.cellOrigin(QDate(2027, 3, 15))), QColor(Qt::red));
    QCOMPARE(f.pixel(f.cellOrigin(QDate(2027, 3, 16))), colorOf(0xEEEEEE));
    QCOMPARE(f.cal.Font().bold, false);
}

void TestCalendar::hoverFrame()
{
    CalendarFixture f(QDate(2026, 3, 20));
    QSignalSpy outs(&f.cal, &GraphicalCalendar::MouseOut);
    const QDate day(2026, 3, 11);
    const QPointF o = f.cellOrigin(day);
    const float w = f.cal.layout().dayCellWidth;
    const float h = f.cal.layout().dayCellHeight;
    const QColor light = Draw::toQColor(Draw::sysColor(Draw::COLOR_WINDOW));
    const QColor dark = Draw::toQColor(Draw::sysColor(Draw::COLOR_BTNSHADOW));

    QTest::mouseMove(&f.cal, f.cellCentre(day));
    QCOMPARE(f.pixel(o), light);
    QCOMPARE(f.pixel(o + QPointF(w - 1, h - 1)), dark);
    QCOMPARE(f.pixel(o + QPointF(w - 1, 0)), dark);

    // Moving to another day erases the first frame.
    QTest::mouseMove(&f.cal, f.cellCentre(day.addDays(1)));
    QCOMPARE(f.pixel(o + QPointF(w - 1, h - 1)), colorOf(0xEEEEEE));
    const QPointF o2 = f.cellOrigin(day.addDays(1));
    QCOMPARE(f.pixel(o2 + QPointF(w - 1, h - 1)), dark);

    // Leaving the control erases it and raises MouseOut once.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&f.cal, &leave);
    QCOMPARE(f.pixel(o2 + QPointF(w - 1, h - 1)), colorOf(0xEEEEEE));
    QCOMPARE(outs.size(), 1);
    QApplication::sendEvent(&f.cal, &leave);
    QCOMPARE(outs.size(), 1);
}

void TestCalendar::rightButtonMenu()
{
    CalendarFixture f(QDate(2025, 11, 4));
    QSignalSpy downs(&f.cal, &GraphicalCalendar::MouseDown);
    QSignalSpy ups(&f.cal, &GraphicalCalendar::MouseUp);
    const QPoint at = f.cellCentre(QDate(2025, 11, 20));
    QTest::mousePress(&f.cal, Qt::RightButton, {}, at);
    QCOMPARE(downs.size(), 0);
    QCOMPARE(f.cal.Value(), QDate(2025, 11, 4));
    QTest::mouseRelease(&f.cal, Qt::RightButton, {}, at);
    QCOMPARE(ups.size(), 1);
    QCOMPARE(ups.at(0).at(0).toInt(), 2);
    QVERIFY(f.cal.contextMenu()->isVisible());
    const QList<QAction *> actions = f.cal.contextMenu()->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.at(0)->text(), QString("Dzisiejsza data"));
    actions.at(0)->trigger();
    f.cal.contextMenu()->close();
    QCOMPARE(f.cal.Value(), Today);
    QCOMPARE(f.log, QStringList{"D"});
    actions.at(0)->trigger(); // already today: nothing
    QCOMPARE(f.log, QStringList{"D"});
}

void TestCalendar::sizeRule()
{
    CalendarFixture f;
    const QSize needed = CalendarGeometry::neededSize(f.cal.layout());
    QCOMPARE(f.cal.size(), needed);
    // Wider and taller: centred horizontally, kept at the top.
    f.cal.resize(needed.width() + 41, needed.height() + 30);
    QCOMPARE(f.cal.layout().offsetX, 20.5f);
    QCOMPARE(f.cal.size(), QSize(needed.width() + 41, needed.height() + 30));
    // MouseDown carries X less the centring offset, in twips.
    QSignalSpy downs(&f.cal, &GraphicalCalendar::MouseDown);
    QTest::mouseClick(&f.cal, Qt::LeftButton, {}, QPoint(61, 11));
    QCOMPARE(downs.size(), 1);
    QCOMPARE(downs.at(0).at(2).toFloat(), (60.0f - 20.5f) * Draw::twipsPerPixelX());
    // Smaller: grows back.
    f.cal.resize(10, 10);
    QCOMPARE(f.cal.size(), needed);
    QCOMPARE(f.cal.layout().offsetX, 0.0f);
    // A larger font enlarges the cells and the control.
    const float cell = f.cal.layout().dayCellWidth;
    Draw::StdFont big = f.cal.Font();
    big.size = 14;
    f.cal.setFont(big);
    QVERIFY(f.cal.layout().dayCellWidth > cell);
    QCOMPARE(f.cal.size(), CalendarGeometry::neededSize(f.cal.layout()));
    f.cal.setCols(3);
    QCOMPARE(f.cal.width(), CalendarGeometry::neededSize(f.cal.layout()).width());
}

void TestCalendar::persistence()
{
    CalendarFixture f(QDate(2026, 8, 9), 3);
    f.cal.setRows(2);
    Draw::StdFont font;
    font.name = "Tahoma";
    font.size = 9;
    f.cal.setFont(font);
    PropertyBag bag;
    f.cal.WriteProperties(bag);
    QCOMPARE(bag.keys(), GraphicalCalendar::propertyKeys());
    QVERIFY(bag.keys().contains("SparateLineColor"));
    QCOMPARE(bag.ReadProperty("sparatelinecolor").toInt(), 0x808080);

    GraphicalCalendar other;
    QSignalSpy changes(&other, &GraphicalCalendar::DateChange);
    other.ReadProperties(bag);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(other.BackColor(), 0xEEEEEE);
    QCOMPARE(other.SeparateLineColor(), 0x808080);
    QCOMPARE(other.TodayBorderColor(), 0x0000FF);
    QCOMPARE(other.Font(), font);
    QCOMPARE(other.Value(), QDate(2026, 8, 9));
    QCOMPARE(other.Rows(), 2);
    QCOMPARE(other.Cols(), 3);
    QCOMPARE(other.layout().firstShownMonth, QDate(2026, 8, 1));
    // Unusable stored counts keep what the control has.
    PropertyBag broken;
    broken.WriteProperty("Rows", 0);
    broken.WriteProperty("Cols", 9);
    other.ReadProperties(broken);
    QCOMPARE(other.Rows(), 2);
    QCOMPARE(other.Cols(), 3);
}

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
