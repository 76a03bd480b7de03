// Test-only gallery: opens the master-data, roster and wizard windows on a
// small database and saves their pictures into the folder named by
// KADRELO_SCREENSHOTS (else gallery/ beside it) for a person to look at.
// Not a test: it checks nothing.
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "engine/WizItem.h"
#include "engine/ui/Wizard.h"
#include "engine/ui/WizardFile.h"
#include "engine/ui/WizardItem.h"
#include "mainwindow/Bilans.h"
#include "mainwindow/CellList.h"
#include "mainwindow/PeopleModel.h"
#include "masterdata/Copy.h"
#include "masterdata/Grafik.h"
#include "masterdata/LastDane.h"
#include "masterdata/Opcje.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/Gallery.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

class NoPicks : public WizardHost
{
public:
    QString pick(int) override { return {}; }
};

const QChar Nul(u'\0');

} // namespace

class TestGalleryWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::TestDatabase> m_file;

    void save(QWidget &window, const QString &name)
    {
        QVERIFY2(Gallery::save(window, name), qPrintable(Gallery::path(name)));
    }

    void exec(const QString &sql, const QVariantList &params = {})
    {
        QVERIFY2(Globals::database()->execute(sql, params), qPrintable(sql));
    }

private Q_SLOTS:
    void initTestCase()
    {
        Gallery::useBuildSchema();
        m_file = std::make_unique<TestSupport::TestDatabase>();
        QVERIFY2(m_file->isValid(), qPrintable(m_file->errorString()));
        Globals::setDatabase(m_file->take());
        exec(QStringLiteral("INSERT INTO grupy (id, nazwa) VALUES (1, 'Pluton ochrony'), "
                            "(2, 'Kompania reprezentacyjna Wojska Polskiego'), (3, 'Zmiana B')"));
        exec(QStringLiteral(
            "INSERT INTO ludzie (id, id_grupa, nazwisko, imie, stopien, mezczyzna) VALUES "
            "(1, '1', 'Nowak', 'Jan', 'kpr.', 1), (2, '1', 'Kowalska', 'Ewa', 'sierż.', 0), "
            "(3, '2', 'Wiśniewski', 'Grzegorz', 'st. szer.', 1), "
            "(4, '2', 'Żółkiewska-Brzęczyszczykiewicz', 'Małgorzata', 'chor.', 0), "
            "(5, '3', 'Ślusarz', 'Łukasz', 'szer.', 1)"));
        exec(QStringLiteral(
            "INSERT INTO sluzby (id, nazwa, od, okres, ilosc_std) VALUES "
            "(1, 'Dyżur operacyjny', '08:00', 24, 2), (2, 'Patrol', '20:00', 12, 3), "
            "(3, 'Warta przy bramie głównej', '06:00', 8, 1)"));
        exec(QStringLiteral("INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES "
                            "('2', '2024-05-03', 5), ('1', '2024-05-11', 0)"));
        exec(QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES "
                            "('1', '2024-05', 3, '2024-04-28 08:00:00'), "
                            "('4', '2024-05', 12, '2024-04-30 20:00:00')"));
        exec(QStringLiteral(
            "INSERT INTO wizardlist (id, nazwa) VALUES (4, 'Maj - urlopy i święta'), "
            "(6, 'Zestaw z 2024-05-02')"));
        const QString rule = QStringLiteral("INSERT INTO wizardlist_items (id_parent, Kind, arg1, "
                                            "arg2, Dates) VALUES (?, ?, ?, ?, ?)");
        exec(rule, {QStringLiteral("4"), 0,
                    QStringLiteral("1;Pluton ochrony") + Nul + QStringLiteral("3;Zmiana B"),
                    QStringLiteral("2;Patrol"), QStringLiteral("1;5;1-5")});
        exec(rule,
             {QStringLiteral("4"), 3, QStringLiteral("4;Żółkiewska-Brzęczyszczykiewicz Małgorzata"),
              QString(), QStringLiteral("1;3;1-3") + Nul + QStringLiteral("12;12;12")});
        exec(rule, {QStringLiteral("4"), 4, QStringLiteral("3;Warta przy bramie głównej"),
                    QString(), QStringLiteral("2;2;2")});
        Globals::setOptions(clsOptions::load(*Globals::database()));
        QVERIFY(Globals::options());
    }

    void cleanupTestCase() { Globals::closeDatabase(); }

    void masterData()
    {
        Opcje options;
        save(options, QStringLiteral("opcje.png"));

        Grafik duties;
        duties.setMonth(QDate(2024, 5, 1));
        save(duties, QStringLiteral("grafik.png"));

        Copy copy;
        copy.setMonths(QDate(2024, 5, 1), QDate(2024, 6, 1));
        save(copy, QStringLiteral("copy.png"));

        LastDane last;
        last.show();
        last.setMonth(QDate(2024, 5, 1));
        save(last, QStringLiteral("lastdane.png"));
        Messages::setNextAnswer(Messages::Answer::No);
    }

    void roster()
    {
        auto document = XML::CreateScheduleDocument(QDate(2024, 5, 1));
        QVERIFY(document);
        for (int day = 1; day <= 3; ++day) {
            Xml::Node node = XML::AddDayNode(*document, day);
            Xml::Node duty = XML::AddDutyNode(node, QStringLiteral("Dyżur operacyjny"), 1,
                                              QStringLiteral("1.") + QString::number(day));
            XML::AddPersonNode(duty, QStringLiteral("kpr. Nowak Jan"), 1);
            XML::AddPersonNode(
                duty, QStringLiteral("chor. Żółkiewska-Brzęczyszczykiewicz Małgorzata"), 4);
            Xml::Node patrol = XML::AddDutyNode(node, QStringLiteral("Patrol"), 2,
                                                QStringLiteral("2.") + QString::number(day));
            XML::AddPersonNode(patrol, QStringLiteral("st. szer. Wiśniewski Grzegorz"), 3);
        }

        FlexGrid grid;
        grid.setRows(4);
        grid.setCols(3);
        grid.setColData(1, 1);
        grid.setColData(2, 2);
        grid.setText(0, 1, QStringLiteral("Dyżur operacyjny"));
        grid.setText(0, 2, QStringLiteral("Patrol"));
        PeopleModel people;
        const QList<QStringList> rows{
            {"1", "Nowak Jan", "Pluton ochrony", "3"},
            {"4", "Żółkiewska-Brzęczyszczykiewicz Małgorzata",
             "Kompania reprezentacyjna Wojska Polskiego", "3"},
            {"3", "Wiśniewski Grzegorz", "Kompania reprezentacyjna Wojska Polskiego", "3"}};
        for (const QStringList &row : rows)
            people.appendRow(
                {row[0].toLongLong(), {row[1], row[2], row[3]}, QStringLiteral("2024-05-03")});

        CellList cell(document.get(), &grid, &people, QDate(2024, 5, 1));
        QVERIFY(cell.openCell(2, 1));
        save(cell, QStringLiteral("celllist.png"));

        Bilans balance(*document);
        save(balance, QStringLiteral("bilans.png"));
        balance.Combo1()->setCurrentIndex(1);
        save(balance, QStringLiteral("bilans-uslugi.png"));
    }

    void wizard()
    {
        NoPicks host;
        Wizard sets(host);
        save(sets, QStringLiteral("wizard.png"));

        WizardFile file(host);
        QVERIFY(file.GetList(4));
        file.Text1()->setText(QStringLiteral("Maj - urlopy i święta"));
        save(file, QStringLiteral("wizardfile.png"));

        WizItem absent;
        absent.setKind(WizItem::PersonsAbsent);
        absent.setArgument1(QStringLiteral("4;Żółkiewska-Brzęczyszczykiewicz Małgorzata"));
        absent.setDates(QStringLiteral("1;3;1-3") + Nul + QStringLiteral("12;12;12"));
        WizardItem item(host);
        item.setMyItem(&absent);
        item.GetInfo();
        save(item, QStringLiteral("wizarditem.png"));

        WizItem fresh;
        WizardItem added(host);
        added.setMyItem(&fresh);
        added.SetNew();
        save(added, QStringLiteral("wizarditem-new.png"));
    }
};

QTEST_MAIN(TestGalleryWindows)
#include "gallery_windows.moc"
