// Times GenerateSchedule end to end on synthetic databases. Run by hand:
//   build/tests/bench
#include "core/Messages.h"
#include "core/Options.h"
#include "core/XML.h"
#include "engine/Algorytmy.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

class NullHost : public Algorytmy::GenerationHost, public XML::PersonCountSink
{
public:
    void setScheduleReady(bool) override {}
    void beginGeneration() override {}
    void progress(int, int, const QString &) override {}
    void setCellText(int, int, const QString &) override {}
    void endGeneration() override {}
    void restoreAfterFailure() override {}
    void setCurrDate(const QDate &) override {}
    void setToolbarTitle(const QString &title) override { m_title = title; }
    QString toolbarTitle() const override { return m_title; }
    XML::PersonCountSink &personList() override { return *this; }
    void setRosterDocument(std::unique_ptr<Xml::Document> document) override { roster = std::move(document); }
    void showExclusions() override {}
    void clear() override {}
    void addRow(qint64, const QString &, const QString &, qint64, const QString &) override {}
    void sortRows() override {}
    void makeOpened(bool) override {}

    std::unique_ptr<Xml::Document> roster;

private:
    QString m_title;
};

struct Size
{
    int people, groups, duties;
};

// A fixed pseudo-random sequence, so every run builds the same database.
quint32 next(quint32 &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

bool fill(Db::Database &db, const Size &size)
{
    Db::Transaction transaction(db);
    quint32 state = 12345;
    bool ok = db.execute(QStringLiteral("UPDATE opcje SET Value='[stopien] [nazwisko] [imie] ([grupa])' "
                                        "WHERE Name='CellShow'"));
    for (int g = 1; g <= size.groups; ++g)
        ok = ok && db.execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"), {QStringLiteral("Grupa %1").arg(g)});
    for (int p = 1; p <= size.people; ++p) {
        const int group = 1 + (p - 1) % size.groups;
        ok = ok && db.execute(QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, "
                                             "przywilej, random) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                              {QString::number(group), QStringLiteral("Nazwisko%1").arg(p), QStringLiteral("Imię"),
                               QStringLiteral("szer."), int(next(state) % 4 != 0), int(p % 50 == 0),
                               int(next(state) % 10000)});
        ok = ok && db.execute(QStringLiteral("INSERT INTO ludzie_last (id_osoba, miesiac, ilosc, data) "
                                             "VALUES (?, '2024-04', ?, ?)"),
                              {QString::number(p), int(next(state) % 8),
                               p % 3 == 0 ? QString() : QStringLiteral("2024-04-30 20:00:00")});
        if (p % 20 == 0) {
            const int first = 1 + int(next(state) % 25);
            ok = ok && db.execute(QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) "
                                                 "VALUES (?, ?, 0, ?, 'L4')"),
                                  {QStringLiteral("2024-05-%1").arg(first, 2, 10, QChar(u'0')),
                                   QStringLiteral("2024-05-%1").arg(first + 5, 2, 10, QChar(u'0')),
                                   QString::number(p)});
        }
    }
    for (int d = 1; d <= size.duties; ++d) {
        ok = ok && db.execute(QStringLiteral("INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) "
                                             "VALUES (?, ?, 8, 3, ?, 8, ?)"),
                              {QStringLiteral("Służba %1").arg(d), QStringLiteral("%1:00").arg((d * 7) % 24, 2, 10, QChar(u'0')),
                               int(d % 5 != 0), int(d % 7 == 0)});
    }
    // Some rules of every kind.
    ok = ok && db.execute(QStringLiteral("INSERT INTO wizardlist (nazwa) VALUES ('Bench')"));
    const QChar nul(u'\0');
    const QList<QVariantList> rules = {
        {0, QStringLiteral("1;G1"), QStringLiteral("1;S1") + nul + QStringLiteral("2;S2"), QStringLiteral("1;10;1-10")},
        {1, QStringLiteral("3;S3"), QStringLiteral("2;G2") + nul + QStringLiteral("3;G3"), QStringLiteral("5;20;5-20")},
        {2, QStringLiteral("4;G4"), QString(), QStringLiteral("12;14;12-14")},
        {3, QStringLiteral("7;P7") + nul + QStringLiteral("8;P8"), QString(), QStringLiteral("1;31;1-31")},
        {4, QStringLiteral("5;S5"), QString(), QStringLiteral("24;26;24-26")},
        {5, QStringLiteral("9;P9"), QStringLiteral("1;S1"), QStringLiteral("1;31;1-31")},
        {6, QStringLiteral("4;S4"), QStringLiteral("11;P11") + nul + QStringLiteral("12;P12") + nul
                                         + QStringLiteral("13;P13") + nul + QStringLiteral("14;P14"),
         QStringLiteral("1;3;1-3")},
    };
    for (const QVariantList &rule : rules)
        ok = ok && db.execute(QStringLiteral("INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, Dates) "
                                             "VALUES ('1', ?, ?, ?, ?)"),
                              rule);
    return ok && transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("KADRELO_SCHEMA"))
        qputenv("KADRELO_SCHEMA", KADRELO_SCHEMA_FILE);
    QTextStream out(stdout);
    out << "people  groups  duties  places  gaps   ms      places/s\n";
    for (const Size &size : {Size{100, 5, 10}, Size{1000, 20, 30}, Size{5000, 50, 60}}) {
        TestSupport::TestDatabase database;
        if (!database.isValid() || !fill(database.db(), size)) {
            out << "cannot build the database: " << database.errorString() << database.db().errorString() << "\n";
            return 1;
        }
        std::unique_ptr<clsOptions> options = clsOptions::load(database.db());
        Algorytmy::GenerationRequest request;
        request.month = QDate(2024, 5, 1);
        for (int d = 1; d <= size.duties; ++d)
            request.dutyIds << d;
        for (int g = 1; g <= size.groups; ++g)
            request.groupIds << g;
        request.ruleSetId = 1;

        QList<qint64> times;
        qint64 places = 0;
        qint64 gaps = 0;
        for (int run = 0; run < 3; ++run) {
            NullHost host;
            QElapsedTimer timer;
            timer.start();
            QString error;
            if (!Algorytmy::GenerateSchedule(database.db(), *options, host, request, &error)) {
                out << "generation failed: " << error << "\n";
                return 1;
            }
            times << timer.elapsed();
            places = 0;
            for (const Xml::Node &duty : host.roster->selectNodes(QStringLiteral("/Baza/Dzien/Sluzba")))
                places += duty.childElements(QStringLiteral("Osoba")).size();
            const QStringList shown = Messages::shown();
            gaps = 0;
            if (!shown.isEmpty()) {
                const QString text = shown.last();
                const qsizetype at = text.indexOf(QLatin1String("luk: "));
                gaps = at < 0 ? 0 : text.mid(at + 5).section(u'.', 0, 0).toLongLong();
            }
            Messages::clearShown();
        }
        const qint64 best = *std::min_element(times.begin(), times.end());
        const qint64 all = places + gaps;
        out << QStringLiteral("%1  %2  %3  %4  %5  %6  %7\n")
                   .arg(size.people, 6)
                   .arg(size.groups, 6)
                   .arg(size.duties, 6)
                   .arg(all, 6)
                   .arg(gaps, 4)
                   .arg(best, 6)
                   .arg(best > 0 ? qint64(all * 1000 / best) : 0, 9);
        out.flush();
    }
    return 0;
}
