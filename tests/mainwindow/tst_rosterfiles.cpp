#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Module1Ui.h"
#include "engine/ui/BuildTable.h"
#include "mainwindow/Compression.h"
#include "mainwindow/Panel.h"
#include "mainwindow/RosterFile.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/text/Cp1250.h"
#include "platform/xml/XmlDocument.h"
#include "tests/mainwindow/LongRoster.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Menus.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QXmlStreamReader>

#include <memory>

namespace {

// The main window with the build dialog answered in place.
class TestPanel : public Panel
{
public:
    QStringList opened; // class names of the windows shown

protected:
    int showModal(QDialog &dialog) override
    {
        opened << QString::fromLatin1(dialog.metaObject()->className());
        if (auto *build = qobject_cast<BuildTable *>(&dialog)) {
            build->setMonth(QDate(2024, 5, 1));
            return build->create() ? QDialog::Accepted : QDialog::Rejected;
        }
        return QDialog::Rejected;
    }
};

QStringList gridTexts(const FlexGrid &grid)
{
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            texts << grid.text(r, c);
    return texts;
}

// Key, name, group, count and tag of every row, in list order.
QStringList listRows(const QTreeView &list)
{
    QStringList rows;
    const QAbstractItemModel *model = list.model();
    for (int i = 0; i < model->rowCount(); ++i) {
        auto text = [&](int column, int role = Qt::DisplayRole) {
            return model->index(i, column).data(role).toString();
        };
        rows << QStringList{text(0, Qt::UserRole), text(0), text(1), text(2),
                            text(0, Qt::UserRole + 1)}
                    .join(u'|');
    }
    return rows;
}

// The text in the list's row and column, as a planner reads it there.
QString listText(const QTreeView &list, int row, int column)
{
    return list.model()->index(row, column).data().toString();
}

// A count as a file may bring it, put into the list's row.
void setListCount(const QTreeView &list, int row, const QString &count)
{
    QVERIFY(list.model()->setData(list.model()->index(row, 2), count));
}

// Clicks the button that stores the month's counts, beside the list.
void clickStoreCounts(Panel &panel)
{
    QVERIFY(Keyboard::showActive(panel));
    QAction *save = panel.tbBilans()->findChild<QAction *>(QStringLiteral("save"));
    QVERIFY(save && save->isEnabled());
    QTest::mouseClick(panel.tbBilans()->widgetForAction(save), Qt::LeftButton);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Saving, opening and exporting rosters and storing the month's counts,
// through the main window's own commands.
class TestRosterFiles : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    // A small May 2024 roster: day 1 has every person on duty 1, Kowalski and
    // an unknown person (99) on duty 2; Zając's group is gone from grupy.
    // Nowak's second Counter item repeats his first.
    QString smallRoster() const
    {
        return QStringLiteral("<Baza Date=\"2024-05-01\" Name=\"Grafik na maj 2024\"><Services>"
                              "<ServiceItem Id=\"%1\" Text=\"Dyżur&#13;&#10;od 08:00 przez 24 h\"/>"
                              "<ServiceItem Id=\"%2\" Text=\"Patrol\"/></Services>"
                              "<Dzien Id=\"1\"><Sluzba Id=\"%1\" Name=\"Dyżur\" Position=\"1.1\">"
                              "<Osoba Id=\"1\"><Nazwisko>x</Nazwisko></Osoba><Osoba Id=\"2\"/>"
                              "<Osoba Id=\"3\"/></Sluzba>"
                              "<Sluzba Id=\"%2\" Name=\"Patrol\" Position=\"2.1\"><Osoba Id=\"1\"/>"
                              "<Osoba Id=\"99\"/></Sluzba></Dzien>"
                              "<Dzien Id=\"2\"><Sluzba Id=\"%2\" Name=\"Patrol\" Position=\"2.2\">"
                              "<Osoba Id=\"4\"/><Osoba Id=\"2\"/></Sluzba></Dzien>"
                              "<Counter><Item Id=\"2\" Count=\"2\" Date=\"2024-05-02 20:00:00\"/>"
                              "<Item Id=\"99\" Count=\"5\" Date=\"2024-05-01\"/>"
                              "<Item Id=\"1\" Count=\"12\" Date=\"2024-05-01 20:00:00\"/>"
                              "<Item Id=\"2\" Count=\"7\" Date=\"2024-05-03\"/></Counter></Baza>")
            .arg(m_duty)
            .arg(m_patrol);
    }
    QString writeSmallRoster(const QString &name)
    {
        const QString file = path(name);
        QString error;
        if (!Compression::SaveFile(file, smallRoster(), &error))
            qWarning() << error;
        return file;
    }

    // A program folder with the spreadsheet export's template beside the program.
    void useProgramFolder()
    {
        const QString folder = path(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(folder));
        QFile::copy(
            QFileInfo(TestSupport::schemaPath()).dir().filePath(QStringLiteral("BazaXml.file")),
            QDir(folder).filePath(QStringLiteral("BazaXml.file")));
        Module1::setAppPath(folder);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        openDatabase();
        // Zając takes no part in a generated roster: only Alfa and Beta exist.
        exec(QStringLiteral(
            "INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, random) "
            "VALUES ('7', 'Zając', 'Ewa', 'szer.', 0, 40)"));
        Module1::resetFileDialogState();
        Messages::clearShown();
    }
    void cleanup()
    {
        QCOMPARE(FileDialogs::pendingAnswers(), 0);
        closeDatabase();
    }

    // A generated roster saved (under a name typed in capitals) and opened in
    // a new window comes back whole: document, month, list, grid, Counter.
    void saveThenOpen()
    {
        exec(QStringLiteral("DELETE FROM ludzie WHERE nazwisko='Zając'"));
        TestPanel first;
        first.show();
        QVERIFY(Mouse::clickItem(*first.ToolBar1(), QStringLiteral("create")));
        QVERIFY(first.xmlDocument());
        QVERIFY(first.menuAction(QStringLiteral("mnuSave"))->isEnabled());
        QVERIFY(first.menuAction(QStringLiteral("mnuEksport"))->isEnabled());
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));

        const QString file = path(QStringLiteral("MAJ.SWX"));
        FileDialogs::setNextFileName(file);
        first.menuAction(QStringLiteral("mnuSave"))->trigger();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));
        QVERIFY(QFile::exists(file));
        QVERIFY(!QFile::exists(file + QStringLiteral(".swx")));
        QCOMPARE(first.windowTitle(), file + QStringLiteral(" - Dorvat Kadrelo"));
        QCOMPARE(first.CurrFile(), QString());
        // Saving again rebuilds Counter: there is only ever one, at the end.
        FileDialogs::setNextFileName(file);
        QVERIFY(first.saveRoster());
        const Xml::Node root = first.xmlDocument()->documentElement();
        QCOMPARE(root.childElements(QStringLiteral("Counter")).size(), 1);
        QCOMPARE(root.lastChild().previousSibling().name(), QStringLiteral("Counter"));
        const QList<Xml::Node> items =
            first.xmlDocument()->selectNodes(QStringLiteral("/Baza/Counter/Item"));
        QCOMPARE(items.size(), first.lstLudzie()->model()->rowCount());
        QCOMPARE(items.size(), 3);
        // A file that cannot be written is reported; the window keeps its caption.
        FileDialogs::setNextFileName(path(QStringLiteral("brak/maj.swx")));
        QVERIFY(!first.saveRoster());
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(
            Messages::shown().first().startsWith(QStringLiteral("Nie udało się zapisać pliku")));
        QCOMPARE(first.windowTitle(), file + QStringLiteral(" - Dorvat Kadrelo"));
        Messages::clearShown();

        TestPanel second;
        second.show();
        FileDialogs::setNextFileName(file);
        second.menuAction(QStringLiteral("mnuOpen"))->trigger();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));
        QVERIFY(second.xmlDocument());
        QCOMPARE(second.xmlDocument()->documentElement().xml(), root.xml());
        QCOMPARE(second.CurrDate(), QDate(2024, 5, 1));
        QCOMPARE(second.CurrFile(), file);
        QCOMPARE(second.windowTitle(), file + QStringLiteral(" - Dorvat Kadrelo"));
        QCOMPARE(second.ToolBar1()->Title(), QStringLiteral("Grafik na maj 2024"));
        QCOMPARE(listRows(*second.lstLudzie()), listRows(*first.lstLudzie()));
        QCOMPARE(gridTexts(*second.Lista()), gridTexts(*first.Lista()));
        for (int c = 1; c < first.Lista()->cols(); ++c)
            QCOMPARE(second.Lista()->colData(c), first.Lista()->colData(c));
        QVERIFY(second.isOpened());
        QVERIFY(second.Lista()->isVisibleTo(&second));
        QVERIFY(second.tbBilans()->isVisibleTo(&second));
        QVERIFY(!second.Image1()->isVisibleTo(&second));
        QVERIFY(second.menuAction(QStringLiteral("mnuSave"))->isEnabled());

        // Cancelling the dialog changes nothing.
        const Xml::Document *held = second.xmlDocument();
        FileDialogs::setNextFileName(QString());
        second.menuAction(QStringLiteral("mnuOpen"))->trigger();
        QCOMPARE(second.xmlDocument(), held);
        QCOMPARE(second.CurrFile(), file);
    }

    // The roster's month is read from Baza/@Date as every stored date is read:
    // the fixed forms, with or without a time; anything else refuses the file.
    void monthOfTheFile_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QDate>("month"); // invalid: the file is refused
        const QDate may(2024, 5, 1);
        QTest::newRow("date") << "2024-05-01" << may;
        QTest::newRow("blanks around") << " 2024-05-01 " << may;
        QTest::newRow("date and time") << "2024-05-01 08:00:00" << may;
        QTest::newRow("date and minutes") << "2024-05-01 08:00" << may;
        QTest::newRow("T before the time") << "2024-05-01T08:00:00" << may;
        QTest::newRow("day first") << "01.05.2024" << may;
        QTest::newRow("day first with time") << "01.05.2024 08:00" << may;
        QTest::newRow("day past the month") << "2024-04-31" << QDate();
        QTest::newRow("hour 24") << "2024-05-01 24:00:00" << QDate();
        QTest::newRow("digits missing") << "2024-5-1" << QDate();
        QTest::newRow("day first, digits missing") << "1.5.2024" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void monthOfTheFile()
    {
        QFETCH(QString, date);
        QFETCH(QDate, month);
        const QString file = path(QStringLiteral("miesiac.swx"));
        QVERIFY(Compression::SaveFile(
            file, QStringLiteral("<Baza Date=\"%1\" Name=\"Maj\"><Services><ServiceItem "
                                 "Id=\"%2\" Text=\"Dyżur\"/></Services></Baza>")
                      .arg(date)
                      .arg(m_duty)));
        TestPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        FileDialogs::setNextFileName(file);
        Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuOpen")));
        if (month.isValid()) {
            QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));
            QVERIFY(panel.isOpened());
            QCOMPARE(panel.CurrDate(), month);
        } else {
            QCOMPARE(Messages::shown().size(), 1);
            QVERIFY(Messages::shown().first().startsWith(RosterFile::OpenFailedText));
            QVERIFY(!panel.isOpened());
        }
    }

    // A duty named with a control character (pasted into an older file) is
    // saved and exported so that every XML 1.0 reader takes the file: the
    // character XML cannot carry comes out as U+FFFD.
    void onlyXmlCharactersWritten_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::newRow("roster") << "mnuSave"
                                << "maj.swx";
        QTest::newRow("spreadsheet") << "mnuEksport"
                                     << "maj.xml";
    }
    void onlyXmlCharactersWritten()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        const QString file = path(QStringLiteral("stary.swx"));
        QVERIFY(Compression::SaveFile(
            file,
            QStringLiteral("<Baza Date=\"2024-05-01\" Name=\"Maj&#1;\"><Services><ServiceItem "
                           "Id=\"%1\" Text=\"Dy&#1;żur\"/></Services></Baza>")
                .arg(m_duty)));
        useProgramFolder();
        TestPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        FileDialogs::setNextFileName(file);
        Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuOpen")));
        QVERIFY(panel.isOpened());
        const QString target = path(name);
        FileDialogs::setNextFileName(target, 0);
        Menus::choose(panel.menuBar(), panel.menuAction(entry));
        Module1::setAppPath(QString());
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));

        const QByteArray bytes = name.endsWith(QLatin1String(".swx"))
                                     ? Compression::InflateFile(target).value_or(QByteArray())
                                     : readAll(target);
        // Both are windows-1250; the roster's text carries no declaration.
        const QString text = Cp1250::decode(bytes);
        QXmlStreamReader reader(text);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QVERIFY2(text.contains(QStringLiteral("Dy&#65533;żur")), qPrintable(text.left(300)));
    }

    // Texts of millions of characters (the title, a duty's name, a count)
    // open at once: the toolbar keeps what its box shows, and the document,
    // the grid, the list and the saved file keep every text whole.
    void longTextsKeptWhole()
    {
        constexpr qint64 n = 2'000'000;
        const QString file = path(QStringLiteral("dlugi.swx"));
        QVERIFY(LongRoster::write(
            file, {{"<Baza Date=\"2024-05-01\" Name=\""},
                   {"A", n},
                   {"\"><Services><ServiceItem Id=\"" + QByteArray::number(m_duty) + "\" Text=\""},
                   {"B", n},
                   {"\"/></Services><Dzien Id=\"1\"><Sluzba Id=\"" + QByteArray::number(m_duty) +
                    "\" Position=\"1.1\"><Osoba Id=\"1\"/></Sluzba></Dzien>"
                    "<Counter><Item Id=\"1\" Date=\"\" Count=\""},
                   {"7", n},
                   {"\"/></Counter></Baza>"}}));
        TestPanel panel;
        panel.resize(900, 600);
        panel.show();
        QVERIFY(panel.openRosterFile(file));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));
        panel.grab();

        QCOMPARE(panel.xmlDocument()->documentElement().attribute(QStringLiteral("Name")).size(),
                 n);
        const QString title = panel.ToolBar1()->Title();
        QVERIFY(!title.isEmpty() && title.size() <= ToolBarN::TitleWidth);
        QCOMPARE(title, QString(title.size(), u'A'));
        QCOMPARE(panel.Lista()->text(0, 1), QString(n, u'B'));
        QCOMPARE(panel.Lista()->text(1, 1), QStringLiteral("Kowalski Jan"));
        QCOMPARE(listText(*panel.lstLudzie(), 0, 2), QString(n, u'7'));

        const QString saved = path(QStringLiteral("zapisany.swx"));
        FileDialogs::setNextFileName(saved);
        QVERIFY(panel.saveRoster());
        const std::unique_ptr<Xml::Document> back = RosterFile::ReadRoster(saved);
        QVERIFY(back);
        QCOMPARE(back->documentElement().attribute(QStringLiteral("Name")), QString(n, u'A'));
        QCOMPARE(back->selectSingleNode(QStringLiteral("/Baza/Counter/Item"))
                     .attribute(QStringLiteral("Count")),
                 QString(n, u'7'));
    }

    // Cells are written anew from today's names and template; people or
    // groups missing from the database leave gaps, reported once.
    void openRebuildsCells()
    {
        Globals::options()->SetOption(QStringLiteral("CellShow"),
                                      QStringLiteral("[stopien] [nazwisko] ([grupa])"));
        TestPanel panel;
        panel.show();
        QVERIFY(panel.openRosterFile(writeSmallRoster(QStringLiteral("maj.swx"))));
        QCOMPARE(Messages::shown(), QStringList{RosterFile::GapsText});
        FlexGrid *grid = panel.Lista();
        QCOMPARE(grid->rows(), 32);
        QCOMPARE(grid->cols(), 3);
        QCOMPARE(grid->text(0, 1), QStringLiteral("Dyżur\r\nod 08:00 przez 24 h"));
        QCOMPARE(grid->colData(2), m_patrol);
        QCOMPARE(grid->text(1, 1), QStringLiteral("kpr. Kowalski (Alfa)\r\n\r\nsierż. Nowak (Alfa)"
                                                  "\r\n\r\nszer. Wiśniewski (Beta)"));
        // The missing last person still leaves the separator after the one before.
        QCOMPARE(grid->text(1, 2), QStringLiteral("kpr. Kowalski (Alfa)\r\n\r\n"));
        QCOMPARE(grid->text(2, 2), QStringLiteral("sierż. Nowak (Alfa)"));
        QCOMPARE(grid->text(2, 1), QString());
        // Counter rows of people the database lacks, and repeated ones, are left
        // out; sorted by name.
        QCOMPARE(listRows(*panel.lstLudzie()),
                 (QStringList{"ID=1|Kowalski Jan|Alfa|12|2024-05-01 20:00:00",
                              "ID=2|Nowak Adam|Alfa|2|2024-05-02 20:00:00"}));
    }

    // The CSV is the whole grid in windows-1250, quoted fields, LF inside cells.
    void csvBytes()
    {
        FlexGrid grid;
        grid.setRows(3);
        grid.setCols(3);
        grid.setText(0, 1, QStringLiteral("Dyżur\r\nod 08:00"));
        grid.setText(0, 2, QStringLiteral("Patrol"));
        grid.setText(1, 0, QStringLiteral("1\r\nśr."));
        grid.setText(1, 1, QStringLiteral("Żółć Łucja\r\n\r\nNowak \"Adi\""));
        grid.setText(2, 2, QStringLiteral("Kim → Lee"));
        const QByteArray expected =
            "\"\";\"Dy\xbfur\nod 08:00\";\"Patrol\"\r\n"
            "\"1\n\x9cr.\";\"\xaf\xf3\xb3\xe6 \xa3ucja\n\nNowak \"\"Adi\"\"\";\"\"\r\n"
            "\"\";\"\";\"Kim ? Lee\"\r\n";
        QCOMPARE(RosterFile::CsvContent(grid), expected);
    }

    // "Eksport..." writes CSV by the chosen type; a typed extension in any case counts.
    void exportCsv_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension, CSV chosen") << "grafik" << 1 << "grafik.csv";
        QTest::newRow("capitals") << "GRAFIK.CSV" << 1 << "GRAFIK.CSV";
        QTest::newRow("csv typed, XML chosen") << "maj.csv" << 0 << "maj.csv.xml";
    }
    void exportCsv()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, written);
        TestPanel panel;
        QVERIFY(panel.openRosterFile(writeSmallRoster(QStringLiteral("maj.swx"))));
        Messages::clearShown();
        useProgramFolder();
        FileDialogs::setNextFileName(path(typed), filter);
        panel.menuAction(QStringLiteral("mnuEksport"))->trigger();
        Module1::setAppPath(QString());
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));
        const QByteArray content = readAll(path(written));
        if (written.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            QCOMPARE(content, RosterFile::CsvContent(*panel.Lista()));
            QVERIFY(content.startsWith("\"\";\"Dy\xbfur\nod 08:00 przez 24 h\""));
        } else {
            QVERIFY(!QFile::exists(path(typed)));
            QVERIFY2(content.startsWith("<?xml"), content.left(60).constData());
        }
        QFile::remove(path(written));
    }

    // The month's counts replace that month's rows of ludzie_last in one go;
    // a row that cannot be stored leaves the month's earlier rows as they were.
    void storeCounts()
    {
        exec(
            QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) VALUES "
                           "('1', '2024-02', 4, '2024-02-28'), ('3', '2024-03', 9, '2024-03-30')"));
        TestPanel panel;
        panel.setCurrDate(QDate(2024, 3, 1));
        panel.addRow(1, QStringLiteral("Kowalski Jan"), QStringLiteral("Alfa"), 5,
                     QStringLiteral("2024-03-30 08:00:00"));
        panel.addRow(2, QStringLiteral("Nowak Adam"), QStringLiteral("Alfa"), 0,
                     QStringLiteral("2024-02-29"));
        auto rows = [] {
            QStringList result;
            auto rs = Globals::database()->openQuery(
                QStringLiteral("SELECT id_osoba, miesiac, ilosc, data FROM ludzie_last ORDER BY "
                               "miesiac, id_osoba"));
            for (; !rs->eof(); rs->moveNext())
                result << QStringList{rs->text("id_osoba"), rs->text("miesiac"), rs->text("ilosc"),
                                      rs->text("data")}
                              .join(u'|');
            return result;
        };
        const QStringList stored{"1|2024-02|4|2024-02-28", "1|2024-03|5|2024-03-30 08:00:00",
                                 "2|2024-03|0|2024-02-29"};
        clickStoreCounts(panel);
        clickStoreCounts(panel);
        QCOMPARE(rows(), stored);
        QCOMPARE(Messages::shown(), QStringList(2, QStringLiteral("Zapisano poprawnie.")));

        Messages::clearShown();
        setListCount(*panel.lstLudzie(), 1, QStringLiteral("dużo"));
        clickStoreCounts(panel);
        QCOMPARE(rows(), stored);
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().first().contains(QStringLiteral("dużo")));
        // A count read from a file is quoted only as far as a message can show it.
        Messages::clearShown();
        setListCount(*panel.lstLudzie(), 1, QString(1'000'000, u'9') + u'x');
        clickStoreCounts(panel);
        QCOMPARE(rows(), stored);
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().first().contains(QStringLiteral("\"999")));
        QVERIFY(Messages::shown().first().size() < 1000);

        // A write that fails undoes the month's writes before it: a changed
        // row, then a person new to the month.
        setListCount(*panel.lstLudzie(), 0, QStringLiteral("6"));
        setListCount(*panel.lstLudzie(), 1, QStringLiteral("1"));
        for (const char *refused : {"2", "3"}) {
            Messages::clearShown();
            if (QByteArray(refused) == "3")
                panel.addRow(3, QStringLiteral("Zając Ewa"), QStringLiteral("Alfa"), 1,
                             QStringLiteral("2024-03-02"));
            for (const char *write : {"INSERT", "UPDATE"})
                exec(QStringLiteral("CREATE TRIGGER keep_%1 BEFORE %1 ON ludzie_last WHEN "
                                    "NEW.id_osoba='%2' BEGIN SELECT RAISE(ABORT, 'zablokowane'); "
                                    "END")
                         .arg(QLatin1String(write), QLatin1String(refused)));
            clickStoreCounts(panel);
            QCOMPARE(rows(), stored);
            QCOMPARE(Messages::shown().size(), 1);
            QVERIFY(Messages::shown().first().contains(QStringLiteral("zablokowane")));
            exec(QStringLiteral("DROP TRIGGER keep_INSERT"));
            exec(QStringLiteral("DROP TRIGGER keep_UPDATE"));
        }

        // An empty list only clears the month.
        Messages::clearShown();
        panel.clear();
        clickStoreCounts(panel);
        QCOMPARE(rows(), QStringList{"1|2024-02|4|2024-02-28"});
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Zapisano poprawnie.")});
    }

    // A store writes only what differs from the month's stored rows, yet
    // leaves exactly the rows a fresh delete-and-add would: one a listed
    // person, the stored values' kinds as today's, other months untouched.
    void storeCountsOverStoredRows_data()
    {
        QTest::addColumn<QStringList>("before"); // person|month|count|date, rowid order
        QTest::addColumn<QStringList>("list");   // person|count|date
        QTest::addColumn<QStringList>("after");  // person|month|count|date as SQL quotes them
        const QString february = QStringLiteral("1|2024-02|4|2024-02-28");
        const QString februaryAfter = QStringLiteral("1|2024-02|4|'2024-02-28'");
        const QStringList list{"1|5|2024-03-30 08:00:00", "2|0|2024-02-29"};
        const QStringList stored{februaryAfter, "1|2024-03|5|'2024-03-30 08:00:00'",
                                 "2|2024-03|0|'2024-02-29'"};
        QTest::newRow("the month's first store") << QStringList{february} << list << stored;
        QTest::newRow("stored alike")
            << QStringList{february, "2|2024-03|0|2024-02-29", "1|2024-03|5|2024-03-30 08:00:00"}
            << list << stored;
        QTest::newRow("a person with two rows")
            << QStringList{"1|2024-03|3|2024-03-01", february, "2|2024-03|0|2024-02-29",
                           "1|2024-03|5|2024-03-30 08:00:00"}
            << list << stored;
        QTest::newRow("a person no longer in the list")
            << QStringList{february, "1|2024-03|5|2024-03-30 08:00:00", "3|2024-03|9|2024-03-30",
                           "2|2024-03|0|2024-02-29"}
            << list << stored;
        QTest::newRow("changed only in its date")
            << QStringList{february, "1|2024-03|5|2024-03-29 08:00:00", "2|2024-03|0|2024-02-29"}
            << list << stored;
        QTest::newRow("a count going to 0")
            << QStringList{february, "1|2024-03|5|2024-03-30 08:00:00", "2|2024-03|3|2024-02-29"}
            << list << stored;
        QTest::newRow("new to the month")
            << QStringList{february, "1|2024-03|5|2024-03-30 08:00:00"} << list << stored;
        QTest::newRow("an id written otherwise, a date kept in another form")
            << QStringList{february, "01|2024-03|5|2024-03-30 08:00:00",
                           "2|2024-03|0|2024-02-29 00:00:00"}
            << list << stored;
        QTest::newRow("an empty list") << QStringList{february, "1|2024-03|5|2024-03-30 08:00:00"}
                                       << QStringList() << QStringList{februaryAfter};
    }

    void storeCountsOverStoredRows()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, list);
        QFETCH(QStringList, after);
        for (const QString &row : std::as_const(before)) {
            const QStringList f = row.split(u'|');
            QVERIFY(Globals::database()->execute(
                QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) "
                               "VALUES (?, ?, ?, ?)"),
                {f[0], f[1], f[2].toInt(), f[3]}));
        }
        TestPanel panel;
        panel.setCurrDate(QDate(2024, 3, 1));
        for (const QString &row : std::as_const(list)) {
            const QStringList f = row.split(u'|');
            panel.addRow(f[0].toLongLong(), QStringLiteral("Osoba ") + f[0], QStringLiteral("Alfa"),
                         f[1].toLongLong(), f[2]);
        }
        clickStoreCounts(panel);
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Zapisano poprawnie.")});
        QCOMPARE(TestSupport::storedCountRows(*Globals::database()), after);
    }

    // The windows of the roster and the toolbar open from their entries.
    void windowsOpen()
    {
        TestPanel panel;
        panel.resize(1000, 700);
        QVERIFY(panel.openRosterFile(writeSmallRoster(QStringLiteral("maj.swx"))));
        QVERIFY(Keyboard::showActive(panel));
        for (const char *key : {"bilans", "wykluczenia", "kreator", "options"})
            QVERIFY2(panel.toolbarItemEnabled(QString::fromLatin1(key)), key);
        for (const char *key : {"bilans", "kreator", "options"})
            QVERIFY2(Mouse::clickItem(*panel.ToolBar1(), QString::fromLatin1(key)), key);
        // A double click on a cell of a day opens its cell editor.
        QVERIFY(Mouse::doubleClickCell(*panel.Lista(), 1, 1));
        QCOMPARE(panel.opened, (QStringList{"Bilans", "Wizard", "Opcje", "CellList"}));
    }

    // A file that is not a readable roster is refused with the message and
    // the roster shown stays as it was.
    void damagedFileRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray good = Compression::CompressText(QStringLiteral(
            "<Baza Date=\"2024-05-01\"><Services><ServiceItem Id=\"1\" Text=\"A\"/></Services>"
            "<Dzien Id=\"1\"><Sluzba Id=\"1\" Position=\"1.1\"/></Dzien></Baza>"));
        auto wrap = [](const char *xml) {
            return Compression::CompressText(QString::fromUtf8(xml));
        };
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("plain text") << QByteArray("to nie jest grafik, tylko zwykly tekst pliku");
        QTest::newRow("cut body") << good.left(good.size() - 6);
        QTest::newRow("not XML") << wrap("<Baza Date=\"2024-05-01\"><Dzien>");
        QTest::newRow("foreign root") << wrap("<Workbook Date=\"2024-05-01\"/>");
        QTest::newRow("no Date") << wrap("<Baza Name=\"x\"><Services/></Baza>");
        QTest::newRow("Position beyond grid")
            << wrap("<Baza Date=\"2024-05-01\"><Services><ServiceItem Id=\"1\"/></Services>"
                    "<Dzien Id=\"1\"><Sluzba Id=\"1\" Position=\"2.1\"/></Dzien></Baza>");
        QTest::newRow("two root elements")
            << wrap("<Baza Date=\"2024-05-01\"><Services><ServiceItem Id=\"1\" Text=\"A\"/>"
                    "</Services></Baza><Baza Date=\"2024-06-01\"><Services/></Baza>");
        QTest::newRow("attribute given twice")
            << wrap("<Baza Date=\"2024-05-01\" Date=\"2024-06-01\"><Services/></Baza>");
        QTest::newRow("Position past the month's end")
            << wrap("<Baza Date=\"2024-06-01\"><Services><ServiceItem Id=\"1\"/></Services>"
                    "<Dzien Id=\"30\"><Sluzba Id=\"1\" Position=\"1.31\"/></Dzien></Baza>");
        QTest::newRow("Position not numbers")
            << wrap("<Baza Date=\"2024-05-01\"><Services><ServiceItem Id=\"1\"/></Services>"
                    "<Dzien Id=\"1\"><Sluzba Id=\"1\" Position=\"1\"/></Dzien></Baza>");
        QTest::newRow("Position of three numbers")
            << wrap("<Baza Date=\"2024-05-01\"><Services><ServiceItem Id=\"1\"/></Services>"
                    "<Dzien Id=\"1\"><Sluzba Id=\"1\" Position=\"1.1.1\"/></Dzien></Baza>");
    }
    void damagedFileRefused()
    {
        QFETCH(QByteArray, content);
        TestPanel panel;
        const QString good = writeSmallRoster(QStringLiteral("maj.swx"));
        QVERIFY(panel.openRosterFile(good));
        const Xml::Document *held = panel.xmlDocument();
        const QStringList cells = gridTexts(*panel.Lista());
        const QStringList people = listRows(*panel.lstLudzie());
        Messages::clearShown();

        const QString bad = path(QStringLiteral("zly.swx"));
        QFile::remove(bad);
        if (!content.isEmpty()) {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        FileDialogs::setNextFileName(bad);
        panel.menuAction(QStringLiteral("mnuOpen"))->trigger();
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY2(Messages::shown().first().startsWith(RosterFile::OpenFailedText +
                                                      QStringLiteral("\r\n") + bad),
                 qPrintable(Messages::shown().first()));
        QCOMPARE(panel.xmlDocument(), held);
        QCOMPARE(panel.CurrFile(), good);
        QCOMPARE(panel.CurrDate(), QDate(2024, 5, 1));
        QCOMPARE(panel.windowTitle(), good + QStringLiteral(" - Dorvat Kadrelo"));
        QCOMPARE(gridTexts(*panel.Lista()), cells);
        QCOMPARE(listRows(*panel.lstLudzie()), people);
        QVERIFY(panel.isOpened());
    }
};

QTEST_MAIN(TestRosterFiles)
#include "tst_rosterfiles.moc"
