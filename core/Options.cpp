#include "core/Options.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

namespace {

QString keyOf(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace

std::unique_ptr<clsOptions> clsOptions::load(Db::Database &db, QString *error)
{
    std::unique_ptr<Db::Recordset> rs = db.openTable(QStringLiteral("opcje"));
    if (!rs) {
        if (error)
            *error = db.errorString();
        return nullptr;
    }
    std::unique_ptr<clsOptions> options(new clsOptions(db));
    for (; !rs->eof(); rs->moveNext()) {
        const QString name = rs->text(QStringLiteral("Name"));
        const QString key = keyOf(name);
        // The collection would refuse a second key; a file without the unique
        // index could hold one.
        if (options->m_values.contains(key)) {
            if (error)
                *error = QStringLiteral("Plik bazy danych jest uszkodzony: opcja \"%1\" "
                                        "występuje w nim więcej niż raz")
                             .arg(name);
            return nullptr;
        }
        options->m_values.insert(key, rs->text(QStringLiteral("Value")));
    }
    return options;
}

QString clsOptions::GetOption(const QString &name) const
{
    return m_values.value(keyOf(name));
}

bool clsOptions::SetOption(const QString &name, const QString &value)
{
    m_values.insert(keyOf(name), value);

    std::unique_ptr<Db::Recordset> rs = m_db.openTable(QStringLiteral("opcje"));
    if (!rs)
        return false;
    if (rs->seek(QStringLiteral("name"), name)) {
        rs->edit();
    } else {
        rs->addNew();
        rs->setValue(QStringLiteral("Name"), name);
    }
    rs->setValue(QStringLiteral("Value"), value);
    return rs->update();
}
