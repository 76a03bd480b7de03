#include "controls/ShownText.h"

#include <QTest>
#include <QTreeWidget>

class TestShownText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cut_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("shorter") << QStringLiteral("Maj") << 5 << QStringLiteral("Maj");
        QTest::newRow("exact") << QStringLiteral("Maj") << 3 << QStringLiteral("Maj");
        QTest::newRow("longer") << QStringLiteral("Grafik") << 4 << QStringLiteral("Graf");
        QTest::newRow("pair at the cut") << QStringLiteral("ab😀c") << 3 << QStringLiteral("ab");
        QTest::newRow("pair before the cut") << QStringLiteral("a😀c") << 3 << QStringLiteral("a😀");
        QTest::newRow("nothing") << QStringLiteral("Maj") << 0 << QString();
    }
    void cut()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        QCOMPARE(ShownText::cut(text, limit), expected);
    }

    // A row lays out only the cut of its text, and keeps the text whole.
    void delegateLaysOutTheCut()
    {
        QTreeWidget list;
        list.setItemDelegate(new ShownText::Delegate(&list));
        const QString text(1'000'000, u'W');
        auto *row = new QTreeWidgetItem(&list, {text});
        const QModelIndex index = list.indexFromItem(row);
        QStyleOptionViewItem option;
        option.initFrom(&list);
        const int width = list.itemDelegate()->sizeHint(option, index).width();
        const int cutWidth = list.fontMetrics().horizontalAdvance(ShownText::cut(text));
        QVERIFY2(width >= cutWidth && width < cutWidth + 100, qPrintable(QString::number(width)));
        QCOMPARE(row->text(0), text);
    }
};

QTEST_MAIN(TestShownText)
#include "tst_showntext.moc"
