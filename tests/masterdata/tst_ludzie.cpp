#include "MasterDataFixture.h"
#include "controls/Kat.h"
#include "controls/ToolBarN.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Ludzie_item.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Zwolnienia_item.h"
#include "platform/db/Recordset.h"
#include "tests/support/Mouse.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>

namespace {

using MasterDataTest::column;
using MasterDataTest::saveShot;
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

void selectNode(const Ludzie &window, const QString &key)
{
    window.tvKat()->setSelectedItem(nodeWithKey(window, key));
}

// A mouse click on the node where the tree draws it.
void clickNode(const Ludzie &window, const QString &key)
{
    QTreeWidget *tree = window.tvKat()->tree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(nodeWithKey(window, key)).center());
}

void clickToolbarItem(Ludzie &window, const QString &key)
{
    auto *bar = window.findChild<ToolBarN *>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(int(bar->GetLeftPosition(key)) + 30, 30));
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
        db().execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"), {name});
        return db().lastInsertId();
    }
    qint64 addPerson(qint64 group, const QString &surname, const QString &name,
                     const QString &rank = {})
    {
        db().execute(
            QStringLiteral("INSERT INTO ludzie (id_grupa, nazwisko, imie, stopien, mezczyzna, "
                           "przywilej, random) VALUES (?, ?, ?, ?, 1, 0, 5)"),
            {QString::number(group), surname, name, rank});
        return db().lastInsertId();
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
        window.nodeClick(betaKey);
        QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Zieliński"}));
        QCOMPARE(column(window.lista(), 1), QStringList({"Ewa", "Piotr"}));

        // Clicking the node already shown does not reload it.
        addPerson(m_beta, QStringLiteral("Bąk"), QStringLiteral("Ola"));
        window.nodeClick(betaKey);
        QCOMPARE(window.lista()->topLevelItemCount(), 2);
        window.nodeClick(QStringLiteral("ALL"));
        QCOMPARE(window.lista()->topLevelItemCount(), 5);

        // Surnames come in Polish order, whatever the database's own.
        addPerson(m_alpha, QStringLiteral("Łukasik"), QStringLiteral("Ola"));
        addPerson(m_alpha, QStringLiteral("de Wit"), QStringLiteral("Jan"));
        window.nodeClick(QStringLiteral("ID=%1").arg(m_alpha));
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

    void sortByColumn()
    {
        Ludzie window;
        window.sortByColumn(1);
        QCOMPARE(column(window.lista(), 1), QStringList({"Adam", "Ewa", "Jan", "Piotr"}));
        window.sortByColumn(1);
        QCOMPARE(column(window.lista(), 1), QStringList({"Piotr", "Jan", "Ewa", "Adam"}));
        window.sortByColumn(0);
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Adamczyk", "Kowalski", "Nowak", "Zieliński"}));

        // A row added while sorted goes to its sorted place, as the only selected row.
        window.sortByColumn(0);
        window.ListAddItem(99, QStringLiteral("Malinowski"), QStringLiteral("Jerzy"), {}, true);
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Zieliński", "Nowak", "Malinowski", "Kowalski", "Adamczyk"}));
        QCOMPARE(window.lista()->selectedItems().size(), 1);
        QCOMPARE(window.lista()->selectedItems().first()->text(0), QStringLiteral("Malinowski"));

        // Polish letters and lower-case names sort as a Polish reader expects.
        window.ListAddItem(100, QStringLiteral("Łukasik"), QStringLiteral("Ćwik"), {});
        window.ListAddItem(101, QStringLiteral("de Wit"), QStringLiteral("Żaneta"), {});
        window.sortByColumn(0);
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Adamczyk", "de Wit", "Kowalski", "Łukasik", "Malinowski", "Nowak",
                              "Zieliński"}));
        window.sortByColumn(1);
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
        clickNode(window, QStringLiteral("ALL"));
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
        clickToolbarItem(window, QStringLiteral("new"));
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
        Mouse::clickHeader(window.lista(), 1);
        QCOMPARE(column(window.lista(), 1), QStringList({"Adam", "Ewa", "Jan", "Piotr"}));
        clickNode(window, QStringLiteral("ID=%1").arg(m_beta));
        QCOMPARE(column(window.lista(), 1), QStringList({"Ewa", "Piotr"}));
        Mouse::clickHeader(window.lista(), 1);
        clickNode(window, QStringLiteral("ID=%1").arg(m_alpha));
        QCOMPARE(column(window.lista(), 1), QStringList({"Jan", "Adam"}));
        clickNode(window, QStringLiteral("ALL"));
        QCOMPARE(column(window.lista(), 1), QStringList({"Piotr", "Jan", "Ewa", "Adam"}));
        QVERIFY(window.lista()->topLevelItem(0)->isSelected());
        QCOMPARE(window.lista()->header()->sortIndicatorSection(), 1);

        // Rows of one first name stand in the order of their surnames, as
        // when the list is sorted by surname first; either way round.
        addPerson(m_beta, QStringLiteral("Żak"), QStringLiteral("Ewa"));
        addPerson(m_beta, QStringLiteral("Bąk"), QStringLiteral("Ewa"));
        clickNode(window, QStringLiteral("ID=%1").arg(m_beta));
        QCOMPARE(column(window.lista(), 0), QStringList({"Zieliński", "Adamczyk", "Bąk", "Żak"}));
        Mouse::clickHeader(window.lista(), 1);
        QCOMPARE(column(window.lista(), 0), QStringList({"Adamczyk", "Bąk", "Żak", "Zieliński"}));
        clickNode(window, QStringLiteral("ALL"));
        QCOMPARE(column(window.lista(), 0),
                 QStringList({"Kowalski", "Adamczyk", "Bąk", "Żak", "Nowak", "Zieliński"}));
    }

    void addAndRenameGroup()
    {
        Ludzie window;
        // "dodaj" in the tree, with a group selected: the new group still goes under the root.
        selectNode(window, QStringLiteral("ID=%1").arg(m_alpha));
        Q_EMIT window.tvKat()->AddClick(QStringLiteral("ID=%1").arg(m_alpha));
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
        const QString name = QStringLiteral("Zmiana 'O'Neil' ; DROP TABLE grupy");
        Q_EMIT window.tvKat()->AfterRename(QString::number(id), name);
        QCOMPARE(db().scalar(QStringLiteral("SELECT nazwa FROM grupy WHERE id=?"), {id}).toString(),
                 name);
        window.GetGrupy();
        QCOMPARE(nodeWithKey(window, key)->text(0), name);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM grupy")), 3);
        QVERIFY(Messages::shown().isEmpty());
    }

    void renameInPlace()
    {
        // A group added in the shown window is open for typing its name at once.
        Ludzie window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Q_EMIT window.tvKat()->AddClick(QString());
        QLineEdit *editor = window.tvKat()->tree()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Gamma O'Brien"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the tree commits the edit from its event queue
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM grupy WHERE nazwa=?"),
                             {QStringLiteral("Gamma O'Brien")})
                     .toInt(),
                 1);
        QCOMPARE(window.tvKat()->SelectedItem()->text(0), QStringLiteral("Gamma O'Brien"));
        QVERIFY(Messages::shown().isEmpty());
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
        db().execute(QStringLiteral("INSERT INTO zwolnienia (od, \"do\", rodzaj, id_item, opis) "
                                    "VALUES ('2024-05-01', '2024-05-02', 0, ?, 'L4')"),
                     {QString::number(absent)});

        Ludzie window;
        const QString key = QStringLiteral("ID=%1").arg(m_alpha);
        selectNode(window, key);
        window.nodeClick(key);
        QCOMPARE(window.lista()->topLevelItemCount(), 3);

        Messages::setNextAnswer(Messages::Answer(answer));
        Q_EMIT window.tvKat()->DeleteClick(key);
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
        window.deleteGroup(QStringLiteral("ALL"));
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
        window.lista()->clearSelection();
        // Nothing selected: no question.
        window.deletePeople();
        QVERIFY(Messages::shown().isEmpty());

        rowWithSurname(window.lista(), "Kowalski")->setSelected(true);
        rowWithSurname(window.lista(), "Zieliński")->setSelected(true);
        Messages::setNextAnswer(Messages::Answer(answer));
        window.deletePeople();
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Czy chcesz usunąć wybrane pozycje?")});
        QCOMPARE(column(window.lista(), 0), left);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ludzie")), left.size());
    }

    void newPersonNeedsAGroup()
    {
        TestLudzie window;
        selectNode(window, QStringLiteral("ALL"));
        window.toolbarClick(QStringLiteral("new"));
        QCOMPARE(Messages::shown(), QStringList{QStringLiteral(
                                        "Proszę wybrać grupę, do której ma zostać dodana osoba.")});
        QCOMPARE(window.modalCount, 0);

        // With a group chosen, the editor stores a person of that group.
        const QString key = QStringLiteral("ID=%1").arg(m_beta);
        selectNode(window, key);
        window.nodeClick(key);
        window.onModal = [](QDialog &dialog) {
            auto &editor = static_cast<Ludzie_item &>(dialog);
            editor.findChild<QLineEdit *>(QStringLiteral("txt0"))
                ->setText(QStringLiteral("O'Neil"));
            editor.findChild<QLineEdit *>(QStringLiteral("txt1"))->setText(QStringLiteral("Shaun"));
            QVERIFY(editor.save());
        };
        Q_EMIT window.findChild<ToolBarN *>()->ItemClick(QStringLiteral("new"));
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
        QTreeWidgetItem *row = rowWithSurname(window.lista(), "Kowalski");
        window.lista()->clearSelection();
        window.lista()->setCurrentItem(row);
        window.onModal = [](QDialog &dialog) {
            auto &editor = static_cast<Ludzie_item &>(dialog);
            editor.findChild<QLineEdit *>(QStringLiteral("txt0"))
                ->setText(QStringLiteral("Kowalska"));
            QVERIFY(editor.save());
        };
        // Enter in the list edits the selected person.
        QTest::keyClick(window.lista(), Qt::Key_Return);
        QCOMPARE(window.modalCount, 1);
        QCOMPARE(row->text(0), QStringLiteral("Kowalska"));
        auto rs = db().openQuery(QStringLiteral("SELECT * FROM ludzie WHERE nazwisko='Kowalska'"));
        QVERIFY(rs && !rs->eof());
        QCOMPARE(rs->integer(QStringLiteral("random")), 5);
        QCOMPARE(rs->text(QStringLiteral("id_grupa")), QString::number(m_alpha));

        // A person deleted behind the window's back: a message, no editor.
        db().execute(QStringLiteral("DELETE FROM ludzie WHERE nazwisko='Kowalska'"));
        window.toolbarClick(QStringLiteral("edit"));
        QCOMPARE(window.modalCount, 1);
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Wybrana osoba nie istnieje już w bazie danych.")});

        // Nothing selected: nothing happens.
        window.lista()->clearSelection();
        window.toolbarClick(QStringLiteral("edit"));
        QCOMPARE(window.modalCount, 1);
    }

    void picker()
    {
        SelectItem picker;
        picker.setResult(QStringLiteral("stale"));
        Ludzie window;
        window.setMyClass(&picker);
        QVERIFY(!window.findChildren<QWidget *>().isEmpty());

        // Nothing selected: an empty answer.
        window.lista()->clearSelection();
        window.answerPicker();
        QCOMPARE(picker.Result(), QString());
        QVERIFY(window.MyClass() == nullptr);

        Ludzie again;
        again.setMyClass(&picker);
        again.sortByColumn(1);
        again.sortByColumn(1); // Piotr, Jan, Ewa, Adam
        again.lista()->clearSelection();
        const qint64 kowalski =
            count(QStringLiteral("SELECT id FROM ludzie WHERE nazwisko='Kowalski'"));
        const qint64 nowak = count(QStringLiteral("SELECT id FROM ludzie WHERE nazwisko='Nowak'"));
        rowWithSurname(again.lista(), "Kowalski")->setSelected(true);
        rowWithSurname(again.lista(), "Nowak")->setSelected(true);
        rowWithSurname(again.lista(), "Zieliński")->setSelected(true);
        // Gone since the list was filled: left out.
        db().execute(QStringLiteral("DELETE FROM ludzie WHERE nazwisko='Zieliński'"));
        again.answerPicker();
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
        db().execute(
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
