#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/FlexGrid.h"
#include "mainwindow/Bilans.h"
#include "mainwindow/Compression.h"
#include "mainwindow/Panel.h"
#include "mainwindow/Wykluczenia.h"
#include "platform/xml/XmlDocument.h"
#include "tests/mainwindow/PanelFixture.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Tooltips.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

namespace {

const QString LongName = QStringLiteral("Jankowska-Wiśniewska Małgorzata Krystyna");
const QString LongGroup = QStringLiteral("Żandarmeria Wojskowa, Oddział Zamiejscowy");

// The first row of the tree whose text starts with text, or null.
QTreeWidgetItem *rowStarting(QTreeWidget *tree, const QString &text)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0).startsWith(text))
            return *it;
    }
    return nullptr;
}

// The first top-level row of the view whose text starts with text (its
// first column), or an invalid index.
QModelIndex listRowStarting(const QAbstractItemView *view, const QString &text)
{
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data().toString().startsWith(text))
            return index;
    }
    return {};
}

} // namespace

// A text the main window, the balance or the exclusions view cut at their
// column widths reads whole as the row's (or cell's) tooltip; a text shown
// whole gets none.
class TestCutTextTips : public QObject, private PanelTest::DatabaseFixture
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Panel> m_panel;
    qint64 m_long = 0; // the person of the long name

    QTreeView *people() const { return m_panel->lstLudzie(); }

private Q_SLOTS:
    // May 2024 with the long-named person of the long-named group on day 1
    // beside Nowak, opened through the open dialog in a window of its design
    // size; the long-named person was kept away on day 2.
    void init()
    {
        QVERIFY(m_dir.isValid());
        openDatabase();
        exec(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"), {LongGroup});
        const qint64 group = number(QStringLiteral("SELECT MAX(id) FROM grupy"));
        exec(QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, "
                            "random) VALUES (?, 'Jankowska-Wiśniewska', 'Małgorzata Krystyna', "
                            "'kpr.', 0, 40)"),
             {QString::number(group)});
        m_long = number(QStringLiteral("SELECT MAX(id) FROM ludzie"));
        const QString file = QDir(m_dir.path()).filePath(QStringLiteral("maj.swx"));
        const QString roster =
            QStringLiteral(
                "<Baza Date=\"2024-05-01\" Name=\"Grafik na maj 2024\"><Services>"
                "<ServiceItem Id=\"%1\" Text=\"Dyżur\"/><ServiceItem Id=\"%2\" Text=\"Patrol\"/>"
                "</Services><Dzien Id=\"1\"><Sluzba Id=\"%1\" Position=\"1.1\">"
                "<Osoba Id=\"%3\"/><Osoba Id=\"2\"/></Sluzba>"
                "<Sluzba Id=\"%2\" Position=\"2.1\"><Osoba Id=\"2\"/></Sluzba></Dzien>"
                "<Counter><Item Id=\"%3\" Count=\"1\" Date=\"2024-05-01 08:00:00\"/>"
                "<Item Id=\"2\" Count=\"2\" Date=\"2024-05-01 20:00:00\"/></Counter>"
                "<Exclusions><Day Id=\"2\"><Item Id=\"%3P\" Date1=\"2024-05-02\" "
                "Date2=\"2024-05-20\"/><Item Id=\"2P\" Date1=\"2024-05-02\" Date2=\"2024-05-02\"/>"
                "</Day></Exclusions></Baza>")
                .arg(m_duty)
                .arg(m_patrol)
                .arg(m_long);
        QVERIFY(Compression::SaveFile(file, roster));
        Globals::options()->SetOption(QStringLiteral("CellShow"),
                                      QStringLiteral("[stopien] [nazwisko] [imie] ([grupa])"));
        // Narrow cells, 1.5 cm: a long surname is wider than its cell.
        Globals::options()->SetOption(QStringLiteral("CellWidth"), QStringLiteral("1,5"));

        m_panel = std::make_unique<Panel>();
        QVERIFY(Keyboard::showActive(*m_panel));
        FileDialogs::setNextFileName(file);
        QTest::keyClick(m_panel.get(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY2(m_panel->xmlDocument(), qPrintable(Messages::shown().join(u'\n')));
    }
    void cleanup()
    {
        m_panel.reset();
        closeDatabase();
    }

    // The list of people: the long name and group read whole, Nowak's
    // row (shown whole) and the count column have no tooltip.
    void peopleList()
    {
        const QModelIndex name = listRowStarting(people(), QStringLiteral("Jankowska"));
        const QModelIndex whole = listRowStarting(people(), QStringLiteral("Nowak"));
        QVERIFY(name.isValid() && whole.isValid());
        QCOMPARE(name.data().toString(), LongName);
        QVERIFY2(people()->visualRect(name).width() <
                     people()->fontMetrics().horizontalAdvance(LongName),
                 "the name must be wider than its column");
        QCOMPARE(Tooltips::tooltipOf(people(), name), LongName);
        QCOMPARE(Tooltips::tooltipOf(people(), name.siblingAtColumn(1)), LongGroup);
        QCOMPARE(Tooltips::tooltipOf(people(), name.siblingAtColumn(2)), QString());
        QCOMPARE(Tooltips::tooltipOf(people(), whole), QString());
    }

    // The roster grid: a cell whose people do not fit its width reads whole;
    // Nowak alone fits.
    void rosterGrid()
    {
        FlexGrid *grid = m_panel->Lista();
        const QString cell = grid->text(1, 1);
        QVERIFY2(cell.startsWith(QStringLiteral("kpr. Jankowska-Wiśniewska")), qPrintable(cell));
        QVERIFY(grid->isTextCut(1, 1));
        QCOMPARE(Tooltips::tooltipAt(grid->viewport(), grid->layout().cellRect(1, 1).center()),
                 QString(cell).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(grid->text(1, 2), QStringLiteral("sierż. Nowak Adam (Alfa)"));
        QVERIFY(!grid->isTextCut(1, 2));
        QCOMPARE(Tooltips::tooltipAt(grid->viewport(), grid->layout().cellRect(1, 2).center()),
                 QString());
    }

    // The balance by persons (chosen with the keyboard in its box) and the
    // exclusions view.
    void balanceAndExclusions()
    {
        Bilans balance(*m_panel->xmlDocument(), m_panel.get());
        balance.show();
        QVERIFY(QTest::qWaitForWindowExposed(&balance));
        balance.Combo1()->setFocus();
        QTest::keyClick(balance.Combo1(), Qt::Key_Down);
        QCOMPARE(balance.Combo1()->currentIndex(), 1);
        QTreeWidgetItem *person = rowStarting(balance.Lista(), QStringLiteral("Jankowska"));
        QVERIFY(person);
        balance.resize(300, balance.height());
        QVERIFY(balance.Lista()->visualItemRect(person).width() <
                balance.Lista()->fontMetrics().horizontalAdvance(person->text(0)));
        QCOMPARE(Tooltips::tooltipOf(balance.Lista(), balance.Lista()->indexFromItem(person)),
                 person->text(0));
        balance.close();

        Wykluczenia exclusions(m_panel->xmlDocument(), m_panel.get());
        exclusions.resize(300, exclusions.height());
        exclusions.show();
        QVERIFY(QTest::qWaitForWindowExposed(&exclusions));
        QTreeWidget *tree = exclusions.lista();
        tree->expandAll();
        QTreeWidgetItem *line = rowStarting(tree, QStringLiteral("Jankowska"));
        QTreeWidgetItem *shortLine = rowStarting(tree, QStringLiteral("Nowak"));
        QVERIFY(line && shortLine);
        QCOMPARE(line->text(0), LongName + QStringLiteral(" (zw. 2-20.05.2024)"));
        QCOMPARE(Tooltips::tooltipOf(tree, tree->indexFromItem(line)), line->text(0));
        QCOMPARE(Tooltips::tooltipOf(tree, tree->indexFromItem(shortLine)), QString());
    }
};

QTEST_MAIN(TestCutTextTips)
#include "tst_cuttexttips.moc"
