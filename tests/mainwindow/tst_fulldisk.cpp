#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Module1Ui.h"
#include "mainwindow/Bilans.h"
#include "mainwindow/Compression.h"
#include "mainwindow/Panel.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/FullDisk.h"
#include "tests/support/Menus.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Command { SaveRoster, ExportSpreadsheet, ExportCsv, ExportRtf };

// The main window whose balance window, when it opens, exports its tree
// through its own menu.
class TestPanel : public Panel
{
protected:
    int showModal(QDialog &dialog) override
    {
        if (auto *bilans = qobject_cast<Bilans *>(&dialog)) {
            bilans->show();
            Menus::choose(bilans->findChild<QMenuBar *>(), bilans->mnuExport());
        }
        return QDialog::Rejected;
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

Q_DECLARE_METATYPE(Command)

// A disk that runs out while the planner saves or exports: the file saved
// before stays byte for byte, and the planner reads why nothing was written.
class TestFullDisk : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        openDatabase();
        // The spreadsheet export's template beside the program.
        QVERIFY(QFile::copy(
            QFileInfo(TestSupport::schemaPath()).dir().filePath(QStringLiteral("BazaXml.file")),
            path(QStringLiteral("BazaXml.file"))));
        Module1::setAppPath(m_dir.path());
        Module1::resetFileDialogState();
        Messages::clearShown();
    }
    void cleanup()
    {
        QCOMPARE(FileDialogs::pendingAnswers(), 0);
        Module1::setAppPath(QString());
        closeDatabase();
        Messages::clearShown();
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void oldFileKept_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit"); // bytes a file may grow to

        QTest::newRow("roster, disk already full") << Command::SaveRoster << "maj.swx" << 0;
        QTest::newRow("roster, full while written") << Command::SaveRoster << "maj.swx" << 64;
        QTest::newRow("spreadsheet") << Command::ExportSpreadsheet << "maj.xml" << 512;
        QTest::newRow("csv") << Command::ExportCsv << "maj.csv" << 0;
        QTest::newRow("csv, full while written") << Command::ExportCsv << "maj.csv" << 16;
        QTest::newRow("balance rtf") << Command::ExportRtf << "bilans.rtf" << 100;
    }

    void oldFileKept()
    {
        QFETCH(Command, command);
        QFETCH(QString, name);
        QFETCH(int, limit);

        const QString roster = path(QStringLiteral("zapisany.swx"));
        QVERIFY(Compression::SaveFile(
            roster,
            QStringLiteral("<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services>"
                           "<ServiceItem Id=\"%1\" Text=\"Dyżur\"/></Services><Dzien Id=\"1\">"
                           "<Sluzba Id=\"%1\" Name=\"Dyżur\" Position=\"1.1\"><Osoba Id=\"1\"/>"
                           "</Sluzba></Dzien><Counter><Item Id=\"1\" Count=\"1\" "
                           "Date=\"2024-05-01 08:00:00\"/></Counter></Baza>")
                .arg(m_duty)));
        const QString target = path(name);
        const QByteArray old = "what the planner saved last time\r\n";
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(old), old.size());
        }

        TestPanel panel;
        panel.resize(1000, 700);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        FileDialogs::setNextFileName(roster);
        Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuOpen")));
        QVERIFY2(panel.isOpened(), qPrintable(Messages::shown().join(u'\n')));

        {
            TestSupport::FullDisk disk{rlim_t(limit)};
            QVERIFY(disk.isActive());
            switch (command) {
            case Command::SaveRoster:
                FileDialogs::setNextFileName(target);
                Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuSave")));
                break;
            case Command::ExportSpreadsheet:
                FileDialogs::setNextFileName(target, 0);
                Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuEksport")));
                break;
            case Command::ExportCsv:
                FileDialogs::setNextFileName(target, 1);
                Menus::choose(panel.menuBar(), panel.menuAction(QStringLiteral("mnuEksport")));
                break;
            case Command::ExportRtf:
                FileDialogs::setNextFileName(target);
                QVERIFY(Mouse::clickItem(*panel.ToolBar1(), QStringLiteral("bilans")));
                break;
            }
        }

        QCOMPARE(readAll(target), old);
        QCOMPARE(Messages::shown(),
                 QStringList{Messages::SaveFileFailed + QStringLiteral("\r\n") + target +
                             QStringLiteral("\r\n") + TestSupport::FullDisk::reason()});
        // Nothing half-written is left beside it.
        QCOMPARE(
            QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({QStringLiteral("BazaXml.file"), name, QStringLiteral("zapisany.swx")}));
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
