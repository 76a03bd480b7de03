#include "controls/MSubclass.h"
#include "controls/cFlatHeader.h"
#include "platform/draw/Gdi.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

namespace {

QColor sys(int index)
{
    return Draw::toQColor(Draw::sysColor(index));
}

// A report-view list with columns of 40 and 60 pixels.
struct ListFixture
{
    QTreeWidget list;
    ListFixture()
    {
        list.setColumnCount(2);
        list.setHeaderLabels({"Nazwisko", "Ilość"});
        list.header()->setStretchLastSection(false);
        list.header()->setSectionsClickable(true);
        list.header()->setSectionsMovable(true);
        list.header()->resizeSection(0, 40);
        list.header()->resizeSection(1, 60);
        list.resize(200, 120);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
    }
    QHeaderView *header() { return list.header(); }
    QImage render() { return header()->viewport()->grab().toImage(); }
};

} // namespace

class TestFlatHeader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flatFrames_data();
    void flatFrames();
    void attachDetach();
    void invalidWindow();
    void thinBorder();
};

void TestFlatHeader::flatFrames_data()
{
    QTest::addColumn<bool>("moved");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("plain") << false << false;
    QTest::newRow("second column pressed") << false << true;
    QTest::newRow("columns reordered") << true << false;
}

void TestFlatHeader::flatFrames()
{
    QFETCH(bool, moved);
    QFETCH(bool, pressed);
    ListFixture f;
    cFlatHeader flat;
    QVERIFY(flat.Attach(&f.list));
    QCOMPARE(flat.header(), f.header());
    if (moved)
        f.header()->moveSection(0, 1);
    const int h = f.header()->height();
    if (pressed)
        QTest::mousePress(f.header()->viewport(), Qt::LeftButton, {}, QPoint(70, h / 2));
    const QImage image = f.render();
    const int firstRight = moved ? 60 : 40; // right end of the first shown column
    const QColor shadow = sys(Draw::COLOR_BTNSHADOW);
    const QColor face = sys(Draw::COLOR_BTNFACE);
    const QColor secondEdge = pressed ? sys(Draw::COLOR_BTNHIGHLIGHT) : shadow;

    // First column: bottom line and right end in the shadow colour.
    QCOMPARE(image.pixelColor(0, h - 1), shadow);
    QCOMPARE(image.pixelColor(firstRight - 1, h - 1), shadow);
    QCOMPARE(image.pixelColor(firstRight - 1, 0), shadow);
    QCOMPARE(image.pixelColor(firstRight, h - 1), secondEdge);
    // The inner shadow of the raised frame is covered with the face colour.
    QCOMPARE(image.pixelColor(1, h - 2), face);
    QCOMPARE(image.pixelColor(firstRight - 2, h - 2), face);
    QCOMPARE(image.pixelColor(firstRight - 2, 1), face);
    // Second column ends at 100.
    QCOMPARE(image.pixelColor(99, h - 1), secondEdge);
    QCOMPARE(image.pixelColor(99, 0), secondEdge);
    QCOMPARE(image.pixelColor(98, h - 2), face);
    // Empty area to the right: inner bottom line in face colour, from 101.
    QCOMPARE(image.pixelColor(101, h - 2), face);
    QCOMPARE(image.pixelColor(image.width() - 1, h - 2), face);
    if (pressed)
        QTest::mouseRelease(f.header()->viewport(), Qt::LeftButton, {}, QPoint(70, h / 2));
}

void TestFlatHeader::attachDetach()
{
    ListFixture a, b;
    QWidget *surfaceA = a.header()->viewport();
    QWidget *surfaceB = b.header()->viewport();
    {
        cFlatHeader flat;
        // The header itself works as well as its list view.
        QVERIFY(flat.Attach(a.header()));
        QCOMPARE(flat.header(), a.header());
        QVERIFY(MSubclass::IsSubclassed(surfaceA));
        // A second Attach lets go of the first header.
        QVERIFY(flat.Attach(&b.list));
        QVERIFY(!MSubclass::IsSubclassed(surfaceA));
        QVERIFY(MSubclass::IsSubclassed(surfaceB));
        flat.Detach();
        QVERIFY(!flat.header());
        QVERIFY(!MSubclass::IsSubclassed(surfaceB));
        flat.Detach(); // nothing attached: nothing happens
        QVERIFY(flat.Attach(&a.list));
    }
    // Released: detached.
    QVERIFY(!MSubclass::IsSubclassed(surfaceA));
}

void TestFlatHeader::invalidWindow()
{
    ListFixture f;
    QLabel noHeader;
    cFlatHeader flat;
    QVERIFY(flat.Attach(&f.list));
    for (QWidget *w : {static_cast<QWidget *>(&noHeader), static_cast<QWidget *>(nullptr)}) {
        MSubclass::Error error;
        QVERIFY(!flat.Attach(w, &error));
        QCOMPARE(error.number, 26020);
        QCOMPARE(error.description, QString("Invalid Window Passed to FlatHeader"));
        QVERIFY(error.source.endsWith(".FlatHeader"));
        QVERIFY(!flat.header());
    }
    // The failed Attach detached the earlier header first.
    QVERIFY(!MSubclass::IsSubclassed(f.header()->viewport()));
    flat.Detach();
}

void TestFlatHeader::thinBorder()
{
    ListFixture f;
    cFlatHeader flat;
    flat.ThinBorder(&f.list, true);
    QCOMPARE(f.list.frameShape(), QFrame::Panel);
    QCOMPARE(f.list.frameShadow(), QFrame::Sunken);
    QCOMPARE(f.list.frameWidth(), 1);
    flat.ThinBorder(&f.list, false);
    QCOMPARE(f.list.frameShape(), QFrame::WinPanel);
    QCOMPARE(f.list.frameWidth(), 2);
}

QTEST_MAIN(TestFlatHeader)
#include "tst_flatheader.moc"
