// Times what the planner does in the program's own windows around a generated
// month, on units shaped as bench's (1,000, 10,000 and 20,000 people), each
// action driven by mouse and keys where it is drawn and timed until the
// window has drawn its answer. Run by hand on a Release build:
//   build/tests/bench_windows [people]
// Prints the best of three runs of each action, in ms, one column per unit;
// with a number, only that size is run, once (for a profiler).
//   build/tests/bench_windows --shown DIR
// runs each unit once and writes what the windows showed and stored (trees,
// lists, grids with their row heights, the rows of ludzie_last, the picker's
// answer) to DIR/windows-<people>.txt, to compare two builds byte for byte.
// With --cpu, the figures are the processor time of the program's thread in
// place of the time on the clock: steadier on a machine busy with others.
#include "controls/BlueCommand.h"
#include "controls/Kat.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/MonthEdit.h"
#include "engine/ui/BuildTable.h"
#include "mainwindow/Bilans.h"
#include "mainwindow/Panel.h"
#include "mainwindow/Wykluczenia.h"
#include "masterdata/LastDane.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tests/engine/RandomUnit.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <iterator>
#include <utility>

namespace {

// The actions, in the order they run and print.
enum Action {
    Generate,
    GenerateOver,
    BilansOpen,
    BilansPersons,
    BilansDays,
    BilansDuties,
    StoreCounts,
    Exclusions,
    OpenRoster,
    PeopleOpen,
    PeopleAll,
    PersonEditor,
    CountsOpen,
    CountsMonth,
    CountsSave,
    Picker,
};
const char *const ActionNames[] = {
    "generate through the build dialog",
    "generate over an open roster",
    "balance report: open (by groups)",
    "balance report: by persons",
    "balance report: by days",
    "balance report: by duties",
    "store the month's counts",
    "exclusions view: open",
    "open a roster file",
    "people window: open",
    "people window: \"Wszystkie\"",
    "person editor: open",
    "carried-over counts: open",
    "carried-over counts: change month",
    "carried-over counts: save",
    "picker: answer, every row selected",
};

using Figures = QMap<int, QList<double>>; // action -> ms of each run

// What the windows showed, when asked for (--shown).
QStringList *g_shown = nullptr;

void showTree(const QString &title, const QTreeWidget *tree)
{
    if (!g_shown)
        return;
    *g_shown << title;
    std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *node,
                                                                 int level) {
        QStringList columns;
        for (int c = 0; c < node->columnCount(); ++c)
            columns << node->text(c);
        *g_shown << QString(2 * level, u' ') + columns.join(u'|') + QStringLiteral(" [") +
                        node->data(0, Qt::UserRole).toString() + u'|' +
                        node->data(0, Qt::UserRole + 1).toString() + u']';
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), level + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
}

// A list of rows (the main window's people) written as showTree writes a tree.
void showTree(const QString &title, const QTreeView *list)
{
    if (!g_shown)
        return;
    *g_shown << title;
    const QAbstractItemModel *model = list->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList columns;
        for (int c = 0; c < model->columnCount(); ++c)
            columns << model->index(r, c).data().toString();
        const QModelIndex first = model->index(r, 0);
        *g_shown << columns.join(u'|') + QStringLiteral(" [") +
                        first.data(Qt::UserRole).toString() + u'|' +
                        first.data(Qt::UserRole + 1).toString() + u']';
    }
}

void showGrid(const QString &title, FlexGrid *grid)
{
    if (!g_shown)
        return;
    // Every column brought into view once, as a planner reading the whole
    // month does: the rows have then grown to every text.
    const int left = grid->leftCol();
    for (int c = grid->fixedCols(); c < grid->cols(); ++c) {
        grid->setLeftCol(c);
        grid->viewport()->repaint();
    }
    grid->setLeftCol(left);
    *g_shown << title;
    for (int r = 0; r < grid->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->cols(); ++c)
            cells << grid->text(r, c);
        *g_shown << QString::number(grid->rowHeight(r)) + u':' + cells.join(u'|');
    }
}

void showStored(const QString &title)
{
    if (!g_shown)
        return;
    *g_shown << title;
    auto rs = Globals::database()->openQuery(
        QStringLiteral("SELECT id_osoba, ilosc, data, miesiac FROM ludzie_last ORDER BY id"));
    for (; rs && !rs->eof(); rs->moveNext()) {
        QStringList fields;
        for (const QString &field : rs->fieldNames())
            fields << rs->value(field).toString() + u'/' + rs->value(field).typeName();
        *g_shown << fields.join(u'|');
    }
}

// Until the windows have drawn what the action changed.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Wall-clock time, or with --cpu the processor time of the program's thread,
// which other programs on a busy machine disturb less.
bool g_cpuTime = false;

qint64 nowNs()
{
    if (!g_cpuTime) {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        return clock.nsecsElapsed();
    }
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class Stopwatch
{
public:
    double ms() const { return double(nowNs() - m_start) / 1e6; }

private:
    qint64 m_start = nowNs();
};

[[noreturn]] void fail(const QString &what)
{
    QTextStream(stderr) << "bench_windows: " << what << "\n";
    std::exit(1);
}

// Windows opened modally are handed to the bench in place of exec().
template <typename Window> class InPlace : public Window
{
public:
    using Window::Window;
    std::function<int(QDialog &)> onModal;

protected:
    int showModal(QDialog &dialog) override
    {
        auto handler = std::exchange(onModal, nullptr);
        if (!handler)
            fail(QStringLiteral("unexpected window %1").arg(dialog.metaObject()->className()));
        return handler(dialog);
    }
};

void clickToolbar(ToolBarN *bar, const QString &key)
{
    QTest::mouseClick(
        bar, Qt::LeftButton, {},
        QPoint(int(bar->GetLeftPosition(key) + bar->GetItemWidth() / 2), ToolBarN::BarHeight / 2));
}

void clickButton(QWidget *window, const QString &name)
{
    auto *button = window->findChild<BlueCommand *>(name);
    if (!button)
        fail(QStringLiteral("no button %1").arg(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickNode(QTreeWidget *tree, QTreeWidgetItem *node)
{
    if (!node)
        fail(QStringLiteral("no node to click"));
    tree->scrollToItem(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

// Shows a modal window in place, times its opening from start and runs more on it.
// Times the opening of the modal window T that trigger brings up, from the
// trigger on; more then works on the open window before it closes.
template <typename T, typename Owner>
void timeModal(InPlace<Owner> &owner, Figures &figures, int action,
               const std::function<void()> &trigger, const std::function<void(T &)> &more = {})
{
    Stopwatch start;
    bool opened = false;
    owner.onModal = [&](QDialog &dialog) {
        auto *window = qobject_cast<T *>(&dialog);
        if (!window)
            fail(QStringLiteral("%1 did not open").arg(T::staticMetaObject.className()));
        opened = true;
        dialog.show();
        settle();
        figures[action] << start.ms();
        if (more)
            more(*window);
        dialog.reject();
        settle();
        return QDialog::Rejected;
    };
    start = Stopwatch();
    trigger();
    if (!opened)
        fail(QStringLiteral("%1 did not open").arg(T::staticMetaObject.className()));
}

void runUnit(InPlace<Panel> &panel, const QDate &month, const QString &rosterPath, int people,
             Figures &figures)
{
    ToolBarN *bar = panel.ToolBar1();
    auto generate = [&](int action) {
        panel.onModal = [&](QDialog &dialog) {
            auto *build = qobject_cast<BuildTable *>(&dialog);
            if (!build)
                fail(QStringLiteral("the build dialog did not open"));
            build->show();
            build->setMonth(month);
            clickButton(build, QStringLiteral("ButtonOK")); // "Stwórz"
            return build->result();
        };
        const Stopwatch start;
        clickToolbar(bar, QStringLiteral("create"));
        settle();
        figures[action] << start.ms();
        if (!panel.isOpened())
            fail(QStringLiteral("no roster: %1").arg(Messages::shown().join(u'|')));
        Messages::clearShown();
        showGrid(QStringLiteral("grid"), panel.Lista());
        showTree(QStringLiteral("lstLudzie"), panel.lstLudzie());
    };
    if (QAction *close = panel.menuAction(QStringLiteral("mnuClose")); close->isEnabled())
        close->trigger();
    generate(Generate);
    generate(GenerateOver);

    timeModal<Bilans>(
        panel, figures, BilansOpen, [&] { clickToolbar(bar, QStringLiteral("bilans")); },
        [&](Bilans &bilans) {
            showTree(QStringLiteral("bilans 0"), bilans.Lista());
            for (int mode = 1; mode <= 3; ++mode) {
                const Stopwatch step;
                QTest::keyClick(bilans.Combo1(), Qt::Key_Down);
                settle();
                figures[BilansOpen + mode] << step.ms();
                if (bilans.Combo1()->currentIndex() != mode ||
                    bilans.Lista()->topLevelItemCount() == 0)
                    fail(QStringLiteral("mode %1 shows nothing").arg(mode));
                showTree(QStringLiteral("bilans %1").arg(mode), bilans.Lista());
            }
        });

    {
        QToolBar *small = panel.tbBilans();
        QAction *save = small->findChild<QAction *>(QStringLiteral("save"));
        if (!save)
            fail(QStringLiteral("no save item on the small toolbar"));
        const Stopwatch start;
        QTest::mouseClick(small->widgetForAction(save), Qt::LeftButton);
        settle();
        figures[StoreCounts] << start.ms();
        if (Messages::shown() != QStringList{QStringLiteral("Zapisano poprawnie.")})
            fail(QStringLiteral("storing the counts: %1").arg(Messages::shown().join(u'|')));
        Messages::clearShown();
        showStored(QStringLiteral("stored counts"));
    }

    timeModal<Wykluczenia>(
        panel, figures, Exclusions, [&] { clickToolbar(bar, QStringLiteral("wykluczenia")); },
        [](Wykluczenia &view) { showTree(QStringLiteral("exclusions"), view.lista()); });

    {
        FileDialogs::setNextFileName(rosterPath);
        panel.menuAction(QStringLiteral("mnuSave"))->trigger();
        if (!QFileInfo::exists(rosterPath))
            fail(QStringLiteral("the roster was not saved: %1").arg(Messages::shown().join(u'|')));
        FileDialogs::setNextFileName(rosterPath);
        const Stopwatch start;
        panel.menuAction(QStringLiteral("mnuOpen"))->trigger(); // "Otwórz grafik..."
        settle();
        figures[OpenRoster] << start.ms();
        if (panel.CurrFile() != rosterPath || panel.lstLudzie()->model()->rowCount() == 0)
            fail(QStringLiteral("the roster file did not open: %1")
                     .arg(Messages::shown().join(u'|')));
        Messages::clearShown();
        showGrid(QStringLiteral("opened grid"), panel.Lista());
        showTree(QStringLiteral("opened lstLudzie"), panel.lstLudzie());
    }

    {
        const Stopwatch start;
        InPlace<Ludzie> window;
        window.resize(900, 600);
        window.show();
        settle();
        figures[PeopleOpen] << start.ms();
        QTreeWidget *tree = window.tvKat()->tree();
        clickNode(tree, window.tvKat()->Nodes().Item(QStringLiteral("ID=1")));
        settle();
        const Stopwatch all;
        clickNode(tree, window.tvKat()->Nodes().Item(QStringLiteral("ALL")));
        settle();
        figures[PeopleAll] << all.ms();
        QTreeWidget *list = window.lista();
        if (list->topLevelItemCount() != people)
            fail(QStringLiteral("the people window lists %1").arg(list->topLevelItemCount()));
        showTree(QStringLiteral("people"), list);

        clickNode(list, list->topLevelItem(people / 2));
        settle();
        timeModal<Ludzie_item>(window, figures, PersonEditor,
                               [&] { QTest::keyClick(list, Qt::Key_Return); });

        timeModal<LastDane>(
            window, figures, CountsOpen,
            [&] { clickToolbar(window.findChild<ToolBarN *>(), QStringLiteral("lista")); },
            [&](LastDane &counts) {
                auto *picker = counts.findChild<MonthEdit *>(QStringLiteral("poleData"));
                if (!picker)
                    fail(QStringLiteral("the counts window has no month picker"));
                picker->setDate(month.addMonths(1));
                settle();
                picker->setFocus();
                const Stopwatch change;
                QTest::keyClick(picker, Qt::Key_Down);
                settle();
                figures[CountsMonth] << change.ms();
                if (counts.loadedMonth() != QDate(month.year(), month.month(), 1) ||
                    counts.lista()->text(1, 2).isEmpty())
                    fail(QStringLiteral("the counts window shows %1")
                             .arg(counts.loadedMonth().toString()));
                showGrid(QStringLiteral("counts"), counts.lista());
                const Stopwatch save;
                clickButton(&counts, QStringLiteral("ButtonSave"));
                settle();
                figures[CountsSave] << save.ms();
                if (Messages::shown() != QStringList{QStringLiteral("Zapisano pomyślnie!")})
                    fail(QStringLiteral("saving the counts window: %1")
                             .arg(Messages::shown().join(u'|')));
                Messages::clearShown();
                showStored(QStringLiteral("stored by the counts window"));
            });
        window.reject();
    }

    {
        SelectItem picker;
        picker.setRodzaj(SelectItem::People);
        Ludzie window;
        window.setMyClass(&picker);
        window.resize(900, 600);
        window.show();
        settle();
        QTreeWidget *list = window.lista();
        clickNode(list, list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        settle();
        const Stopwatch start;
        clickButton(&window, QStringLiteral("ButtonOK")); // "Wybierz"
        settle();
        figures[Picker] << start.ms();
        if (picker.Result().count(SelectItem::Separator) != people - 1)
            fail(QStringLiteral("the picker answered %1 entries")
                     .arg(picker.Result().count(SelectItem::Separator) + 1));
        if (g_shown)
            *g_shown << QStringLiteral("picker") << picker.Result().split(SelectItem::Separator);
    }
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
    const QStringList arguments = app.arguments();
    const qsizetype shownAt = arguments.indexOf(QStringLiteral("--shown"));
    const QString shownDir = shownAt > 0 ? arguments.value(shownAt + 1) : QString();
    if (shownAt > 0 && (shownDir.isEmpty() || !QDir().mkpath(shownDir)))
        fail(QStringLiteral("--shown needs a folder"));
    g_cpuTime = arguments.contains(QStringLiteral("--cpu"));
    const int only = argc > 1 && shownAt < 0 ? arguments.at(1).toInt() : 0;
    const int runs = only > 0 || shownAt > 0 ? 1 : 3;
    QTemporaryDir files;
    if (!files.isValid())
        fail(QStringLiteral("no temporary folder"));

    QList<int> sizes;
    QMap<int, Figures> results;
    for (const RandomUnit::Shape &shape : RandomUnit::BenchShapes) {
        if (only > 0 && shape.people != only)
            continue;
        sizes << shape.people;
        TestSupport::TestDatabase database;
        Algorytmy::GenerationRequest request;
        QString error;
        if (!database.isValid() || !RandomUnit::fill(database.db(), shape, 12345, &request, &error))
            fail(QStringLiteral("cannot build the database: %1%2")
                     .arg(database.errorString(), error));
        Globals::setDatabase(database.take());
        Globals::setOptions(clsOptions::load(*Globals::database()));
        {
            InPlace<Panel> panel;
            panel.resize(1200, 800);
            panel.show();
            settle();
            QStringList shown;
            g_shown = shownDir.isEmpty() ? nullptr : &shown;
            for (int run = 0; run < runs; ++run) {
                QTextStream(stderr) << shape.people << " people, run " << run + 1 << "\n";
                runUnit(panel, request.month,
                        files.filePath(QStringLiteral("roster-%1.swx").arg(shape.people)),
                        shape.people, results[shape.people]);
            }
            if (g_shown) {
                QFile file(QStringLiteral("%1/windows-%2.txt").arg(shownDir).arg(shape.people));
                if (!file.open(QIODevice::WriteOnly))
                    fail(QStringLiteral("cannot write %1").arg(file.fileName()));
                file.write(shown.join(u'\n').toUtf8());
                g_shown = nullptr;
            }
            panel.close();
        }
        Globals::closeDatabase();
    }

    out << QStringLiteral("%1").arg(
        QStringLiteral("%1 ms, best of %2").arg(g_cpuTime ? "processor" : "clock").arg(runs), -40);
    for (int people : std::as_const(sizes))
        out << QStringLiteral("%1").arg(people, 10);
    out << "\n";
    for (int action = 0; action < int(std::size(ActionNames)); ++action) {
        out << QStringLiteral("%1").arg(QString::fromUtf8(ActionNames[action]), -40);
        for (int people : std::as_const(sizes)) {
            const QList<double> times = results[people].value(action);
            const double best =
                times.isEmpty() ? -1 : *std::min_element(times.begin(), times.end());
            out << QStringLiteral("%1").arg(best, 10, 'f', 1);
        }
        out << "\n";
    }
    return 0;
}
