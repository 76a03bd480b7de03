// Times the people window's list fills at a real unit's size. Run by hand:
//   build/tests/bench_lists
#include "core/Globals.h"
#include "core/Options.h"
#include "masterdata/Ludzie.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

namespace {

quint32 next(quint32 &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// Surnames with Polish letters in every position, so the collator has work to do.
QString surname(quint32 &state)
{
    static const QStringList stems = {
        QStringLiteral("Kowal"),  QStringLiteral("Łuk"),  QStringLiteral("Nowak"),
        QStringLiteral("Żuraw"),  QStringLiteral("Ćwik"), QStringLiteral("Zieliń"),
        QStringLiteral("adamcz"), QStringLiteral("Śliw"), QStringLiteral("Wiśniew")};
    static const QStringList endings = {QStringLiteral("ski"),  QStringLiteral("ska"),
                                        QStringLiteral("czyk"), QStringLiteral("owicz"),
                                        QStringLiteral("ek"),   QStringLiteral("")};
    return stems.at(next(state) % stems.size()) + endings.at(next(state) % endings.size()) +
           QString::number(next(state) % 1000);
}

bool fill(Db::Database &db, int people, int groups)
{
    Db::Transaction transaction(db);
    quint32 state = 4711;
    bool ok = true;
    for (int g = 1; g <= groups; ++g)
        ok = ok && db.execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
                              {QStringLiteral("Grupa %1").arg(g)});
    for (int p = 1; p <= people; ++p)
        ok = ok &&
             db.execute(
                 QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, "
                                "przywilej, random) VALUES (?, ?, ?, ?, 1, 0, ?)"),
                 {QString::number(1 + p % groups), surname(state),
                  QStringLiteral("Imię%1").arg(p % 97), QStringLiteral("szer."),
                  int(next(state) % 10000)});
    return ok && transaction.commit();
}

// Best of three runs of showing every person after another group, in ms.
qint64 time(Ludzie &window, const std::function<void()> &prepare)
{
    prepare();
    qint64 best = -1;
    for (int run = 0; run < 3; ++run) {
        window.nodeClick(QStringLiteral("ID=1"));
        QElapsedTimer timer;
        timer.start();
        window.nodeClick(QStringLiteral("ALL"));
        const qint64 ms = timer.elapsed();
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("KADRELO_SCHEMA"))
        qputenv("KADRELO_SCHEMA", KADRELO_SCHEMA_FILE);
    QTextStream out(stdout);
    out << "people  unsorted ms  by surname ms  by first name desc ms\n";
    for (const int people : {1500, 3000, 5000}) {
        TestSupport::TestDatabase database;
        if (!database.isValid() || !fill(database.db(), people, 20)) {
            out << "cannot build the database: " << database.errorString() << "\n";
            return 1;
        }
        Globals::setDatabase(database.take());
        Globals::setOptions(clsOptions::load(*Globals::database()));
        {
            Ludzie window;
            window.show();
            const qint64 unsorted = time(window, [] {});
            const qint64 bySurname = time(window, [&window] { window.sortByColumn(0); });
            const qint64 byName = time(window, [&window] {
                window.sortByColumn(1);
                window.sortByColumn(1);
            });
            if (window.lista()->topLevelItemCount() != people) {
                out << "the list shows " << window.lista()->topLevelItemCount() << " people\n";
                return 1;
            }
            out << QStringLiteral("%1  %2  %3  %4\n")
                       .arg(people, 6)
                       .arg(unsorted, 11)
                       .arg(bySurname, 13)
                       .arg(byName, 21);
            out.flush();
        }
        Globals::closeDatabase();
    }
    return 0;
}
