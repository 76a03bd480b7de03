// Opening roster files that hold one very long text, or one element repeated
// (rows of the counts, people of one cell), one file per row: the
// time to open and show it and the peak memory of the process. Run by hand:
//   build/tests/bench_open
// Each row runs in a process of its own (the program itself with the row's
// arguments), so that every peak belongs to one file alone.
#include "core/Globals.h"
#include "core/Options.h"
#include "mainwindow/Panel.h"
#include "platform/db/Database.h"
#include "tests/mainwindow/LongRoster.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

namespace {

struct Case
{
    const char *name;
    const char *head;        // the text before the long one
    const char *tail;        // and after it
    const char *piece = "A"; // what the long text repeats
};

// Person 1 and group 1 exist, duty 1 is the only column.
const Case Cases[] = {
    {"root Name", "<Baza Date=\"2024-05-01\" Name=\"",
     "\"><Services><ServiceItem Id=\"1\" Text=\"Patrol\"/></Services><Dzien Id=\"1\">"
     "<Sluzba Id=\"1\" Name=\"Patrol\" Position=\"1.1\"><Osoba Id=\"1\"/></Sluzba></Dzien>"
     "<Counter><Item Id=\"1\" Count=\"1\" Date=\"2024-05-01 08:00:00\"/></Counter></Baza>"},
    {"duty Text", "<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services><ServiceItem Id=\"1\" Text=\"",
     "\"/></Services><Dzien Id=\"1\"><Sluzba Id=\"1\" Name=\"Patrol\" Position=\"1.1\">"
     "<Osoba Id=\"1\"/></Sluzba></Dzien><Counter><Item Id=\"1\" Count=\"1\" "
     "Date=\"\"/></Counter></Baza>"},
    {"Counter Count",
     "<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services><ServiceItem Id=\"1\" Text=\"Patrol\"/>"
     "</Services><Counter><Item Id=\"1\" Date=\"\" Count=\"",
     "\"/></Counter></Baza>"},
    {"Counter Date",
     "<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services><ServiceItem Id=\"1\" Text=\"Patrol\"/>"
     "</Services><Counter><Item Id=\"1\" Count=\"1\" Date=\"",
     "\"/></Counter></Baza>"},
    {"Counter rows",
     "<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services><ServiceItem Id=\"1\" Text=\"Patrol\"/>"
     "</Services><Counter>",
     "</Counter></Baza>", "<Item Id=\"1\" Count=\"1\" Date=\"\"/>"},
    {"cell people",
     "<Baza Date=\"2024-05-01\" Name=\"Maj\"><Services><ServiceItem Id=\"1\" Text=\"Patrol\"/>"
     "</Services><Dzien Id=\"1\"><Sluzba Id=\"1\" Position=\"1.1\">",
     "</Sluzba></Dzien></Baza>", "<Osoba Id=\"1\"/>"},
};

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One row: writes the file, opens it in a shown main window and paints it.
int runOne(const Case &c, qint64 count)
{
    TestSupport::TestDatabase database;
    if (!database.isValid())
        return 2;
    Db::Database &db = database.db();
    if (!db.execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES ('Alfa')")) ||
        !db.execute(QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, random) "
                                   "VALUES ('1', 'Kowalski', 'Jan', 'kpr.', 1)")) ||
        !db.execute(QStringLiteral(
            "INSERT INTO sluzby (nazwa, od, okres, ilosc_std) VALUES ('Patrol', '08:00', 8, 1)")))
        return 2;
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("dlugi.swx"));
    const QByteArray piece(c.piece);
    if (!LongRoster::write(path, {{c.head}, {piece, count / piece.size()}, {c.tail}}))
        return 2;
    Globals::setDatabase(database.take());
    Globals::setOptions(clsOptions::load(*Globals::database()));

    const long before = peakRssKb();
    QElapsedTimer timer;
    timer.start();
    bool opened = false;
    {
        Panel panel;
        panel.resize(1000, 700);
        panel.show();
        opened = panel.openRosterFile(path);
        panel.grab();
        QApplication::processEvents();
    }
    const qint64 ms = timer.elapsed();
    Globals::closeDatabase();
    QTextStream out(stdout);
    out << Qt::left << qSetFieldWidth(16) << c.name << qSetFieldWidth(12) << count
        << QFileInfo(path).size() << ms << (peakRssKb() / 1024) << (before / 1024)
        << qSetFieldWidth(0) << (opened ? "opened" : "refused") << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("KADRELO_SCHEMA"))
        qputenv("KADRELO_SCHEMA", KADRELO_SCHEMA_FILE);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--row")) {
        const int index = args.at(2).toInt();
        return index >= 0 && index < int(std::size(Cases))
                   ? runOne(Cases[index], args.at(3).toLongLong())
                   : 2;
    }

    // Sizes to run: the arguments, or 10 and 256 million characters.
    QList<qint64> counts;
    for (int i = 1; i < args.size(); ++i)
        counts << args.at(i).toLongLong();
    if (counts.isEmpty())
        counts = {10'000'000, 256'000'000};
    QTextStream out(stdout);
    out << "text            characters  file bytes  ms          peak MB     before MB\n"
        << Qt::flush;
    for (qint64 count : std::as_const(counts)) {
        for (int i = 0; i < int(std::size(Cases)); ++i) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(app.applicationFilePath(),
                        {QStringLiteral("--row"), QString::number(i), QString::number(count)});
            // A row that does not finish in ten minutes is reported as such.
            if (!child.waitForFinished(600'000)) {
                child.kill();
                child.waitForFinished();
                out << Cases[i].name << "  " << count << "  did not finish in 600 s\n" << Qt::flush;
            }
        }
    }
    return 0;
}
