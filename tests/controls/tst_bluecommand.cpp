#include "controls/BlueCommand.h"
#include "controls/BlueCommand_Draw.h"
#include "controls/PropertyBag.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

using Draw::ColorRef;

Q_DECLARE_METATYPE(BlueCommand::Look)

namespace {

constexpr ColorRef Unpainted = 0x123456;

// A host window with one button, shown.
struct Host
{
    explicit Host(const QString &caption = QStringLiteral("OK"))
    {
        button = new BlueCommand(&window);
        button->setCaption(caption);
        button->setGeometry(10, 10, 100, 23);
        window.resize(200, 100);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("host not exposed");
        QObject::connect(button, &BlueCommand::MouseDown, [this](int b, int, float, float) {
            events << QStringLiteral("MouseDown %1").arg(b);
        });
        QObject::connect(button, &BlueCommand::MouseUp, [this](int b, int, float, float) {
            events << QStringLiteral("MouseUp %1").arg(b);
        });
        QObject::connect(button, &BlueCommand::Click,
                         [this] { events << QStringLiteral("Click"); });
        QObject::connect(button, &BlueCommand::MouseOver,
                         [this] { events << QStringLiteral("MouseOver"); });
        QObject::connect(button, &BlueCommand::MouseOut,
                         [this] { events << QStringLiteral("MouseOut"); });
    }
    void move(QPointF pos)
    {
        QMouseEvent e(QEvent::MouseMove, pos, button->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void leave()
    {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(button, &e);
    }
    QWidget window;
    BlueCommand *button = nullptr;
    QStringList events;
};

// Bounding box of the caption: where the face with the caption differs
// from the same face without one.
QRect captionInk(const QImage &with, const QImage &without)
{
    QRect box;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

using FaceFn = void (*)(Draw::DeviceContext *, float);

FaceFn face(const QString &name)
{
    if (name == QLatin1String("default"))
        return BlueCommand_Draw::DrawFaceDefault;
    if (name == QLatin1String("hover"))
        return BlueCommand_Draw::DrawFaceHover;
    if (name == QLatin1String("pressed"))
        return BlueCommand_Draw::DrawFacePressed;
    return BlueCommand_Draw::DrawFaceNormal;
}

} // namespace

class TestBlueCommand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionBox_data();
    void captionBox();
    void insideTest_data();
    void insideTest();
    void facePixels_data();
    void facePixels();
    void faceCoverage_data();
    void faceCoverage();
    void normalAfterDefaultKeepsCorner();
    void mouseEvents_data();
    void mouseEvents();
    void pressedCaptionShifts();
    void hover();
    void disabledCaptionColour();
    void sizeRule_data();
    void sizeRule();
    void defaultAndCancelKeys();
    void accessKey();
    void captionKeptAsSet();
    void propertyBag();
    void persistence();
};

void TestBlueCommand::captionBox_data()
{
    QTest::addColumn<float>("w");
    QTest::addColumn<float>("h");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QRectF>("box");
    QTest::newRow("normal") << 100.0f << 13.0f << false << QRectF(4, 5, 92, 13);
    QTest::newRow("pressed") << 100.0f << 13.0f << true << QRectF(5, 6, 92, 13);
    QTest::newRow("two lines") << 20.0f << 26.0f << false << QRectF(4, -1.5, 12, 26);
}

void TestBlueCommand::captionBox()
{
    QFETCH(float, w);
    QFETCH(float, h);
    QFETCH(bool, pressed);
    QFETCH(QRectF, box);
    QCOMPARE(BlueCommand::captionBox(w, 23, h, pressed), box);
}

void TestBlueCommand::insideTest_data()
{
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<bool>("inside");
    QTest::newRow("leftmost column") << QPointF(0, 10) << false;
    QTest::newRow("top row") << QPointF(10, 0) << false;
    QTest::newRow("second column") << QPointF(1, 10) << true;
    QTest::newRow("last column") << QPointF(99, 10) << true;
    QTest::newRow("right edge") << QPointF(100, 10) << false;
    QTest::newRow("bottom edge") << QPointF(10, 23) << false;
    QTest::newRow("lowest row") << QPointF(10, 22) << true;
}

void TestBlueCommand::insideTest()
{
    QFETCH(QPointF, pos);
    QFETCH(bool, inside);
    QCOMPARE(BlueCommand::isInside(pos, 100, 23), inside);
}

void TestBlueCommand::facePixels_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<uint>("colour");
    // A 20-pixel face: caps at 0-2 and 17-19, body 3-16.
    QTest::newRow("normal corner unpainted") << "normal" << 0 << 0 << uint(Unpainted);
    QTest::newRow("normal top right unpainted") << "normal" << 19 << 0 << uint(Unpainted);
    QTest::newRow("normal bottom left unpainted") << "normal" << 0 << 22 << uint(Unpainted);
    QTest::newRow("normal bottom right unpainted") << "normal" << 19 << 22 << uint(Unpainted);
    QTest::newRow("normal left corner") << "normal" << 1 << 0 << 0xD66352u;
    QTest::newRow("normal side border") << "normal" << 0 << 10 << 0x5A2118u;
    QTest::newRow("normal body top") << "normal" << 10 << 0 << 0x312521u;
    QTest::newRow("normal body bottom") << "normal" << 16 << 22 << 0x5A221Du;
    QTest::newRow("normal cap over body") << "normal" << 17 << 0 << 0x732918u;
    QTest::newRow("normal inner left") << "normal" << 1 << 7 << 0xFFF7EFu;
    QTest::newRow("normal inner left 2") << "normal" << 2 << 7 << 0xFFEFEFu;
    QTest::newRow("normal inner right") << "normal" << 18 << 19 << 0xEFC6BDu;
    QTest::newRow("normal highlight") << "normal" << 2 << 2 << 0xFFFFFFu;
    QTest::newRow("nothing right of W-1") << "normal" << 20 << 10 << uint(Unpainted);
    QTest::newRow("hover grey corner") << "hover" << 19 << 0 << 0xC0C0C0u;
    QTest::newRow("hover rim row 2") << "hover" << 2 << 2 << 0x84D6FFu;
    QTest::newRow("hover rim row 10") << "hover" << 1 << 10 << 0x6BCEFFu;
    QTest::newRow("hover rim row 20") << "hover" << 17 << 20 << 0x31B5FFu;
    QTest::newRow("hover border as normal") << "hover" << 0 << 10 << 0x5A2118u;
    QTest::newRow("hover body rim") << "hover" << 8 << 21 << 0x0B9AD8u;
    QTest::newRow("default side border") << "default" << 19 << 10 << 0x5A3718u;
    QTest::newRow("default corner") << "default" << 19 << 0 << 0xC0C0C0u;
    QTest::newRow("default rim") << "default" << 18 << 16 << 0xDAA270u;
    QTest::newRow("default bottom corner") << "default" << 18 << 22 << 0xCE8442u;
    QTest::newRow("pressed low highlight") << "pressed" << 17 << 20 << 0xFFFFFFu;
    QTest::newRow("pressed left cap as normal") << "pressed" << 2 << 2 << 0xFFFFFFu;
    QTest::newRow("pressed right inner") << "pressed" << 18 << 18 << 0xF7E7E7u;
    QTest::newRow("pressed body") << "pressed" << 5 << 1 << 0xD9A9A3u;
    QTest::newRow("pressed bottom right unpainted") << "pressed" << 19 << 22 << uint(Unpainted);
}

void TestBlueCommand::facePixels()
{
    QFETCH(QString, face);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(uint, colour);
    QImage image(24, 26, QImage::Format_RGB32);
    image.fill(Draw::toQColor(Unpainted));
    Draw::DeviceContext dc(&image, 96, 96);
    ::face(face)(&dc, 20);
    QCOMPARE(dc.getPixel(x, y), ColorRef(colour));
}

void TestBlueCommand::faceCoverage_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<float>("width");
    QTest::addColumn<int>("painted");
    QTest::addColumn<int>("gapColumn");
    QTest::newRow("normal 20") << "normal" << 20.0f << 20 * 23 - 4 << -1;
    QTest::newRow("hover 20") << "hover" << 20.0f << 20 * 23 - 3 << -1;
    QTest::newRow("pressed 33") << "pressed" << 33.0f << 33 * 23 - 3 << -1;
    // W - 3 = 17.5: cap columns round to 18, 18 and 20, leaving 19 empty.
    QTest::newRow("normal 20.5") << "normal" << 20.5f << 20 * 23 - 4 << 19;
}

void TestBlueCommand::faceCoverage()
{
    QFETCH(QString, face);
    QFETCH(float, width);
    QFETCH(int, painted);
    QFETCH(int, gapColumn);
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Draw::toQColor(Unpainted));
    Draw::DeviceContext dc(&image, 96, 96);
    ::face(face)(&dc, width);
    int count = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (dc.getPixel(x, y) != Unpainted) {
                ++count;
                QVERIFY(y <= 22);
                QVERIFY(x != gapColumn);
            }
    QCOMPARE(count, painted);
}

void TestBlueCommand::normalAfterDefaultKeepsCorner()
{
    QImage image(20, 23, QImage::Format_RGB32);
    image.fill(Draw::toQColor(Unpainted));
    Draw::DeviceContext dc(&image, 96, 96);
    BlueCommand_Draw::DrawFaceDefault(&dc, 20);
    BlueCommand_Draw::DrawFaceNormal(&dc, 20);
    QCOMPARE(dc.getPixel(19, 0), ColorRef(0xC0C0C0));
    QCOMPARE(dc.getPixel(19, 10), ColorRef(0x5A2118));
}

void TestBlueCommand::mouseEvents_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<BlueCommand::Look>("lookWhileDown");
    QTest::newRow("left click") << int(Qt::LeftButton) << true
                                << QStringList{"MouseDown 1", "MouseUp 1", "Click"}
                                << BlueCommand::Look::Pressed;
    QTest::newRow("right button: no face change, no click")
        << int(Qt::RightButton) << true << QStringList{"MouseDown 2", "MouseUp 2"}
        << BlueCommand::Look::Normal;
    QTest::newRow("disabled: nothing")
        << int(Qt::LeftButton) << false << QStringList{} << BlueCommand::Look::Normal;
}

void TestBlueCommand::mouseEvents()
{
    QFETCH(int, button);
    QFETCH(bool, enabled);
    QFETCH(QStringList, events);
    QFETCH(BlueCommand::Look, lookWhileDown);
    Host h;
    h.button->setEnabled(enabled);
    QTest::mousePress(h.button, Qt::MouseButton(button), {}, QPoint(50, 10));
    QCOMPARE(h.button->look(), lookWhileDown);
    QCOMPARE(h.button->isPressed(), enabled);
    QTest::mouseRelease(h.button, Qt::MouseButton(button), {}, QPoint(50, 10));
    QCOMPARE(h.events, events);
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);
    QVERIFY(!h.button->isPressed());
}

void TestBlueCommand::pressedCaptionShifts()
{
    Host with(QStringLiteral("HHH"));
    Host without{QString()};
    const QRect normal = captionInk(with.button->surface(), without.button->surface());
    QTest::mousePress(with.button, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mousePress(without.button, Qt::LeftButton, {}, QPoint(50, 10));
    const QRect pressed = captionInk(with.button->surface(), without.button->surface());
    QVERIFY(!normal.isEmpty());
    QCOMPARE(pressed, normal.translated(1, 1));
    // Centred between 4 and W - 4.
    QVERIFY(qAbs((normal.left() + normal.right() + 1) / 2 - 50) <= 1);
    QTest::mouseRelease(with.button, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(without.button, Qt::LeftButton, {}, QPoint(50, 10));
}

void TestBlueCommand::hover()
{
    Host h;
    h.move(QPointF(0, 10)); // leftmost column: outside
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);
    QVERIFY(h.events.isEmpty());
    h.move(QPointF(5, 10));
    h.move(QPointF(50, 12));
    QCOMPARE(h.events, QStringList{"MouseOver"});
    QCOMPARE(h.button->look(), BlueCommand::Look::Hover);
    h.leave();
    QCOMPARE(h.events, (QStringList{"MouseOver", "MouseOut"}));
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);

    // Dragged out while pressed: the face falls back, Pressed stays; back
    // inside shows the pressed face again.
    h.events.clear();
    h.move(QPointF(50, 12));
    QTest::mousePress(h.button, Qt::LeftButton, {}, QPoint(50, 12));
    h.move(QPointF(150, 12));
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);
    QVERIFY(h.button->isPressed());
    h.move(QPointF(50, 12));
    QCOMPARE(h.button->look(), BlueCommand::Look::Pressed);
    QTest::mouseRelease(h.button, Qt::LeftButton, {}, QPoint(50, 12));
    QCOMPARE(h.events, (QStringList{"MouseOver", "MouseDown 1", "MouseOut", "MouseOver",
                                    "MouseUp 1", "Click"}));

    // Disabled while hovered: keeps the hover face, still reports MouseOut.
    h.events.clear();
    h.leave();
    h.move(QPointF(50, 12));
    h.button->setEnabled(false);
    QCOMPARE(h.button->look(), BlueCommand::Look::Hover);
    h.leave();
    QCOMPARE(h.events, (QStringList{"MouseOut", "MouseOver", "MouseOut"}));
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);
    h.move(QPointF(50, 12));
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);
}

void TestBlueCommand::disabledCaptionColour()
{
    const QPalette saved = QApplication::palette();
    QPalette pal = saved;
    pal.setColor(QPalette::Dark, QColor(200, 0, 200));
    QApplication::setPalette(pal);
    Host h(QStringLiteral("HHHH"));
    Draw::StdFont big;
    big.name = QStringLiteral("DejaVu Sans");
    big.size = 14;
    big.setBold(true);
    h.button->setFont(big);
    h.button->setEnabled(false);
    int shadow = 0, black = 0;
    const QImage &s = h.button->surface();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const ColorRef c = Draw::fromQRgb(s.pixel(x, y));
            shadow += c == Draw::rgb(200, 0, 200) ? 1 : 0;
            black += c == 0 ? 1 : 0;
        }
    QVERIFY(shadow > 20);
    QCOMPARE(black, 0);
    QCOMPARE(h.button->look(), BlueCommand::Look::Normal);
    QApplication::setPalette(saved);
}

void TestBlueCommand::sizeRule_data()
{
    QTest::addColumn<QSize>("placed");
    QTest::addColumn<QSize>("shown");
    // At 96 dpi, 15 twips per pixel: 200 twips is 13 pixels, 300 twips 20.
    QTest::newRow("too narrow and tall") << QSize(13, 67) << QSize(20, 23);
    QTest::newRow("3000 twips keeps its width") << QSize(200, 30) << QSize(200, 23);
}

void TestBlueCommand::sizeRule()
{
    QFETCH(QSize, placed);
    QFETCH(QSize, shown);
    QCOMPARE(Draw::twipsPerPixelX(), 15.0f);
    QWidget host;
    auto *b = new BlueCommand(&host);
    b->resize(placed);
    QCOMPARE(b->size(), placed); // nothing forced before the first show
    host.resize(300, 100);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(b->size(), shown);
    QCOMPARE(b->surface().size(), shown);
}

void TestBlueCommand::defaultAndCancelKeys()
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *ok = new BlueCommand(&window);
    auto *other = new BlueCommand(&window);
    auto *cancel = new BlueCommand(&window);
    ok->setDefault(true);
    cancel->setCancel(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy okClicks(ok, &BlueCommand::Click);
    QSignalSpy cancelClicks(cancel, &BlueCommand::Click);
    QCOMPARE(ok->look(), BlueCommand::Look::Default);

    QTest::keyClick(&window, Qt::Key_Return);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(okClicks.count(), 2);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(cancelClicks.count(), 1);
    QCOMPARE(okClicks.count(), 2);

    ok->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_Return);
    QCOMPARE(okClicks.count(), 2);

    // Another default button takes the flag and the face.
    other->setDefault(true);
    QVERIFY(!ok->isDefault());
    QCOMPARE(other->look(), BlueCommand::Look::Default);
    other->setDefault(false);
    QCOMPARE(other->look(), BlueCommand::Look::Normal);
}

void TestBlueCommand::accessKey()
{
    Host h(QStringLiteral("&Zapisz"));
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QTest::keyClick(&h.window, Qt::Key_Z, Qt::AltModifier);
    QCOMPARE(h.events, QStringList{"Click"});
    h.button->setEnabled(false);
    QTest::keyClick(&h.window, Qt::Key_Z, Qt::AltModifier);
    QCOMPARE(h.events, QStringList{"Click"});
}

void TestBlueCommand::captionKeptAsSet()
{
    Host h(QStringLiteral("A&B"));
    h.button->PaintButton();
    h.button->setForeColor(0x0000FF);
    h.button->PaintButton();
    QCOMPARE(h.button->Caption(), QStringLiteral("A&B"));
}

void TestBlueCommand::propertyBag()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("a"));
    bag.WriteProperty(QStringLiteral("Enabled"), true);
    bag.WriteProperty(QStringLiteral("CAPTION"), QStringLiteral("b"));
    QCOMPARE(bag.keys(), (QStringList{"Caption", "Enabled"}));
    QCOMPARE(bag.ReadProperty(QStringLiteral("caption")).toString(), QStringLiteral("b"));
    QVERIFY(!bag.ReadProperty(QStringLiteral("x")).isValid());
    QCOMPARE(bag.ReadProperty(QStringLiteral("x"), 5).toInt(), 5);
}

void TestBlueCommand::persistence()
{
    Host h(QStringLiteral("Zapisz"));
    Draw::StdFont font;
    font.name = QStringLiteral("Tahoma");
    font.size = 10;
    font.setBold(true);
    h.button->setFont(font);
    h.button->setForeColor(0x112233);
    h.button->setBackColor(qint32(0x80000005));
    h.button->setEnabled(false);
    PropertyBag bag;
    h.button->WriteProperties(bag);
    QCOMPARE(bag.keys(), (QStringList{"Caption", "ForeColor", "BackColor", "Font", "Enabled"}));

    // Saved forms hold the keys in lower case; a value that cannot be read
    // is skipped and loading goes on.
    PropertyBag saved;
    for (const QString &key : bag.keys())
        saved.WriteProperty(key.toLower(), bag.ReadProperty(key));
    BlueCommand loaded;
    loaded.ReadProperties(saved);
    QCOMPARE(loaded.Caption(), QStringLiteral("Zapisz"));
    QCOMPARE(loaded.ForeColor(), qint32(0x112233));
    QCOMPARE(loaded.BackColor(), qint32(0x80000005));
    QCOMPARE(loaded.Font(), font);
    QVERIFY(!loaded.Enabled());

    saved.WriteProperty(QStringLiteral("forecolor"), QStringLiteral("zielony"));
    saved.WriteProperty(QStringLiteral("caption"), QStringLiteral("Inny"));
    BlueCommand partly;
    partly.ReadProperties(saved);
    QCOMPARE(partly.ForeColor(), qint32(0));
    QCOMPARE(partly.Caption(), QStringLiteral("Inny"));
    QVERIFY(!partly.Enabled());
}

QTEST_MAIN(TestBlueCommand)
#include "tst_bluecommand.moc"
