#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Module1Ui.h"
#include "mainwindow/Bilans.h"
#include "mainwindow/RtfExport.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Menus.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

// The window with the shell answered in place.
class TestBilansWindow : public Bilans
{
public:
    using Bilans::Bilans;
    QStringList shellPaths;

protected:
    void openWithShell(const QString &path) override { shellPaths << path; }
};

// May 2024, a few days: group Beta is met before Alfa, person 99 no longer
// exists, Ślusarz stands twice in one cell, Bąk serves nothing.
const QString Roster = QStringLiteral(
    "<?xml version='1.0' encoding='windows-1250'?><Baza Date=\"2024-05-01\"><Services/>"
    "<Dzien Id=\"1\"><Sluzba Id=\"3\" Name=\"Dyżur\" Position=\"1.1\">"
    "<Osoba Id=\"9\"><Nazwisko>x</Nazwisko></Osoba><Osoba Id=\"7\"><Nazwisko>x</Nazwisko></Osoba>"
    "</Sluzba><Sluzba Id=\"6\" Name=\"Patrol\" Position=\"2.1\">"
    "<Osoba Id=\"8\"><Nazwisko>x</Nazwisko></Osoba></Sluzba></Dzien>"
    "<Dzien Id=\"5\"><Sluzba Id=\"3\" Name=\"Dyżur\" Position=\"1.5\">"
    "<Osoba Id=\"7\"><Nazwisko>x</Nazwisko></Osoba><Osoba Id=\"99\"><Nazwisko>x</Nazwisko></Osoba>"
    "</Sluzba><Sluzba Id=\"6\" Name=\"Patrol\" Position=\"2.5\">"
    "<Osoba Id=\"9\"><Nazwisko>x</Nazwisko></Osoba><Osoba Id=\"9\"><Nazwisko>x</Nazwisko></Osoba>"
    "</Sluzba></Dzien>"
    "<Dzien Id=\"12\"><Sluzba Id=\"3\" Name=\"Dyżur\" Position=\"1.12\"/>"
    "<Sluzba Id=\"6\" Name=\"Patrol\" Position=\"2.12\">"
    "<Osoba Id=\"8\"><Nazwisko>x</Nazwisko></Osoba></Sluzba></Dzien>"
    "<Exclusions/></Baza>");

// One person whose names hold RTF's special characters, Polish letters and a
// letter windows-1250 lacks.
const QString SmallRoster = QStringLiteral(
    "<?xml version='1.0' encoding='windows-1250'?><Baza Date=\"2024-06-01\"><Services/>"
    "<Dzien Id=\"2\"><Sluzba Id=\"13\" Name=\"Nocna\" Position=\"1.2\">"
    "<Osoba Id=\"12\"><Nazwisko>x</Nazwisko></Osoba></Sluzba></Dzien></Baza>");

const QByteArray SmallRtf =
    QByteArray("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045\\deflangfe1045\\deftab708"
               "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset238 Trebuchet MS;}}\r\n"
               "{\\*\\generator Dorvat Kadrelo;}\\viewkind4\\uc1\\pard"
               "\\f0\\fs40\\b Zesp\xF3\xB3 \\{A\\}\\par\r\n"
               "\\fs24\\b      \xA3o\x9C \xAF"
               "aneta\\\\ - 1\\par\\b0 \r\n"
               "          dzie\xF1 2, Nocna\\} \\u1046? - od 22:00 przez 8 h\\par\r\n"
               "\\par\r\n"
               "\\par\r\n"
               "}");

// Each node as its text, its key in brackets, indented two spaces a level.
void dump(const QTreeWidgetItem *node, int level, QStringList *out)
{
    const QString key = node->data(0, Qt::UserRole).toString();
    *out << QString(2 * level, u' ') + node->text(0) +
                (key.isEmpty() ? QString() : QStringLiteral(" [") + key + u']');
    for (int i = 0; i < node->childCount(); ++i)
        dump(node->child(i), level + 1, out);
}

QStringList dump(const QTreeWidget *tree)
{
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        dump(tree->topLevelItem(i), 0, &out);
    return out;
}

// "1.0.2": top node 1, its child 0, that one's child 2.
QTreeWidgetItem *nodeAt(const QTreeWidget *tree, const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    const QStringList parts = path.split(u'.');
    QTreeWidgetItem *node = tree->topLevelItem(parts.first().toInt());
    for (qsizetype i = 1; node && i < parts.size(); ++i)
        node = node->child(parts.at(i).toInt());
    return node;
}

QString pathOf(const QTreeWidgetItem *node)
{
    QStringList parts;
    for (; node; node = node->parent()) {
        parts.prepend(QString::number(
            node->parent()
                ? node->parent()->indexOfChild(const_cast<QTreeWidgetItem *>(node))
                : node->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(node))));
    }
    return parts.join(u'.');
}

void selectMode(Bilans &window, int mode)
{
    // Through another mode, so that a rebuild of the same mode is covered too.
    window.Combo1()->setCurrentIndex(mode == 0 ? 1 : 0);
    window.Combo1()->setCurrentIndex(mode);
}

} // namespace

// The balance report: the four trees and their totals from a roster and the
// tables, the search among node texts, the RTF export and storing the counts.
class TestBilans : public QObject
{
    Q_OBJECT

    TestSupport::TestDatabase m_db;
    Xml::Document m_roster;
    Xml::Document m_smallRoster;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_db.isValid(), qPrintable(m_db.errorString()));
        Globals::setDatabase(m_db.take());
        Db::Database &db = *Globals::database();
        QVERIFY(db.execute(QStringLiteral(
            "INSERT INTO grupy (id, nazwa) VALUES (4, 'Alfa'), (5, 'Beta'), (11, 'Zespół {A}')")));
        QVERIFY(
            db.execute(QStringLiteral("INSERT INTO ludzie (id, id_grupa, nazwisko, imie) VALUES "
                                      "(7, '4', 'Żak', 'Ewa'), (8, '4', 'Adamczyk', 'Jan'), "
                                      "(9, '5', 'Ślusarz', 'Olaf'), (10, '5', 'Bąk', 'Anna'), "
                                      "(12, '11', 'Łoś', ?)"),
                       {QStringLiteral("Żaneta\\")}));
        QVERIFY(db.execute(
            QStringLiteral(
                "INSERT INTO sluzby (id, nazwa, od, okres) VALUES (3, 'Dyżur', '08:00', 24), "
                "(6, 'Patrol', '20:00', 12), (13, ?, '22:00', 8)"),
            {QStringLiteral("Nocna} Ж")}));
        QVERIFY(m_roster.loadXml(Roster));
        QVERIFY(m_smallRoster.loadXml(SmallRoster));
    }
    void cleanupTestCase() { Globals::closeDatabase(); }
    void init()
    {
        Messages::clearShown();
        Module1::resetFileDialogState();
    }

    void tree_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expected");
        const QString duty = QStringLiteral("Dyżur - od 08:00 przez 24 h");
        const QString patrol = QStringLiteral("Patrol - od 20:00 przez 12 h");
        QTest::newRow("groups") << 0
                                << QStringList{"Beta [G5]",
                                               "  Ślusarz Olaf - 3 [P9]",
                                               "    dzień 1, " + duty,
                                               "    dzień 5, " + patrol,
                                               "    dzień 5, " + patrol,
                                               "Alfa [G4]",
                                               "  Adamczyk Jan - 2 [P8]",
                                               "    dzień 1, " + patrol,
                                               "    dzień 12, " + patrol,
                                               "  Żak Ewa - 2 [P7]",
                                               "    dzień 1, " + duty,
                                               "    dzień 5, " + duty};
        QTest::newRow("persons") << 1
                                 << QStringList{"Adamczyk Jan - grupa Alfa - 2 [P8]",
                                                "  dzień 1, " + patrol,
                                                "  dzień 12, " + patrol,
                                                "Ślusarz Olaf - grupa Beta - 3 [P9]",
                                                "  dzień 1, " + duty,
                                                "  dzień 5, " + patrol,
                                                "  dzień 5, " + patrol,
                                                "Żak Ewa - grupa Alfa - 2 [P7]",
                                                "  dzień 1, " + duty,
                                                "  dzień 5, " + duty};
        QTest::newRow("days") << 2
                              << QStringList{"Dzień 01 [D1]",
                                             "  Adamczyk Jan, grupa Alfa [D1.P8]",
                                             "    " + patrol,
                                             "  Ślusarz Olaf, grupa Beta [D1.P9]",
                                             "    " + duty,
                                             "  Żak Ewa, grupa Alfa [D1.P7]",
                                             "    " + duty,
                                             "Dzień 05 [D5]",
                                             "  Ślusarz Olaf, grupa Beta [D5.P9]",
                                             "    " + patrol,
                                             "    " + patrol,
                                             "  Żak Ewa, grupa Alfa [D5.P7]",
                                             "    " + duty,
                                             "Dzień 12 [D12]",
                                             "  Adamczyk Jan, grupa Alfa [D12.P8]",
                                             "    " + patrol};
        QTest::newRow("duties") << 3
                                << QStringList{duty + " [S3]",
                                               "  Ślusarz Olaf, grupa Beta [S3.P9]",
                                               "    dzień 1",
                                               "  Żak Ewa, grupa Alfa [S3.P7]",
                                               "    dzień 1",
                                               "    dzień 5",
                                               patrol + " [S6]",
                                               "  Adamczyk Jan, grupa Alfa [S6.P8]",
                                               "    dzień 1",
                                               "    dzień 12",
                                               "  Ślusarz Olaf, grupa Beta [S6.P9]",
                                               "    dzień 5",
                                               "    dzień 5"};
    }
    void tree()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, expected);
        TestBilansWindow window(m_roster);
        QVERIFY(Keyboard::showActive(window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Bilans"));
        QCOMPARE(window.Combo1()->count(), 4);
        QCOMPARE(window.Combo1()->currentIndex(), 0);

        // A new choice starts collapsed and with nothing selected.
        window.Lista()->expandAll();
        QVERIFY(Mouse::clickRow(*window.Lista(), window.Lista()->topLevelItem(0)));
        selectMode(window, mode);
        QCOMPARE(dump(window.Lista()), expected);
        QVERIFY(!window.Lista()->isHidden());
        QCOMPARE(window.Lista()->currentItem(), nullptr);
        for (int i = 0; i < window.Lista()->topLevelItemCount(); ++i)
            QVERIFY(!window.Lista()->topLevelItem(i)->isExpanded());
    }

    // Opening and closing nodes by mouse and keys: group, day and duty nodes
    // show the open folder while open, person nodes keep their picture.
    void pictures_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("groups") << 0;
        QTest::newRow("persons") << 1;
        QTest::newRow("days") << 2;
        QTest::newRow("duties") << 3;
    }
    void pictures()
    {
        QFETCH(int, mode);
        TestBilansWindow window(m_roster);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        selectMode(window, mode);
        QTreeWidget *tree = window.Lista();
        auto picture = [](const QIcon &icon) { return icon.pixmap(16, 16).toImage(); };
        const QImage open = picture(window.style()->standardIcon(QStyle::SP_DirOpenIcon));
        const QImage closed = picture(window.style()->standardIcon(QStyle::SP_DirClosedIcon));
        const QImage person = picture(window.style()->standardIcon(QStyle::SP_FileDialogInfoView));
        QVERIFY(open != closed && closed != person);

        // Opens by a click on its branch sign, closes by the left arrow key.
        auto openAndClose = [&](QTreeWidgetItem *node, bool folder) {
            const QImage before = picture(node->icon(0));
            QCOMPARE(before, folder ? closed : person);
            const QRect rect = tree->visualItemRect(node);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              QPoint(rect.left() - tree->indentation() / 2, rect.center().y()));
            QVERIFY(node->isExpanded());
            QCOMPARE(picture(node->icon(0)), folder ? open : person);
            for (int i = 0; i < node->childCount(); ++i) {
                QTreeWidgetItem *child = node->child(i);
                if (child->childCount() == 0)
                    continue;
                const QImage childBefore = picture(child->icon(0));
                const QRect childRect = tree->visualItemRect(child);
                QTest::mouseClick(
                    tree->viewport(), Qt::LeftButton, {},
                    QPoint(childRect.left() - tree->indentation() / 2, childRect.center().y()));
                QVERIFY(child->isExpanded());
                QCOMPARE(picture(child->icon(0)), childBefore);
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, childRect.center());
                QTest::keyClick(tree, Qt::Key_Left);
                QVERIFY(!child->isExpanded());
                QCOMPARE(picture(child->icon(0)), childBefore);
            }
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(node).center());
            QTest::keyClick(tree, Qt::Key_Left);
            QVERIFY(!node->isExpanded());
            QCOMPARE(picture(node->icon(0)), before);
        };
        QVERIFY(tree->topLevelItemCount() > 1);
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            openAndClose(tree->topLevelItem(i), mode != 1);
    }

    void missingRows()
    {
        // A group or duty deleted since the roster was made: the roster's own
        // duty name stands in, the group is named as missing.
        Xml::Document roster;
        QVERIFY(roster.loadXml(QStringLiteral(
            "<Baza Date=\"2024-05-01\"><Services/><Dzien Id=\"3\">"
            "<Sluzba Id=\"88\" Name=\"Stara\"><Osoba Id=\"14\"/></Sluzba></Dzien></Baza>")));
        QVERIFY(Globals::database()->execute(
            QStringLiteral("INSERT INTO ludzie (id, id_grupa, nazwisko, imie) VALUES (14, '77', "
                           "'Nowy', 'Adam')")));
        TestBilansWindow window(roster);
        QCOMPARE(dump(window.Lista()), (QStringList{"(brak grupy) [G77]", "  Nowy Adam - 1 [P14]",
                                                    "    dzień 3, Stara"}));
        selectMode(window, 3);
        QCOMPARE(dump(window.Lista()),
                 (QStringList{"Stara [S88]", "  Nowy Adam, grupa (brak grupy) [S88.P14]",
                              "    dzień 3"}));
        QVERIFY(Globals::database()->execute(QStringLiteral("DELETE FROM ludzie WHERE id=14")));
    }

    void enterSearches()
    {
        TestBilansWindow window(m_roster);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.Text1()->setFocus();
        QTRY_VERIFY(window.Text1()->hasFocus());
        QVERIFY(window.Command1()->isDefault());
        window.Text1()->setText(QStringLiteral("żak"));
        QTest::keyClick(window.Text1(), Qt::Key_Return);
        QCOMPARE(pathOf(window.Lista()->currentItem()), QStringLiteral("1.1"));
        QVERIFY(window.Lista()->hasFocus());
        QVERIFY(!window.Command1()->isDefault());
    }

    void emptyRoster()
    {
        Xml::Document roster;
        QVERIFY(
            roster.loadXml(QStringLiteral("<Baza Date=\"2024-05-01\"><Services/>"
                                          "<Dzien Id=\"1\"><Sluzba Id=\"3\"/></Dzien></Baza>")));
        TestBilansWindow window(roster);
        QCOMPARE(window.Lista()->topLevelItemCount(), 0);
        window.Text1()->setText(QStringLiteral("a"));
        window.Search();
        FileDialogs::setNextFileName(QStringLiteral("/nonexistent/x.rtf"));
        window.ExportBilansRtf();
        QCOMPARE(FileDialogs::pendingAnswers(), 1); // no dialog was shown
        QVERIFY(Messages::shown().isEmpty());
        QVERIFY(window.shellPaths.isEmpty());
        FileDialogs::getSaveFileName(nullptr, {}, {}, {}, nullptr, {}); // take the answer back
        QCOMPARE(FileDialogs::pendingAnswers(), 0);
    }

    void search_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("start");       // path of the selected node, empty for none
        QTest::addColumn<QStringList>("answers"); // to the question, in order
        QTest::addColumn<QString>("found");       // path of the selected node after
        QTest::addColumn<int>("questions");

        QTest::newRow("empty text does nothing") << 0 << ""
                                                 << "" << QStringList() << "" << 0;
        QTest::newRow("lower case finds the first match in pre-order")
            << 0 << "patrol"
            << "" << QStringList() << "0.0.1" << 0;
        QTest::newRow("again moves to the next match") << 0 << "patrol"
                                                       << "0.0.1" << QStringList() << "0.0.2" << 0;
        QTest::newRow("later branches are searched") << 0 << "PATROL"
                                                     << "0.0.2" << QStringList() << "1.0.0" << 0;
        QTest::newRow("nothing selected tests the first node too")
            << 0 << "bet"
            << "" << QStringList() << "0" << 0;
        QTest::newRow("the selected node is not tested, Yes starts over")
            << 0 << "ewa"
            << "1.1" << QStringList{"Yes"} << "1.1" << 1;
        QTest::newRow("nowhere: Yes asks again, No ends")
            << 0 << "xyz"
            << "1" << QStringList{"Yes", "No"} << "0" << 2;
        QTest::newRow("No keeps the selection") << 0 << "xyz"
                                                << "1.0" << QStringList{"No"} << "1.0" << 1;
        QTest::newRow("persons: starting over begins with the first alphabetically")
            << 1 << "adamczyk"
            << "2" << QStringList{"Yes"} << "0" << 1;
    }
    void search()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QString, start);
        QFETCH(QStringList, answers);
        QFETCH(QString, found);
        QFETCH(int, questions);

        TestBilansWindow window(m_roster);
        QVERIFY(Keyboard::showActive(window));
        selectMode(window, mode);
        if (!start.isEmpty()) {
            QTreeWidgetItem *node = nodeAt(window.Lista(), start);
            QVERIFY(node);
            QVERIFY(Mouse::clickRow(*window.Lista(), node));
        }
        for (const QString &answer : answers)
            Messages::setNextAnswer(answer == u"Yes" ? Messages::Answer::Yes
                                                     : Messages::Answer::No);
        window.Text1()->setText(text);
        QVERIFY(Mouse::click(*window.Command1()));

        QCOMPARE(pathOf(window.Lista()->currentItem()), found);
        const QString question =
            QStringLiteral("Nic nie znaleziono. Czy chcesz przeszukać bazę od początku?");
        QCOMPARE(Messages::shown(), QStringList(questions, question));
        // A found node is made visible.
        QTreeWidgetItem *node = window.Lista()->currentItem();
        if (node && questions == 0) {
            for (QTreeWidgetItem *up = node->parent(); up; up = up->parent())
                QVERIFY(up->isExpanded());
        }
    }

    void rtfBytes()
    {
        TestBilansWindow window(m_smallRoster);
        QCOMPARE(RtfExport::document(*window.Lista()), SmallRtf);
    }

    void rtfLevels()
    {
        // Three levels: five spaces a level, an empty paragraph after each group of children.
        TestBilansWindow window(m_roster);
        const QStringList lines =
            QString::fromLatin1(RtfExport::document(*window.Lista())).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2 + 12 + 3 + 2);
        QVERIFY(lines.at(1).endsWith(QStringLiteral("\\pard\\f0\\fs40\\b Beta\\par")));
        QVERIFY(lines.at(2).startsWith(QStringLiteral("\\fs24\\b      ")));
        QVERIFY(lines.at(3).startsWith(QStringLiteral("          dzie")));
        QCOMPARE(lines.at(6), QStringLiteral("\\par"));
        QCOMPARE(lines.at(7), QStringLiteral("\\par"));
        QCOMPARE(lines.at(8), QStringLiteral("\\f0\\fs40\\b Alfa\\par"));
        QCOMPARE(lines.last(), QStringLiteral("}"));
    }

    void exportFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("bilans.rtf"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old content that is longer than nothing");
        }
        TestBilansWindow window(m_smallRoster);

        // A cancelled dialog writes nothing.
        FileDialogs::setNextFileName(QString());
        window.ExportBilansRtf();
        QVERIFY(window.shellPaths.isEmpty());

        // The name typed without its extension gets ".rtf"; the old file is replaced.
        FileDialogs::setNextFileName(dir.filePath(QStringLiteral("bilans")));
        window.mnuExport()->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), SmallRtf);
        QCOMPARE(window.shellPaths, QStringList{path});
        QVERIFY(Messages::shown().isEmpty());

        // A folder that does not exist is reported, not opened.
        FileDialogs::setNextFileName(dir.filePath(QStringLiteral("missing/bilans.rtf")));
        window.ExportBilansRtf();
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().first().startsWith(Messages::SaveFileFailed +
                                                     QStringLiteral("\r\n")));
        QCOMPARE(window.shellPaths.size(), 1);
    }

    // Where the desktop has no program for .rtf files (the offscreen one has
    // none for any file), the export still succeeded: a note says the file
    // was written and, on its second line, that no program opened it.
    void exportNotedWhenNoProgramOpensIt()
    {
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QSKIP("a desktop may have a program for .rtf files");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("bilans.rtf"));
        Bilans window(m_smallRoster);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FileDialogs::setNextFileName(path);
        Menus::choose(window.findChild<QMenuBar *>(), window.mnuExport());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), SmallRtf);
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Zapisano plik %1.\r\n"
                                            "Żaden program nie otworzył tego pliku.")
                                 .arg(QDir::toNativeSeparators(path))});
    }

    void saveCounts_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("stored") << true << QStringList(2, QStringLiteral("Zapisano poprawnie."));
        QTest::newRow("failed") << false << QStringList();
    }
    void saveCounts()
    {
        QFETCH(bool, stored);
        QFETCH(QStringList, messages);
        TestBilansWindow window(m_roster);
        QVERIFY(!window.Command2()->Enabled());
        QVERIFY(!window.mnuSaveBilans()->isEnabled());

        int calls = 0;
        window.setSaveBilans([&] {
            ++calls;
            return stored;
        });
        QVERIFY(window.Command2()->Enabled());
        QVERIFY(window.mnuSaveBilans()->isEnabled());
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(Mouse::click(*window.Command2()));
        window.mnuSaveBilans()->trigger();
        QCOMPARE(calls, 2);
        QCOMPARE(Messages::shown(), messages);
    }
};

QTEST_MAIN(TestBilans)
#include "tst_bilans.moc"
