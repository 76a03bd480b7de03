#include "controls/BlueCommand.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Module1Ui.h"
#include "engine/ui/BuildTable.h"
#include "mainwindow/CellList.h"
#include "mainwindow/Compression.h"
#include "mainwindow/Panel.h"
#include "mainwindow/RosterFile.h"
#include "platform/xml/XmlDocument.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Menus.h"
#include "tests/support/Mouse.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <functional>

namespace {

const QString Question = QStringLiteral("Czy chcesz zapisać zmiany w grafiku?");

// The main window whose modal windows are driven by clicks in place of
// their own event loop: the build dialog runs May 2024 by its "Stwórz",
// the cell editor does what the test asks of it.
class TestPanel : public Panel
{
public:
    int builds = 0;
    std::function<void(CellList &)> cellEditor;

protected:
    int showModal(QDialog &dialog) override
    {
        dialog.show();
        if (auto *build = qobject_cast<BuildTable *>(&dialog)) {
            ++builds;
            build->setMonth(QDate(2024, 5, 1));
            // A click that cannot be made is printed; the run is then missing.
            Mouse::click(*build->findChild<BlueCommand *>(QStringLiteral("ButtonOK")));
        } else if (auto *editor = qobject_cast<CellList *>(&dialog)) {
            if (cellEditor)
                cellEditor(*editor);
        }
        dialog.hide();
        // The main window has the keyboard again, as after a modal window.
        if (!QTest::qWaitForWindowActive(this))
            qWarning("the main window did not become active again");
        return dialog.result();
    }
};

enum class Command { Close, Open, NewRoster, ToolbarGrafik, End, WindowFrame };
enum class Reply { Yes, YesSaveCancelled, YesSaveFails, No, Cancel };

QString commandName(Command command)
{
    switch (command) {
    case Command::Close:
        return QStringLiteral("Zamknij (Ctrl+F4)");
    case Command::Open:
        return QStringLiteral("Otwórz grafik (Ctrl+O)");
    case Command::NewRoster:
        return QStringLiteral("Nowy grafik (menu)");
    case Command::ToolbarGrafik:
        return QStringLiteral("Grafik (toolbar)");
    case Command::End:
        return QStringLiteral("Zakończ (menu)");
    case Command::WindowFrame:
        return QStringLiteral("window frame");
    }
    return {};
}

// The person's way to each command: its keys, its menu entry, its toolbar
// item; the frame's close button belongs to the desktop, so close() stands
// for it.
void issue(TestPanel &panel, Command command)
{
    switch (command) {
    case Command::Close:
        QTest::keyClick(&panel, Qt::Key_F4, Qt::ControlModifier);
        break;
    case Command::Open:
        QTest::keyClick(&panel, Qt::Key_O, Qt::ControlModifier);
        break;
    case Command::NewRoster:
        Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuNew")));
        break;
    case Command::ToolbarGrafik:
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        break;
    case Command::End:
        Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuEnd")));
        break;
    case Command::WindowFrame:
        panel.close();
        break;
    }
}

QString listRow(const QTreeView &list, qint64 id)
{
    const QAbstractItemModel *rows = list.model();
    for (int i = 0; i < rows->rowCount(); ++i) {
        const QModelIndex name = rows->index(i, 0);
        if (name.data(Qt::UserRole).toString() == QStringLiteral("ID=%1").arg(id))
            return name.data().toString() + u'|' + name.siblingAtColumn(2).data().toString();
    }
    return {};
}

} // namespace

// Nothing a planner made of a roster goes without a question: Close, Open,
// a new generation and the end ask first whenever the roster was generated
// or changed since it was last saved or opened.
class TestUnsavedWork : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    // May 2024: Kowalski and Nowak on day 1's Dyżur, Wiśniewski on day 2's Patrol.
    QString writeRoster(const QString &name) const
    {
        const QString file = path(name);
        QFile::remove(file);
        const QString text =
            QStringLiteral("<Baza Date=\"2024-05-01\" Name=\"Grafik na maj 2024\"><Services>"
                           "<ServiceItem Id=\"%1\" Text=\"Dyżur\"/>"
                           "<ServiceItem Id=\"%2\" Text=\"Patrol\"/></Services>"
                           "<Dzien Id=\"1\"><Sluzba Id=\"%1\" Position=\"1.1\">"
                           "<Osoba Id=\"1\"><Nazwisko>Kowalski Jan</Nazwisko></Osoba>"
                           "<Osoba Id=\"2\"><Nazwisko>Nowak Adam</Nazwisko></Osoba></Sluzba>"
                           "</Dzien><Dzien Id=\"2\"><Sluzba Id=\"%2\" Position=\"2.2\">"
                           "<Osoba Id=\"3\"><Nazwisko>Wiśniewski Piotr</Nazwisko></Osoba>"
                           "</Sluzba></Dzien><Counter>"
                           "<Item Id=\"1\" Count=\"1\" Date=\"2024-05-01 08:00:00\"/>"
                           "<Item Id=\"2\" Count=\"4\" Date=\"2024-05-01 08:00:00\"/>"
                           "<Item Id=\"3\" Count=\"1\" Date=\"2024-05-02 20:00:00\"/>"
                           "</Counter></Baza>")
                .arg(m_duty)
                .arg(m_patrol);
        QString error;
        if (!Compression::SaveFile(file, text, &error))
            qWarning() << error;
        return file;
    }

    static int people(const QString &file)
    {
        const std::unique_ptr<Xml::Document> roster = RosterFile::ReadRoster(file);
        return roster ? int(roster->selectNodes(QStringLiteral("//Osoba")).size()) : -1;
    }

    // Removes the cell editor's first person: the row clicked, then "Usuń"
    // where the editor's toolbar draws it, then "Zapisz".
    static void removeFirstAndSave(CellList &editor)
    {
        QListWidget *list = editor.List1();
        QVERIFY(list->count() > 0);
        QVERIFY(Mouse::clickRow(*list, 0));
        QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("del")));
        QVERIFY(Mouse::click(*editor.ButtonSave()));
    }

private Q_SLOTS:
    void init()
    {
        // A failed case leaves no answer for the next one.
        while (FileDialogs::pendingAnswers() > 0)
            FileDialogs::getOpenFileName(nullptr, {}, {}, {}, nullptr);
        QVERIFY(m_dir.isValid());
        openDatabase();
        Module1::resetFileDialogState();
        Messages::clearShown();
    }
    void cleanup()
    {
        QCOMPARE(FileDialogs::pendingAnswers(), 0);
        closeDatabase();
    }

    // A generated roster, never saved: every command that sets it aside asks.
    // Yes saves through the save dialog and goes on only once saved; No goes
    // on; Cancel, a cancelled dialog or a failed save keep everything.
    void askedBeforeSettingAside_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<Reply>("reply");
        const QList<QPair<Reply, QString>> replies{{Reply::Yes, "Tak"},
                                                   {Reply::YesSaveCancelled, "Tak, save cancelled"},
                                                   {Reply::YesSaveFails, "Tak, save fails"},
                                                   {Reply::No, "Nie"},
                                                   {Reply::Cancel, "Anuluj"}};
        for (Command command : {Command::Close, Command::Open, Command::NewRoster,
                                Command::ToolbarGrafik, Command::End, Command::WindowFrame}) {
            for (const auto &[reply, name] : replies)
                QTest::addRow("%s: %s", qPrintable(commandName(command)), qPrintable(name))
                    << command << reply;
        }
    }
    void askedBeforeSettingAside()
    {
        QFETCH(Command, command);
        QFETCH(Reply, reply);
        TestPanel panel;
        QVERIFY(Keyboard::showActive(panel));
        QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
        QVERIFY(panel.xmlDocument());
        QVERIFY(panel.isModified());
        const Xml::Document *generated = panel.xmlDocument();
        const int places = int(generated->selectNodes(QStringLiteral("//Osoba")).size());
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));

        const QString saved = path(QStringLiteral("maj.swx"));
        QFile::remove(saved);
        const QString other = writeRoster(QStringLiteral("inny.swx"));
        switch (reply) {
        case Reply::Yes:
            Messages::setNextAnswer(Messages::Answer::Yes);
            FileDialogs::setNextFileName(saved);
            break;
        case Reply::YesSaveCancelled:
            Messages::setNextAnswer(Messages::Answer::Yes);
            FileDialogs::setNextFileName(QString());
            break;
        case Reply::YesSaveFails:
            Messages::setNextAnswer(Messages::Answer::Yes);
            FileDialogs::setNextFileName(path(QStringLiteral("brak/maj.swx")));
            break;
        case Reply::No:
            Messages::setNextAnswer(Messages::Answer::No);
            break;
        case Reply::Cancel:
            Messages::setNextAnswer(Messages::Answer::Cancel);
            break;
        }
        const bool goesOn = reply == Reply::Yes || reply == Reply::No;
        if (goesOn && command == Command::Open)
            FileDialogs::setNextFileName(other);

        issue(panel, command);

        QVERIFY(!Messages::shown().isEmpty());
        QCOMPARE(Messages::shown().first(), Question);
        QCOMPARE(QFile::exists(saved), reply == Reply::Yes);
        if (reply == Reply::Yes) {
            QCOMPARE(people(saved), places);
            QCOMPARE(Messages::shown().size(), 1);
        }
        if (reply == Reply::YesSaveFails) {
            QCOMPARE(Messages::shown().size(), 2);
            QVERIFY(Messages::shown().last().startsWith(Messages::SaveFileFailed));
        }

        if (!goesOn) {
            QCOMPARE(panel.xmlDocument(), generated);
            QVERIFY(panel.isModified());
            QVERIFY(panel.isVisible());
            QCOMPARE(panel.builds, 1);
            QCOMPARE(panel.CurrFile(), QString());
            return;
        }
        switch (command) {
        case Command::Close:
            QVERIFY(!panel.xmlDocument());
            QVERIFY(!panel.Lista()->isVisible());
            break;
        case Command::Open:
            QCOMPARE(panel.CurrFile(), other);
            QVERIFY(!panel.isModified());
            QCOMPARE(panel.Lista()->text(1, 1), QStringLiteral("Kowalski Jan\r\n\r\nNowak Adam"));
            break;
        case Command::NewRoster:
        case Command::ToolbarGrafik:
            QCOMPARE(panel.builds, 2);
            QVERIFY(panel.xmlDocument());
            QVERIFY(panel.xmlDocument() != generated);
            QVERIFY(panel.isModified());
            break;
        case Command::End:
        case Command::WindowFrame:
            QVERIFY(!panel.isVisible());
            break;
        }
    }

    // Nothing is asked for a roster unchanged since it was saved or opened,
    // also after the cell editor was left with "Anuluj" or saved as it was.
    void unchangedRosterGoesWithoutQuestion_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<Command>("command");
        for (const char *state : {"saved after generation", "opened", "cell editor cancelled",
                                  "cell saved unchanged", "saved after a cell edit"}) {
            for (Command command : {Command::Close, Command::End})
                QTest::addRow("%s, %s", state, qPrintable(commandName(command)))
                    << QString::fromLatin1(state) << command;
        }
    }
    void unchangedRosterGoesWithoutQuestion()
    {
        QFETCH(QString, state);
        QFETCH(Command, command);
        TestPanel panel;
        QVERIFY(Keyboard::showActive(panel));
        if (state == QLatin1String("saved after generation")) {
            QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("create")));
            QVERIFY(panel.isModified());
            FileDialogs::setNextFileName(path(QStringLiteral("maj.swx")));
            QTest::keyClick(&panel, Qt::Key_S, Qt::ControlModifier);
        } else {
            FileDialogs::setNextFileName(writeRoster(QStringLiteral("maj.swx")));
            QTest::keyClick(&panel, Qt::Key_O, Qt::ControlModifier);
        }
        QVERIFY(panel.xmlDocument());
        if (state == QLatin1String("cell editor cancelled")) {
            panel.cellEditor = [](CellList &editor) {
                QVERIFY(Mouse::clickRow(*editor.List1(), 0));
                QVERIFY(Mouse::clickItem(*editor.ToolBar(), QStringLiteral("del")));
                QVERIFY(Mouse::click(*editor.ButtonClose()));
            };
            QVERIFY(Mouse::doubleClickCell(*panel.Lista(), 1, 1));
        } else if (state == QLatin1String("cell saved unchanged")) {
            panel.cellEditor = [](CellList &editor) {
                QVERIFY(Mouse::click(*editor.ButtonSave()));
            };
            QVERIFY(Mouse::doubleClickCell(*panel.Lista(), 1, 1));
        } else if (state == QLatin1String("saved after a cell edit")) {
            panel.cellEditor = removeFirstAndSave;
            QVERIFY(Mouse::doubleClickCell(*panel.Lista(), 1, 1));
            QVERIFY(panel.isModified());
            FileDialogs::setNextFileName(path(QStringLiteral("zmieniony.swx")));
            QTest::keyClick(&panel, Qt::Key_S, Qt::ControlModifier);
        }
        QVERIFY(!panel.isModified());

        issue(panel, command);
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'\n')));
        if (command == Command::Close)
            QVERIFY(!panel.xmlDocument());
        else
            QVERIFY(!panel.isVisible());
    }

    // A cell edit of an opened roster asks; Yes saves the roster into the file
    // it was opened from, without a dialog, and that file then holds the edit.
    void editedRosterSavedIntoItsFile()
    {
        const QString file = writeRoster(QStringLiteral("maj.swx"));
        TestPanel panel;
        QVERIFY(Keyboard::showActive(panel));
        FileDialogs::setNextFileName(file);
        QTest::keyClick(&panel, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(panel.CurrFile(), file);
        panel.cellEditor = removeFirstAndSave;
        QVERIFY(Mouse::doubleClickCell(*panel.Lista(), 1, 1));
        QCOMPARE(panel.Lista()->text(1, 1), QStringLiteral("Nowak Adam"));
        QVERIFY(panel.isModified());

        // A dialog, were one shown, would be cancelled and the roster kept.
        FileDialogs::setNextFileName(QString());
        Messages::setNextAnswer(Messages::Answer::Yes);
        QTest::keyClick(&panel, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(Messages::shown(), QStringList{Question});
        QVERIFY(!panel.xmlDocument());
        QCOMPARE(FileDialogs::pendingAnswers(), 1);
        FileDialogs::getOpenFileName(nullptr, {}, {}, {}, nullptr);
        QCOMPARE(people(file), 2);

        // Opened again, the edit is there and nothing is asked on closing.
        FileDialogs::setNextFileName(file);
        QTest::keyClick(&panel, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(panel.Lista()->text(1, 1), QStringLiteral("Nowak Adam"));
        QCOMPARE(listRow(*panel.lstLudzie(), 1), QString());
        QTest::keyClick(&panel, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(Messages::shown(), QStringList{Question});
    }

    // A person deleted from the database after the roster was opened: the
    // cell editor leaves them out and drops their place on "Zapisz", but
    // their count stays; only the people added or removed there change.
    void cellEditorKeepsCountOfDeletedPerson()
    {
        TestPanel panel;
        QVERIFY(Keyboard::showActive(panel));
        FileDialogs::setNextFileName(writeRoster(QStringLiteral("maj.swx")));
        QTest::keyClick(&panel, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(listRow(*panel.lstLudzie(), 2), QStringLiteral("Nowak Adam|4"));
        exec(QStringLiteral("DELETE FROM ludzie WHERE id=2"));

        QStringList listed;
        panel.cellEditor = [&](CellList &editor) {
            for (int i = 0; i < editor.List1()->count(); ++i)
                listed << editor.List1()->item(i)->text();
            QVERIFY(Mouse::click(*editor.ButtonSave()));
        };
        QVERIFY(Mouse::doubleClickCell(*panel.Lista(), 1, 1));
        QCOMPARE(listed, QStringList{QStringLiteral("Kowalski Jan")});
        QCOMPARE(panel.Lista()->text(1, 1), QStringLiteral("Kowalski Jan"));
        QCOMPARE(panel.xmlDocument()
                     ->selectNodes(QStringLiteral("/Baza/Dzien[@Id='1']/Sluzba/Osoba"))
                     .size(),
                 1);
        QCOMPARE(listRow(*panel.lstLudzie(), 2), QStringLiteral("Nowak Adam|4"));
        QCOMPARE(listRow(*panel.lstLudzie(), 1), QStringLiteral("Kowalski Jan|1"));
        // The roster lost a place: it is a change to save.
        QVERIFY(panel.isModified());
    }
};

QTEST_MAIN(TestUnsavedWork)
#include "tst_unsavedwork.moc"
