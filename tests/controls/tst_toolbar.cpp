#include "controls/TBNItems.h"
#include "controls/ToolBarN.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

// A shown toolbar of the given width with items "k1".."kN".
struct Bar
{
    Bar(int width, int count)
    {
        bar.resize(width, ToolBarN::BarHeight);
        Draw::ImageList icons;
        QImage icon(20, 20, QImage::Format_RGB32);
        icon.fill(QColor(255, 0, 0));
        icons.add(icon, QStringLiteral("k1"));
        bar.setImageList(icons);
        bar.setTitle(QStringLiteral("Tytuł"));
        for (int i = 1; i <= count; ++i)
            bar.ListItems()->Add(QStringLiteral("k%1").arg(i), QStringLiteral("Item %1").arg(i),
                                 QString());
        bar.show();
        if (!QTest::qWaitForWindowExposed(&bar))
            qWarning("toolbar not exposed");
    }
    void move(QPoint pos)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), bar.mapToGlobal(QPointF(pos)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &e);
    }
    ToolBarN bar;
};

} // namespace

class TestToolbar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void addImageRules_data();
    void addImageRules();
    void duplicateKeyRefused();
    void positionsSkipInvisible();
    void relayEvents();
    void removeRaisesChangedList();
    void geometry_data();
    void geometry();
    void hitTest_data();
    void hitTest();
    void itemClickKeys_data();
    void itemClickKeys();
    void hoverAndLeave();
    void disabledItemLook();
    void setVisible();
    void settingsTimeSuspendsLayout();
    void longTitle_data();
    void longTitle();

private:
    QStringList m_reported;
};

void TestToolbar::initTestCase()
{
    TBNItems::setErrorReporter([this](const QString &text) { m_reported.append(text); });
}

void TestToolbar::addImageRules_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("expected");
    QTest::newRow("named") << "edit"
                           << "edit";
    QTest::newRow("empty takes the key") << ""
                                         << "create";
    QTest::newRow("dash means none") << "-"
                                     << "";
}

void TestToolbar::addImageRules()
{
    QFETCH(QString, image);
    QFETCH(QString, expected);
    TBNItems items;
    QSignalSpy item(&items, &TBNItems::ChangedItem);
    QSignalSpy list(&items, &TBNItems::ChangedList);
    TBNItem *added = items.Add(QStringLiteral("create"), QStringLiteral("Grafik"), image);
    QVERIFY(added);
    QCOMPARE(added->Image(), expected);
    QCOMPARE(added->Text(), QStringLiteral("Grafik"));
    QVERIFY(added->Visible());
    QVERIFY(added->Enabled());
    QCOMPARE(item.count() + list.count(), 0); // Add raises nothing
}

void TestToolbar::duplicateKeyRefused()
{
    m_reported.clear();
    TBNItems items;
    items.Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QString());
    QVERIFY(!items.Add(QStringLiteral("NEW"), QStringLiteral("Inny"), QString()));
    QCOMPARE(items.Count(), 1);
    QCOMPARE(m_reported.size(), 1);
    QCOMPARE(items.Item(QStringLiteral("New"))->Text(), QStringLiteral("Dodaj"));
    QVERIFY(!items.Item(QStringLiteral("x")));
    QVERIFY(!items.Item(2));
    QCOMPARE(items.GetPosition(QStringLiteral("x")), -1);
}

void TestToolbar::positionsSkipInvisible()
{
    TBNItems items;
    items.Add(QStringLiteral("A"), QString(), QString());
    items.Add(QStringLiteral("B"), QString(), QString());
    items.Add(QStringLiteral("C"), QString(), QString());
    items.Item(QStringLiteral("B"))->setVisible(false);
    QCOMPARE(items.CountVisibleItems(), 2);
    QCOMPARE(items.GetPosition(QStringLiteral("A")), 1);
    QCOMPARE(items.GetPosition(QStringLiteral("B")), 0);
    QCOMPARE(items.GetPosition(QStringLiteral("C")), 2);
    QCOMPARE(items.GetKey(1), QStringLiteral("A"));
    QCOMPARE(items.GetKey(2), QStringLiteral("C"));
    QCOMPARE(items.GetKey(3), QString());
}

void TestToolbar::relayEvents()
{
    TBNItems items;
    TBNItem *a = items.Add(QStringLiteral("a"), QString(), QString());
    items.Add(QStringLiteral("b"), QString(), QString());
    QSignalSpy item(&items, &TBNItems::ChangedItem);
    QSignalSpy list(&items, &TBNItems::ChangedList);

    items.Item(QStringLiteral("b"))->setVisible(false);
    QCOMPARE(list.count(), 1);
    items.Item(QStringLiteral("b"))->setText(QStringLiteral("Nowy"));
    QCOMPARE(item.count(), 1);
    QCOMPARE(item.takeFirst().at(0).toString(), QStringLiteral("b"));
    // Changed through an older reference (fetched before another Item call):
    // still relayed, so the bar cannot go stale.
    a->setEnabled(false);
    QCOMPARE(item.count(), 1);
    QCOMPARE(item.takeFirst().at(0).toString(), QStringLiteral("a"));
    // Every write raises, even with the same value.
    a->setEnabled(false);
    QCOMPARE(item.count(), 1);
}

void TestToolbar::removeRaisesChangedList()
{
    TBNItems items;
    items.Add(QStringLiteral("a"), QString(), QString());
    items.Add(QStringLiteral("b"), QString(), QString());
    QSignalSpy list(&items, &TBNItems::ChangedList);
    QVERIFY(items.Remove(QStringLiteral("A")));
    QVERIFY(items.Remove(1));
    QVERIFY(!items.Remove(1));
    QCOMPARE(list.count(), 2);
    QCOMPARE(items.Count(), 0);
}

void TestToolbar::geometry_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("slots");
    QTest::addColumn<float>("origin");
    QTest::addColumn<float>("start");
    QTest::newRow("400, three items") << 400.0f << 3 << 6 << 40.0f << 160.0f;
    QTest::newRow("400, eight items") << 400.0f << 8 << 6 << 40.0f << 40.0f;
    QTest::newRow("400, five items fill to one free slot") << 400.0f << 5 << 6 << 40.0f << 40.0f;
    QTest::newRow("130, no items") << 130.0f << 0 << 2 << 10.0f << 70.0f;
}

void TestToolbar::geometry()
{
    QFETCH(float, width);
    QFETCH(int, visible);
    QFETCH(int, slots);
    QFETCH(float, origin);
    QFETCH(float, start);
    QCOMPARE(ToolBarN::slotsFor(width), slots);
    QCOMPARE(ToolBarN::slotOriginFor(width), origin);
    QCOMPARE(ToolBarN::blockStart(width, visible), start);
}

void TestToolbar::hitTest_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("key");
    // Three items on 400 pixels occupy x 220-400.
    QTest::newRow("3: first item") << 3 << 220.5f << 30.0f << "k1";
    QTest::newRow("3: left edge is outside (strict)") << 3 << 220.0f << 30.0f << "";
    QTest::newRow("3: last item") << 3 << 399.0f << 30.0f << "k3";
    QTest::newRow("3: second item") << 3 << 300.0f << 30.0f << "k2";
    QTest::newRow("3: above the band") << 3 << 300.0f << 3.0f << "";
    QTest::newRow("3: below the items") << 3 << 300.0f << 69.0f << "";
    QTest::newRow("3: lowest row") << 3 << 300.0f << 68.5f << "k2";
    QTest::newRow("3: title") << 3 << 50.0f << 30.0f << "";
    // Eight items: item 1 at 100-160, items 6-8 beyond the edge.
    QTest::newRow("8: item 1") << 8 << 100.0f << 30.0f << "k1";
    QTest::newRow("8: free slot") << 8 << 99.0f << 30.0f << "";
    QTest::newRow("8: item 5 at the edge") << 8 << 399.0f << 30.0f << "k5";
}

void TestToolbar::hitTest()
{
    QFETCH(int, count);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, key);
    Bar b(400, count);
    QCOMPARE(b.bar.HitTest(x, y), key);
    QCOMPARE(b.bar.GetLeftPosition(QStringLiteral("k1")), count == 3 ? 220.0f : 100.0f);
    QCOMPARE(b.bar.GetItemWidth(), 60.0f);
}

void TestToolbar::itemClickKeys_data()
{
    QTest::addColumn<int>("pressX");
    QTest::addColumn<int>("releaseX");
    QTest::addColumn<QString>("key");
    QTest::newRow("same item") << 250 << 250 << "k1";
    QTest::newRow("press on one, release on another") << 250 << 370 << "k3";
    QTest::newRow("release over the title") << 250 << 40 << "";
    QTest::newRow("press on the title") << 40 << 310 << "k2";
}

void TestToolbar::itemClickKeys()
{
    QFETCH(int, pressX);
    QFETCH(int, releaseX);
    QFETCH(QString, key);
    Bar b(400, 3);
    QSignalSpy clicks(&b.bar, &ToolBarN::ItemClick);
    QTest::mousePress(&b.bar, Qt::LeftButton, {}, QPoint(pressX, 30));
    b.move(QPoint(releaseX, 30));
    QTest::mouseRelease(&b.bar, Qt::LeftButton, {}, QPoint(releaseX, 30));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toString(), key);
    QVERIFY(!b.bar.isItemPressed());
    // The right button raises nothing.
    QTest::mouseClick(&b.bar, Qt::RightButton, {}, QPoint(250, 30));
    QCOMPARE(clicks.count(), 1);
}

void TestToolbar::hoverAndLeave()
{
    Bar b(400, 3);
    const QImage before = b.bar.surface();
    b.move(QPoint(250, 30));
    QCOMPARE(b.bar.hotKey(), QStringLiteral("k1"));
    QVERIFY(b.bar.surface() != before);
    b.move(QPoint(310, 30));
    QCOMPARE(b.bar.hotKey(), QStringLiteral("k2"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b.bar, &leave);
    QCOMPARE(b.bar.hotKey(), QString());
    QCOMPARE(b.bar.surface(), before); // every item normal again
}

void TestToolbar::disabledItemLook()
{
    Bar b(400, 3);
    b.bar.ListItems()->Item(QStringLiteral("k3"))->setEnabled(false);
    QCOMPARE(b.bar.HitTest(370, 30), QString());
    b.move(QPoint(370, 30));
    QCOMPARE(b.bar.hotKey(), QString());
    // State picture 3 at the item's slot, caption in &HA58559.
    const QImage pic = ToolBarN::statePicture(3);
    const QImage &s = b.bar.surface();
    QCOMPARE(s.pixel(340 + 30 - 30 + 5, 2 + 5), pic.pixel(5, 5));
    int captionPixels = 0;
    for (int y = 38; y < 58; ++y)
        for (int x = 340; x < 400; ++x)
            captionPixels += Draw::fromQRgb(s.pixel(x, y)) == 0xA58559 ? 1 : 0;
    QVERIFY(captionPixels > 0);
    int white = 0;
    for (int y = 38; y < 58; ++y)
        for (int x = 340; x < 400; ++x)
            white += Draw::fromQRgb(s.pixel(x, y)) == 0xFFFFFF ? 1 : 0;
    QCOMPARE(white, 0);
}

void TestToolbar::setVisible()
{
    Bar b(400, 0);
    TBNItems *items = b.bar.ListItems();
    items->Add(QStringLiteral("create"), QStringLiteral("Grafik"), QString());
    items->Add(QStringLiteral("bilans"), QStringLiteral("Bilans"), QString());
    items->Add(QStringLiteral("ludzie"), QStringLiteral("Ludzie"), QString());
    QVERIFY(b.bar.SetVisible(QStringLiteral("ludzie;create")));
    QCOMPARE(items->CountVisibleItems(), 2);
    QCOMPARE(items->GetKey(1), QStringLiteral("create")); // collection order
    QCOMPARE(items->GetKey(2), QStringLiteral("ludzie"));
    QCOMPARE(b.bar.HitTest(370, 30), QStringLiteral("ludzie"));

    QVERIFY(b.bar.SetVisible(QString()));
    QCOMPARE(items->CountVisibleItems(), 0);

    // An unknown key is skipped and layout is not left suspended.
    QVERIFY(!b.bar.SetVisible(QStringLiteral("bilans;nieznany")));
    QVERIFY(!b.bar.SettingsTime());
    QCOMPARE(items->CountVisibleItems(), 1);
    QCOMPARE(b.bar.HitTest(370, 30), QStringLiteral("bilans"));
}

void TestToolbar::settingsTimeSuspendsLayout()
{
    Bar b(400, 3);
    const QImage before = b.bar.surface();
    b.bar.setSettingsTime(true);
    b.bar.ListItems()->Item(QStringLiteral("k1"))->setVisible(false);
    b.bar.ListItems()->Item(QStringLiteral("k2"))->setVisible(false);
    QCOMPARE(b.bar.surface(), before);
    b.bar.setSettingsTime(false);
    b.bar.RaiseResize();
    QVERIFY(b.bar.surface() != before);
    // Only k3 left, in the last slot; its old slot at 220 shows the bar.
    QCOMPARE(b.bar.HitTest(370, 30), QStringLiteral("k3"));
    QCOMPARE(b.bar.HitTest(250, 30), QString());
}

// A title longer than its box looks as any title that overfills the box, and
// the bar keeps only what the box can show.
void TestToolbar::longTitle_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("narrower than the box") << 300;
    QTest::newRow("wide") << 900;
}

void TestToolbar::longTitle()
{
    QFETCH(int, width);
    const QString title(1'000'000, u'Ż');
    Bar whole(width, 2);
    Bar start(width, 2);
    whole.bar.setTitle(title);
    whole.bar.PaintElements();
    start.bar.setTitle(title.left(60));
    start.bar.PaintElements();
    QCOMPARE(whole.bar.surface(), start.bar.surface());
    QVERIFY(whole.bar.Title().size() <= ToolBarN::TitleWidth);
    QVERIFY(title.startsWith(whole.bar.Title()));

    // A character pair at the cut goes whole.
    const QString letters(ToolBarN::TitleWidth - 1, u'a');
    whole.bar.setTitle(letters + QStringLiteral("😀😀"));
    QCOMPARE(whole.bar.Title(), letters);
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
