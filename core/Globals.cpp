#include "core/Globals.h"

#include "core/Options.h"
#include "platform/db/Database.h"

namespace Globals {

namespace {

std::unique_ptr<Db::Database> &databaseSlot()
{
    static std::unique_ptr<Db::Database> db;
    return db;
}

std::unique_ptr<clsOptions> &optionsSlot()
{
    static std::unique_ptr<clsOptions> options;
    return options;
}

} // namespace

QString databasePassword()
{
    return QString::fromLatin1(DatabaseKey);
}

Db::Database *database()
{
    return databaseSlot().get();
}

void setDatabase(std::unique_ptr<Db::Database> db)
{
    // A store left from the previous database would refer to a closed one.
    if (db.get() != databaseSlot().get())
        optionsSlot().reset();
    databaseSlot() = std::move(db);
}

clsOptions *options()
{
    return optionsSlot().get();
}

void setOptions(std::unique_ptr<clsOptions> options)
{
    optionsSlot() = std::move(options);
}

void closeDatabase()
{
    // The store refers to the database: release it first.
    optionsSlot().reset();
    databaseSlot().reset();
}

} // namespace Globals
