#include "core/ui/StartModule.h"

#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/Guard.h"
#include "core/ui/Login.h"
#include "core/ui/SelectDatabase.h"
#include "platform/db/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <memory>

namespace StartModule {

namespace {

std::function<void()> g_showMainWindow;
std::unique_ptr<QLockFile> g_lock;

} // namespace

void setShowMainWindow(std::function<void()> show)
{
    g_showMainWindow = std::move(show);
}

void ShowMainWindow()
{
    if (g_showMainWindow)
        g_showMainWindow();
}

QString instanceLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::tempPath();
    // One copy per program folder, as each folder holds its own databases.
    const QByteArray app =
        QCryptographicHash::hash(Module1::AppPath().toUtf8(), QCryptographicHash::Md5)
            .toHex()
            .left(12);
    return QDir(folder).filePath(QStringLiteral("DtKadrelo-%1.lock").arg(QString::fromLatin1(app)));
}

bool acquireInstanceLock()
{
    if (g_lock)
        return true;
    auto lock = std::make_unique<QLockFile>(instanceLockPath());
    // Never stale by age: a running copy keeps its lock however long it runs;
    // a lock whose process is gone is still taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    g_lock = std::move(lock);
    return true;
}

void releaseInstanceLock()
{
    g_lock.reset();
}

bool Main()
{
    bool started = false;
    Ui::guarded([&started] {
        if (!acquireInstanceLock()) {
            Messages::exclamation(QStringLiteral("Program jest już uruchomiony!"));
            return;
        }
        auto *window = new SelectDatabase;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        started = true;
    });
    return started;
}

bool OpenDatabase(const QString &path)
{
    QString error;
    std::unique_ptr<Db::Database> db =
        Db::Database::open(path, Globals::databasePassword(), &error);
    if (!db) {
        // The engine's own reason; the general text only when it gave none.
        Messages::critical(error.isEmpty() ? QStringLiteral("Błąd przy ładowaniu bazy danych!")
                                           : error);
        return false;
    }
    Globals::setDatabase(std::move(db));

    std::unique_ptr<clsOptions> options = clsOptions::load(*Globals::database(), &error);
    if (!options) {
        Messages::critical(error.isEmpty() ? QStringLiteral("Nie można odczytać opcji programu.")
                                           : error);
        return false;
    }
    Globals::setOptions(std::move(options));

    if (!Globals::options()->GetOption(QStringLiteral("Pass")).isEmpty()) {
        auto *login = new Login;
        login->setAttribute(Qt::WA_DeleteOnClose);
        login->show();
    } else {
        ShowMainWindow();
    }
    return true;
}

} // namespace StartModule
