// Gallery, not a test: renders the toolbar and the push button in their
// states and writes their pictures (Gallery::path) for a person to look at.
#include "controls/BlueCommand.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "tests/support/Gallery.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

namespace {

void move(QWidget *w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void fillMainWindowItems(ToolBarN &bar)
{
    bar.setImageList(ToolBarIcons::buttons());
    bar.setTitle(QStringLiteral("Dorvat Kadrelo"));
    TBNItems *items = bar.ListItems();
    items->Add(QStringLiteral("create"), QStringLiteral("Grafik"), QStringLiteral("edit"));
    items->Add(QStringLiteral("bilans"), QStringLiteral("Bilans"), QStringLiteral("sort"));
    items->Add(QStringLiteral("wykluczenia"), QStringLiteral("Wykluczeni"), QStringLiteral("del"));
    items->Add(QStringLiteral("kreator"), QStringLiteral("Kreator"), QStringLiteral("szablony"));
    items->Add(QStringLiteral("ludzie"), QStringLiteral("Ludzie"), QStringLiteral("new"));
    items->Add(QStringLiteral("sluzby"), QStringLiteral("Służby"), QStringLiteral("new"));
    items->Add(QStringLiteral("options"), QStringLiteral("Opcje"), QStringLiteral("raporty"));
}

QPoint itemCentre(const ToolBarN &bar, const QString &key)
{
    return QPoint(int(bar.GetLeftPosition(key)) + 30, 30);
}

} // namespace

class TestGalleryToolbar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void toolbarStates();
    void statePictures();
    void buttonFaces();
};

void TestGalleryToolbar::toolbarStates()
{
    ToolBarN bar;
    bar.resize(760, ToolBarN::BarHeight);
    fillMainWindowItems(bar);
    bar.ListItems()->Item(QStringLiteral("bilans"))->setEnabled(false);
    bar.ListItems()->Item(QStringLiteral("wykluczenia"))->setEnabled(false);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QVERIFY(bar.surface().save(Gallery::path(QStringLiteral("toolbar_normal.png"))));

    move(&bar, itemCentre(bar, QStringLiteral("ludzie")));
    QCOMPARE(bar.hotKey(), QStringLiteral("ludzie"));
    QVERIFY(bar.surface().save(Gallery::path(QStringLiteral("toolbar_hot.png"))));
    const QImage items = bar.surface().copy(340, 0, 420, ToolBarN::BarHeight);
    QVERIFY(
        items.scaled(items.size() * 2).save(Gallery::path(QStringLiteral("toolbar_hot_x2.png"))));

    QTest::mousePress(&bar, Qt::LeftButton, {}, itemCentre(bar, QStringLiteral("kreator")));
    move(&bar, itemCentre(bar, QStringLiteral("kreator")));
    QVERIFY(bar.surface().save(Gallery::path(QStringLiteral("toolbar_pressed.png"))));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, itemCentre(bar, QStringLiteral("kreator")));

    ToolBarN small;
    small.resize(400, ToolBarN::BarHeight);
    small.setImageList(ToolBarIcons::buttons());
    small.setTitle(QStringLiteral("Ludzie"));
    for (const char *key : {"new", "edit", "del"})
        small.ListItems()->Add(QLatin1String(key), QLatin1String(key), QString());
    small.show();
    QVERIFY(QTest::qWaitForWindowExposed(&small));
    QVERIFY(small.surface().save(Gallery::path(QStringLiteral("toolbar_400_three.png"))));

    // The people window's bar: its longest caption, "Statystyki", disabled
    // in the last slot against the right edge.
    ToolBarN people;
    people.resize(400, ToolBarN::BarHeight);
    people.setImageList(ToolBarIcons::buttons());
    people.setTitle(QStringLiteral("Ludzie"));
    TBNItems *list = people.ListItems();
    list->Add(QStringLiteral("new"), QStringLiteral("Dodaj"), QStringLiteral("new"));
    list->Add(QStringLiteral("edit"), QStringLiteral("Edytuj"), QStringLiteral("edit"));
    list->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QStringLiteral("del"));
    list->Add(QStringLiteral("lista"), QStringLiteral("Statystyki"), QStringLiteral("szablony"));
    list->Item(QStringLiteral("lista"))->setEnabled(false);
    people.show();
    QVERIFY(QTest::qWaitForWindowExposed(&people));
    const QImage captions = people.surface().copy(160, 0, 240, ToolBarN::BarHeight);
    QVERIFY(captions.scaled(captions.size() * 3)
                .save(Gallery::path(QStringLiteral("toolbar_people_x3.png"))));
}

void TestGalleryToolbar::statePictures()
{
    QImage sheet(4 * 61 + 5 * 4, 63 + 8, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int s = 1; s <= 4; ++s)
        p.drawImage(4 + (s - 1) * 65, 4, ToolBarN::statePicture(s));
    p.end();
    QVERIFY(sheet.save(Gallery::path(QStringLiteral("toolbar_state_pictures.png"))));
}

void TestGalleryToolbar::buttonFaces()
{
    QWidget host;
    host.setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(&host);
    auto *normal = new BlueCommand(&host);
    normal->setCaption(QStringLiteral("Anuluj"));
    auto *def = new BlueCommand(&host);
    def->setCaption(QStringLiteral("OK"));
    def->setDefault(true);
    auto *hover = new BlueCommand(&host);
    hover->setCaption(QStringLiteral("Zapisz & zamknij"));
    auto *pressed = new BlueCommand(&host);
    pressed->setCaption(QStringLiteral("Generuj"));
    auto *disabled = new BlueCommand(&host);
    disabled->setCaption(QStringLiteral("Usuń"));
    disabled->setEnabled(false);
    for (BlueCommand *b : {normal, def, hover, pressed, disabled}) {
        b->resize(120, 23);
        layout->addWidget(b);
    }
    host.resize(160, 160);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    move(hover, QPoint(30, 10));
    QTest::mousePress(pressed, Qt::LeftButton, {}, QPoint(30, 10));
    move(pressed, QPoint(30, 10));
    QCOMPARE(hover->look(), BlueCommand::Look::Hover);
    QCOMPARE(pressed->look(), BlueCommand::Look::Pressed);
    QCOMPARE(def->look(), BlueCommand::Look::Default);
    const QImage shot = host.grab().toImage();
    QVERIFY(shot.save(Gallery::path(QStringLiteral("buttons.png"))));
    QVERIFY(shot.scaled(shot.size() * 3).save(Gallery::path(QStringLiteral("buttons_x3.png"))));
    QTest::mouseRelease(pressed, Qt::LeftButton, {}, QPoint(30, 10));
}

QTEST_MAIN(TestGalleryToolbar)
#include "gallery_toolbar.moc"
