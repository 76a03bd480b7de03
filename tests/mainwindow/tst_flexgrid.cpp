#include "core/ui/FlexGrid.h"
#include "tests/support/InkBounds.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

// The roster grid: geometry with a fixed header row and day column,
// scrolling by cells, colours as painted, its saved state.
class TestFlexGrid : public QObject
{
    Q_OBJECT

    static FlexGridGeometry sample(int topRow, int leftCol)
    {
        FlexGridGeometry g;
        g.colWidths = {30, 50, 50, 50};
        g.rowHeights = {40, 20, 20, 20, 20};
        g.topRow = topRow;
        g.leftCol = leftCol;
        return g;
    }

private Q_SLOTS:
    void cellAt_data()
    {
        QTest::addColumn<int>("topRow");
        QTest::addColumn<int>("leftCol");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QPoint>("cell"); // (col, row)
        QTest::newRow("corner") << 1 << 1 << QPoint(5, 5) << QPoint(0, 0);
        QTest::newRow("first cell") << 1 << 1 << QPoint(30, 40) << QPoint(1, 1);
        QTest::newRow("last edge pixel") << 1 << 1 << QPoint(79, 59) << QPoint(1, 1);
        QTest::newRow("scrolled") << 3 << 2 << QPoint(35, 45) << QPoint(2, 3);
        QTest::newRow("header stays when scrolled") << 3 << 2 << QPoint(85, 10) << QPoint(3, 0);
        QTest::newRow("day column stays") << 3 << 2 << QPoint(10, 65) << QPoint(0, 4);
        QTest::newRow("beyond last column") << 1 << 1 << QPoint(181, 45) << QPoint(-1, -1);
        QTest::newRow("beyond last row") << 3 << 1 << QPoint(40, 81) << QPoint(-1, -1);
    }
    void cellAt()
    {
        QFETCH(int, topRow);
        QFETCH(int, leftCol);
        QFETCH(QPoint, pos);
        QFETCH(QPoint, cell);
        const FlexGridGeometry g = sample(topRow, leftCol);
        QCOMPARE(g.cellAt(pos), cell);
        if (cell.x() >= 0)
            QVERIFY(g.cellRect(cell.y(), cell.x()).contains(pos));
    }

    void scrolledOutCells()
    {
        const FlexGridGeometry g = sample(3, 2);
        QVERIFY(g.cellRect(1, 1).isEmpty());
        QVERIFY(g.cellRect(2, 3).isEmpty());
        QCOMPARE(g.cellRect(0, 0), QRect(0, 0, 30, 40));
        QCOMPARE(g.cellRect(3, 2), QRect(30, 40, 50, 20));
        // Rows 2..4 (60 px) fit below a 40 px header in 100 px, rows 1..4 do not.
        QCOMPARE(g.maxTopRow(100), 2);
        QCOMPARE(g.maxTopRow(1000), 1);
        QCOMPARE(g.maxLeftCol(130), 2);
        QCOMPARE(g.maxLeftCol(179), 2);
        QCOMPARE(g.maxLeftCol(180), 1);
    }

    void rowsColumnsAndState()
    {
        FlexGrid grid;
        grid.setRows(1);
        grid.setCols(3);
        grid.setText(0, 2, QStringLiteral("Patrol"));
        grid.setColData(2, 5000000000LL);
        grid.addItem(QStringLiteral("1\r\nśr."));
        grid.addItem(QStringLiteral("2\r\nczw."));
        QCOMPARE(grid.rows(), 3);
        QCOMPARE(grid.text(2, 0), QStringLiteral("2\r\nczw."));
        QCOMPARE(grid.colData(2), 5000000000LL);
        QCOMPARE(grid.text(7, 7), QString());

        const FlexGrid::State saved = grid.saveState();
        grid.setText(1, 1, QStringLiteral("Nowak Jan"));
        grid.setCellBackColor(1, 1, Qt::red);
        grid.setRows(10);
        grid.restoreState(saved);
        QCOMPARE(grid.rows(), 3);
        QCOMPARE(grid.text(1, 1), QString());
        QCOMPARE(grid.cellBackColor(1, 1), QColor());

        grid.setRowHeight(1, 44);
        grid.setText(1, 1, QStringLiteral("x"));
        grid.clear();
        QCOMPARE(grid.text(0, 2), QString());
        QCOMPARE(grid.rowHeight(1), 44);
        QCOMPARE(grid.rows(), 3);
    }

    void scrollingClamps()
    {
        FlexGrid grid;
        grid.resize(200, 150);
        grid.show();
        grid.setRows(32);
        grid.setCols(6);
        grid.setTopRow(0);
        QCOMPARE(grid.topRow(), 1);
        grid.setTopRow(10);
        QCOMPARE(grid.topRow(), 10);
        grid.setTopRow(1000);
        QVERIFY(grid.topRow() < 32);
        QVERIFY(grid.topRow() > 10);
        grid.setLeftCol(-3);
        QCOMPARE(grid.leftCol(), 1);
    }

    void paintsCellColoursAndDoubleClick()
    {
        FlexGrid grid;
        grid.setRows(3);
        grid.setCols(3);
        for (int c = 0; c < 3; ++c)
            grid.setColWidth(c, 40);
        for (int r = 0; r < 3; ++r)
            grid.setRowHeight(r, 30);
        grid.resize(200, 150);
        grid.setCellBackColor(1, 0, QColor(255, 192, 192));
        grid.setCellBackColor(2, 2, QColor(236, 136, 76));
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.viewport()->render(&image);
        QCOMPARE(QColor(image.pixel(10, 40)), QColor(255, 192, 192));
        QCOMPARE(QColor(image.pixel(100, 75)), QColor(236, 136, 76));
        QVERIFY(QColor(image.pixel(60, 40)) != QColor(236, 136, 76));

        QSignalSpy spy(&grid, &FlexGrid::cellDoubleClicked);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(95, 70));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().at(0).toInt(), 2);
        QCOMPARE(spy.first().at(1).toInt(), 2);
        QCOMPARE(grid.row(), 2);
        QCOMPARE(grid.col(), 2);
    }

    // Every cell that shows, whole or cut at the viewport's edge, is painted
    // in its own colour where the geometry puts it; beyond the last cell the
    // grid's background shows.
    void paintsShownCells_data()
    {
        QTest::addColumn<int>("topRow");
        QTest::addColumn<int>("leftCol");
        QTest::addColumn<QSize>("size");
        QTest::newRow("from the start") << 1 << 1 << QSize(300, 200);
        QTest::newRow("scrolled, cut at both edges") << 6 << 4 << QSize(233, 157);
        QTest::newRow("scrolled to the end") << 18 << 9 << QSize(400, 300);
        QTest::newRow("larger than the grid") << 1 << 1 << QSize(1200, 1200);
    }
    void paintsShownCells()
    {
        QFETCH(int, topRow);
        QFETCH(int, leftCol);
        QFETCH(QSize, size);
        FlexGrid grid;
        grid.setRows(20);
        grid.setCols(12);
        grid.setBackColorBkg(QColor(1, 2, 3));
        auto colour = [](int r, int c) { return QColor(40 + 10 * r, 60 + 15 * c, 200); };
        for (int c = 0; c < grid.cols(); ++c)
            grid.setColWidth(c, 30 + 7 * (c % 4));
        for (int r = 0; r < grid.rows(); ++r) {
            grid.setRowHeight(r, 15 + 4 * (r % 3));
            for (int c = 0; c < grid.cols(); ++c)
                grid.setCellBackColor(r, c, colour(r, c));
        }
        grid.resize(size);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setTopRow(topRow);
        grid.setLeftCol(leftCol);

        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.viewport()->render(&image);
        const FlexGridGeometry g = grid.layout();
        const QRect shown = image.rect();
        int cells = 0;
        QRect covered;
        for (int r = 0; r < grid.rows(); ++r) {
            for (int c = 0; c < grid.cols(); ++c) {
                const QRect cell = g.cellRect(r, c);
                if (cell.isEmpty() || !cell.intersects(shown))
                    continue;
                ++cells;
                covered |= cell & shown;
                const QPoint inside = (cell & shown).topLeft() + QPoint(1, 1);
                QCOMPARE(QColor(image.pixel(inside)), colour(r, c));
            }
        }
        QVERIFY(cells > 4);
        if (covered.right() + 1 < shown.width())
            QCOMPARE(QColor(image.pixel(shown.width() - 1, 0)), QColor(1, 2, 3));
        if (covered.bottom() + 1 < shown.height())
            QCOMPARE(QColor(image.pixel(0, shown.height() - 1)), QColor(1, 2, 3));
    }

    // Ordinary cells place their text by their column's alignment; fixed
    // cells stay centred; the alignment is part of the saved state.
    void columnAlignment_data()
    {
        QTest::addColumn<bool>("set");
        QTest::addColumn<Qt::Alignment>("alignment");
        QTest::newRow("left and vertically centred, unless set") << false << Qt::Alignment();
        QTest::newRow("centred") << true << Qt::Alignment(Qt::AlignCenter);
        QTest::newRow("left and vertically centred") << true << (Qt::AlignLeft | Qt::AlignVCenter);
    }
    void columnAlignment()
    {
        QFETCH(bool, set);
        QFETCH(Qt::Alignment, alignment);
        FlexGrid grid;
        grid.setRows(3);
        grid.setCols(2);
        grid.setColWidth(1, 150);
        for (int r = 0; r < 3; ++r)
            grid.setRowHeight(r, 40);
        grid.resize(300, 200);
        grid.setText(0, 1, QStringLiteral("Ilość"));
        grid.setText(1, 1, QStringLiteral("12"));
        if (set) {
            const FlexGrid::State plain = grid.saveState();
            grid.setColAlignment(1, alignment);
            const FlexGrid::State aligned = grid.saveState();
            grid.restoreState(plain);
            QCOMPARE(grid.colAlignment(1), Qt::AlignLeft | Qt::AlignVCenter);
            grid.restoreState(aligned);
        }
        QCOMPARE(grid.colAlignment(1), set ? alignment : Qt::AlignLeft | Qt::AlignVCenter);

        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.viewport()->render(&image);
        // Inside the grid lines at the right and bottom edge.
        auto ink = [&](int row) {
            return TestSupport::inkBounds(image,
                                          grid.layout().cellRect(row, 1).adjusted(0, 0, -2, -2));
        };
        const QRect cell = grid.layout().cellRect(1, 1).adjusted(0, 0, -1, -1);
        const QRect text = ink(1);
        QVERIFY(!text.isEmpty());
        QVERIFY2(std::abs(text.center().y() - cell.center().y()) <= 2, "vertically centred");
        if (alignment & Qt::AlignHCenter)
            QVERIFY2(std::abs(text.center().x() - cell.center().x()) <= 2, "centred");
        else
            QVERIFY2(text.left() - cell.left() <= 5, "at the left edge");
        const QRect header = ink(0);
        const QRect headerCell = grid.layout().cellRect(0, 1).adjusted(0, 0, -1, -1);
        QVERIFY2(std::abs(header.center().x() - headerCell.center().x()) <= 2, "header centred");
    }

    // A column out of view is laid out when it comes into view: its rows
    // then grow to its texts, and stay so when it scrolls out again.
    void rowsGrowAsColumnsShow()
    {
        FlexGrid grid;
        grid.setRows(3);
        grid.setCols(12);
        grid.setWordWrap(true);
        for (int c = 0; c < grid.cols(); ++c)
            grid.setColWidth(c, 90);
        const int line = grid.fontMetrics().height();
        grid.setText(1, 1, QStringLiteral("Kowalski Jan"));
        grid.setText(1, 11, QStringLiteral("Nowak Adam\r\n\r\nWiśniewski Piotr\r\n\r\nLis Ewa"));
        grid.setText(2, 11, QStringLiteral("Zając Olga"));
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.growRowsToText(1);
        const int oneLine = grid.rowHeight(1);
        QVERIFY(oneLine < 2 * line);

        // The right arrow walks the current cell to the last column.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.layout().cellRect(1, 1).center());
        for (int c = 1; c < grid.cols() - 1; ++c)
            QTest::keyClick(&grid, Qt::Key_Right);
        QCOMPARE(grid.col(), 11);
        QVERIFY(!grid.layout().cellRect(1, 11).isEmpty());
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        grid.viewport()->render(&image);
        QVERIFY(grid.rowHeight(1) >= 5 * line);
        QCOMPARE(grid.rowHeight(1), grid.textHeight(1, 11));
        QCOMPARE(grid.rowHeight(2), std::max(oneLine, grid.textHeight(2, 11)));
        const int tall = grid.rowHeight(1);
        grid.setLeftCol(1);
        grid.viewport()->render(&image);
        QCOMPARE(grid.rowHeight(1), tall);
    }

    // What a cell needs is laid out anew when its text, its column's width,
    // the font or the word wrap changes, and not otherwise.
    void rowsGrowAfterChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("longer text") << "text";
        QTest::newRow("narrower column") << "width";
        QTest::newRow("larger font") << "font";
        QTest::newRow("word wrap on") << "wrap";
    }
    void rowsGrowAfterChanges()
    {
        QFETCH(QString, change);
        FlexGrid grid;
        grid.setRows(2);
        grid.setCols(2);
        grid.setWordWrap(change != u"wrap");
        grid.setColWidth(1, 200);
        grid.setText(1, 1, QStringLiteral("Kowalski Jan Maria"));
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.growRowsToText(1);
        const int before = grid.rowHeight(1);
        grid.growRowsToText(1);
        QCOMPARE(grid.rowHeight(1), before);

        if (change == u"text") {
            grid.setText(1, 1, QStringLiteral("Kowalski Jan\r\nNowak Adam"));
        } else if (change == u"width") {
            grid.setColWidth(1, 40);
        } else if (change == u"font") {
            QFont font = grid.font();
            font.setPointSizeF(font.pointSizeF() * 2.5);
            grid.setFont(font);
        } else {
            grid.setColWidth(1, 40);
            grid.growRowsToText(1);
            QCOMPARE(grid.rowHeight(1), before); // one line, cut at the edge
            grid.setWordWrap(true);
        }
        grid.growRowsToText(1);
        QVERIFY2(grid.rowHeight(1) > before,
                 qPrintable(QStringLiteral("%1 after %2").arg(grid.rowHeight(1)).arg(before)));
    }

    void rowsGrowToText()
    {
        FlexGrid grid;
        grid.setRows(2);
        grid.setCols(2);
        grid.setWordWrap(true);
        grid.setColWidth(1, 80);
        grid.setRowHeight(1, 10);
        grid.setText(1, 1, QStringLiteral("Kowalski Jan\r\n\r\nNowak Adam"));
        grid.growRowsToText(1);
        QVERIFY(grid.rowHeight(1) >= 3 * grid.fontMetrics().height());
        grid.setText(1, 1, QString());
        const int height = grid.rowHeight(1);
        grid.growRowsToText(1);
        QCOMPARE(grid.rowHeight(1), height);
    }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
