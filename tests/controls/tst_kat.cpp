#include "controls/Kat.h"
#include "platform/draw/Gdi.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The people window's tree: the root "Wszystkie" and two groups.
struct KatFixture
{
    QStringList log;
    Kat kat;

    KatFixture()
    {
        kat.setCaptionName("Grupy");
        kat.Nodes().Add({}, tvwLast, "ALL", "Wszystkie");
        kat.Nodes().Add("ALL", tvwChild, "ID=2", "Beta");
        kat.Nodes().Add("ALL", tvwChild, "ID=1", "Alfa");
        kat.Nodes().Add("ALL", tvwChild, "ID=x7", "Zwiad");
        kat.tree()->expandAll();
        kat.resize(220, 300);
        kat.show();
        QVERIFY(QTest::qWaitForWindowExposed(&kat));
        QObject::connect(&kat, &Kat::NodeClick, &kat,
                         [this](QTreeWidgetItem *n) { log << "Click:" + KatNodes::key(n); });
        QObject::connect(&kat, &Kat::AddClick, &kat,
                         [this](const QString &k) { log << "Add:" + k; });
        QObject::connect(&kat, &Kat::DeleteClick, &kat,
                         [this](const QString &k) { log << "Delete:" + k; });
        QObject::connect(&kat, &Kat::EditButtonDown, &kat,
                         [this](const QString &k) { log << "EditDown:" + k; });
        QObject::connect(
            &kat, &Kat::AfterRename, &kat,
            [this](const QString &id, const QString &name) { log << "Rename:" + id + ":" + name; });
    }
    void select(const QString &key)
    {
        kat.setSelectedItem(key.isEmpty() ? nullptr : kat.Nodes().Item(key));
    }
    bool editing() const { return editor() != nullptr; }
    QLineEdit *editor() const { return kat.tree()->viewport()->findChild<QLineEdit *>(); }
};

} // namespace

class TestKat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttons_data();
    void buttons();
    void rename_data();
    void rename();
    void treeEvents();
    void titleBar();
};

void TestKat::buttons_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("editing");
    QTest::newRow("add, nothing selected") << "" << 0 << QStringList{"Add:"} << false;
    QTest::newRow("add under the root") << "ALL" << 0 << QStringList{"Add:ALL"} << false;
    QTest::newRow("add beside a child") << "ID=2" << 0 << QStringList{"Add:ALL"} << false;
    QTest::newRow("delete, nothing selected") << "" << 2 << QStringList{} << false;
    QTest::newRow("delete the root") << "ALL" << 2 << QStringList{"Delete:ALL"} << false;
    QTest::newRow("delete a child") << "ID=2" << 2 << QStringList{"Delete:ID=2"} << false;
    QTest::newRow("edit, nothing selected") << "" << 1 << QStringList{} << false;
    QTest::newRow("edit a child") << "ID=2" << 1 << QStringList{"EditDown:ID=2"} << true;
    QTest::newRow("edit the root is refused") << "ALL" << 1 << QStringList{"EditDown:ALL"} << false;
}

void TestKat::buttons()
{
    QFETCH(QString, selected);
    QFETCH(int, button);
    QFETCH(QStringList, expected);
    QFETCH(bool, editing);
    KatFixture f;
    f.select(selected);
    QTest::mouseClick(f.kat.button(button), Qt::LeftButton);
    QCOMPARE(f.log, expected);
    QCOMPARE(f.editing(), editing);
    // The control itself deletes nothing.
    QCOMPARE(f.kat.Nodes().Count(), 4);
}

void TestKat::rename_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("children");
    QTest::newRow("new name, sorted") << "ID=1"
                                      << "Kappa" << QStringList{"Rename:1:Kappa", "Click:ID=1"}
                                      << QStringList{"Beta", "Kappa", "Zwiad"};
    // Polish order, not code points: "Ł" before "Z", lower case among upper.
    QTest::newRow("Polish letter") << "ID=1"
                                   << "Łączność" << QStringList{"Rename:1:Łączność", "Click:ID=1"}
                                   << QStringList{"Beta", "Łączność", "Zwiad"};
    QTest::newRow("accented capital")
        << "ID=2"
        << "Ćwiczebna" << QStringList{"Rename:2:Ćwiczebna", "Click:ID=2"}
        << QStringList{"Alfa", "Ćwiczebna", "Zwiad"};
    QTest::newRow("lower case") << "ID=x7"
                                << "artyleria" << QStringList{"Rename:0:artyleria", "Click:ID=x7"}
                                << QStringList{"Alfa", "artyleria", "Beta"};
    QTest::newRow("unchanged name")
        << "ID=2"
        << "Beta" << QStringList{"Click:ID=2"} << QStringList{"Alfa", "Beta", "Zwiad"};
    QTest::newRow("empty name") << "ID=2"
                                << "" << QStringList{} << QStringList{"Beta", "Alfa", "Zwiad"};
    QTest::newRow("key without a number") << "ID=x7"
                                          << "Omega" << QStringList{"Rename:0:Omega", "Click:ID=x7"}
                                          << QStringList{"Alfa", "Beta", "Omega"};
}

void TestKat::rename()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, children);
    KatFixture f;
    f.select(key);
    f.kat.StartLabelEdit();
    QVERIFY(f.editing());
    QLineEdit *editor = f.editor();
    QVERIFY(editor);
    // Typed over the old name, which the editor opens selected.
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(editor->text(), text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits and closes its editor through queued calls.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.editing());
    QCOMPARE(f.log, expected);
    QStringList shown;
    QTreeWidgetItem *root = f.kat.Nodes().Item("ALL");
    for (int i = 0; i < root->childCount(); ++i)
        shown << root->child(i)->text(0);
    QCOMPARE(shown, children);

    // The root is never edited.
    f.log.clear();
    f.select("ALL");
    f.kat.StartLabelEdit();
    QVERIFY(!f.editing());
    QVERIFY(f.log.isEmpty());
}

void TestKat::treeEvents()
{
    KatFixture f;
    QSignalSpy ups(&f.kat, &Kat::TreeMouseUp);
    QTreeWidgetItem *beta = f.kat.Nodes().Item("ID=2");
    const QPoint at = f.kat.tree()->visualItemRect(beta).center();
    QTest::mouseClick(f.kat.tree()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(f.log, QStringList{"Click:ID=2"});
    QCOMPARE(f.kat.SelectedItem(), beta);
    QCOMPARE(ups.size(), 1);
    const float x = ups.at(0).at(2).toFloat();
    const float y = ups.at(0).at(3).toFloat();
    QCOMPARE(x, float(at.x()) * Draw::twipsPerPixelX());
    QCOMPARE(f.kat.HitTest(x, y), beta);

    f.kat.setButtonsVisible(false);
    for (QLabel *label : f.kat.findChildren<QLabel *>())
        QCOMPARE(label->isVisible(), label->objectName() == "cName");
    QCOMPARE(f.kat.CaptionName(), QString("Grupy"));
}

void TestKat::titleBar()
{
    KatFixture f;
    const QImage &bar = f.kat.barImage();
    auto at = [&bar](int x, int y) { return bar.pixelColor(x, y); };
    QCOMPARE(at(0, 10), QColor(Qt::white)); // left edge line
    QCOMPARE(at(50, 0), QColor(255, 255, 255));
    QCOMPARE(at(50, 19), QColor(250, 250, 250));
    QCOMPARE(at(50, 20), QColor(242, 242, 242));
    QCOMPARE(at(50, 37), QColor(213, 213, 213));
    QCOMPARE(at(50, 38), QColor(Qt::white));
    QCOMPARE(at(50, 39), Draw::toQColor(Draw::sysColor(Draw::COLOR_BTNSHADOW)));
    QCOMPARE(f.kat.tree()->geometry().top(), f.kat.contentsRect().top() + Kat::BarHeight);
    QCOMPARE(f.kat.tree()->geometry().bottom(), f.kat.contentsRect().bottom());
}

QTEST_MAIN(TestKat)
#include "tst_kat.moc"
