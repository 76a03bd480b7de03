#include "MasterDataFixture.h"
#include "controls/Kat.h"
#include "controls/ToolBarN.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Zwolnienia_item.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace {

using MasterDataTest::column;
using MasterDataTest::saveShot;
using TestSupport::insert;
// The people window with its editors driven in place instead of shown.
using TestLudzie = MasterDataTest::InPlace<Ludzie>;

QTreeWidgetItem *rowWithSurname(const QTreeWidget *list, const QString &surname)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == surname)
            return list->topLevelItem(i);
    }
    return nullptr;
}

QTreeWidgetItem *nodeWithKey(const Ludzie &window, const QString &key)
{
    return window.tvKat()->Nodes().Item(key);
}

// A mouse click on the node where the tree draws it.
[[nodiscard]] bool clickNode(const Ludzie &window, const QString &key)
{
    return Mouse::clickRow(*window.tvKat()->tree(), nodeWithKey(window, key));
}

// The tree's text buttons: 0 "dodaj", 1 "edytuj", 2 "usuń".
[[nodiscard]] bool clickTreeButton(const Ludzie &window, int index)
{
    return Mouse::clickWidget(*window.tvKat()->button(index));
}

// The tree's in-place name editor while it is open.
QLineEdit *nameEditor(const Ludzie &window)
{
    for (QLineEdit *editor : window.tvKat()->tree()->findChildren<QLineEdit *>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}

[[nodiscard]] bool clickToolbarItem(Ludzie &window, const QString &key)
{
    return Mouse::clickItem(*window.findChild<ToolBarN *>(), key);
}

[[nodiscard]] bool clickRow(Ludzie &window, const QString &surname,
                            Qt::KeyboardModifiers modifiers = {})
{
    return Mouse::clickRow(*window.lista(), rowWithSurname(window.lista(), surname), modifiers);
}

} // namespace

class TestLudzieWindow : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    qint64 m_alpha = 0;
    qint64 m_beta = 0;

    qint64 addGroup(const QString &name)
    {
        return insert(db(), QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"), {name});
    }
    qint64 addPerson(qint64 group, const QString &surname, const QString &name,
                     const QString &rank = {})
    {
        return insert(
            db(),
            QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, "
                           "przywilej, random) VALUES (?, ?, ?, ?, 1, 0, 5)"),
            {QString::number(group), surname, name, rank});
    }
    qint64 count(const QString &sql, const QVariantList &params = {})
    {
        return db().scalar(sql, params).toLongLong();
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        QVERIFY(Globals::options());

        m_alpha = addGroup(QStringLiteral("Alfa"));
        m_beta = addGroup(QStringLiteral("Beta"));
        addPerson(m_alpha, QStringLiteral("Nowak"), QStringLiteral("Jan"), QStringLiteral("kpr."));
        addPerson(m_alpha, QStringLiteral("Kowalski"), QStringLiteral("Adam"));
        addPerson(m_beta, QStringLiteral("Zieliński"), QStringLiteral("Piotr"));
        addPerson(m_beta, QStringLiteral("Adamczyk"), QStringLiteral("Ewa"));
    }

    void cleanup() { closeDatabase(); }

    void treeAndListByGroup()
    {
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        QTreeWidgetItem *root = nodeWithKey(window, QStringLiteral("ALL"));
        QVERIFY(root);
        QCOMPARE(root->text(0), QStringLiteral("Wszystkie"));
        QCOMPARE(root->childCount(), 2);
        // "Statystyki" opens the carried-over counts.
        QVERIFY(
            window.findChild<ToolBarN *>()->ListItems()->Item(QStringLiteral("lista"))->Enabled());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("ButtonOK"))->isVisibleTo(&window));
        QCOMPARE(root->child(0)->text(0), QStringLiteral("Alfa"));
        QCOMPARE(KatNodes::key(root->child(0)), QStringLiteral("ID=%1").arg(m_alpha));

        // The root lists everybody by surname; the first row is selected.
        QCOMPARE(window.currentGroupKey(), QStringLiteral("ALL"));
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Adamczyk", "Kowalski", "Nowak", "Zieliński"}));
        QVERIFY(window.lista()->topLevelItem(0)->isSelected());
        QCOMPARE(rowWithSurname(window.lista(), "Nowak")->text(2), QStringLiteral("kpr."));

        const QString betaKey = QStringLiteral("ID=%1").arg(m_beta);
        QVERIFY(clickNode(window, betaKey));
        QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Zieliński"}));
        QCOMPARE(column(window.lista(), 1), QStringList({"Ewa", "Piotr"}));

        // Clicking the node already shown does not reload it.
        addPerson(m_beta, QStringLiteral("Bąk"), QStringLiteral("Ola"));
        QVERIFY(clickNode(window, betaKey));
        QCOMPARE(window.lista()->topLevelItemCount(), 2);
        QVERIFY(clickNode(window, QStringLiteral("ALL")));
        QCOMPARE(window.lista()->topLevelItemCount(), 5);

        // Surnames come in Polish order, whatever the database's own.
        addPerson(m_alpha, QStringLiteral("Łukasik"), QStringLiteral("Ola"));
        addPerson(m_alpha, QStringLiteral("de Wit"), QStringLiteral("Jan"));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_alpha)));
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"de Wit", "Kowalski", "Łukasik", "Nowak"}));
        QVERIFY(window.lista()->topLevelItem(0)->isSelected());

        // So do the groups of the tree: "Ł" before "Z".
        addGroup(QStringLiteral("Zwiad"));
        addGroup(QStringLiteral("Łączność"));
        Ludzie again;
        QTreeWidgetItem *all = nodeWithKey(again, QStringLiteral("ALL"));
        QCOMPARE(all->childCount(), 4);
        QCOMPARE(all->child(2)->text(0), QStringLiteral("Łączność"));
        QCOMPARE(all->child(3)->text(0), QStringLiteral("Zwiad"));
    }

    void sortByHeaderClick()
    {
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(Mouse::clickHeader(*window.lista(), 1));
        QCOMPARE(column(window.lista(), 1), QStringList({"Adam", "Ewa", "Jan", "Piotr"}));
        QVERIFY(Mouse::clickHeader(*window.lista(), 1));
        QCOMPARE(column(window.lista(), 1), QStringList({"Piotr", "Jan", "Ewa", "Adam"}));
        QVERIFY(Mouse::clickHeader(*window.lista(), 0));
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Adamczyk", "Kowalski", "Nowak", "Zieliński"}));

        // A row added while sorted goes to its sorted place, as the only selected row.
        QVERIFY(Mouse::clickHeader(*window.lista(), 0));
        window.ListAddItem(99, QStringLiteral("Malinowski"), QStringLiteral("Jerzy"), {}, true);
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Zieliński", "Nowak", "Malinowski", "Kowalski", "Adamczyk"}));
        QCOMPARE(window.lista()->selectedItems().size(), 1);
        QCOMPARE(window.lista()->selectedItems().first()->text(0), QStringLiteral("Malinowski"));

        // Polish letters and lower-case names sort as a Polish reader expects.
        window.ListAddItem(100, QStringLiteral("Łukasik"), QStringLiteral("Ćwik"), {});
        window.ListAddItem(101, QStringLiteral("de Wit"), QStringLiteral("Żaneta"), {});
        QVERIFY(Mouse::clickHeader(*window.lista(), 0));
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Adamczyk", "de Wit", "Kowalski", "Łukasik", "Malinowski", "Nowak",
                              "Zieliński"}));
        QVERIFY(Mouse::clickHeader(*window.lista(), 1));
        QCOMPARE(column(window.lista(), 1),
                 QStringList({"Adam", "Ćwik", "Ewa", "Jan", "Jerzy", "Piotr", "Żaneta"}));
    }

    // Arrow keys and type-ahead on the tree move the list with the current
    // node; "Dodaj" then stores and shows the person in that node's group.
    void listFollowsKeyboard()
    {
        TestLudzie window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTreeWidget *tree = window.tvKat()->tree();
        QVERIFY(clickNode(window, QStringLiteral("ALL")));
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(column(window.lista(), 0), QStringList({"Kowalski", "Nowak"}));
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Zieliński"}));

        window.onModal = [](QDialog &dialog) {
            auto &editor = static_cast<Ludzie_item &>(dialog);
            editor.findChild<QLineEdit *>(QStringLiteral("txt0"))->setText(QStringLiteral("Wrona"));
            editor.findChild<QLineEdit *>(QStringLiteral("txt1"))->setText(QStringLiteral("Ida"));
            QVERIFY(editor.save());
        };
        QVERIFY(clickToolbarItem(window, QStringLiteral("new")));
        QCOMPARE(window.modalCount, 1);
        QCOMPARE(count(QStringLiteral(
                           "SELECT COUNT(*) FROM ludzie WHERE nazwisko='Wrona' AND id_grupa=?"),
                       {QString::number(m_beta)}),
                 1);
        QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Zieliński", "Wrona"}));

        QTest::keyClicks(tree, QStringLiteral("a"));
        QCOMPARE(KatNodes::key(window.tvKat()->SelectedItem()),
                 QStringLiteral("ID=%1").arg(m_alpha));
        QCOMPARE(column(window.lista(), 0), QStringList({"Kowalski", "Nowak"}));
        QTest::keyClick(tree, Qt::Key_Home);
        QCOMPARE(window.lista()->topLevelItemCount(), 5);
    }

    // A list the user sorted by a header click stays sorted by that column
    // when another group fills it.
    void sortedListRefills()
    {
        Ludzie window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(Mouse::clickHeader(*window.lista(), 1));
        QCOMPARE(column(window.lista(), 1), QStringList({"Adam", "Ewa", "Jan", "Piotr"}));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_beta)));
        QCOMPARE(column(window.lista(), 1), QStringList({"Ewa", "Piotr"}));
        QVERIFY(Mouse::clickHeader(*window.lista(), 1));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_alpha)));
        QCOMPARE(column(window.lista(), 1), QStringList({"Jan", "Adam"}));
        QVERIFY(clickNode(window, QStringLiteral("ALL")));
        QCOMPARE(column(window.lista(), 1), QStringList({"Piotr", "Jan", "Ewa", "Adam"}));
        QVERIFY(window.lista()->topLevelItem(0)->isSelected());
        QCOMPARE(window.lista()->header()->sortIndicatorSection(), 1);

        // Rows of one first name stand in the order of their surnames, as
        // when the list is sorted by surname first; either way round.
        addPerson(m_beta, QStringLiteral("Żak"), QStringLiteral("Ewa"));
        addPerson(m_beta, QStringLiteral("Bąk"), QStringLiteral("Ewa"));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_beta)));
        QCOMPARE(column(window.lista(), 0), QStringList({"Zieliński", "Adamczyk", "Bąk", "Żak"}));
        QVERIFY(Mouse::clickHeader(*window.lista(), 1));
        QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Bąk", "Żak", "Zieliński"}));
        QVERIFY(clickNode(window, QStringLiteral("ALL")));
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Kowalski", "Adamczyk", "Bąk", "Żak", "Nowak", "Zieliński"}));
    }

    // "dodaj" under the tree: with a group selected the new group still goes
    // under the root, open for typing its name at once.
    void addAndRenameGroup()
    {
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_alpha)));
        QVERIFY(clickTreeButton(window, 0));
        const qint64 id = count(QStringLiteral("SELECT MAX(id) FROM grupy"));
        const QString key = QStringLiteral("ID=%1").arg(id);
        QCOMPARE(db().scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {id}).toString(),
                 QStringLiteral("Nowa grupa"));
        QTreeWidgetItem *node = nodeWithKey(window, key);
        QVERIFY(node);
        QCOMPARE(node->parent(), nodeWithKey(window, QStringLiteral("ALL")));
        QCOMPARE(node->text(0), QStringLiteral("Nowa grupa"));
        QCOMPARE(window.selectedNodeKey(), key);
        QCOMPARE(window.currentGroupKey(), key);
        QCOMPARE(window.lista()->topLevelItemCount(), 0);

        // A quote in the name is stored and shown as typed.
        QLineEdit *editor = nameEditor(window);
        QVERIFY(editor);
        const QString name = QStringLiteral("Zmiana 'O'Neil' ; DROP TABLE grupy");
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the tree commits the edit from its event queue
        QCOMPARE(db().scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {id}).toString(),
                 name);
        window.GetGrupy();
        QCOMPARE(nodeWithKey(window, key)->text(0), name);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM grupy")), 3);
        QVERIFY(Messages::shown().isEmpty());
    }

    // "edytuj" opens the selected group's name for typing; Esc keeps the name.
    void renameInPlace()
    {
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_beta)));
        QVERIFY(clickTreeButton(window, 1));
        QLineEdit *editor = nameEditor(window);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Gamma O'Brien"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(
            db().scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {m_beta}).toString(),
            QStringLiteral("Gamma O'Brien"));
        QCOMPARE(window.tvKat()->SelectedItem()->text(0), QStringLiteral("Gamma O'Brien"));

        QVERIFY(clickTreeButton(window, 1));
        editor = nameEditor(window);
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("X"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(
            db().scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {m_beta}).toString(),
            QStringLiteral("Gamma O'Brien"));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM grupy")), 2);
        QVERIFY(Messages::shown().isEmpty());
    }

    // A group name with a character the roster file cannot hold (pasted) is
    // refused, the tree shows the stored name again; the new group's name too.
    void renameRefusesWhatTheFilesCannotHold_data()
    {
        QTest::addColumn<bool>("newGroup");
        QTest::newRow("renamed") << false;
        QTest::newRow("added") << true;
    }

    void renameRefusesWhatTheFilesCannotHold()
    {
        QFETCH(bool, newGroup);
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_beta)));
        QVERIFY(clickTreeButton(window, newGroup ? 0 : 1));
        const qint64 id = newGroup ? count(QStringLiteral("SELECT MAX(id) FROM grupy")) : m_beta;
        const QString stored = newGroup ? QStringLiteral("Nowa grupa") : QStringLiteral("Beta");
        QLineEdit *editor = nameEditor(window);
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_End);
        MasterDataTest::paste(QStringLiteral("\u0001"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the tree commits the edit from its event queue
        QCoreApplication::processEvents(); // and shows the stored name again
        QCOMPARE(Messages::shown(),
                 QStringList{MasterDataTest::refusal(QStringLiteral("Nazwa grupy"))});
        QCOMPARE(db().scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {id}).toString(),
                 stored);
        QCOMPARE(nodeWithKey(window, QStringLiteral("ID=%1").arg(id))->text(0), stored);
    }

    // A name cut at its column shows whole as the row's tooltip; one that
    // fits shows none. At two widths of the window: the tree's width follows it.
    void cutTextsShowWhole_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("design size") << 700;
        QTest::newRow("wide") << 1100;
    }

    void cutTextsShowWhole()
    {
        QFETCH(int, width);
        const QString longGroup = QStringLiteral("Kompania reprezentacyjna Wojska Polskiego "
                                                 "im. marszałka Józefa Piłsudskiego");
        const QString longName = QStringLiteral("Jankowska-Wielkopolska-Żółkiewska");
        const qint64 group = addGroup(longGroup);
        addPerson(group, longName, QStringLiteral("Ala"), QStringLiteral("kpr."));
        Ludzie window;
        window.resize(width, 480);
        QVERIFY(Keyboard::showActive(window));
        QTreeWidget *tree = window.tvKat()->tree();
        const auto nodeTip = [&](const QString &key) {
            const QRect rect = tree->visualItemRect(nodeWithKey(window, key));
            return MasterDataTest::tooltipAt(tree->viewport(), rect.center());
        };
        QCOMPARE(nodeTip(QStringLiteral("ID=%1").arg(group)), longGroup);
        QCOMPARE(nodeTip(QStringLiteral("ID=%1").arg(m_alpha)), QString());

        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(group)));
        QTreeWidget *list = window.lista();
        QCOMPARE(list->topLevelItemCount(), 1);
        const QStringList tips{longName, QString(), QString()};
        for (int c = 0; c < 3; ++c)
            QCOMPARE(MasterDataTest::tooltipOf(list, list->model()->index(0, c)), tips[c]);
    }

    void deleteGroup_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("yes") << int(Messages::Answer::Yes) << true;
        QTest::newRow("no") << int(Messages::Answer::No) << false;
    }

    void deleteGroup()
    {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        const qint64 absent =
            addPerson(m_alpha, QStringLiteral("Wiśniewski"), QStringLiteral("Olaf"));
        QVERIFY(TestSupport::exec(
            db(),
            QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) "
                           "VALUES ('2024-05-01', '2024-05-02', 0, ?, 'L4')"),
            {QString::number(absent)}));

        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        const QString key = QStringLiteral("ID=%1").arg(m_alpha);
        QVERIFY(clickNode(window, key));
        QCOMPARE(window.lista()->topLevelItemCount(), 3);

        Messages::setNextAnswer(Messages::Answer(answer));
        QVERIFY(clickTreeButton(window, 2));
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Czy chcesz kontynuować?")});
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM grupy WHERE id=?"), {m_alpha}),
                 deleted ? 0 : 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie WHERE id_grupa=?"),
                       {QString::number(m_alpha)}),
                 deleted ? 0 : 3);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie")), deleted ? 2 : 5);
        // Absences of the deleted people stay where they were.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM zwolnienia")), 1);
        QCOMPARE(nodeWithKey(window, key) == nullptr, deleted);
        if (deleted) {
            // The list no longer offers the deleted people.
            QCOMPARE(window.currentGroupKey(), QStringLiteral("ALL"));
            QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Zieliński"}));
        } else {
            QCOMPARE(window.lista()->topLevelItemCount(), 3);
        }
    }

    void deleteRootIsRefused()
    {
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(clickNode(window, QStringLiteral("ALL")));
        QVERIFY(clickTreeButton(window, 2));
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first(),
                 QStringLiteral("Proszę wybrać grupę, która ma zostać usunięta."));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM grupy")), 2);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie")), 4);
        QVERIFY(nodeWithKey(window, QStringLiteral("ALL")));
        QCOMPARE(nodeWithKey(window, QStringLiteral("ALL"))->childCount(), 2);
    }

    void deletePeople_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("yes") << int(Messages::Answer::Yes) << QStringList({"Adamczyk", "Nowak"});
        QTest::newRow("no") << int(Messages::Answer::No)
                            << QStringList({"Adamczyk", "Kowalski", "Nowak", "Zieliński"});
        QTest::newRow("cancel") << int(Messages::Answer::Cancel)
                                << QStringList({"Adamczyk", "Kowalski", "Nowak", "Zieliński"});
    }

    void deletePeople()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        Ludzie window;
        QVERIFY(Keyboard::showActive(window));
        // Nothing selected: no question.
        QVERIFY(clickRow(window, "Adamczyk", Qt::ControlModifier));
        QVERIFY(window.lista()->selectedItems().isEmpty());
        QVERIFY(clickToolbarItem(window, QStringLiteral("del")));
        QVERIFY(Messages::shown().isEmpty());

        QVERIFY(clickRow(window, "Kowalski"));
        QVERIFY(clickRow(window, "Zieliński", Qt::ControlModifier));
        Messages::setNextAnswer(Messages::Answer(answer));
        QVERIFY(clickToolbarItem(window, QStringLiteral("del")));
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Czy chcesz usunąć wybrane pozycje?")});
        QCOMPARE(column(window.lista(), 0), left);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie")), left.size());
    }

    void newPersonNeedsAGroup()
    {
        TestLudzie window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(clickNode(window, QStringLiteral("ALL")));
        QVERIFY(clickToolbarItem(window, QStringLiteral("new")));
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral(
                                        "Proszę wybrać grupę, do której ma zostać dodana osoba.")});
        QCOMPARE(window.modalCount, 0);

        // With a group chosen, the editor stores a person of that group.
        QVERIFY(clickNode(window, QStringLiteral("ID=%1").arg(m_beta)));
        window.onModal = [](QDialog &dialog) {
            auto &editor = static_cast<Ludzie_item &>(dialog);
            editor.findChild<QLineEdit *>(QStringLiteral("txt0"))
                ->setText(QStringLiteral("O'Neil"));
            editor.findChild<QLineEdit *>(QStringLiteral("txt1"))->setText(QStringLiteral("Shaun"));
            QVERIFY(editor.save());
        };
        QVERIFY(clickToolbarItem(window, QStringLiteral("new")));
        QCOMPARE(window.modalCount, 1);
        QCOMPARE(
            count(QStringLiteral("SELECT COUNT(*) FROM ludzie WHERE nazwisko=? AND id_grupa=?"),
                  {QStringLiteral("O'Neil"), QString::number(m_beta)}),
            1);
        QCOMPARE(window.lista()->selectedItems().size(), 1);
        QCOMPARE(window.lista()->selectedItems().first()->text(0), QStringLiteral("O'Neil"));
        QCOMPARE(window.lista()->topLevelItem(window.lista()->topLevelItemCount() - 1)->text(0),
                 QStringLiteral("O'Neil"));
    }

    void editKeepsRandomAndGroup()
    {
        TestLudzie window;
        QVERIFY(Keyboard::showActive(window));
        QTreeWidgetItem *row = rowWithSurname(window.lista(), "Kowalski");
        const auto renameTo = [&window](const QString &surname) {
            window.onModal = [surname](QDialog &dialog) {
                auto &editor = static_cast<Ludzie_item &>(dialog);
                editor.findChild<QLineEdit *>(QStringLiteral("txt0"))->setText(surname);
                QVERIFY(editor.save());
            };
        };
        // A double click on a row edits that person, so does Enter in the list.
        renameTo(QStringLiteral("Kowalsky"));
        QVERIFY(Mouse::doubleClickRow(*window.lista(), row));
        QCOMPARE(window.modalCount, 1);
        QCOMPARE(row->text(0), QStringLiteral("Kowalsky"));
        renameTo(QStringLiteral("Kowalska"));
        QTest::keyClick(window.lista(), Qt::Key_Return);
        QCOMPARE(window.modalCount, 2);
        QCOMPARE(row->text(0), QStringLiteral("Kowalska"));
        auto rs = db().openQuery(QStringLiteral("SELECT * FROM ludzie WHERE nazwisko='Kowalska'"));
        QVERIFY(rs && !rs->eof());
        QCOMPARE(rs->integer(QStringLiteral("random")), 5);
        QCOMPARE(rs->text(QStringLiteral("id_grupa")), QString::number(m_alpha));

        // A person deleted behind the window's back: a message, no editor.
        QVERIFY(TestSupport::exec(db(),
                                  QStringLiteral("DELETE FROM ludzie WHERE nazwisko='Kowalska'")));
        QVERIFY(clickToolbarItem(window, QStringLiteral("edit")));
        QCOMPARE(window.modalCount, 2);
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Wybrana osoba nie istnieje już w bazie danych.")});

        // Nothing selected: nothing happens.
        QVERIFY(clickRow(window, "Kowalska", Qt::ControlModifier));
        QVERIFY(window.lista()->selectedItems().isEmpty());
        QVERIFY(clickToolbarItem(window, QStringLiteral("edit")));
        QCOMPARE(window.modalCount, 2);
    }

    void picker()
    {
        SelectItem picker;
        picker.setResult(QStringLiteral("stale"));
        Ludzie window;
        window.setMyClass(&picker);
        QVERIFY(Keyboard::showActive(window));
        auto *choose = window.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
        QVERIFY(choose);

        // Nothing selected: an empty answer.
        QVERIFY(clickRow(window, "Adamczyk", Qt::ControlModifier));
        QVERIFY(Mouse::click(*choose));
        QCOMPARE(picker.Result(), QString());
        QVERIFY(window.MyClass() == nullptr);
        QVERIFY(!window.isVisible());

        Ludzie again;
        again.setMyClass(&picker);
        QVERIFY(Keyboard::showActive(again));
        QVERIFY(Mouse::clickHeader(*again.lista(), 1));
        QVERIFY(Mouse::clickHeader(*again.lista(), 1)); // Piotr, Jan, Ewa, Adam
        const qint64 kowalski =
            count(QStringLiteral("SELECT id FROM ludzie WHERE nazwisko='Kowalski'"));
        const qint64 nowak = count(QStringLiteral("SELECT id FROM ludzie WHERE nazwisko='Nowak'"));
        QVERIFY(clickRow(again, "Kowalski"));
        QVERIFY(clickRow(again, "Nowak", Qt::ControlModifier));
        QVERIFY(clickRow(again, "Zieliński", Qt::ControlModifier));
        // Gone since the list was filled: left out.
        QVERIFY(TestSupport::exec(db(),
                                  QStringLiteral("DELETE FROM ludzie WHERE nazwisko='Zieliński'")));
        QVERIFY(Mouse::click(*again.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
        const QString expected = QStringLiteral("%1;Nowak Jan").arg(nowak) + QChar(u'\0') +
                                 QStringLiteral("%1;Kowalski Adam").arg(kowalski);
        QCOMPARE(picker.Result(), expected);
        QCOMPARE(again.result(), int(QDialog::Accepted));
    }

    void columnWidths()
    {
        {
            Ludzie window;
            window.lista()->header()->resizeSection(0, 150);
            window.lista()->header()->resizeSection(1, 90);
            window.lista()->header()->resizeSection(2, 60);
            window.reject();
        }
        const QString stored = Globals::options()->GetOption(QStringLiteral("Ludzie.Lista"));
        QCOMPARE(stored.split(u';').size(), 3);
        // The group tree inside the category control has no row of its own.
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM opcje WHERE Name LIKE 'Ludzie%'")), 1);
        {
            Ludzie window;
            QCOMPARE(window.lista()->header()->sectionSize(0), 150);
            QCOMPARE(window.lista()->header()->sectionSize(1), 90);
            QCOMPARE(window.lista()->header()->sectionSize(2), 60);
        }
        // A list of the wrong length is ignored.
        Globals::options()->SetOption(QStringLiteral("Ludzie.Lista"), QStringLiteral("3000;3000"));
        Ludzie window;
        QCOMPARE(window.lista()->header()->sectionSize(0), 120);
    }

    void screenshot()
    {
        const QString folder = qEnvironmentVariable("KADRELO_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("KADRELO_SCREENSHOTS names no folder");
        Ludzie window;
        QVERIFY(saveShot(window, folder, QStringLiteral("ludzie.png")));
        SelectItem picker;
        Ludzie picking;
        picking.setMyClass(&picker);
        QVERIFY(saveShot(picking, folder, QStringLiteral("ludzie_picker.png")));
        const qint64 nowak = count(QStringLiteral("SELECT id FROM ludzie WHERE nazwisko='Nowak'"));
        TestSupport::exec(
            db(),
            QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) VALUES "
                           "('2024-05-10', '2024-05-12', 0, ?, 'L4'), ('2024-04-28', '2024-05-02', "
                           "0, ?, 'urlop')"),
            {QString::number(nowak), QString::number(nowak)});
        Ludzie_item editor;
        editor.setMonth(QDate(2024, 5, 1));
        editor.GetInfo(nowak);
        QVERIFY(saveShot(editor, folder, QStringLiteral("ludzie_item.png")));
        editor.findChild<QTabWidget *>()->setCurrentIndex(1);
        QVERIFY(editor.grab().save(
            QDir(folder).filePath(QStringLiteral("ludzie_item_zwolnienia.png"))));
        Zwolnienia_item absence;
        absence.setID(QString::number(db().lastInsertId()));
        QVERIFY(absence.GetInfo());
        QVERIFY(saveShot(absence, folder, QStringLiteral("zwolnienia_item.png")));
    }
};

QTEST_MAIN(TestLudzieWindow)
#include "tst_ludzie.moc"
