#include "ListBoxes.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "engine/WizItem.h"
#include "engine/ui/Wizard.h"
#include "engine/ui/WizardFile.h"
#include "engine/ui/WizardItem.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <memory>

namespace {

const QChar Nul(u'\0');

QString list(const QStringList &entries)
{
    return entries.join(Nul);
}

// The main window's picker with its answers given in advance, by Rodzaj;
// next answers the next pick of any Rodzaj first.
class Host : public WizardHost
{
public:
    QMap<int, QStringList> answers;
    QStringList next;
    QList<int> picked;

    QString pick(int rodzaj) override
    {
        picked << rodzaj;
        if (!next.isEmpty())
            return next.takeFirst();
        QStringList &queue = answers[rodzaj];
        return queue.isEmpty() ? QString() : queue.takeFirst();
    }
};

bool shown(QWidget &window)
{
    return window.isVisible() || Keyboard::showActive(window);
}

// The rule editor's list button "add" or "del", where its toolbar draws it.
[[nodiscard]] bool clickTool(WizardItem &editor, int list, const QString &key)
{
    auto *bar = editor.findChild<QToolBar *>(QStringLiteral("tbButtons_%1").arg(list));
    return bar && shown(editor) && Mouse::clickAction(*bar, editor.toolbarAction(list, key));
}

// What the picker answers, added through the list's "Dodaj".
[[nodiscard]] bool add(Host &host, WizardItem &editor, int list, const QString &answer)
{
    host.next << answer;
    return clickTool(editor, list, QStringLiteral("add"));
}

// An item of the banner toolbar of the rule-set list or editor.
template <typename Window> [[nodiscard]] bool clickItem(Window &window, const QString &key)
{
    return shown(window) && Mouse::clickItem(*window.ToolBar(), key);
}

// A push button of the window, by name: "Command1" (the rule editor's
// "Zapisz"), "ButtonSave", "ButtonClose".
[[nodiscard]] bool press(QDialog &dialog, const char *name)
{
    auto *button = dialog.findChild<BlueCommand *>(QString::fromLatin1(name));
    return button && shown(dialog) && Mouse::click(*button);
}

// "Zapisz" of the rule-set editor; true when the set was stored and the window closed.
[[nodiscard]] bool pressSave(WizardFile &editor)
{
    return press(editor, "ButtonSave") && editor.result() == QDialog::Accepted &&
           !editor.isVisible();
}

// A rule's row of the rule-set editor, where the grid draws it.
[[nodiscard]] bool clickRule(WizardFile &editor, int row)
{
    return shown(editor) &&
           Mouse::clickIndex(*editor.Lista(), editor.Lista()->model()->index(row, 0));
}

// Drives the dialogs in place of showing them; a handler that does not
// accept leaves the dialog rejected.
struct Driver
{
    std::function<void(WizardFile &)> onFile;
    std::function<void(WizardItem &)> onItem;
    QStringList shownDialogs;

    WizardUi::ModalRunner runner()
    {
        return [this](QDialog &dialog) {
            shownDialogs << dialog.objectName();
            dialog.setResult(QDialog::Rejected);
            if (!Keyboard::showActive(dialog))
                QTest::qFail("the dialog did not come up", __FILE__, __LINE__);
            if (auto *file = dynamic_cast<WizardFile *>(&dialog); file && onFile)
                onFile(*file);
            else if (auto *item = dynamic_cast<WizardItem *>(&dialog); item && onItem)
                onItem(*item);
            dialog.hide();
            return dialog.result();
        };
    }
};

QStringList gridTexts(const QTableWidget *grid)
{
    QStringList result;
    for (int r = 0; r < grid->rowCount(); ++r)
        result << grid->item(r, 0)->text();
    return result;
}

using ListBoxes::clickButton;
using ListBoxes::clickEntry;
using ListBoxes::selectedTexts;
using ListBoxes::texts;

// Kind 2 for one group and one day: the editor's whole round through the picker.
void addGroupAbsence(Host &host, WizardItem &editor, const QString &group, const QString &days)
{
    host.answers[0] << group;
    host.answers[2] << days;
    editor.Combo1()->setCurrentIndex(4);
    QVERIFY(clickTool(editor, WizardItem::Subjects, QStringLiteral("add")));
    QVERIFY(clickTool(editor, WizardItem::Days, QStringLiteral("add")));
    QVERIFY(press(editor, "Command1"));
}

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::TestDatabase> m_file;

    static Db::Database &db() { return *Globals::database(); }

    static void exec(const QString &sql, const QVariantList &params = {})
    {
        QVERIFY2(db().execute(sql, params), qPrintable(db().errorString()));
    }

    // Every row of the query, its fields as texts.
    static QList<QStringList> rows(const QString &sql, const QVariantList &params = {})
    {
        QList<QStringList> result;
        auto rs = db().openQuery(sql, params);
        for (; rs && !rs->eof(); rs->moveNext()) {
            QStringList row;
            for (const QString &field : rs->fieldNames())
                row << rs->text(field);
            result << row;
        }
        return result;
    }

    // Set 4 "Stary" with three rules (ids 21, 22, 23).
    static void storeOldSet()
    {
        exec(QStringLiteral("INSERT INTO wizardlist (id, nazwa) VALUES (4, 'Stary'), (6, 'Inny')"));
        const QString sql = QStringLiteral("INSERT INTO wizardlist_items (id, id_parent, Kind, "
                                           "arg1, arg2, Dates) VALUES (?, ?, ?, ?, ?, ?)");
        exec(sql, {21, QStringLiteral("4"), 0, list({"3;Alfa", "12;Beta"}),
                   QStringLiteral("5;Patrol"), QStringLiteral("1;5;1-5")});
        exec(sql, {22, QStringLiteral("4"), 3, QStringLiteral("7;Kowalski Jan"), QString(),
                   QStringLiteral("12;12;12")});
        exec(sql, {23, QStringLiteral("4"), 4, QStringLiteral("5;Patrol"), QString(),
                   list({"3;4;3-4", "20;5;20-5"})});
        exec(sql, {30, QStringLiteral("6"), 2, QStringLiteral("3;Alfa"), QString(),
                   QStringLiteral("1;1;1")});
    }

    // Set 8: a short rule, the absence of 60 persons, two short rules.
    static void storeTallSet()
    {
        exec(QStringLiteral("INSERT INTO wizardlist (id, nazwa) VALUES (8, 'Duży')"));
        QStringList persons;
        for (int i = 1; i <= 60; ++i)
            persons << QStringLiteral("%1;Kowalski-Wiśniewski %1 Jan").arg(i);
        const QString sql =
            QStringLiteral("INSERT INTO wizardlist_items (id_parent, Kind, arg1, arg2, "
                           "Dates) VALUES ('8', ?, ?, ?, ?)");
        exec(sql, {4, QStringLiteral("5;Patrol"), QString(), QStringLiteral("3;4;3-4")});
        exec(sql, {3, list(persons), QString(), QStringLiteral("1;31;1-31")});
        exec(sql, {0, list({"3;Alfa", "12;Beta"}), QStringLiteral("5;Patrol"),
                   QStringLiteral("1;5;1-5")});
        exec(sql, {2, QStringLiteral("3;Alfa"), QString(), QStringLiteral("1;1;1")});
    }

private Q_SLOTS:
    void init()
    {
        m_file = std::make_unique<TestSupport::TestDatabase>();
        QVERIFY2(m_file->isValid(), qPrintable(m_file->errorString()));
        Globals::setDatabase(m_file->take());
        Globals::setOptions(clsOptions::load(db()));
        Messages::clearShown();
    }

    void cleanup()
    {
        Clock::setNow({});
        Globals::closeDatabase();
        m_file.reset();
    }

    // Each kind: its frames, the pickers it asks, and the rule it writes.
    void ruleOfEachKind_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption0");
        QTest::addColumn<QString>("caption1");
        QTest::addColumn<QList<int>>("pickers");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("groups take duties")
            << 0 << 0 << "Grupy:"
            << "wykonują tylko służby:" << QList<int>{0, 3, 2, 2}
            << "Grupy: Alfa, Beta wykonują tylko służby: Patrol w dniach: 5, 1-10";
        QTest::newRow("duties by groups")
            << 1 << 1 << "Służby:"
            << "są wykonywane tylko przez grupy:" << QList<int>{3, 0, 2, 2}
            << "Służby: Patrol są wykonywane tylko przez grupy: Alfa, Beta w dniach: 5, 1-10";
        QTest::newRow("people take duties")
            << 2 << 5 << "Ludzie:"
            << "wykonują tylko służby:" << QList<int>{1, 3, 2, 2}
            << "Ludzie: Kowalski Jan wykonują tylko służby: Patrol w dniach: 5, 1-10";
        QTest::newRow("duties by people")
            << 3 << 6 << "Służby:"
            << "są wykonywane tylko przez ludzi:" << QList<int>{3, 1, 2, 2}
            << "Służby: Patrol są wykonywane tylko przez ludzi: Kowalski Jan w dniach: 5, 1-10";
        QTest::newRow("groups absent")
            << 4 << 2 << "Zwolnienie dla grup:"
            << "" << QList<int>{0, 2, 2} << "Zwolnienie dla grup: Alfa, Beta w dniach: 5, 1-10";
        QTest::newRow("people absent")
            << 5 << 3 << "Zwolnienie dla osób:"
            << "" << QList<int>{1, 2, 2} << "Zwolnienie dla osób: Kowalski Jan w dniach: 5, 1-10";
        QTest::newRow("duties not needed")
            << 6 << 4 << "Zwolnienie służb:"
            << "" << QList<int>{3, 2, 2} << "Zwolnienie służb: Patrol w dniach: 5, 1-10";
    }

    void ruleOfEachKind()
    {
        QFETCH(int, position);
        QFETCH(int, kind);
        QFETCH(QString, caption0);
        QFETCH(QString, caption1);
        QFETCH(QList<int>, pickers);
        QFETCH(QString, sentence);

        const QMap<int, QString> answers = {{0, list({"3;Alfa", "12;Beta"})},
                                            {1, QStringLiteral("7;Kowalski Jan")},
                                            {3, QStringLiteral("5;Patrol")}};
        Host host;
        for (auto it = answers.begin(); it != answers.end(); ++it)
            host.answers[it.key()] << it.value();
        host.answers[2] << QStringLiteral("5;5") << QStringLiteral("1;10");

        WizItem rule;
        WizardItem editor(host);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Kreator ustawień - edycja zdarzenia"));
        editor.setMyItem(&rule);
        editor.SetNew();
        QVERIFY(editor.isNew());
        editor.Combo1()->setCurrentIndex(position);
        QCOMPARE(editor.Combo1()->currentData().toInt(), kind);
        QCOMPARE(editor.lbl(0)->title(), caption0);
        QCOMPARE(editor.lbl(1)->title(), caption1);
        const bool two = !caption1.isEmpty();
        QCOMPARE(editor.lbl(1)->isHidden(), !two);
        QCOMPARE(editor.List1(1)->isEnabled(), two);
        QCOMPARE(editor.toolbarAction(1, QStringLiteral("add"))->isEnabled(), two);

        for (int k = 0; k < 2; ++k)
            QCOMPARE(clickTool(editor, k, QStringLiteral("add")), k == 0 || two);
        QVERIFY(clickTool(editor, WizardItem::Days, QStringLiteral("add")));
        QVERIFY(clickTool(editor, WizardItem::Days, QStringLiteral("add")));
        QCOMPARE(host.picked, pickers);
        QCOMPARE(texts(editor.List1(2)), (QStringList{"5", "1-10"}));
        QCOMPARE(editor.dayRanges(), (QStringList{"5;5", "1;10"}));

        QVERIFY(press(editor, "Command1"));
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(!editor.isVisible());
        QCOMPARE(rule.Kind(), kind);
        QCOMPARE(rule.Argument1(), answers.value(pickers.at(0)));
        QCOMPARE(rule.Argument2(), two ? answers.value(pickers.at(1)) : QString());
        QCOMPARE(rule.Dates(), list({"5;5;5", "1;10;1-10"}));
        QCOMPARE(rule.MakeText(), sentence);
        QVERIFY(Messages::shown().isEmpty());
    }

    // Duplicates, deleting, changing the kind and the check on OK.
    void editorLists()
    {
        Host host;
        WizItem rule;
        rule.setArgument1(QStringLiteral("untouched"));
        WizardItem editor(host);
        editor.setMyItem(&rule);
        editor.SetNew();

        // Nothing picked adds nothing; the same id and the same range once,
        // two people of one name both.
        QVERIFY(clickTool(editor, WizardItem::Subjects, QStringLiteral("add")));
        QCOMPARE(editor.List1(0)->count(), 0);
        QVERIFY(add(host, editor, 0, list({"3;Alfa", "3;Alfa", "12;Beta"})));
        QVERIFY(add(host, editor, 0, QStringLiteral("3;Alfa")));
        QCOMPARE(texts(editor.List1(0)), (QStringList{"Alfa", "Beta"}));
        QVERIFY(add(host, editor, 0, QStringLiteral("40;Alfa")));
        QCOMPARE(texts(editor.List1(0)), (QStringList{"Alfa", "Beta", "Alfa"}));
        QVERIFY(add(host, editor, 2, QStringLiteral("5;10")));
        QVERIFY(add(host, editor, 2, QStringLiteral("5;10")));
        QVERIFY(add(host, editor, 2, QStringLiteral("7;7")));
        QVERIFY(add(host, editor, 2, QStringLiteral("20;5")));
        QCOMPARE(texts(editor.List1(2)), (QStringList{"5-10", "7", "20-5"}));

        // OK with an empty list in use: the rule stays as it was.
        QVERIFY(press(editor, "Command1"));
        QVERIFY(editor.isVisible());
        QCOMPARE(Messages::shown(), QStringList{"Nie wszystkie dane zostały podane!"});
        QCOMPARE(rule.Argument1(), QStringLiteral("untouched"));
        QCOMPARE(editor.result(), int(QDialog::Rejected));

        // Every selected day range goes with its stored range.
        QListWidget *days = editor.List1(2);
        clickEntry(days, 0);
        clickEntry(days, 2, Qt::ControlModifier);
        QCOMPARE(selectedTexts(days), (QStringList{"5-10", "20-5"}));
        QVERIFY(clickTool(editor, WizardItem::Days, QStringLiteral("del")));
        QCOMPARE(texts(days), QStringList{"7"});
        QCOMPARE(editor.dayRanges(), QStringList{"7;7"});
        if (days->item(0)->isSelected())
            clickEntry(days, 0, Qt::ControlModifier);
        QVERIFY(selectedTexts(days).isEmpty());
        QVERIFY(clickTool(editor, WizardItem::Days, QStringLiteral("del")));
        QCOMPARE(days->count(), 1);

        // Another kind, even one with the same lists, starts empty.
        editor.Combo1()->setCurrentIndex(4);
        QVERIFY(editor.lbl(1)->isHidden());
        for (int k = 0; k < 3; ++k)
            QCOMPARE(editor.List1(k)->count(), 0);
        QVERIFY(editor.dayRanges().isEmpty());
        QVERIFY(add(host, editor, 0, QStringLiteral("3;Alfa")));
        QCOMPARE(editor.List1(0)->count(), 1);
        editor.Combo1()->setCurrentIndex(0);
        QVERIFY(!editor.lbl(1)->isHidden());
        QCOMPARE(editor.List1(0)->count(), 0);

        // The second list of a one-list kind offers no "Dodaj" and asks no picker.
        editor.Combo1()->setCurrentIndex(5);
        host.picked.clear();
        QVERIFY(!clickTool(editor, WizardItem::Objects, QStringLiteral("add")));
        QVERIFY(host.picked.isEmpty());
    }

    // Each list's toolbar holds "Dodaj", a button without key or text, and
    // "Usuń". What "Dodaj" adds is all that is selected afterwards, so "Usuń"
    // right after it removes only that.
    void editorToolbarsByMouse()
    {
        Host host;
        WizItem rule;
        WizardItem editor(host);
        editor.setMyItem(&rule);
        editor.SetNew();
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        for (int k = 0; k < 3; ++k) {
            const QList<QAction *> buttons =
                editor.findChild<QToolBar *>(QStringLiteral("tbButtons_%1").arg(k))->actions();
            QCOMPARE(buttons.size(), 3);
            QCOMPARE(buttons.at(0)->text(), QStringLiteral("Dodaj"));
            QVERIFY(buttons.at(1)->text().isEmpty());
            QVERIFY(buttons.at(1)->isSeparator());
            QCOMPARE(buttons.at(2)->text(), QStringLiteral("Usuń"));
        }

        auto *bar = editor.findChild<QToolBar *>(QStringLiteral("tbButtons_0"));
        QListWidget *groups = editor.List1(WizardItem::Subjects);
        host.answers[0] << list({"3;Alfa", "12;Beta"}) << QStringLiteral("40;Gamma");
        clickButton(bar, editor.toolbarAction(WizardItem::Subjects, QStringLiteral("add")));
        QCOMPARE(selectedTexts(groups), QStringList{"Beta"});
        clickEntry(groups, 0);
        clickEntry(groups, 1, Qt::ControlModifier);
        QCOMPARE(selectedTexts(groups), (QStringList{"Alfa", "Beta"}));
        clickButton(bar, editor.toolbarAction(WizardItem::Subjects, QStringLiteral("add")));
        QCOMPARE(selectedTexts(groups), QStringList{"Gamma"});
        clickButton(bar, editor.toolbarAction(WizardItem::Subjects, QStringLiteral("del")));
        QCOMPARE(texts(groups), (QStringList{"Alfa", "Beta"}));

        // The day ranges alike, their stored ranges going with them.
        auto *daysBar = editor.findChild<QToolBar *>(QStringLiteral("tbButtons_2"));
        QListWidget *days = editor.List1(WizardItem::Days);
        host.answers[2] << QStringLiteral("1;5") << QStringLiteral("7;7");
        clickButton(daysBar, editor.toolbarAction(WizardItem::Days, QStringLiteral("add")));
        clickEntry(days, 0);
        clickButton(daysBar, editor.toolbarAction(WizardItem::Days, QStringLiteral("add")));
        QCOMPARE(selectedTexts(days), QStringList{"7"});
        clickButton(daysBar, editor.toolbarAction(WizardItem::Days, QStringLiteral("del")));
        QCOMPARE(texts(days), QStringList{"1-5"});
        QCOMPARE(editor.dayRanges(), QStringList{"1;5"});
    }

    // A stored rule shown again: names whole, ranges rebuilt from the days.
    void editorShowsStoredRule()
    {
        Host host;
        WizItem rule;
        rule.setID(QStringLiteral("21"));
        rule.setKind(6);
        rule.setArgument1(QStringLiteral("5;Patrol"));
        rule.setArgument2(list({"7;Kowalski; Jan", "8;Nowak Adam"}));
        rule.setDates(list({"3;4;x", "12;12;12"}));
        WizardItem editor(host);
        editor.setMyItem(&rule);
        editor.GetInfo();
        QVERIFY(!editor.isNew());
        QCOMPARE(editor.Combo1()->currentIndex(), 3);
        QCOMPARE(texts(editor.List1(0)), QStringList{"Patrol"});
        QCOMPARE(texts(editor.List1(1)), (QStringList{"Kowalski; Jan", "Nowak Adam"}));
        QCOMPARE(texts(editor.List1(2)), (QStringList{"3-4", "12"}));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(editor.List1(k)->currentRow(), 0);
            QCOMPARE(editor.List1(k)->selectedItems().size(), 1);
        }

        QVERIFY(press(editor, "Command1"));
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(rule.ID(), QStringLiteral("21"));
        QCOMPARE(rule.Argument2(), list({"7;Kowalski; Jan", "8;Nowak Adam"}));
        QCOMPARE(rule.Dates(), list({"3;4;3-4", "12;12;12"}));
    }

    // Opened, the rule-set editor takes typing in its name and the rule
    // editor's arrow keys choose the kind.
    void editorsByKeyboard()
    {
        Host host;
        WizardFile file(host);
        file.SetNew(QString());
        QVERIFY(Keyboard::showActive(file));
        Keyboard::type(QStringLiteral("Święta"));
        QCOMPARE(file.Text1()->text(), QStringLiteral("Święta"));
        file.close();

        WizardItem item(host);
        item.SetNew();
        QVERIFY(Keyboard::showActive(item));
        Keyboard::press(Qt::Key_Down);
        QCOMPARE(item.Combo1()->currentData().toInt(), 1);
        QCOMPARE(item.lbl(0)->title(), QStringLiteral("Służby:"));
    }

    // A new set: rules added through the rule editor, cancel adds none, save
    // writes the name and the exact rule texts.
    void newSetStored()
    {
        Host host;
        Driver driver;
        WizardFile editor(host);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Kreator ustawień - edycja"));
        editor.setModalRunner(driver.runner());
        editor.SetNew(QStringLiteral("Zestaw"));
        QCOMPARE(editor.setId(), qint64(-1));

        driver.onItem = [&](WizardItem &item) {
            addGroupAbsence(host, item, list({"3;Alfa", "12;Beta"}), QStringLiteral("3;4"));
        };
        QVERIFY(clickItem(editor, QStringLiteral("new")));
        driver.onItem = [&](WizardItem &item) {
            host.answers[1] << QStringLiteral("7;Kowalski Jan");
            item.Combo1()->setCurrentIndex(5);
            QVERIFY(clickTool(item, WizardItem::Subjects, QStringLiteral("add")));
            QVERIFY(press(item, "ButtonClose"));
        };
        QVERIFY(clickItem(editor, QStringLiteral("new")));
        QCOMPARE(driver.shownDialogs, (QStringList{"WizardItem", "WizardItem"}));
        QCOMPARE(gridTexts(editor.Lista()),
                 QStringList{"Zwolnienie dla grup: Alfa, Beta w dniach: 3-4"});
        QCOMPARE(editor.rules().size(), 1);
        QVERIFY(editor.Lista()->rowHeight(0) > editor.fontMetrics().height());

        QVERIFY(pressSave(editor));
        const qint64 id = editor.setId();
        QVERIFY(id > 0);
        QCOMPARE(rows(QStringLiteral("SELECT id, nazwa FROM wizardlist")),
                 (QList<QStringList>{{QString::number(id), "Zestaw"}}));
        QCOMPARE(
            rows(QStringLiteral("SELECT id_parent, Kind, arg1, arg2, Dates FROM wizardlist_items")),
            (QList<QStringList>{
                {QString::number(id), "2", list({"3;Alfa", "12;Beta"}), "", "3;4;3-4"}}));
        // Stored whole, NUL included: found by the bound full text.
        QCOMPARE(
            db().scalar(QStringLiteral(
                            "SELECT length(CAST(arg1 AS BLOB)) FROM wizardlist_items WHERE arg1=?"),
                        {list({"3;Alfa", "12;Beta"})})
                .toInt(),
            14);
        QCOMPARE(editor.rules().first().ID(),
                 rows(QStringLiteral("SELECT id FROM wizardlist_items")).first().first());
    }

    // Each check refuses and writes nothing.
    void saveRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("withRule");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << "" << true << "Proszę podać nazwę!";
        QTest::newRow("no rules") << "Zestaw" << false << "Proszę podać zdarzenia!";
        QTest::newRow("name taken")
            << "Stary" << true
            << "Podnana nazwa ustawień już istnieje w bazie danych! Proszę wybrać inną.";
        QTest::newRow("quote in name") << "Stary'" << true << "";
    }

    void saveRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, withRule);
        QFETCH(QString, message);
        storeOldSet();
        Host host;
        Driver driver;
        WizardFile editor(host);
        editor.setModalRunner(driver.runner());
        editor.SetNew(name);
        driver.onItem = [&](WizardItem &item) {
            addGroupAbsence(host, item, QStringLiteral("3;Alfa"), QStringLiteral("1;1"));
        };
        if (withRule)
            QVERIFY(clickItem(editor, QStringLiteral("new")));
        QVERIFY(press(editor, "ButtonSave"));
        const bool saved = editor.result() == QDialog::Accepted;
        QCOMPARE(editor.isVisible(), !saved);
        QCOMPARE(saved, message.isEmpty());
        QCOMPARE(Messages::shown(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM wizardlist")).first().first(),
                 saved ? QStringLiteral("3") : QStringLiteral("2"));
        QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM wizardlist_items")).first().first(),
                 saved ? QStringLiteral("5") : QStringLiteral("4"));
    }

    // A stored set: its rules in stored order; cancel keeps the database,
    // save updates in place, removes the deleted and adds the new.
    void storedSetEdited()
    {
        storeOldSet();
        Host host;
        Driver driver;
        const QStringList before = {
            "Grupy: Alfa, Beta wykonują tylko służby: Patrol w dniach: 1-5",
            "Zwolnienie dla osób: Kowalski Jan w dniach: 12",
            "Zwolnienie służb: Patrol w dniach: 3-4, 20-5",
        };
        const QList<QStringList> stored =
            rows(QStringLiteral("SELECT * FROM wizardlist_items ORDER BY id"));

        for (bool save : {false, true}) {
            WizardFile editor(host);
            editor.setModalRunner(driver.runner());
            QVERIFY(editor.GetList(4));
            editor.Text1()->setText(QStringLiteral("Stary"));
            QCOMPARE(gridTexts(editor.Lista()), before);
            QCOMPARE(editor.Lista()->item(1, 0)->data(Qt::UserRole).toLongLong(), 22);

            // Edit the first rule: one more day range; a cancelled edit changes nothing.
            QVERIFY(clickRule(editor, 0));
            driver.onItem = [&](WizardItem &item) {
                QVERIFY(add(host, item, 2, QStringLiteral("7;7")));
                QVERIFY(press(item, "ButtonClose"));
            };
            QVERIFY(clickItem(editor, QStringLiteral("edit")));
            QCOMPARE(gridTexts(editor.Lista()), before);
            driver.onItem = [&](WizardItem &item) {
                QVERIFY(add(host, item, 2, QStringLiteral("7;7")));
                QVERIFY(press(item, "Command1"));
            };
            QVERIFY(clickItem(editor, QStringLiteral("edit")));
            QVERIFY(clickRule(editor, 1));
            QVERIFY(clickItem(editor, QStringLiteral("del")));
            driver.onItem = [&](WizardItem &item) {
                addGroupAbsence(host, item, QStringLiteral("12;Beta"), QStringLiteral("2;2"));
            };
            QVERIFY(clickItem(editor, QStringLiteral("new")));
            QVERIFY(clickRule(editor, 2));
            // Added since opening: nothing to remove on save.
            QVERIFY(clickItem(editor, QStringLiteral("del")));
            QVERIFY(clickItem(editor, QStringLiteral("new")));
            QCOMPARE(editor.pendingDeletions(), QStringList{"22"});
            QCOMPARE(
                gridTexts(editor.Lista()),
                (QStringList{"Grupy: Alfa, Beta wykonują tylko służby: Patrol w dniach: 1-5, 7",
                             before.at(2), "Zwolnienie dla grup: Beta w dniach: 2"}));
            if (!save) {
                QVERIFY(press(editor, "ButtonClose"));
                QCOMPARE(editor.result(), int(QDialog::Rejected));
                QCOMPARE(rows(QStringLiteral("SELECT * FROM wizardlist_items ORDER BY id")),
                         stored);
                continue;
            }
            editor.Text1()->setText(QStringLiteral("Nowy"));
            QVERIFY(pressSave(editor));
        }
        QCOMPARE(rows(QStringLiteral("SELECT nazwa FROM wizardlist WHERE id=4")),
                 QList<QStringList>{{"Nowy"}});
        const QList<QStringList> after = rows(
            QStringLiteral("SELECT id, id_parent, Kind, Dates FROM wizardlist_items ORDER BY id"));
        QCOMPARE(after.size(), 4);
        QCOMPARE(after.at(0), (QStringList{"21", "4", "0", list({"1;5;1-5", "7;7;7"})}));
        QCOMPARE(after.at(1), (QStringList{"23", "4", "4", list({"3;4;3-4", "20;5;20-5"})}));
        QCOMPARE(after.at(2), (QStringList{"30", "6", "2", "1;1;1"}));
        QCOMPARE(after.at(3).mid(1), (QStringList{"4", "2", "2;2;2"}));
        QVERIFY(after.at(3).at(0).toLongLong() > 30);
    }

    // A failure part-way through a save leaves the stored set as it was.
    void failedSaveWritesNothing()
    {
        storeOldSet();
        exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON wizardlist_items "
            "WHEN instr(NEW.arg1, 'Zła') > 0 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        const QList<QStringList> stored =
            rows(QStringLiteral("SELECT * FROM wizardlist_items ORDER BY id"));
        Host host;
        Driver driver;
        WizardFile editor(host);
        editor.setModalRunner(driver.runner());
        QVERIFY(editor.GetList(4));
        editor.Text1()->setText(QStringLiteral("Przemianowany"));
        QVERIFY(clickRule(editor, 0));
        QVERIFY(clickItem(editor, QStringLiteral("del")));
        driver.onItem = [&](WizardItem &item) {
            addGroupAbsence(host, item, QStringLiteral("9;Zła"), QStringLiteral("1;1"));
        };
        QVERIFY(clickItem(editor, QStringLiteral("new")));
        QVERIFY(press(editor, "ButtonSave"));
        QVERIFY(editor.isVisible());
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().first().contains(QStringLiteral("refused")));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM wizardlist_items ORDER BY id")), stored);
        QCOMPARE(rows(QStringLiteral("SELECT nazwa FROM wizardlist WHERE id=4")),
                 QList<QStringList>{{"Stary"}});
        QCOMPARE(editor.result(), int(QDialog::Rejected));
    }

    // The list of sets; without one, edit and delete do nothing.
    void listsStoredSets()
    {
        QCOMPARE(Wizard::newSetName(QDate(2007, 3, 5)),
                 QStringLiteral("Nowe ustawienia z dnia 05.03.2007"));
        Host host;
        Driver driver;
        {
            Wizard wizard(host);
            wizard.setModalRunner(driver.runner());
            QCOMPARE(wizard.windowTitle(), QStringLiteral("Kreator ustawień"));
            QCOMPARE(wizard.List1()->count(), 0);
            QCOMPARE(wizard.List1()->currentRow(), -1);
            QVERIFY(clickItem(wizard, QStringLiteral("edit")));
            QVERIFY(clickItem(wizard, QStringLiteral("del")));
            QVERIFY(driver.shownDialogs.isEmpty());
            QVERIFY(Messages::shown().isEmpty());
        }
        storeOldSet();
        Wizard wizard(host);
        QCOMPARE(texts(wizard.List1()), (QStringList{"Stary", "Inny"}));
        QCOMPARE(wizard.List1()->item(1)->data(Qt::UserRole).toLongLong(), 6);
        QCOMPARE(wizard.List1()->currentRow(), 0);
    }

    // Create, rename and delete through the list.
    void createRenameDelete()
    {
        storeOldSet();
        Host host;
        Driver driver;
        Wizard wizard(host);
        wizard.setModalRunner(driver.runner());

        // New: the proposed name is refused while taken, then the set is stored.
        Clock::setNow(QDateTime(QDate(2024, 2, 29), QTime(23, 59)));
        exec(QStringLiteral("INSERT INTO wizardlist (nazwa) VALUES (?)"),
             {Wizard::newSetName(QDate(2024, 2, 29))});
        driver.onFile = [&](WizardFile &file) {
            QCOMPARE(file.Text1()->text(), Wizard::newSetName(QDate(2024, 2, 29)));
            QVERIFY(clickItem(file, QStringLiteral("new")));
            QVERIFY(press(file, "ButtonSave"));
            QVERIFY(file.isVisible());
            file.Text1()->setText(QStringLiteral("Lato"));
            QVERIFY(pressSave(file));
        };
        driver.onItem = [&](WizardItem &item) {
            addGroupAbsence(host, item, QStringLiteral("3;Alfa"), QStringLiteral("1;1"));
        };
        QVERIFY(clickItem(wizard, QStringLiteral("new")));
        QCOMPARE(texts(wizard.List1()).last(), QStringLiteral("Lato"));
        QCOMPARE(wizard.List1()->currentRow(), 2);
        const qint64 id = wizard.List1()->currentItem()->data(Qt::UserRole).toLongLong();
        QCOMPARE(rows(QStringLiteral("SELECT nazwa FROM wizardlist WHERE id=?"), {id}),
                 QList<QStringList>{{"Lato"}});
        QCOMPARE(rows(QStringLiteral("SELECT arg1 FROM wizardlist_items WHERE id_parent=?"),
                      {QString::number(id)}),
                 QList<QStringList>{{"3;Alfa"}});

        // A cancelled new set adds nothing.
        driver.onFile = [](WizardFile &file) { QVERIFY(press(file, "ButtonClose")); };
        QVERIFY(clickItem(wizard, QStringLiteral("new")));
        QCOMPARE(wizard.List1()->count(), 3);

        // Rename the first set; its rules are shown to the editor.
        clickEntry(wizard.List1(), 0);
        driver.onFile = [&](WizardFile &file) {
            QCOMPARE(file.Text1()->text(), QStringLiteral("Stary"));
            QCOMPARE(file.Lista()->rowCount(), 3);
            file.Text1()->setText(QStringLiteral("Zima"));
            QVERIFY(pressSave(file));
        };
        QVERIFY(clickItem(wizard, QStringLiteral("edit")));
        QCOMPARE(wizard.List1()->item(0)->text(), QStringLiteral("Zima"));
        QCOMPARE(rows(QStringLiteral("SELECT nazwa FROM wizardlist WHERE id=4")),
                 QList<QStringList>{{"Zima"}});

        // Delete: No keeps it, Yes removes the set and all its rules.
        Messages::clearShown();
        Messages::setNextAnswer(Messages::Answer::No);
        QVERIFY(clickItem(wizard, QStringLiteral("del")));
        QCOMPARE(wizard.List1()->count(), 3);
        Messages::setNextAnswer(Messages::Answer::Yes);
        QVERIFY(clickItem(wizard, QStringLiteral("del")));
        QCOMPARE(Messages::shown(),
                 QStringList(2, QStringLiteral("Czy na pewno chcesz usunąć te ustawienia?")));
        QCOMPARE(texts(wizard.List1()).first(), QStringLiteral("Inny"));
        QCOMPARE(wizard.List1()->count(), 2);
        QVERIFY(wizard.List1()->selectedItems().isEmpty());
        QVERIFY(rows(QStringLiteral("SELECT * FROM wizardlist WHERE id=4")).isEmpty());
        QVERIFY(
            rows(QStringLiteral("SELECT * FROM wizardlist_items WHERE id_parent='4'")).isEmpty());
        QCOMPARE(rows(QStringLiteral("SELECT id FROM wizardlist_items WHERE id_parent='6'")),
                 QList<QStringList>{{"30"}});
        // Nothing selected: another delete asks nothing.
        QVERIFY(clickItem(wizard, QStringLiteral("del")));
        QCOMPARE(Messages::shown().size(), 2);
    }

    // Rows fit the width the column has after each real resize: what the
    // grid's own text layout needs, without a spare line.
    void ruleRowsFitTheWidth()
    {
        storeTallSet();
        Host host;
        WizardFile editor(host);
        QVERIFY(editor.GetList(8));
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QTableWidget *grid = editor.Lista();
        const int line = grid->fontMetrics().lineSpacing();
        for (const int width : {520, 900, 380, 520}) {
            editor.resize(width, 460);
            QTest::qWait(20);
            for (int row = 0; row < grid->rowCount(); ++row) {
                const int needed = static_cast<QAbstractItemView *>(grid)->sizeHintForRow(row);
                QVERIFY2(grid->rowHeight(row) >= needed && grid->rowHeight(row) < needed + line,
                         qPrintable(QStringLiteral("width %1 row %2: %3 for %4")
                                        .arg(width)
                                        .arg(row)
                                        .arg(grid->rowHeight(row))
                                        .arg(needed)));
            }
        }
    }

    // A rule taller than the grid is read to its end with the wheel and with
    // the arrow keys; nothing of it is skipped.
    void tallRuleScrolls()
    {
        storeTallSet();
        Host host;
        WizardFile editor(host);
        QVERIFY(editor.GetList(8));
        editor.resize(380, 300);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QTableWidget *grid = editor.Lista();
        QWidget *view = grid->viewport();
        const int tall = 1;
        QVERIFY(grid->rowHeight(tall) > 2 * view->height());
        const auto tallRect = [&] { return grid->visualRect(grid->model()->index(tall, 0)); };

        int top = tallRect().top();
        for (int step = 0; step < 100 && tallRect().bottom() >= view->height(); ++step) {
            QWheelEvent wheel(
                QPointF(view->rect().center()), view->mapToGlobal(QPointF(view->rect().center())),
                QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view, &wheel);
            QVERIFY(top - tallRect().top() > 0);
            QVERIFY(top - tallRect().top() <= view->height());
            top = tallRect().top();
        }
        QVERIFY(tallRect().bottom() < view->height());

        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, tallRect().top() + 5));
        QCOMPARE(grid->currentRow(), tall);
        top = tallRect().top();
        for (int step = 0; step < 200 && tallRect().bottom() >= view->height(); ++step) {
            QTest::keyClick(grid, Qt::Key_Down);
            QCOMPARE(grid->currentRow(), tall);
            QVERIFY(top - tallRect().top() > 0);
            QVERIFY(top - tallRect().top() <= view->height());
            top = tallRect().top();
        }
        QVERIFY(tallRect().bottom() < view->height());
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), tall + 1);
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(grid->currentRow(), tall);
        for (int step = 0; step < 100 && tallRect().top() < 0; ++step)
            QTest::keyClick(grid, Qt::Key_PageUp);
        QCOMPARE(tallRect().top(), 0);
        QCOMPARE(grid->currentRow(), tall);
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(grid->currentRow(), 0);
    }

    // A set never loses its rules while it stays.
    void failedDeleteKeepsRules()
    {
        storeOldSet();
        exec(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON wizardlist "
                            "BEGIN SELECT RAISE(ABORT, 'kept'); END"));
        Host host;
        Wizard wizard(host);
        Messages::setNextAnswer(Messages::Answer::Yes);
        QVERIFY(clickItem(wizard, QStringLiteral("del")));
        QCOMPARE(Messages::shown().size(), 2);
        QVERIFY(Messages::shown().last().contains(QStringLiteral("kept")));
        QCOMPARE(wizard.List1()->count(), 2);
        QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM wizardlist_items WHERE id_parent='4'")),
                 QList<QStringList>{{"3"}});
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
