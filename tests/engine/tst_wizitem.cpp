#include "engine/RuleSetDocument.h"
#include "engine/WizItem.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

namespace {

const QChar Nul(u'\0');

QString list(std::initializer_list<const char *> entries)
{
    QStringList texts;
    for (const char *entry : entries)
        texts << QString::fromUtf8(entry);
    return texts.join(Nul);
}

WizItem rule(int kind, const QString &arg1, const QString &arg2, const QString &dates)
{
    WizItem item;
    item.setKind(kind);
    item.setArgument1(arg1);
    item.setArgument2(arg2);
    item.setDates(dates);
    return item;
}

// SubItems of one Item as "Arg2,Date1,Date2" ("-" for no Arg2).
QStringList subItems(const Xml::Node &item)
{
    QStringList texts;
    for (const Xml::Node &sub : item.childElements(QStringLiteral("SubItem")))
        texts << (sub.hasAttribute(QStringLiteral("Arg2")) ? sub.attribute(QStringLiteral("Arg2"))
                                                           : QStringLiteral("-")) +
                     u',' + sub.attribute(QStringLiteral("Date1")) + u',' +
                     sub.attribute(QStringLiteral("Date2"));
    return texts;
}

} // namespace

class TestWizItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void makeText_data();
    void makeText();
    void storageKeepsNulSeparators();
    void emptyRuleSetDocument();
    void ruleSetDocument_data();
    void ruleSetDocument();
    void ruleSetDocumentRefusesBadRules_data();
    void ruleSetDocumentRefusesBadRules();
};

void TestWizItem::makeText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("arg1");
    QTest::addColumn<QString>("arg2");
    QTest::addColumn<QString>("dates");
    QTest::addColumn<QString>("text");

    QTest::newRow("kind 0")
        << 0 << list({"3;Alfa", "5;Beta"}) << list({"7;Warta"}) << list({"1;5;1-5", "12;12;12"})
        << QStringLiteral("Grupy: Alfa, Beta wykonują tylko służby: Warta w dniach: 1-5, 12");
    QTest::newRow("kind 1")
        << 1 << list({"7;Warta"}) << list({"3;Alfa"}) << list({"2;2;2"})
        << QStringLiteral("Służby: Warta są wykonywane tylko przez grupy: Alfa w dniach: 2");
    QTest::newRow("kind 2") << 2 << list({"7;Zmiana A"}) << QString() << list({"3;4;x"})
                            << QStringLiteral("Zwolnienie dla grup: Zmiana A w dniach: 3-4");
    QTest::newRow("kind 3") << 3 << list({"4;Kowal Jan"}) << QString() << list({"3;3;3"})
                            << QStringLiteral("Zwolnienie dla osób: Kowal Jan w dniach: 3");
    QTest::newRow("kind 4") << 4 << list({"7;Warta"}) << QString() << list({"10;20;10-20"})
                            << QStringLiteral("Zwolnienie służb: Warta w dniach: 10-20");
    QTest::newRow("kind 5")
        << 5 << list({"4;Kowal Jan"}) << list({"7;Warta", "8;Brama"}) << list({"1;31;1-31"})
        << QStringLiteral("Ludzie: Kowal Jan wykonują tylko służby: Warta, Brama w dniach: 1-31");
    QTest::newRow("kind 6")
        << 6 << list({"7;Warta"}) << list({"4;Kowal Jan"}) << list({"5;6;5-6"})
        << QStringLiteral("Służby: Warta są wykonywane tylko przez ludzi: Kowal Jan w dniach: 5-6");
    QTest::newRow("no periods") << 2 << list({"7;A"}) << QString() << QString()
                                << QStringLiteral("Zwolnienie dla grup: A w dniach: ");
    QTest::newRow("name with semicolon")
        << 3 << list({"4;Nowak; Anna"}) << QString() << list({"1;2;1-2"})
        << QStringLiteral("Zwolnienie dla osób: Nowak; Anna w dniach: 1-2");
    QTest::newRow("kind out of range")
        << 7 << list({"4;X"}) << QString() << list({"1;2;1-2"}) << QString();
}

void TestWizItem::makeText()
{
    QFETCH(int, kind);
    QFETCH(QString, arg1);
    QFETCH(QString, arg2);
    QFETCH(QString, dates);
    QFETCH(QString, text);
    QCOMPARE(rule(kind, arg1, arg2, dates).MakeText(), text);
}

void TestWizItem::storageKeepsNulSeparators()
{
    TestSupport::TestDatabase database;
    QVERIFY2(database.isValid(), qPrintable(database.errorString()));
    WizItem first = rule(5, list({"4;Kowal Jan", "9;Nowak Anna"}), list({"7;Warta"}),
                         list({"1;5;1-5", "12;12;12"}));
    WizItem second = rule(2, list({"2;Zmiana"}), QString(), list({"3;4;3-4"}));
    QString error;
    QVERIFY2(first.store(database.db(), 3, &error), qPrintable(error));
    QVERIFY2(second.store(database.db(), 3, &error), qPrintable(error));
    QVERIFY(!first.ID().isEmpty());
    QVERIFY(first.ID() != second.ID());

    // Storing again updates the same row.
    first.setDates(list({"2;2;2"}));
    QVERIFY(first.store(database.db(), 3, &error));
    QVERIFY(database.reopen());

    bool ok = false;
    const QList<WizItem> loaded = WizItem::LoadRuleSet(database.db(), 3, &error, &ok);
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[0].ID(), first.ID());
    QCOMPARE(loaded[0].Kind(), 5);
    QCOMPARE(loaded[0].Argument1(), first.Argument1());
    QCOMPARE(loaded[0].Argument1().count(Nul), 1);
    QCOMPARE(loaded[0].Argument2(), first.Argument2());
    QCOMPARE(loaded[0].Dates(), list({"2;2;2"}));
    QCOMPARE(loaded[1].Argument2(), QString());
    QCOMPARE(loaded[1].MakeText(), QStringLiteral("Zwolnienie dla grup: Zmiana w dniach: 3-4"));
    QVERIFY(WizItem::LoadRuleSet(database.db(), 4, &error, &ok).isEmpty());
    QVERIFY(ok);
}

void TestWizItem::emptyRuleSetDocument()
{
    TestSupport::TestDatabase database;
    QVERIFY(database.isValid());
    // A rule with an id <= 0 is never read.
    QVERIFY(rule(0, list({"1;A"}), list({"5;W"}), list({"1;2;1-2"})).store(database.db(), 0));
    const std::unique_ptr<Xml::Document> document = XML::BuildRuleSetDocument(database.db(), 0);
    QVERIFY(document);
    QCOMPARE(
        document->documentElement().xml(),
        QStringLiteral(
            "<Root>\r\n<GrupySluzby/>\r\n<SluzbyGrupy/>\r\n<LudzieSluzby/>\r\n<SluzbyLudzie/>\r\n"
            "<Zwolnienia/>\r\n<SluzbyIlosc/>\r\n</Root>"));
}

void TestWizItem::ruleSetDocument_data()
{
    QTest::addColumn<QList<WizItem>>("rules");
    QTest::addColumn<QString>("section");
    // Per Item: "Id=SubItem|SubItem..."
    QTest::addColumn<QStringList>("items");

    QTest::newRow("kind 0, two groups, two duties, two periods")
        << QList<WizItem>{rule(0, list({"1;A", "2;B"}), list({"5;W", "7;X"}),
                               list({"1;10;1-10", "20;25;20-25"}))}
        << QStringLiteral("GrupySluzby")
        << QStringList{QStringLiteral("1=5,1,10|5,20,25|7,1,10|7,20,25"),
                       QStringLiteral("2=5,1,10|5,20,25|7,1,10|7,20,25")};
    QTest::newRow("kind 1") << QList<WizItem>{rule(1, list({"5;W"}), list({"2;B", "3;C"}),
                                                   list({"4;4;4"}))}
                            << QStringLiteral("SluzbyGrupy")
                            << QStringList{QStringLiteral("5=2,4,4|3,4,4")};
    QTest::newRow("kind 2 marks groups")
        << QList<WizItem>{rule(2, list({"2;B"}), QString(), list({"6;8;6-8"}))}
        << QStringLiteral("Zwolnienia") << QStringList{QStringLiteral("2=G,6,8")};
    QTest::newRow("kind 3 marks persons")
        << QList<WizItem>{rule(3, list({"4;Kowal"}), QString(), list({"3;3;3"}))}
        << QStringLiteral("Zwolnienia") << QStringList{QStringLiteral("4=P,3,3")};
    QTest::newRow("kinds 2 and 3 share Zwolnienia")
        << QList<WizItem>{rule(2, list({"4;B"}), QString(), list({"1;2;1-2"})),
                          rule(3, list({"4;Kowal"}), QString(), list({"3;3;3"}))}
        << QStringLiteral("Zwolnienia")
        << QStringList{QStringLiteral("4=G,1,2"), QStringLiteral("4=P,3,3")};
    QTest::newRow("kind 4 has no Arg2")
        << QList<WizItem>{rule(4, list({"5;W"}), QString(), list({"1;2;1-2", "9;9;9"}))}
        << QStringLiteral("SluzbyIlosc") << QStringList{QStringLiteral("5=-,1,2|-,9,9")};
    QTest::newRow("kind 5") << QList<WizItem>{rule(5, list({"4;Kowal"}), list({"5;W"}),
                                                   list({"1;31;1-31"}))}
                            << QStringLiteral("LudzieSluzby")
                            << QStringList{QStringLiteral("4=5,1,31")};
    QTest::newRow("kind 6, same duty in two rules")
        << QList<WizItem>{rule(6, list({"5;W"}), list({"4;Kowal"}), list({"1;3;1-3"})),
                          rule(6, list({"5;W"}), list({"9;Nowak"}), list({"2;2;2"}))}
        << QStringLiteral("SluzbyLudzie")
        << QStringList{QStringLiteral("5=4,1,3"), QStringLiteral("5=9,2,2")};
    QTest::newRow("rule without periods")
        << QList<WizItem>{rule(0, list({"1;A"}), list({"5;W"}), QString())}
        << QStringLiteral("GrupySluzby") << QStringList{QStringLiteral("1=")};
}

void TestWizItem::ruleSetDocument()
{
    QFETCH(QList<WizItem>, rules);
    QFETCH(QString, section);
    QFETCH(QStringList, items);

    TestSupport::TestDatabase database;
    QVERIFY(database.isValid());
    QVERIFY(database.db().execute(
        QStringLiteral("INSERT INTO wizardlist (nazwa) VALUES ('A'), ('B')")));
    for (WizItem item : rules)
        QVERIFY(item.store(database.db(), 2));
    // Rules of another set stay out.
    QVERIFY(rule(0, list({"99;Z"}), list({"5;W"}), list({"1;2;1-2"})).store(database.db(), 1));

    QString error;
    const std::unique_ptr<Xml::Document> document =
        XML::BuildRuleSetDocument(database.db(), 2, &error);
    QVERIFY2(document, qPrintable(error));
    QStringList found;
    int total = 0;
    for (const Xml::Node &sectionNode : document->documentElement().childElements()) {
        for (const Xml::Node &item : sectionNode.childElements(QStringLiteral("Item"))) {
            ++total;
            if (sectionNode.name() == section)
                found << item.attribute(QStringLiteral("Id")) + u'=' + subItems(item).join(u'|');
        }
    }
    QCOMPARE(found, items);
    QCOMPARE(total, items.size());
    QCOMPARE(document->documentElement().childElements().size(), 6);
}

void TestWizItem::ruleSetDocumentRefusesBadRules_data()
{
    QTest::addColumn<WizItem>("bad");
    QTest::newRow("kind 7") << rule(7, list({"1;A"}), QString(), list({"1;2;1-2"}));
    QTest::newRow("kind -1") << rule(-1, list({"1;A"}), QString(), list({"1;2;1-2"}));
    QTest::newRow("period of one field") << rule(2, list({"1;A"}), QString(), list({"5"}));
}

void TestWizItem::ruleSetDocumentRefusesBadRules()
{
    QFETCH(WizItem, bad);
    TestSupport::TestDatabase database;
    QVERIFY(database.isValid());
    QVERIFY(bad.store(database.db(), 1));
    QString error;
    QVERIFY(!XML::BuildRuleSetDocument(database.db(), 1, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestWizItem)
#include "tst_wizitem.moc"
