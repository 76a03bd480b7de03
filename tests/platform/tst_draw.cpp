#include "platform/draw/DeviceContext.h"
#include "platform/draw/ImageList.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

using namespace Draw;

namespace {

constexpr ColorRef White = 0xFFFFFF;
constexpr ColorRef Red = 0x0000FF;
constexpr ColorRef Blue = 0xFF0000;

// A white canvas with its context.
struct Canvas
{
    explicit Canvas(int w = 40, int h = 30, QImage::Format format = QImage::Format_RGB32)
        : image(w, h, format), dc(&image, 96, 96)
    {
        image.fill(Qt::white);
    }
    int count(ColorRef c) const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += dc.getPixel(x, y) == c ? 1 : 0;
        return n;
    }
    // Bounding box of the non-white pixels.
    QRect inked() const
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (dc.getPixel(x, y) != White)
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    QImage image;
    DeviceContext dc;
};

} // namespace

class TestDraw : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rounding_data();
    void rounding();
    void mulDivRounds_data();
    void mulDivRounds();
    void systemColours_data();
    void systemColours();
    void linesLeaveOutEndPixel_data();
    void linesLeaveOutEndPixel();
    void rectangleCoversToRightMinusOne();
    void fillRectAndPixels();
    void drawTextMeasures_data();
    void drawTextMeasures();
    void drawTextAligns_data();
    void drawTextAligns();
    void drawTextPrefix();
    void transparentBltSkipsKeyColour();
    void fontsFallBack();
    void imageListKeys();
};

void TestDraw::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5 to even 0") << 0.5 << 0;
    QTest::newRow("1.5 to even 2") << 1.5 << 2;
    QTest::newRow("2.5 to even 2") << 2.5 << 2;
    QTest::newRow("-0.5 to 0") << -0.5 << 0;
    QTest::newRow("-1.5 to -2") << -1.5 << -2;
    QTest::newRow("2.4") << 2.4 << 2;
    QTest::newRow("2.6") << 2.6 << 3;
}

void TestDraw::rounding()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(roundPixel(value), expected);
}

void TestDraw::mulDivRounds_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("8pt at 96 dpi") << 8 << 96 << 72 << 11;
    QTest::newRow("25pt at 96 dpi") << 25 << 96 << 72 << 33;
    QTest::newRow("half away from zero") << 3 << 1 << 2 << 2;
    QTest::newRow("negative half") << -3 << 1 << 2 << -2;
    QTest::newRow("divide by zero") << 1 << 1 << 0 << -1;
}

void TestDraw::mulDivRounds()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(mulDiv(a, b, c), expected);
}

void TestDraw::systemColours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("role");
    QTest::newRow("button face") << int(COLOR_BTNFACE) << int(QPalette::Button);
    QTest::newRow("button shadow") << int(COLOR_BTNSHADOW) << int(QPalette::Dark);
    QTest::newRow("window") << int(COLOR_WINDOW) << int(QPalette::Base);
    QTest::newRow("window text") << int(COLOR_WINDOWTEXT) << int(QPalette::WindowText);
    QTest::newRow("highlight") << int(COLOR_HIGHLIGHT) << int(QPalette::Highlight);
}

void TestDraw::systemColours()
{
    QFETCH(int, index);
    QFETCH(int, role);
    // Distinct colours per role so that a wrong mapping shows.
    QPalette pal;
    for (int r = 0; r < QPalette::NColorRoles; ++r)
        pal.setColor(QPalette::ColorRole(r), QColor(10 + r * 7, 200 - r * 5, 3 * r));
    const QPalette saved = QGuiApplication::palette();
    QGuiApplication::setPalette(pal);
    const ColorRef expected = fromQColor(pal.color(QPalette::Active, QPalette::ColorRole(role)));
    QCOMPARE(sysColor(index), expected);
    QCOMPARE(resolveColor(qint32(0x80000000u | unsigned(index))), expected);
    QGuiApplication::setPalette(saved);
    QCOMPARE(resolveColor(8611911), ColorRef(0x836847));
}

void TestDraw::linesLeaveOutEndPixel_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("pixels");
    QTest::newRow("horizontal") << QPoint(2, 5) << QPoint(12, 5) << 10;
    QTest::newRow("vertical") << QPoint(3, 1) << QPoint(3, 21) << 20;
    QTest::newRow("leftwards") << QPoint(12, 5) << QPoint(2, 5) << 10;
    QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(8, 8) << 8;
    QTest::newRow("single point") << QPoint(4, 4) << QPoint(4, 4) << 0;
    QTest::newRow("upwards") << QPoint(7, 20) << QPoint(7, 2) << 18;
    // Cut off by the canvas (40 x 30) on either side.
    QTest::newRow("horizontal, both ends out") << QPoint(-5, 3) << QPoint(60, 3) << 40;
    QTest::newRow("leftwards from outside") << QPoint(50, 8) << QPoint(30, 8) << 9;
    QTest::newRow("vertical, both ends out") << QPoint(39, -4) << QPoint(39, 35) << 30;
    QTest::newRow("upwards into the canvas") << QPoint(0, -1) << QPoint(0, -10) << 0;
    QTest::newRow("below the canvas") << QPoint(1, 30) << QPoint(20, 30) << 0;
}

void TestDraw::linesLeaveOutEndPixel()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, pixels);
    Canvas c;
    c.dc.selectPen(c.dc.createPen(PS_SOLID, 1, Red));
    c.dc.polyline({from, to});
    QCOMPARE(c.count(Red), pixels);
    if (pixels > 0 && c.image.rect().contains(from))
        QCOMPARE(c.dc.getPixel(from.x(), from.y()), Red);
    if (pixels > 0 && c.image.rect().contains(to))
        QCOMPARE(c.dc.getPixel(to.x(), to.y()), White);
    // MoveTo/LineTo: the same pixels.
    Canvas m;
    m.dc.selectPen(m.dc.createPen(PS_SOLID, 1, Red));
    m.dc.moveTo(from.x(), from.y());
    m.dc.lineTo(to.x(), to.y());
    QCOMPARE(m.image, c.image);
    QCOMPARE(m.dc.currentPosition(), to);
    // An image of another format is drawn pixel by pixel: the same pixels.
    Canvas p(40, 30, QImage::Format_RGB888);
    p.dc.selectPen(p.dc.createPen(PS_SOLID, 1, Red));
    p.dc.polyline({from, to});
    QCOMPARE(p.image.convertToFormat(QImage::Format_RGB32), c.image);
}

void TestDraw::rectangleCoversToRightMinusOne()
{
    Canvas c;
    c.dc.selectPen(c.dc.createPen(PS_SOLID, 1, Red));
    c.dc.selectBrush(c.dc.createSolidBrush(Blue));
    c.dc.rectangle(2, 3, 12, 9);
    QCOMPARE(c.inked(), QRect(QPoint(2, 3), QPoint(11, 8)));
    QCOMPARE(c.dc.getPixel(2, 3), Red);
    QCOMPARE(c.dc.getPixel(11, 8), Red);
    QCOMPARE(c.dc.getPixel(3, 4), Blue);
    QCOMPARE(c.dc.getPixel(10, 7), Blue);
    QCOMPARE(c.count(Blue), 8 * 4);

    // With a hollow brush only the outline.
    Canvas h;
    h.dc.selectPen(h.dc.createPen(PS_SOLID, 1, Red));
    h.dc.selectBrush(h.dc.nullBrush());
    h.dc.rectangle(0, 0, 5, 5);
    QCOMPARE(h.count(Red), 16);
}

void TestDraw::fillRectAndPixels()
{
    Canvas c;
    c.dc.fillRect(Rect{1, 1, 4, 3}, Blue);
    QCOMPARE(c.count(Blue), 3 * 2);
    QCOMPARE(c.inked(), QRect(1, 1, 3, 2));
    c.dc.fillRect(Rect{5, 5, 5, 9}, Blue); // empty
    QCOMPARE(c.count(Blue), 6);
    QCOMPARE(c.dc.setPixel(0, 0, Red), Red);
    QCOMPARE(c.dc.getPixel(0, 0), Red);
    QCOMPARE(c.dc.getPixel(-1, 0), ClrInvalid);
    QCOMPARE(c.dc.getPixel(40, 0), ClrInvalid);
}

void TestDraw::drawTextMeasures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << "Abc" << unsigned(DT_CALCRECT) << 1 << 1;
    QTest::newRow("CR LF starts a line") << "Abc\r\ndef" << unsigned(DT_CALCRECT) << 1 << 2;
    QTest::newRow("final CR LF adds none") << "Abc\r\n" << unsigned(DT_CALCRECT) << 1 << 1;
    QTest::newRow("single line folds")
        << "Abc\r\ndef" << unsigned(DT_CALCRECT | DT_SINGLELINE) << 1 << 1;
    QTest::newRow("word break") << "aaa bbb ccc" << unsigned(DT_CALCRECT | DT_WORDBREAK) << 5 << 3;
    QTest::newRow("no break without flag") << "aaa bbb ccc" << unsigned(DT_CALCRECT) << 5 << 1;
    QTest::newRow("empty") << "" << unsigned(DT_CALCRECT) << 10 << 0;
}

void TestDraw::drawTextMeasures()
{
    QFETCH(QString, text);
    QFETCH(unsigned, format);
    QFETCH(int, width);
    QFETCH(int, lines);
    Canvas c;
    Rect r{0, 0, width, 0};
    const int h = c.dc.drawText(text, r, format);
    QCOMPARE(h, lines * c.dc.lineHeight());
    QCOMPARE(r.bottom, h);
    QCOMPARE(c.count(White), 40 * 30); // measuring draws nothing
}

void TestDraw::drawTextAligns_data()
{
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<QString>("where");
    QTest::newRow("left") << unsigned(DT_LEFT | DT_SINGLELINE) << "left";
    QTest::newRow("right") << unsigned(DT_RIGHT | DT_SINGLELINE) << "right";
    QTest::newRow("centre") << unsigned(DT_CENTER | DT_SINGLELINE) << "centre";
    QTest::newRow("centre middle") << unsigned(DT_CENTER | DT_VCENTER | DT_SINGLELINE) << "middle";
    QTest::newRow("bottom") << unsigned(DT_BOTTOM | DT_SINGLELINE) << "bottom";
}

void TestDraw::drawTextAligns()
{
    QFETCH(unsigned, format);
    QFETCH(QString, where);
    Canvas c(120, 60);
    c.dc.setTextColor(0);
    Rect r{10, 5, 110, 55};
    c.dc.drawText(QStringLiteral("HHH"), r, format);
    const QRect ink = c.inked();
    QVERIFY(!ink.isEmpty());
    QVERIFY(QRect(10, 5, 100, 50).contains(ink));
    const int lh = c.dc.lineHeight();
    if (where == QLatin1String("left"))
        QVERIFY(ink.left() <= 12);
    if (where == QLatin1String("right"))
        QVERIFY(ink.right() >= 106);
    if (where == QLatin1String("centre") || where == QLatin1String("middle"))
        QVERIFY(qAbs((ink.left() + ink.right()) / 2 - 60) <= 2);
    if (where == QLatin1String("middle"))
        QVERIFY(ink.top() > 5 + (50 - lh) / 2 - 1 && ink.bottom() < 5 + (50 + lh) / 2 + 1);
    else if (where == QLatin1String("bottom"))
        QVERIFY(ink.top() >= 55 - lh);
    else
        QVERIFY(ink.bottom() < 5 + lh);
}

void TestDraw::drawTextPrefix()
{
    // "&&" shows one ampersand: the same ink as the text drawn without prefixes.
    Canvas a(100, 20), b(100, 20);
    Rect ra{0, 0, 100, 20}, rb{0, 0, 100, 20};
    a.dc.drawText(QStringLiteral("a&&b"), ra, DT_SINGLELINE);
    b.dc.drawText(QStringLiteral("a&b"), rb, DT_SINGLELINE | DT_NOPREFIX);
    QCOMPARE(a.image, b.image);
    // A single "&" is not shown: narrower than the text with it.
    Rect m1{0, 0, 100, 0}, m2{0, 0, 100, 0};
    a.dc.drawText(QStringLiteral("&ab"), m1, DT_CALCRECT | DT_SINGLELINE);
    a.dc.drawText(QStringLiteral("ab"), m2, DT_CALCRECT | DT_SINGLELINE);
    QCOMPARE(m1.right, m2.right);
}

void TestDraw::transparentBltSkipsKeyColour()
{
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    Canvas c(10, 10);
    c.dc.transparentBlt(2, 3, 4, 2, picture, 0, 0, 4, 2, Red);
    QCOMPARE(c.count(Blue), 1);
    QCOMPARE(c.dc.getPixel(3, 3), Blue);
    QCOMPARE(c.count(Red), 0);
    // Opaque copy, stretched to twice the size.
    Canvas s(10, 10);
    s.dc.stretchBlt(0, 0, 8, 4, picture, 0, 0, 4, 2);
    QCOMPARE(s.count(Red), 28);
    QCOMPARE(s.count(Blue), 4);
}

void TestDraw::fontsFallBack()
{
    QCOMPARE(DeviceContext::resolveFamily(QStringLiteral("Trebuchet MS")),
             QStringLiteral("DejaVu Sans"));
    QCOMPARE(DeviceContext::resolveFamily(QStringLiteral("DejaVu Serif")),
             QStringLiteral("DejaVu Serif"));
    Canvas c;
    LogFont lf;
    lf.faceName = QStringLiteral("Tahoma");
    lf.height = -20;
    lf.weight = 700;
    c.dc.selectFont(c.dc.createFontIndirect(lf));
    QCOMPARE(c.dc.qfont().pixelSize(), 20);
    QCOMPARE(c.dc.qfont().weight(), QFont::Bold);
    QCOMPARE(c.dc.currentFont()->faceName, QStringLiteral("Tahoma"));
    QCOMPARE(c.dc.deviceCaps(LOGPIXELSY), 96);
}

void TestDraw::imageListKeys()
{
    ImageList list;
    QImage a(2, 2, QImage::Format_RGB32), b(3, 3, QImage::Format_RGB32);
    QVERIFY(list.add(a, QStringLiteral("new")));
    QVERIFY(!list.add(b, QStringLiteral("NEW")));
    QVERIFY(list.add(b));
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.picture(QStringLiteral("New")).size(), QSize(2, 2));
    QCOMPARE(list.picture(2).size(), QSize(3, 3));
    QVERIFY(list.picture(QStringLiteral("x")).isNull());
    QVERIFY(list.picture(3).isNull());
}

QTEST_MAIN(TestDraw)
#include "tst_draw.moc"
