#include "controls/BlueCommand.h"
#include "controls/TBNItems.h"
#include "controls/ToolBarN.h"
#include "core/Messages.h"
#include "core/ui/Application.h"
#include "core/ui/IdeaSend.h"
#include "core/ui/ScreenFit.h"
#include "engine/ui/BuildTable.h"
#include "mainwindow/Panel.h"
#include "mainwindow/Wykluczenia.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/Menus.h"
#include "tests/support/Mouse.h"

#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

// Every window opens inside the screen's free area, whatever the screen and
// the scale factor (CTest runs this on several screens and factors): the
// main window at its design size where that fits, otherwise as large as the
// area, centred on it; each dialog centred over the window it opens from,
// moved back inside the area where centring would push it past an edge.
namespace {

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Where the window lies wrong, or an empty text.
QString misplaced(const QWidget &window, const QWidget *over)
{
    const QRect area = ScreenFit::availableArea(&window);
    const QRect frame = window.frameGeometry();
    const QString where =
        QStringLiteral("%1 at %2 on %3")
            .arg(QLatin1String(window.metaObject()->className()), rectText(frame), rectText(area));
    if (!area.contains(frame))
        return where + QStringLiteral(": outside the screen");
    const QRect under = over ? over->frameGeometry() : area;
    // On each axis centred over what it opens from, or held at an edge of the area.
    auto centred = [](int low, int high, int underLow, int underHigh) {
        return std::abs((low - underLow) - (underHigh - high)) <= 1;
    };
    const bool x = centred(frame.left(), frame.right(), under.left(), under.right()) ||
                   frame.left() == area.left() || frame.right() == area.right();
    const bool y = centred(frame.top(), frame.bottom(), under.top(), under.bottom()) ||
                   frame.top() == area.top() || frame.bottom() == area.bottom();
    if (!x || !y)
        return where + QStringLiteral(": not centred over ") + rectText(under);
    return {};
}

ToolBarN *toolbarWith(QWidget &window, const QString &key)
{
    for (ToolBarN *bar : window.findChildren<ToolBarN *>())
        if (bar->isVisible() && bar->ListItems()->Item(key))
            return bar;
    return nullptr;
}

// Runs check on the next modal window of that kind as soon as it is open
// (work inside the call may spin the event loop before it opens), then
// closes it. The caller deletes the watch once its call has returned and
// checks itself that the window opened.
template <typename T> QPointer<QTimer> whenOpen(std::function<void(T &)> check)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, check] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        check(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start();
    return poll;
}

} // namespace

class TestScreenFit : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    std::unique_ptr<Panel> m_panel;

    // May 2024 generated through the build dialog, as the planner does it.
    void generate()
    {
        const QPointer<QTimer> poll = whenOpen<BuildTable>([](BuildTable &dialog) {
            dialog.setMonth(QDate(2024, 5, 1));
            QVERIFY(Mouse::click(*dialog.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
        });
        const bool clicked = Mouse::clickItem(*m_panel->ToolBar1(), QStringLiteral("create"));
        delete poll;
        QVERIFY(clicked);
        QVERIFY(m_panel->xmlDocument());
    }

    // Opens the windows the toolbar items of path lead to, one from the other,
    // checking each where it opens; the first item is the main window's.
    void openPath(QWidget &from, QStringList path, QStringList *faults)
    {
        const QString key = path.takeFirst();
        ToolBarN *bar = toolbarWith(from, key);
        QVERIFY2(bar, qPrintable(QStringLiteral("no toolbar item \"%1\"").arg(key)));
        bool opened = false;
        const QPointer<QTimer> poll =
            whenOpen<QDialog>([this, &from, path, faults, &opened](QDialog &dialog) {
                opened = true;
                const QString fault = misplaced(dialog, from.window());
                if (!fault.isEmpty())
                    *faults << fault;
                if (!path.isEmpty())
                    openPath(dialog, path, faults);
            });
        const bool clicked = Mouse::clickItem(*bar, key);
        delete poll;
        QVERIFY(clicked);
        QVERIFY2(opened, qPrintable(key));
    }

private Q_SLOTS:
    void init()
    {
        openDatabase();
        m_panel = std::make_unique<Panel>();
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }
    void cleanup()
    {
        m_panel.reset();
        closeDatabase();
    }

    // With a generated month everything the planner works with lies inside the window.
    void mainWindow()
    {
        const QRect area = ScreenFit::availableArea(m_panel.get());
        const QRect frame = m_panel->frameGeometry();
        QVERIFY2(m_panel->width() == 1000 || frame.width() == area.width(),
                 qPrintable(rectText(frame)));
        QVERIFY2(m_panel->height() == 700 || frame.height() == area.height(),
                 qPrintable(rectText(frame)));
        const QString fault = misplaced(*m_panel, nullptr);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        generate();
        const QRect inside = m_panel->rect();
        ToolBarN &bar = *m_panel->ToolBar1();
        for (const QString key :
             {"create", "bilans", "wykluczenia", "kreator", "ludzie", "sluzby", "options"}) {
            const QRect item(bar.mapTo(m_panel.get(), QPoint(int(bar.GetLeftPosition(key)), 0)),
                             QSize(int(bar.GetItemWidth()), bar.height()));
            QVERIFY2(inside.contains(item),
                     qPrintable(key + QStringLiteral(" at ") + rectText(item)));
        }
        for (const char *name : {"lstLudzie", "MiniCal", "tbBilans", "Lista"}) {
            auto *control = m_panel->findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(control && control->isVisible(), name);
            const QRect at(control->mapTo(m_panel.get(), QPoint(0, 0)), control->size());
            QVERIFY2(!at.isEmpty() && inside.contains(at),
                     qPrintable(QLatin1String(name) + QStringLiteral(" at ") + rectText(at)));
        }
    }

    void dialogs_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::newRow("build") << QStringList{"create"};
        QTest::newRow("balance") << QStringList{"bilans"};
        QTest::newRow("exclusions") << QStringList{"wykluczenia"};
        QTest::newRow("rule sets, set, rule") << QStringList{"kreator", "new", "new"};
        QTest::newRow("options") << QStringList{"options"};
        QTest::newRow("people, carried-over counts") << QStringList{"ludzie", "lista"};
        QTest::newRow("duties, duty") << QStringList{"sluzby", "new"};
        QTest::newRow("duties, month calendar") << QStringList{"sluzby", "grafik"};
    }
    void dialogs()
    {
        QFETCH(QStringList, path);
        generate();
        QStringList faults;
        openPath(*m_panel, path, &faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    // The exclusions a run's gap question opens are centred over the main
    // window, as those of its toolbar item.
    void exclusionsAfterGaps()
    {
        exec(QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item) VALUES "
                            "('2024-05-01', '2024-05-07', 0, '2')"));
        exec(QStringLiteral("UPDATE sluzby SET ilosc_std=3 WHERE nazwa='Patrol'"));
        Messages::setNextAnswer(Messages::Answer::Yes);
        QString fault = QStringLiteral("the exclusions did not open");
        QPointer<QTimer> inner;
        const QPointer<QTimer> outer =
            whenOpen<BuildTable>([this, &fault, &inner](BuildTable &dialog) {
                inner = whenOpen<Wykluczenia>([this, &fault](Wykluczenia &view) {
                    QVERIFY(view.findChild<QTreeWidget *>()->topLevelItemCount() > 0);
                    fault = misplaced(view, m_panel.get());
                });
                dialog.setMonth(QDate(2024, 5, 1));
                QVERIFY(Mouse::click(*dialog.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
            });
        const bool clicked = Mouse::clickItem(*m_panel->ToolBar1(), QStringLiteral("create"));
        delete outer;
        delete inner;
        QVERIFY(clicked);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // The feedback form is a window of its own, not a dialog.
    void feedbackForm()
    {
        Menus::choose(m_panel->menuBar(), m_panel->menuAction(QStringLiteral("mnuPomysl")));
        auto *form = m_panel->findChild<IdeaSend *>();
        QVERIFY(form && form->isVisible());
        const QString fault = misplaced(*form, m_panel.get());
        form->close();
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

// The program's own application, which places its windows.
int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenfit.moc"
