#include "controls/PolishTreeItem.h"
#include "tests/support/Mouse.h"

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

namespace {

// Column 0 the text sorted, column 1 the row's place when it was added.
QTreeWidget *listOf(const QStringList &texts, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setColumnCount(2);
    list->setRootIsDecorated(false);
    list->setSortingEnabled(true);
    list->sortByColumn(1, Qt::AscendingOrder);
    for (int i = 0; i < texts.size(); ++i)
        new PolishTreeItem(list, {texts.at(i), QString::number(i)});
    return list;
}

QStringList shown(const QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + u'/' + list->topLevelItem(i)->text(1);
    return rows;
}

} // namespace

// Rows sort as a Polish reader orders them, by a header click as by the
// program's own sort of tree nodes, and follow a text changed since.
class TestPolishTreeItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("sorted"); // text/place added
        QTest::newRow("Polish letters after their base letters")
            << QStringList{"Żak", "Zieliński", "Łukasik", "Lis", "Ćwik", "Cygan", "Dudek", "Śliwa"}
            << QStringList{"Cygan/5",   "Ćwik/4",  "Dudek/6",     "Lis/3",
                           "Łukasik/2", "Śliwa/7", "Zieliński/1", "Żak/0"};
        QTest::newRow("letter case after the letters, small first")
            << QStringList{"Nowak", "adamczyk", "nowak", "Adamczyk", "de Wit"}
            << QStringList{"adamczyk/1", "Adamczyk/3", "de Wit/4", "nowak/2", "Nowak/0"};
        QTest::newRow("counts as texts, the empty text first")
            << QStringList{"9", "10", "", "1", "100"}
            << QStringList{"/2", "1/3", "10/1", "100/4", "9/0"};
        QTest::newRow("a letter of another alphabet among Polish names")
            << QStringList{"Müller", "Mueller", "Mąka", "Maj"}
            << QStringList{"Maj/3", "Mąka/2", "Mueller/1", "Müller/0"};
        QTest::newRow("equal texts keep the order they were added in")
            << QStringList{"Kowal", "Adam", "Kowal", "Adam", "Kowal"}
            << QStringList{"Adam/1", "Adam/3", "Kowal/0", "Kowal/2", "Kowal/4"};
    }
    void order()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, sorted);
        QWidget window;
        QTreeWidget *list = listOf(texts, &window);
        list->resize(300, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(Mouse::clickHeader(*list, 0));
        QCOMPARE(list->header()->sortIndicatorSection(), 0);
        QCOMPARE(shown(list), sorted);

        // The program's own sort of tree nodes orders plain rows the same way.
        QList<QTreeWidgetItem *> nodes;
        for (int i = 0; i < texts.size(); ++i)
            nodes << new QTreeWidgetItem(QStringList{texts.at(i), QString::number(i)});
        PolishTreeItem::sortByText(nodes, 0);
        QStringList byNodes;
        for (const QTreeWidgetItem *node : std::as_const(nodes))
            byNodes << node->text(0) + u'/' + node->text(1);
        qDeleteAll(nodes);
        QCOMPARE(byNodes, sorted);
    }

    void followsChangedText()
    {
        QWidget window;
        QTreeWidget *list = listOf({"Bąk", "Cebula", "Adamski"}, &window);
        list->resize(300, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(Mouse::clickHeader(*list, 0));
        QCOMPARE(shown(list), (QStringList{"Adamski/2", "Bąk/0", "Cebula/1"}));

        // Another column and back: each sort reads the texts as they are now.
        list->topLevelItem(0)->setText(0, QStringLiteral("Źrebiec"));
        QVERIFY(Mouse::clickHeader(*list, 1));
        QCOMPARE(shown(list), (QStringList{"Bąk/0", "Cebula/1", "Źrebiec/2"}));
        list->topLevelItem(1)->setText(0, QStringLiteral("Ćma"));
        QVERIFY(Mouse::clickHeader(*list, 0));
        QCOMPARE(shown(list), (QStringList{"Bąk/0", "Ćma/1", "Źrebiec/2"}));
        // A copy sorts by its own texts.
        auto *copy = list->topLevelItem(0)->clone();
        copy->setText(0, QStringLiteral("Zając"));
        list->addTopLevelItem(copy);
        QCOMPARE(shown(list), (QStringList{"Bąk/0", "Ćma/1", "Zając/0", "Źrebiec/2"}));
    }
};

QTEST_MAIN(TestPolishTreeItem)
#include "tst_polishtreeitem.moc"
