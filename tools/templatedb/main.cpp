// Builds the template database every new database file is copied from:
// kadrelo_templatedb <schema.sql> <output.mbd>
#include "core/Globals.h"
#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "kadrelo_templatedb: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: kadrelo_templatedb <schema.sql> <output.mbd>"));

    QFile schema(args.at(1));
    if (!schema.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(args.at(1)));
    const QString script = QString::fromUtf8(schema.readAll());

    const QString output = QFileInfo(args.at(2)).absoluteFilePath();
    if (!QDir().mkpath(QFileInfo(output).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(output));
    // Written under a temporary name, so a failed build leaves no half file.
    const QString temporary = output + QStringLiteral(".tmp");
    QFile::remove(temporary);
    {
        QString error;
        std::unique_ptr<Db::Database> db =
            Db::Database::create(temporary, QString::fromLatin1(Globals::DatabaseKey), &error);
        if (!db)
            return fail(error);
        if (!db->executeScript(script)) {
            const QString message = db->errorString();
            db.reset();
            QFile::remove(temporary);
            return fail(message);
        }
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(),
                            QFile::encodeName(output).toStdString(), ec);
    if (ec) {
        QFile::remove(temporary);
        return fail(QString::fromStdString(ec.message()));
    }
    return 0;
}
