#include "controls/DCStyles.h"
#include "controls/TextEdit.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

using namespace Draw;

namespace {

struct Canvas
{
    explicit Canvas(int w = 300, int h = 300)
        : image(w, h, QImage::Format_RGB32), dc(&image, 96, 96)
    {
        image.fill(Qt::white);
    }
    QRect inked() const
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (dc.getPixel(x, y) != 0xFFFFFF)
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    QImage image;
    DeviceContext dc;
};

StdFont font(const QString &name, double size, bool bold = false)
{
    StdFont f;
    f.name = name;
    f.size = size;
    f.setBold(bold);
    return f;
}

} // namespace

class TestTextEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void gradientSteps_data();
    void gradientSteps();
    void fillRectColor_data();
    void fillRectColor();
    void penReuse();
    void killPenAndFontAllowReselect();
    void changeColorOnlyWhenDifferent();
    void drawTextHeight();
    void ampersandShown();
    void secondLineAtSevenPoints();
    void measuring();
    void colourRecords();
};

void TestTextEdit::gradientSteps_data()
{
    QTest::addColumn<RGBTriple>("from");
    QTest::addColumn<RGBTriple>("to");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("vertical");
    // Expected colour of line i as (r, g, b) per line, computed by the test.
    QTest::newRow("black to white, 256 lines, one step each")
        << TextEdit::MakeRGB(0, 0, 0) << TextEdit::MakeRGB(255, 255, 255) << 256 << true;
    QTest::newRow("one colour") << TextEdit::MakeRGB(10, 20, 30) << TextEdit::MakeRGB(10, 20, 30)
                                << 50 << false;
    QTest::newRow("two lines") << TextEdit::MakeRGB(1, 2, 3) << TextEdit::MakeRGB(200, 100, 50) << 2
                               << true;
    QTest::newRow("one line gets the start colour")
        << TextEdit::MakeRGB(7, 8, 9) << TextEdit::MakeRGB(200, 100, 50) << 1 << true;
    QTest::newRow("mixed channels")
        << TextEdit::MakeRGB(118, 156, 184) << TextEdit::MakeRGB(164, 189, 206) << 7 << false;
}

void TestTextEdit::gradientSteps()
{
    QFETCH(RGBTriple, from);
    QFETCH(RGBTriple, to);
    QFETCH(int, lines);
    QFETCH(bool, vertical);
    Canvas c(260, 260);
    const int penBefore = c.dc.currentPen()->color;
    if (vertical)
        TextEdit::GradientFill(&c.dc, from, to, 2, 1, 5, float(lines), true);
    else
        TextEdit::GradientFill(&c.dc, from, to, 1, 2, float(lines), 5, false);
    QCOMPARE(int(c.dc.currentPen()->color), penBefore); // pen put back

    auto at = [&](int i, int across) {
        return vertical ? c.dc.getPixel(2 + across, 1 + i) : c.dc.getPixel(1 + i, 2 + across);
    };
    for (int i = 0; i < lines; ++i) {
        ColorRef expected;
        if (i == 0)
            expected = rgb(from.Red, from.Green, from.Blue);
        else if (i == lines - 1)
            expected = rgb(to.Red, to.Green, to.Blue);
        else {
            auto ch = [&](int a, int b) {
                const float step = float(b - a) / float(lines - 1);
                return a + int(std::nearbyint(float(i) * step));
            };
            expected = rgb(ch(from.Red, to.Red), ch(from.Green, to.Green), ch(from.Blue, to.Blue));
        }
        QCOMPARE(at(i, 0), expected);
        QCOMPARE(at(i, 4), expected);
    }
    // Nothing beyond the span or the breadth.
    QCOMPARE(at(lines, 0), ColorRef(0xFFFFFF));
    QCOMPARE(at(0, 5), ColorRef(0xFFFFFF));
    if (lines == 256)
        QCOMPARE(at(100, 0), rgb(100, 100, 100));
}

void TestTextEdit::fillRectColor_data()
{
    QTest::addColumn<qint32>("colour");
    QTest::addColumn<bool>("system");
    QTest::newRow("button face") << qint32(0x8000000F) << true;
    QTest::newRow("button shadow") << qint32(0x80000010) << true;
    QTest::newRow("toolbar back colour") << qint32(8611911) << false;
    QTest::newRow("black") << qint32(0) << false;
}

void TestTextEdit::fillRectColor()
{
    QFETCH(qint32, colour);
    QFETCH(bool, system);
    QPalette pal = QApplication::palette();
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::Dark, QColor(4, 5, 6));
    QApplication::setPalette(pal);
    Canvas c(20, 20);
    TextEdit::FillRectColor(&c.dc, 2, 3, 4.5f, 5, colour);
    ColorRef expected = ColorRef(colour);
    if (system)
        expected = colour == qint32(0x8000000F) ? rgb(1, 2, 3) : rgb(4, 5, 6);
    QCOMPARE(c.dc.getPixel(2, 3), expected);
    QCOMPARE(c.dc.getPixel(5, 7), expected);
    // 2 + 4.5 rounds to 6 (halves to even): columns 2 to 5.
    QCOMPARE(c.inked(), QRect(2, 3, 4, 5));
    // -1 is no system colour and is passed on: it fills nothing.
    Canvas d(20, 20);
    TextEdit::FillRectColor(&d.dc, 0, 0, 5, 5, -1);
    QVERIFY(d.inked().isEmpty());
}

void TestTextEdit::penReuse()
{
    Canvas c(10, 10);
    const Pen own = c.dc.currentPen();
    {
        DCStyles styles(&c.dc);
        styles.ChangePen(1, 0x0000FF);
        styles.ChangePen(1, 0x0000FF);
        QCOMPARE(c.dc.createdPens(), 1);
        styles.ChangePen(0, 0x00FF00); // width 0: nothing
        QCOMPARE(c.dc.createdPens(), 1);
        styles.ChangePen(2, 0x0000FF);
        QCOMPARE(c.dc.createdPens(), 2);
        QCOMPARE(c.dc.currentPen()->width, 2);
        styles.ChangePen(1, qint32(0x80000010)); // system colour resolved
        QCOMPARE(c.dc.currentPen()->color, sysColor(COLOR_BTNSHADOW));
        styles.KillPen();
    }
    QCOMPARE(c.dc.currentPen(), own);
}

void TestTextEdit::killPenAndFontAllowReselect()
{
    Canvas c(10, 10);
    const Font own = c.dc.currentFont();
    DCStyles styles(&c.dc);
    const StdFont big = font(QStringLiteral("DejaVu Sans"), 20, true);
    styles.ChangeFont(big);
    QCOMPARE(c.dc.currentFont()->height, -mulDiv(20, 96, 72));
    QCOMPARE(c.dc.currentFont()->weight, 700);
    styles.ChangeFont(big);
    QCOMPARE(c.dc.createdFonts(), 1);
    styles.KillFont();
    QCOMPARE(c.dc.currentFont(), own);
    // The same font again after KillFont is selected again.
    styles.ChangeFont(big);
    QCOMPARE(c.dc.currentFont()->height, -27);
    styles.KillFont();
    QCOMPARE(c.dc.currentFont(), own);

    const Pen ownPen = c.dc.currentPen();
    styles.ChangePen(3, 0x00FF00);
    styles.KillPen();
    QCOMPARE(c.dc.currentPen(), ownPen);
    styles.ChangePen(3, 0x00FF00);
    QCOMPARE(c.dc.currentPen()->width, 3);
    styles.KillPen();
    QCOMPARE(c.dc.currentPen(), ownPen);
}

void TestTextEdit::changeColorOnlyWhenDifferent()
{
    Canvas c(10, 10);
    DCStyles styles(&c.dc);
    styles.ChangeColor(0);
    QCOMPARE(c.dc.textColorChanges(), 0);
    styles.ChangeColor(0x123456);
    styles.ChangeColor(0x123456);
    QCOMPARE(c.dc.textColorChanges(), 1);
    QCOMPARE(c.dc.textColor(), ColorRef(0x123456));
}

void TestTextEdit::drawTextHeight()
{
    Canvas measured, given;
    const float lh = TextEdit::MeasureTextHeight(&measured.dc, QStringLiteral("Hg"), false, 100);
    QCOMPARE(int(lh), measured.dc.lineHeight());
    // Height 0 sizes the rectangle to the text; a given height is used as is
    // (the text is clipped to it).
    TextEdit::DrawTextInRect(&measured.dc, QStringLiteral("HHHH HHHH"), true, 10, 10, 20, 0);
    TextEdit::DrawTextInRect(&given.dc, QStringLiteral("HHHH HHHH"), true, 10, 10, 20, 0, 3);
    QVERIFY(measured.inked().height() > int(lh));
    QVERIFY(given.inked().height() <= 3);
    QVERIFY(!given.inked().isEmpty());
}

void TestTextEdit::ampersandShown()
{
    Canvas a, b;
    TextEdit::DrawTextInRect(&a.dc, QStringLiteral("A&B"), false, 5, 5, 200, 0);
    Rect r{5, 5, 206, 5 + b.dc.lineHeight()};
    b.dc.drawText(QStringLiteral("A&B"), r, DT_SINGLELINE | DT_NOPREFIX);
    QCOMPARE(a.image, b.image);
}

void TestTextEdit::secondLineAtSevenPoints()
{
    Canvas c;
    DCStyles styles(&c.dc);
    styles.ChangeFont(font(QStringLiteral("DejaVu Sans"), 20));
    const Font before = c.dc.currentFont();
    const float full = TextEdit::MeasureTextHeight(
        &c.dc, QStringLiteral("HH") + QChar(1) + QStringLiteral("HH"), false, 100);
    const float first = TextEdit::MeasureTextHeight(&c.dc, QStringLiteral("HH"), false, 100);
    QCOMPARE(c.dc.currentFont(), before);
    QVERIFY(full > first);
    QVERIFY(full < 2 * first); // the second part is smaller

    TextEdit::DrawTextInRect(&c.dc, QStringLiteral("HHHH") + QChar(1) + QStringLiteral("HHHH"),
                             false, 0, 0, 280, 0);
    QCOMPARE(c.dc.currentFont(), before);
    // Top line wide in the big font; the line below narrower, starting at its top.
    QRect top, bottom;
    for (int y = 0; y < c.image.height(); ++y)
        for (int x = 0; x < c.image.width(); ++x)
            if (c.dc.getPixel(x, y) != 0xFFFFFF)
                (y < int(first) ? top : bottom) |= QRect(x, y, 1, 1);
    QVERIFY(!top.isEmpty());
    QVERIFY(!bottom.isEmpty());
    QVERIFY(bottom.width() < top.width() / 2);
    QVERIFY(bottom.bottom() < int(full));
    styles.KillFont();
}

void TestTextEdit::measuring()
{
    Canvas c;
    QCOMPARE(TextEdit::MeasureTextHeight(&c.dc, QString(), false, 10),
             TextEdit::MeasureTextHeight(&c.dc, QStringLiteral(" "), false, 10));
    QCOMPARE(TextEdit::MeasureTextList(&c.dc, {}), QStringLiteral("0"));
    const float wide = TextEdit::MaxLineWidth(&c.dc, QStringLiteral("i\r\nWWWW\r\nii"));
    QCOMPARE(int(wide), c.dc.textExtent(QStringLiteral("WWWW")).width());
    QCOMPARE(TextEdit::MaxLineWidth(&c.dc, QString()), 0.0f);
    const QString list =
        TextEdit::MeasureTextList(&c.dc, {QStringLiteral("ab"), QStringLiteral("WWW\r\nx")});
    QCOMPARE(list, QStringLiteral("%1x%2")
                       .arg(c.dc.textExtent(QStringLiteral("WWW")).width())
                       .arg(2 * c.dc.lineHeight()));
}

void TestTextEdit::colourRecords()
{
    QCOMPARE(TextEdit::ColorToRGB(8611911), TextEdit::MakeRGB(0x47, 0x68, 0x83));
    const ColorRef face = sysColor(COLOR_BTNFACE);
    QCOMPARE(TextEdit::ColorToRGB(qint32(0x8000000F)),
             TextEdit::MakeRGB(qint16(redOf(face)), qint16(greenOf(face)), qint16(blueOf(face))));
    const StdFont f = TextEdit::GetDCFont(nullptr);
    Q_UNUSED(f);
    Canvas c;
    DCStyles styles(&c.dc);
    styles.ChangeFont(font(QStringLiteral("Tahoma"), 8, true));
    const StdFont back = TextEdit::GetDCFont(&c.dc);
    QCOMPARE(back.name, QStringLiteral("Tahoma"));
    QCOMPARE(back.size, 8.0);
    QVERIFY(back.bold);
    QCOMPARE(back.weight, 700);
    styles.KillFont();
}

QTEST_MAIN(TestTextEdit)
#include "tst_textedit.moc"
