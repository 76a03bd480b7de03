#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/Tools.h"
#include "core/ui/Application.h"
#include "core/ui/Login.h"
#include "core/ui/MessageBoxPresenter.h"
#include "core/ui/SelectDatabase.h"
#include "core/ui/SelectName.h"
#include "core/ui/StartModule.h"
#include "platform/db/Database.h"
#include "platform/text/FileErrors.h"
#include "tests/support/TestDatabase.h"

#include <QAbstractButton>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

QStringList listed(const SelectDatabase &window)
{
    QStringList names;
    for (int i = 0; i < window.File1()->count(); ++i)
        names.append(window.File1()->item(i)->text());
    return names;
}

QString selected(const SelectDatabase &window)
{
    const auto items = window.File1()->selectedItems();
    return items.isEmpty() ? QString() : items.constFirst()->text();
}

template <typename T> QList<T *> topLevel()
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            found.append(t);
    }
    return found;
}

class Thrower : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("zepsuty handler");
        return QObject::event(e);
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void emptyFolderOffersOnlyAdding();
    void createExistsAndDelete();
    void badNamesAreRefused_data();
    void badNamesAreRefused();
    void missingTemplateIsReported();
    void selectNameNeedsText();
    void openingGoesToMainWindowOrLogin();
    void openingAForeignFileFails();
    void loginAllowsThreeMistakes_data();
    void loginAllowsThreeMistakes();
    void secondInstanceIsRefused();
    void staleLockDoesNotBlock();
    void failingHandlerLeavesProgramRunning();
    void presenterMapsButtons();
    void qtTextsArePolish();

private:
    QString appPath() const { return Module1::AppPath(); }
    QString templatePath() const { return appPath() + QStringLiteral("Databases/Empty/baza.mbd"); }
    // A database of the program's own in the program folder, with Pass set when given.
    void makeDatabase(const QString &name, const QString &password = QString());
    void closeAll();

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_mainShown = 0;
};

void TestStartup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The program folder lies one level down, so the test can watch its
    // parent without seeing other tests' temporary files.
    Module1::setAppPath(m_dir->path() + QStringLiteral("/Program"));
    QVERIFY(QDir().mkpath(appPath() + QStringLiteral("Databases/Empty")));
    TestSupport::TestDatabase db;
    QVERIFY2(db.isValid(), qPrintable(db.errorString()));
    db.close();
    QVERIFY(QFile::copy(db.path(), templatePath()));
    Messages::clearShown();
    m_mainShown = 0;
    StartModule::setShowMainWindow([this] { ++m_mainShown; });
}

void TestStartup::cleanup()
{
    closeAll();
    Globals::closeDatabase();
    StartModule::releaseInstanceLock();
    Messages::clearShown();
    m_dir.reset();
}

void TestStartup::closeAll()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestStartup::makeDatabase(const QString &name, const QString &password)
{
    const QString path = appPath() + name;
    QVERIFY(QFile::copy(templatePath(), path));
    if (password.isEmpty())
        return;
    auto db = Db::Database::open(path, Globals::databasePassword());
    QVERIFY(db);
    auto options = clsOptions::load(*db);
    QVERIFY(options);
    QVERIFY(options->SetOption(QStringLiteral("Pass"), Tools::GetMD5(password)));
}

void TestStartup::emptyFolderOffersOnlyAdding()
{
    SelectDatabase window;
    window.show();
    QCOMPARE(window.File1()->count(), 0);
    QVERIFY(window.File1()->selectedItems().isEmpty());

    Messages::setNextAnswer(Messages::Answer::Yes);
    QTest::mouseClick(window.BlueCommand4(), Qt::LeftButton); // Usuń
    QTest::mouseClick(window.BlueCommand2(), Qt::LeftButton); // Zaloguj
    QVERIFY(Messages::shown().isEmpty());
    QVERIFY(window.isVisible());
    QVERIFY(!Globals::database());

    SelectName::setNextName(QStringLiteral("NazwaPliku"));
    QTest::mouseClick(window.BlueCommand3(), Qt::LeftButton); // Dodaj
    QCOMPARE(listed(window), QStringList{QStringLiteral("NazwaPliku.mbd")});
    QCOMPARE(selected(window), QStringLiteral("NazwaPliku.mbd"));
}

void TestStartup::createExistsAndDelete()
{
    SelectDatabase window;
    window.show();

    SelectName::setNextName(QStringLiteral("Zeta"));
    window.addDatabase();
    // The name is taken as typed, blanks and all.
    SelectName::setNextName(QStringLiteral(" Alfa "));
    window.addDatabase();
    QCOMPARE(listed(window),
             (QStringList{QStringLiteral(" Alfa .mbd"), QStringLiteral("Zeta.mbd")}));
    // The refresh selects the first file, not the new one.
    QCOMPARE(selected(window), QStringLiteral(" Alfa .mbd"));
    QCOMPARE(fileHash(appPath() + QStringLiteral("Zeta.mbd")), fileHash(templatePath()));
    QVERIFY(Messages::shown().isEmpty());

    // A name already used leaves the existing file as it was.
    {
        QFile zeta(appPath() + QStringLiteral("Zeta.mbd"));
        QVERIFY(zeta.open(QIODevice::Append));
        zeta.write("changed");
    }
    const QByteArray before = fileHash(appPath() + QStringLiteral("Zeta.mbd"));
    SelectName::setNextName(QStringLiteral("Zeta"));
    window.addDatabase();
    QCOMPARE(Messages::shown(),
             QStringList{QStringLiteral("Podany plik już istnieje. Proszę wybrać inną nazwę")});
    QCOMPARE(fileHash(appPath() + QStringLiteral("Zeta.mbd")), before);

    // "Zamknij" in SelectName creates nothing.
    SelectName::setNextName(QString());
    window.addDatabase();
    QCOMPARE(window.File1()->count(), 2);

    // No keeps the file, Yes deletes it.
    Messages::clearShown();
    window.File1()->item(1)->setSelected(true);
    Messages::setNextAnswer(Messages::Answer::No);
    window.deleteDatabase();
    QCOMPARE(Messages::shown(),
             QStringList{QStringLiteral("Czy na pewno chcesz usunąć zaznaczoną bazę danych?")});
    QVERIFY(QFile::exists(appPath() + QStringLiteral("Zeta.mbd")));

    window.File1()->item(1)->setSelected(true);
    Messages::setNextAnswer(Messages::Answer::Yes);
    window.deleteDatabase();
    QVERIFY(!QFile::exists(appPath() + QStringLiteral("Zeta.mbd")));
    QCOMPARE(listed(window), QStringList{QStringLiteral(" Alfa .mbd")});
    QCOMPARE(selected(window), QStringLiteral(" Alfa .mbd"));
    QVERIFY(window.isVisible());
}

void TestStartup::badNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("slash") << QStringLiteral("sub/baza");
    QTest::newRow("backslash") << QStringLiteral("sub\\baza");
    QTest::newRow("parent") << QStringLiteral("../baza");
    QTest::newRow("dots") << QStringLiteral("..");
    QTest::newRow("colon") << QStringLiteral("c:baza");
    QTest::newRow("star") << QStringLiteral("ba*za");
    QTest::newRow("question") << QStringLiteral("baza?");
    QTest::newRow("quote") << QStringLiteral("ba\"za");
    QTest::newRow("angle") << QStringLiteral("<baza>");
    QTest::newRow("pipe") << QStringLiteral("ba|za");
    QTest::newRow("tab") << QStringLiteral("ba\tza");
}

void TestStartup::badNamesAreRefused()
{
    QFETCH(QString, name);
    const QStringList before =
        QDir(appPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QStringList parentBefore =
        QDir(appPath() + QStringLiteral("..")).entryList(QDir::AllEntries);

    SelectDatabase window;
    window.show();
    SelectName::setNextName(name);
    window.addDatabase();

    QCOMPARE(Messages::shown().size(), 1);
    QVERIFY(Messages::shown().constFirst().startsWith(
        QStringLiteral("Podana nazwa nie może być nazwą pliku")));
    QVERIFY(window.isVisible());
    QCOMPARE(QDir(appPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             before);
    QCOMPARE(QDir(appPath() + QStringLiteral("..")).entryList(QDir::AllEntries), parentBefore);
}

void TestStartup::missingTemplateIsReported()
{
    QVERIFY(QFile::remove(templatePath()));
    SelectDatabase window;
    window.show();
    SelectName::setNextName(QStringLiteral("Nowa"));
    window.addDatabase();
    QCOMPARE(Messages::shown().size(), 1);
    QVERIFY(Messages::shown().constFirst().startsWith(
        QStringLiteral("Nie znaleziono wzorca bazy danych")));
    QVERIFY(!QFile::exists(appPath() + QStringLiteral("Nowa.mbd")));
    QVERIFY(window.isVisible());
}

void TestStartup::selectNameNeedsText()
{
    SelectName dialog;
    QCOMPARE(dialog.Text1()->text(), QStringLiteral("NazwaPliku"));
    dialog.show();
    dialog.Text1()->clear();
    QTest::mouseClick(dialog.BlueCommand2(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.ChosenName().isEmpty());

    dialog.Text1()->setText(QStringLiteral("Grafik2024"));
    QTest::mouseClick(dialog.BlueCommand2(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ChosenName(), QStringLiteral("Grafik2024"));

    SelectName closing;
    closing.show();
    QTest::mouseClick(closing.BlueCommand1(), Qt::LeftButton);
    QCOMPARE(closing.result(), int(QDialog::Rejected));
    QVERIFY(closing.ChosenName().isEmpty());

    // Escape presses "Zamknij", its cancel button.
    SelectName escaping;
    escaping.show();
    QVERIFY(QTest::qWaitForWindowExposed(&escaping));
    QTest::keyClick(escaping.Text1(), Qt::Key_Escape);
    QVERIFY(!escaping.isVisible());
    QCOMPARE(escaping.result(), int(QDialog::Rejected));
    QVERIFY(escaping.ChosenName().isEmpty());
}

void TestStartup::openingGoesToMainWindowOrLogin()
{
    makeDatabase(QStringLiteral("bez.mbd"));
    makeDatabase(QStringLiteral("haslo.mbd"), QStringLiteral("tajne"));

    auto *window = new SelectDatabase;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QCOMPARE(selected(*window), QStringLiteral("bez.mbd"));
    QTest::mouseClick(window->BlueCommand2(), Qt::LeftButton);
    QCOMPARE(m_mainShown, 1);
    QVERIFY(Globals::database());
    QVERIFY(Globals::options());
    QVERIFY(topLevel<SelectDatabase>().isEmpty());
    QVERIFY(topLevel<Login>().isEmpty());
    QVERIFY(Messages::shown().isEmpty());

    Globals::closeDatabase();
    QVERIFY(StartModule::OpenDatabase(appPath() + QStringLiteral("haslo.mbd")));
    QCOMPARE(m_mainShown, 1);
    QCOMPARE(topLevel<Login>().size(), 1);
    QCOMPARE(topLevel<Login>().constFirst()->windowTitle(),
             QStringLiteral("Logowanie - Dorvat Kadrelo"));
}

void TestStartup::openingAForeignFileFails()
{
    {
        QFile junk(appPath() + QStringLiteral("obca.mbd"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
    }
    auto *window = new SelectDatabase;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QTest::mouseClick(window->BlueCommand2(), Qt::LeftButton);
    QCOMPARE(Messages::shown().size(), 1);
    // The engine's reason alone, in Polish.
    QCOMPARE(Messages::shown().constFirst(),
             QStringLiteral("Plik nie jest bazą danych programu albo jest uszkodzony "
                            "(file is encrypted or is not a database)"));
    QCOMPARE(m_mainShown, 0);
    // The choice closes whatever the outcome; with no window left the program ends.
    QVERIFY(topLevel<SelectDatabase>().isEmpty());
    QVERIFY(topLevel<Login>().isEmpty());
}

void TestStartup::loginAllowsThreeMistakes_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("loginOpen");

    const QString bad = QStringLiteral("zle");
    QTest::newRow("right at once") << QStringList{QStringLiteral("tajne")} << 0 << true << false;
    QTest::newRow("empty is wrong") << QStringList{QString()} << 1 << false << true;
    QTest::newRow("letter case counts")
        << QStringList{QStringLiteral("TAJNE")} << 1 << false << true;
    QTest::newRow("three wrong") << QStringList{bad, bad, bad} << 3 << false << true;
    QTest::newRow("right on the fourth")
        << QStringList{bad, bad, bad, QStringLiteral("tajne")} << 3 << true << false;
    QTest::newRow("fourth wrong closes") << QStringList{bad, bad, bad, bad} << 3 << false << false;
}

void TestStartup::loginAllowsThreeMistakes()
{
    QFETCH(QStringList, typed);
    QFETCH(int, messages);
    QFETCH(bool, opened);
    QFETCH(bool, loginOpen);

    makeDatabase(QStringLiteral("haslo.mbd"), QStringLiteral("tajne"));
    QVERIFY(StartModule::OpenDatabase(appPath() + QStringLiteral("haslo.mbd")));
    QCOMPARE(topLevel<Login>().size(), 1);
    Login *login = topLevel<Login>().constFirst();
    QPointer<Login> guard(login);
    for (const QString &text : typed) {
        QVERIFY(guard);
        login->poleTxt()->setText(text);
        QTest::mouseClick(login->ButtonOK(), Qt::LeftButton);
        if (guard && guard->isVisible())
            QCOMPARE(login->poleTxt()->text(), text);
    }
    QCOMPARE(Messages::shown().size(), messages);
    for (const QString &shown : Messages::shown())
        QCOMPARE(shown, QStringLiteral("Podane hasło jest nieprawidłowe."));
    QCOMPARE(m_mainShown, opened ? 1 : 0);
    QCOMPARE(!topLevel<Login>().isEmpty(), loginOpen);
}

void TestStartup::secondInstanceIsRefused()
{
    // Another copy of the program holds the lock of this program folder.
    QLockFile other(StartModule::instanceLockPath());
    QVERIFY(other.tryLock(0));
    QVERIFY(!StartModule::Main());
    QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Program jest już uruchomiony!")});
    QVERIFY(topLevel<SelectDatabase>().isEmpty());

    other.unlock();
    Messages::clearShown();
    QVERIFY(StartModule::Main());
    QVERIFY(Messages::shown().isEmpty());
    QCOMPARE(topLevel<SelectDatabase>().size(), 1);
    QCOMPARE(topLevel<SelectDatabase>().constFirst()->windowTitle(),
             QStringLiteral("Wybór bazy danych"));

    // Our own lock now refuses the next copy.
    QLockFile third(StartModule::instanceLockPath());
    QVERIFY(!third.tryLock(0));
}

void TestStartup::staleLockDoesNotBlock()
{
    // The lock of a copy that died without unlocking: its process is gone.
    QProcess gone;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("0")});
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    {
        QFile lock(StartModule::instanceLockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() +
                   '\n' + QSysInfo::machineHostName().toUtf8() + '\n');
    }
    QVERIFY(StartModule::Main());
    QVERIFY(Messages::shown().isEmpty());
}

void TestStartup::failingHandlerLeavesProgramRunning()
{
    Thrower thrower;
    QEvent event(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
    QCOMPARE(Messages::shown(),
             QStringList{QStringLiteral("Wystąpił nieoczekiwany błąd!\r\nzepsuty handler")});
}

void TestStartup::presenterMapsButtons()
{
    MessageBoxPresenter presenter;
    QString seenText;
    QString seenTitle;
    Qt::TextFormat seenFormat = Qt::AutoText;
    auto press = [&](const QString &caption) {
        QTimer::singleShot(0, [&, caption] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenFormat = box->textFormat();
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == caption)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
    };
    press(QStringLiteral("Tak"));
    QCOMPARE(presenter.show(QStringLiteral("Pytanie?"), QStringLiteral("Kadrelo"),
                            Messages::Icon::Question, Messages::Buttons::YesNo),
             Messages::Answer::Yes);
    QCOMPARE(seenText, QStringLiteral("Pytanie?"));
    QCOMPARE(seenTitle, QStringLiteral("Kadrelo"));
    press(QStringLiteral("Nie"));
    QCOMPARE(presenter.show(QStringLiteral("Pytanie?"), QStringLiteral("Kadrelo"),
                            Messages::Icon::Question, Messages::Buttons::YesNo),
             Messages::Answer::No);
    press(QStringLiteral("OK"));
    QCOMPARE(presenter.show(QStringLiteral("Info"), QStringLiteral("Kadrelo"), Messages::Icon::None,
                            Messages::Buttons::Ok),
             Messages::Answer::Ok);
    // CR LF ends a line on screen, and a reason that looks like markup is shown as written.
    press(QStringLiteral("OK"));
    presenter.show(QStringLiteral("Nie udało się zapisać pliku\r\n/tmp/<b>x</b>.swx"),
                   QStringLiteral("Kadrelo"), Messages::Icon::Critical, Messages::Buttons::Ok);
    QCOMPARE(seenText, QStringLiteral("Nie udało się zapisać pliku\n/tmp/<b>x</b>.swx"));
    QCOMPARE(seenFormat, Qt::PlainText);
}

// Qt's own buttons and file failures read Polish in the program; the reason
// of a failure is still recognised when Qt words it in Polish itself.
void TestStartup::qtTextsArePolish()
{
    QDialogButtonBox box(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
    QCOMPARE(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("Otwórz"));

    QSaveFile onFolder(m_dir->path());
    QVERIFY(!onFolder.open(QIODevice::WriteOnly));
    QVERIFY2(FileErrors::reason(onFolder).startsWith(
                 QStringLiteral("Podana ścieżka wskazuje folder, nie plik (")),
             qPrintable(FileErrors::reason(onFolder)));
    QFile source(templatePath());
    QVERIFY(!source.copy(templatePath()));
    QVERIFY2(FileErrors::reason(source).startsWith(QStringLiteral("Plik już istnieje (")),
             qPrintable(FileErrors::reason(source)));
}

int main(int argc, char *argv[])
{
    // The program's own application object, so a failing handler is caught as in the program.
    Application app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
