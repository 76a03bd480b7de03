#include "MasterDataFixture.h"
#include "masterdata/Zwolnienia_item.h"
#include "platform/clock/Clock.h"
#include "platform/db/Recordset.h"
#include "tests/support/TestSupport.h"

#include <QDateEdit>
#include <QListWidget>

class TestZwolnieniaItem : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    qint64 m_id = 0;

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        m_id = TestSupport::insert(
            db(), QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) "
                                 "VALUES ('2024-05-10', '2024-05-12', 0, '7', 'L4')"));
    }

    void cleanup()
    {
        Clock::setNow({});
        closeDatabase();
    }

    void opening()
    {
        Clock::setNow(QDateTime(QDate(2024, 1, 31), QTime(12, 0)));
        Zwolnienia_item editor;
        QCOMPARE(editor.windowTitle(), QStringLiteral("Dane zwolnienia"));
        QCOMPARE(editor.firstDay(), QDate(2024, 1, 31));
        QCOMPARE(editor.lastDay(), QDate(2024, 2, 29));
        QCOMPARE(editor.findChild<QDateEdit *>(QStringLiteral("poleData0"))->displayFormat(),
                 QStringLiteral("dd.MM.yyyy"));

        editor.setID(QString::number(m_id));
        QVERIFY(editor.GetInfo());
        QCOMPARE(editor.firstDay(), QDate(2024, 5, 10));
        QCOMPARE(editor.lastDay(), QDate(2024, 5, 12));
        QCOMPARE(editor.description(), QStringLiteral("L4"));

        Zwolnienia_item gone;
        gone.setID(QString::number(m_id + 1));
        QVERIFY(!gone.GetInfo());
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral(
                                        "Wybrane zwolnienie nie istnieje już w bazie danych.")});
    }

    void save_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QString>("opis");
        QTest::addColumn<QString>("line");
        QTest::newRow("one day") << QDate(2024, 6, 3) << QDate(2024, 6, 3) << QStringLiteral("kurs")
                                 << QStringLiteral("3.06.2024 - kurs");
        QTest::newRow("no description") << QDate(2024, 6, 3) << QDate(2024, 7, 1) << QString()
                                        << QStringLiteral("3.06 do 1.07.2024 - ");
        QTest::newRow("after first day")
            << QDate(2024, 6, 4) << QDate(2024, 6, 3) << QStringLiteral("x") << QString();
    }

    void save()
    {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(QString, opis);
        QFETCH(QString, line);
        QListWidget list;
        auto *entry = new QListWidgetItem(QStringLiteral("old"), &list);
        entry->setData(Qt::UserRole, m_id);

        Zwolnienia_item editor;
        editor.setID(QString::number(m_id));
        editor.setRodzaj(0);
        editor.setListLine(entry);
        QVERIFY(editor.GetInfo());
        editor.setPeriod(first, last);
        editor.setDescription(opis);
        const bool refused = line.isEmpty();
        QCOMPARE(editor.save(), !refused);

        auto rs = db().openQuery(QStringLiteral("SELECT * FROM zwolnienia WHERE id=?"), {m_id});
        if (refused) {
            QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Błędne daty!")});
            QCOMPARE(rs->text(QStringLiteral("od")), QStringLiteral("2024-05-10"));
            QCOMPARE(rs->text(QStringLiteral("opis")), QStringLiteral("L4"));
            QCOMPARE(entry->text(), QStringLiteral("old"));
            QCOMPARE(editor.result(), int(QDialog::Rejected));
            return;
        }
        // Dates only, no time of day.
        QCOMPARE(rs->text(QStringLiteral("od")), first.toString(Qt::ISODate));
        QCOMPARE(rs->text(QStringLiteral("do")), last.toString(Qt::ISODate));
        QCOMPARE(rs->text(QStringLiteral("opis")), opis);
        QCOMPARE(rs->text(QStringLiteral("id_item")), QStringLiteral("7"));
        QCOMPARE(entry->text(), line);
        QCOMPARE(entry->data(Qt::UserRole).toLongLong(), m_id);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
    }

    void saveWithoutRow()
    {
        Zwolnienia_item editor;
        editor.setPeriod(QDate(2024, 1, 1), QDate(2024, 1, 2));
        QVERIFY(!editor.save());
        editor.setID(QString::number(m_id + 5));
        QVERIFY(!editor.save());
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM zwolnienia")).toInt(), 1);
    }
};

QTEST_MAIN(TestZwolnieniaItem)
#include "tst_zwolnienia_item.moc"
