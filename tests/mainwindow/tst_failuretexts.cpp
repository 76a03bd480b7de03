#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/SelectDatabase.h"
#include "core/ui/StartModule.h"
#include "mainwindow/Compression.h"
#include "mainwindow/Panel.h"
#include "mainwindow/RosterFile.h"
#include "platform/db/Database.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <unistd.h>

namespace {

enum class Action { OpenRoster, SaveRoster, OpenDatabase, OpenWithShell, StoreCounts };

// What the file or database holds before the planner acts. The last four
// concern the open database: its folder cannot be written (root writes
// anyway), or the journal cannot be made there for a reason that holds for
// root too, or the file has been cut to nothing, or a database whose option
// names differ only in Polish letters' case.
enum class Setup {
    Nothing,
    Folder,
    Unreadable,
    Junk,
    Locked,
    ReadOnlyFolder,
    JournalBlocked,
    Truncated,
    TwinOptions
};

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Setup)

// What the planner reads when a file or the database fails: a Polish reason
// with the system's own text after it, each part on its own CR LF line.
class TestFailureTexts : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    void prepare(Setup setup, const QString &target)
    {
        switch (setup) {
        case Setup::Nothing:
            break;
        case Setup::Folder:
            QVERIFY(QDir().mkpath(target));
            break;
        case Setup::Unreadable: {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
            file.close();
            QVERIFY(file.setPermissions({}));
            break;
        }
        case Setup::Junk: {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
            break;
        }
        case Setup::Locked: {
            TestSupport::TestDatabase made;
            QVERIFY(made.isValid());
            made.close();
            QVERIFY(QFile::copy(made.path(), target));
            // Another program in the middle of writing.
            m_holder = Db::Database::open(target, TestSupport::TestDatabase::key());
            QVERIFY(m_holder);
            QVERIFY(m_holder->execute(QStringLiteral("BEGIN EXCLUSIVE")));
            break;
        }
        case Setup::ReadOnlyFolder:
            m_readOnly = QFileInfo(target).absolutePath();
            QVERIFY(QFile::setPermissions(m_readOnly, QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Setup::JournalBlocked:
            // SQLite makes its journal through the link, into a folder that is not there.
            QVERIFY(QFile::link(QFileInfo(target).absolutePath() + QStringLiteral("/brak/dziennik"),
                                target + QStringLiteral("-journal")));
            break;
        case Setup::Truncated:
            QVERIFY(QFile::resize(target, 0));
            break;
        case Setup::TwinOptions: {
            TestSupport::TestDatabase made;
            QVERIFY(made.isValid());
            QVERIFY(made.db().execute(
                QStringLiteral("INSERT INTO opcje (Name, Value) VALUES ('Łatka', '1'), "
                               "('łatka', '2')")));
            made.close();
            QVERIFY(QFile::copy(made.path(), target));
            break;
        }
        }
    }

    QString m_readOnly; // a folder to make writable again

    std::unique_ptr<Db::Database> m_holder;

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        openDatabase();
        Module1::setAppPath(m_dir.path());
        Module1::resetFileDialogState();
        StartModule::setShowMainWindow([] {});
        Messages::clearShown();
    }
    void cleanup()
    {
        m_holder.reset();
        if (!m_readOnly.isEmpty())
            QVERIFY(QFile::setPermissions(m_readOnly,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_readOnly.clear();
        QCOMPARE(FileDialogs::pendingAnswers(), 0);
        closeDatabase();
        Messages::clearShown();
        for (const QString &name :
             QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            QVERIFY(QFile::setPermissions(path(name),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
                    (QFile::remove(path(name)) || QDir(path(name)).removeRecursively()));
    }

    void reasonIsPolish_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");

        QTest::newRow("roster missing")
            << Action::OpenRoster << Setup::Nothing << QStringLiteral("brak.swx")
            << QStringLiteral("Plik lub folder nie istnieje (No such file or directory)");
        QTest::newRow("roster is a folder")
            << Action::OpenRoster << Setup::Folder << QStringLiteral("folder.swx")
            << QStringLiteral(
                   "Podana ścieżka wskazuje folder, nie plik (file to open is a directory)");
        QTest::newRow("roster unreadable")
            << Action::OpenRoster << Setup::Unreadable << QStringLiteral("zamkniety.swx")
            << QStringLiteral("Brak uprawnień do pliku lub folderu (Permission denied)");
        QTest::newRow("save into a missing folder")
            << Action::SaveRoster << Setup::Nothing << QStringLiteral("brak/maj.swx")
            << QStringLiteral("Plik lub folder nie istnieje (No such file or directory)");
        QTest::newRow("save over a folder")
            << Action::SaveRoster << Setup::Folder << QStringLiteral("maj.swx")
            << QStringLiteral(
                   "Podana ścieżka wskazuje folder, nie plik (Filename refers to a directory)");
        QTest::newRow("exported file gone before it is shown")
            << Action::OpenWithShell << Setup::Nothing << QStringLiteral("bilans.rtf")
            << QStringLiteral("Plik lub folder nie istnieje (No such file or directory)");
        QTest::newRow("not a database")
            << Action::OpenDatabase << Setup::Junk << QStringLiteral("obca.mbd")
            << QStringLiteral("Plik nie jest bazą danych programu albo jest uszkodzony "
                              "(file is encrypted or is not a database)");
        QTest::newRow("database locked")
            << Action::OpenDatabase << Setup::Locked << QStringLiteral("zajeta.mbd")
            << QStringLiteral(
                   "Baza danych jest zablokowana przez inny program (database is locked)");
        const QString noWrite = QStringLiteral("Nie udało się zapisać bilansu do bazy danych.\r\n"
                                               "Nie można zapisywać w folderze bazy danych (%1): ");
        QTest::newRow("database folder read-only")
            << Action::StoreCounts << Setup::ReadOnlyFolder << QString()
            << noWrite + QStringLiteral("Brak uprawnień do pliku lub folderu (Permission denied)");
        QTest::newRow("journal cannot be made")
            << Action::StoreCounts << Setup::JournalBlocked << QString()
            << noWrite + QStringLiteral("Plik lub folder nie istnieje (No such file or directory)");
        QTest::newRow("database cut short while open")
            << Action::StoreCounts << Setup::Truncated << QString()
            << QStringLiteral("Nie udało się zapisać bilansu do bazy danych.\r\n"
                              "Plik bazy danych jest uszkodzony (no such table: ludzie_last)");
        QTest::newRow("option named twice")
            << Action::OpenDatabase << Setup::TwinOptions << QStringLiteral("podwojna.mbd")
            << QStringLiteral(
                   "Plik bazy danych jest uszkodzony: opcja \"łatka\" występuje w nim więcej "
                   "niż raz");
        QTest::newRow("database unreadable")
            << Action::OpenDatabase << Setup::Unreadable << QStringLiteral("zamknieta.mbd")
            << QStringLiteral(
                   "Nie można otworzyć pliku bazy danych (unable to open database file)");
    }

    void reasonIsPolish()
    {
        QFETCH(Action, action);
        QFETCH(Setup, setup);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        if ((setup == Setup::Unreadable || setup == Setup::ReadOnlyFolder) && geteuid() == 0)
            QSKIP("root reads and writes every file");
        const QString target =
            action == Action::StoreCounts ? Globals::database()->path() : path(name);
        // The counts are stored from a roster opened before the database fails.
        if (action != Action::StoreCounts)
            prepare(setup, target);
        if (QTest::currentTestFailed())
            return;

        QString expected;
        switch (action) {
        case Action::OpenRoster: {
            Panel panel;
            FileDialogs::setNextFileName(target);
            panel.menuAction(QStringLiteral("mnuOpen"))->trigger();
            expected = QStringLiteral("Wystąpił błąd przy otwiraniu pliku\r\n") + target +
                       QStringLiteral("\r\n") + reason;
            break;
        }
        case Action::SaveRoster: {
            Panel panel;
            const QString roster = path(QStringLiteral("dobry.swx"));
            QVERIFY(Compression::SaveFile(
                roster, QStringLiteral("<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services>"
                                       "<ServiceItem Id=\"%1\" Text=\"Dyżur\"/></Services></Baza>")
                            .arg(m_duty)));
            QVERIFY(panel.openRosterFile(roster));
            FileDialogs::setNextFileName(target);
            panel.menuAction(QStringLiteral("mnuSave"))->trigger();
            expected = QStringLiteral("Nie udało się zapisać pliku\r\n") + target +
                       QStringLiteral("\r\n") + reason;
            break;
        }
        case Action::StoreCounts: {
            // The month's counts of an open roster, from the small toolbar's button.
            Panel panel;
            panel.show();
            QVERIFY(QTest::qWaitForWindowExposed(&panel));
            const QString roster = path(QStringLiteral("dobry.swx"));
            QVERIFY(Compression::SaveFile(
                roster,
                QStringLiteral("<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services>"
                               "<ServiceItem Id=\"%1\" Text=\"Dyżur\"/></Services>"
                               "<Counter><Item Id=\"1\" Count=\"1\" Date=\"2024-05-01\"/></Counter>"
                               "</Baza>")
                    .arg(m_duty)));
            QVERIFY(panel.openRosterFile(roster));
            prepare(setup, target);
            if (QTest::currentTestFailed())
                return;
            QAction *save = panel.tbBilans()->findChild<QAction *>(QStringLiteral("save"));
            QVERIFY(save);
            QVERIFY(Mouse::clickAction(*panel.tbBilans(), save));
            QCOMPARE(Messages::shown(),
                     QStringList{QString(reason).replace(QStringLiteral("%1"),
                                                         QFileInfo(target).absolutePath())});
            return;
        }
        case Action::OpenWithShell:
            Module1::OpenWithShell(nullptr, target);
            expected = QStringLiteral("Nie udało się otworzyć pliku\r\n") + target +
                       QStringLiteral("\r\n") + reason;
            break;
        case Action::OpenDatabase: {
            auto *window = new SelectDatabase;
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->show();
            QTest::mouseClick(window->BlueCommand2(), Qt::LeftButton); // Zaloguj
            // The engine's reason alone, as the database choice shows it.
            expected = reason;
            break;
        }
        }
        QCOMPARE(Messages::shown(), QStringList{expected});
    }
};

QTEST_MAIN(TestFailureTexts)
#include "tst_failuretexts.moc"
