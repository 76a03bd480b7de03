#pragma once

// What the main-window tests share: a fresh database as the program's, its
// options loaded, cells showing "[nazwisko] [imie]", groups Alfa and Beta,
// three people and the duties "Dyżur" and "Patrol".

#include "core/Globals.h"
#include "core/Options.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

#include <memory>

namespace PanelTest {

class DatabaseFixture
{
protected:
    qint64 m_duty = 0;   // "Dyżur"
    qint64 m_patrol = 0; // "Patrol"

    static void exec(const QString &sql, const QVariantList &params = {})
    {
        QVERIFY2(Globals::database()->execute(sql, params),
                 qPrintable(Globals::database()->errorString()));
    }
    static qint64 number(const QString &sql, const QVariantList &params = {})
    {
        return Globals::database()->scalar(sql, params).toLongLong();
    }

    // For init().
    void openDatabase()
    {
        m_file = std::make_unique<TestSupport::TestDatabase>();
        QVERIFY2(m_file->isValid(), qPrintable(m_file->errorString()));
        Globals::setDatabase(m_file->take());
        QString error;
        auto options = clsOptions::load(*Globals::database(), &error);
        QVERIFY2(options, qPrintable(error));
        Globals::setOptions(std::move(options));
        Globals::options()->SetOption(QStringLiteral("CellShow"),
                                      QStringLiteral("[nazwisko] [imie]"));
        exec(QStringLiteral("INSERT INTO grupy (nazwa) VALUES ('Alfa'), ('Beta')"));
        exec(QStringLiteral(
            "INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, random) VALUES "
            "('1', 'Kowalski', 'Jan', 'kpr.', 1, 10), ('1', 'Nowak', 'Adam', 'sierż.', 1, 20), "
            "('2', 'Wiśniewski', 'Piotr', 'szer.', 1, 30)"));
        exec(QStringLiteral(
            "INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) VALUES "
            "('Dyżur', '08:00', 24, 1, 1, 0, 0), ('Patrol', '20:00', 8, 1, 1, 0, 0)"));
        m_duty = number(QStringLiteral("SELECT id FROM sluzby WHERE nazwa='Dyżur'"));
        m_patrol = number(QStringLiteral("SELECT id FROM sluzby WHERE nazwa='Patrol'"));
    }

    // For cleanup().
    void closeDatabase()
    {
        Globals::closeDatabase();
        m_file.reset();
    }

private:
    std::unique_ptr<TestSupport::TestDatabase> m_file;
};

} // namespace PanelTest
