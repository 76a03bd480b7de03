#include "core/Globals.h"
#include "mainwindow/Wykluczenia.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/TestDatabase.h"

#include <QTest>
#include <QTreeWidget>

// The exclusions view: days in document order, their lines sorted, names
// from the database, items of deleted rows left out.
class TestWykluczenia : public QObject
{
    Q_OBJECT

    TestSupport::TestDatabase m_db;

    static QStringList lines(const QTreeWidget *tree)
    {
        QStringList result;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *day = tree->topLevelItem(i);
            result << day->text(0) + u'=' + day->data(0, Qt::UserRole).toString();
            for (int j = 0; j < day->childCount(); ++j)
                result << QStringLiteral("  ") + day->child(j)->text(0);
        }
        return result;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.isValid(), qPrintable(m_db.errorString()));
        Globals::setDatabase(m_db.take());
        Db::Database &db = *Globals::database();
        QVERIFY(db.execute(QStringLiteral("INSERT INTO grupy (id, nazwa) VALUES (4, 'Alfa')")));
        QVERIFY(
            db.execute(QStringLiteral("INSERT INTO ludzie (id, id_grupa, nazwisko, imie) VALUES "
                                      "(7, '4', 'Żak', 'Ewa'), (8, '4', 'Adamczyk', 'Jan'), "
                                      "(9, '4', 'Ślusarz', 'Olaf')")));
    }
    void cleanupTestCase() { Globals::closeDatabase(); }

    void tree_data()
    {
        QTest::addColumn<QString>("exclusions");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << "" << QStringList();
        QTest::newRow("empty") << "<Exclusions/>" << QStringList();
        QTest::newRow("sorted lines, period forms")
            << "<Exclusions><Day Id=\"12\">"
               "<Item Id=\"7P\" Date1=\"2024-05-10\" Date2=\"2024-05-14\" Kind=\"Zw\"/>"
               "<Item Id=\"4G\" Date1=\"2024-05-12\" Date2=\"2024-05-12\" Kind=\"Zw\"/>"
               "<Item Id=\"9P\" Date1=\"2024-04-28\" Date2=\"2024-05-12\" Kind=\"Zw\"/>"
               "<Item Id=\"8P\" Date1=\"2023-12-30\" Date2=\"2024-05-12\" Kind=\"Zw\"/>"
               "</Day></Exclusions>"
            << QStringList{"Dzień 12=D12", "  Adamczyk Jan (zw. 30.12.23 do 12.05.2024)",
                           "  Grupa Alfa (zw. 12.05.2024)",
                           "  Ślusarz Olaf (zw. 28.04 do 12.05.2024)",
                           "  Żak Ewa (zw. 10-14.05.2024)"};
        QTest::newRow("deleted rows, days in document order")
            << "<Exclusions><Day Id=\"5\"><Item Id=\"99P\" Date1=\"2024-05-05\" "
               "Date2=\"2024-05-05\"/>"
               "<Item Id=\"99G\" Date1=\"2024-05-05\" Date2=\"2024-05-05\"/></Day>"
               "<Day Id=\"3\"><Item Id=\"P8\" Date1=\"2024-05-03\" "
               "Date2=\"2024-05-03\"/></Day></Exclusions>"
            << QStringList{"Dzień 5=D5", "Dzień 3=D3", "  Adamczyk Jan (zw. 3.05.2024)"};
        // Group 4 exists, person 4 does not: one id, two kinds.
        QTest::newRow("a name on several days, a group's id that no person has")
            << "<Exclusions><Day Id=\"1\">"
               "<Item Id=\"7P\" Date1=\"2024-05-01\" Date2=\"2024-05-02\"/>"
               "<Item Id=\"4G\" Date1=\"2024-05-01\" Date2=\"2024-05-01\"/>"
               "<Item Id=\"4P\" Date1=\"2024-05-01\" Date2=\"2024-05-01\"/></Day>"
               "<Day Id=\"2\"><Item Id=\"4P\" Date1=\"2024-05-02\" Date2=\"2024-05-02\"/>"
               "<Item Id=\"7P\" Date1=\"2024-05-01\" Date2=\"2024-05-02\"/></Day></Exclusions>"
            << QStringList{"Dzień 1=D1", "  Grupa Alfa (zw. 1.05.2024)",
                           "  Żak Ewa (zw. 1-2.05.2024)", "Dzień 2=D2",
                           "  Żak Ewa (zw. 1-2.05.2024)"};
    }
    void tree()
    {
        QFETCH(QString, exclusions);
        QFETCH(QStringList, expected);
        Xml::Document roster;
        QVERIFY(roster.loadXml(
            QStringLiteral("<?xml version='1.0' encoding='windows-1250'?><Baza Date=\"2024-05-01\">"
                           "<Services/>") +
            exclusions + QStringLiteral("</Baza>")));
        Wykluczenia view(&roster);
        QCOMPARE(view.windowTitle(), QStringLiteral("Wykluczenia"));
        QCOMPARE(lines(view.lista()), expected);
        QVERIFY(!view.lista()->isHidden());
    }
};

QTEST_MAIN(TestWykluczenia)
#include "tst_wykluczenia.moc"
