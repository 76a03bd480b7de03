// Times GenerateSchedule end to end on units of a real unit's size. Run by
// hand on a Release build:
//   build/tests/bench [people]
// With a number, only that size is run, once (for a profiler). The first run
// of a process is shown apart: it pays for the memory a planner's only run
// takes fresh from the system.
//   build/tests/bench --rosters DIR
// writes what each unit's run hands over (roster, cells, person list) to
// DIR/roster-<people>.txt, to compare two builds byte for byte.
#include "core/Messages.h"
#include "core/Options.h"
#include "core/XML.h"
#include "engine/Algorytmy.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/engine/RandomUnit.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>

#include <sys/resource.h>

namespace {

class NullHost : public Algorytmy::GenerationHost, public XML::PersonCountSink
{
public:
    void setScheduleReady(bool) override {}
    void beginGeneration() override {}
    void progress(int, int, const QString &) override {}
    void setCellText(int row, int column, const QString &text) override
    {
        if (recording)
            dump << QStringLiteral("cell %1 %2 %3").arg(row).arg(column).arg(text);
    }
    void endGeneration() override {}
    void restoreAfterFailure() override {}
    void setCurrDate(const QDate &) override {}
    void setToolbarTitle(const QString &title) override { m_title = title; }
    QString toolbarTitle() const override { return m_title; }
    XML::PersonCountSink &personList() override { return *this; }
    void setRosterDocument(std::unique_ptr<Xml::Document> document) override
    {
        roster = std::move(document);
    }
    void showExclusions() override {}
    void clear() override {}
    void addRow(qint64 id, const QString &name, const QString &group, qint64 count,
                const QString &date) override
    {
        if (recording)
            dump << QStringLiteral("row %1 %2 %3 %4 %5")
                        .arg(id)
                        .arg(name, group)
                        .arg(count)
                        .arg(date);
    }
    void sortRows() override {}
    void makeOpened(bool) override {}

    std::unique_ptr<Xml::Document> roster;
    bool recording = false;
    QStringList dump;

private:
    QString m_title;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("KADRELO_SCHEMA"))
        qputenv("KADRELO_SCHEMA", KADRELO_SCHEMA_FILE);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments();
    const qsizetype rostersAt = arguments.indexOf(QStringLiteral("--rosters"));
    const QString rosters = rostersAt > 0 ? arguments.value(rostersAt + 1) : QString();
    if (rostersAt > 0 && (rosters.isEmpty() || !QDir().mkpath(rosters))) {
        out << "--rosters needs a folder\n";
        return 1;
    }
    out << "people  groups  duties  places    gaps      ms  us/place  first ms  us/place  faults\n";
    double perPlace[2][2] = {}; // best, first of the smallest and the largest unit
    const int only = argc > 1 && rostersAt < 0 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    const int runs = only > 0 || !rosters.isEmpty() ? 1 : 3;
    for (const RandomUnit::Shape &shape : RandomUnit::BenchShapes) {
        if (only > 0 && shape.people != only)
            continue;
        TestSupport::TestDatabase database;
        Algorytmy::GenerationRequest request;
        QString error;
        if (!database.isValid() ||
            !RandomUnit::fill(database.db(), shape, 12345, &request, &error)) {
            out << "cannot build the database: " << database.errorString() << error << "\n";
            return 1;
        }
        std::unique_ptr<clsOptions> options = clsOptions::load(database.db());

        // Pages the first run takes fresh from the system.
        long faults = 0;
        QList<qint64> times;
        qint64 places = 0;
        qint64 gaps = 0;
        for (int run = 0; run < runs; ++run) {
            NullHost host;
            host.recording = !rosters.isEmpty();
            rusage before{};
            getrusage(RUSAGE_SELF, &before);
            QElapsedTimer timer;
            timer.start();
            if (!Algorytmy::GenerateSchedule(database.db(), *options, host, request, &error)) {
                out << "generation failed: " << error << "\n";
                return 1;
            }
            times << timer.nsecsElapsed() / 1000;
            if (run == 0) {
                rusage after{};
                getrusage(RUSAGE_SELF, &after);
                faults = after.ru_minflt + after.ru_majflt - before.ru_minflt - before.ru_majflt;
            }
            places = 0;
            for (const Xml::Node &duty :
                 host.roster->selectNodes(QStringLiteral("/Baza/Dzien/Sluzba")))
                places += duty.childElements(QStringLiteral("Osoba")).size();
            const QStringList shown = Messages::shown();
            gaps = 0;
            if (!shown.isEmpty()) {
                const QString text = shown.last();
                const qsizetype at = text.indexOf(QLatin1String("luk: "));
                gaps = at < 0 ? 0 : text.mid(at + 5).section(u'.', 0, 0).toLongLong();
            }
            Messages::clearShown();
            if (host.recording) {
                QFile file(QStringLiteral("%1/roster-%2.txt").arg(rosters).arg(shape.people));
                if (!file.open(QIODevice::WriteOnly)) {
                    out << "cannot write " << file.fileName() << "\n";
                    return 1;
                }
                file.write(host.roster->toBytes());
                file.write(host.dump.join(u'\n').toUtf8());
                file.write(shown.join(u'\n').toUtf8());
            }
        }
        const qint64 best = *std::min_element(times.begin(), times.end());
        const qint64 all = places + gaps;
        const double first = double(times.first());
        out << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8  %9  %10\n")
                   .arg(shape.people, 6)
                   .arg(shape.groups, 6)
                   .arg(shape.duties, 6)
                   .arg(all, 6)
                   .arg(gaps, 6)
                   .arg(double(best) / 1000, 6, 'f', 1)
                   .arg(all > 0 ? double(best) / double(all) : 0.0, 8, 'f', 2)
                   .arg(first / 1000, 8, 'f', 1)
                   .arg(all > 0 ? first / double(all) : 0.0, 8, 'f', 2)
                   .arg(faults, 6);
        out.flush();
        if (all > 0 && (shape.people == 1000 || shape.people == 20000)) {
            perPlace[shape.people == 1000 ? 0 : 1][0] = double(best) / double(all);
            perPlace[shape.people == 1000 ? 0 : 1][1] = first / double(all);
        }
    }
    if (perPlace[0][0] > 0 && perPlace[1][0] > 0)
        out << QStringLiteral("us/place 20000 / 1000: best %1, first %2\n")
                   .arg(perPlace[1][0] / perPlace[0][0], 0, 'f', 2)
                   .arg(perPlace[1][1] / perPlace[0][1], 0, 'f', 2);
    return 0;
}
