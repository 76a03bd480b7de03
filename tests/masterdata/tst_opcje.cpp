#include "MasterDataFixture.h"
#include "controls/BlueCommand.h"
#include "core/Tools.h"
#include "masterdata/Opcje.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolBar>

#include <utility>

namespace {

using MasterDataTest::column;
using MasterDataTest::field;

const QString ReEnter = QStringLiteral("Proszę wpisać ponownie wymiary minimalne komórek!");
const QString TooLarge = QStringLiteral("Wymiary komórki są zbyt duże!");
const QString Mismatch = QStringLiteral("Ponownie podane hasło nie jest takie samo!");
const QString WrongOld = QStringLiteral("Podane obecne hasło jest nieprawidłowe!");
const QString Removed = QStringLiteral("Hasło zostało usunięte.");

// The window as the planner has it: open and active.
bool shown(Opcje &window)
{
    return window.isActiveWindow() || Keyboard::showActive(window);
}

// A click on "Zapisz"; true when the window closed as saved.
bool pressSave(Opcje &window)
{
    return shown(window) && Mouse::click(*field<BlueCommand>(window, "ButtonSave")) &&
           window.result() == QDialog::Accepted && !window.isVisible();
}

QLineEdit *box(const Opcje &window, const char *name)
{
    return field<QLineEdit>(window, name);
}

// A click on the ranks toolbar's button "add", "edit" or "del".
[[nodiscard]] bool toolbar(Opcje &window, const QString &key)
{
    if (!shown(window))
        return false;
    auto *bar = field<QToolBar>(window, "tbStopnie");
    if (!Mouse::revealTab(*bar))
        return false;
    for (QAction *action : bar->actions())
        if (action->data().toString() == key)
            return Mouse::clickAction(*bar, action);
    qWarning("no toolbar button %s", qPrintable(key));
    return false;
}

[[nodiscard]] bool clickRank(Opcje &window, int row)
{
    auto *list = field<QTreeWidget>(window, "lvStopnie");
    return shown(window) && Mouse::revealTab(*list) &&
           Mouse::clickRow(*list, list->topLevelItem(row));
}

// Types text into the open in-place editor of the ranks list; Enter ends the edit.
void typeRank(const Opcje &window, const QString &text, bool enter = true)
{
    // A closed editor lingers, hidden, until the event loop deletes it.
    QLineEdit *editor = nullptr;
    const auto editors = field<QTreeWidget>(window, "lvStopnie")->findChildren<QLineEdit *>();
    for (QLineEdit *e : editors) {
        if (!e->isHidden())
            editor = e;
    }
    QVERIFY(editor);
    editor->setText(text);
    if (enter)
        QTest::keyClick(editor, Qt::Key_Return);
}

} // namespace

class TestOpcje : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    clsOptions &options() { return *Globals::options(); }
    QString stored(const QString &name)
    {
        return db()
            .scalar(QStringLiteral("SELECT Value FROM opcje WHERE Name=?"), {name})
            .toString();
    }
    QStringList ranks()
    {
        QStringList names;
        auto rs = db().openTable(QStringLiteral("stopnie"));
        for (; rs && !rs->eof(); rs->moveNext())
            names << rs->text(QStringLiteral("nazwa"));
        return names;
    }
    void addRanks(const QStringList &names)
    {
        for (const QString &name : names)
            QVERIFY(db().execute(QStringLiteral("INSERT INTO stopnie (nazwa) VALUES (?)"), {name}));
    }
    // Refuses writes of one option, as a read-only file or a locked table would.
    void lockOption(const QString &name)
    {
        for (const char *event : {"UPDATE", "INSERT"})
            QVERIFY(db().execute(
                QStringLiteral("CREATE TRIGGER lock_%1_%2 BEFORE %2 ON opcje WHEN NEW.Name = '%1' "
                               "BEGIN SELECT RAISE(ABORT, 'opcje zablokowane'); END")
                    .arg(name, QString::fromLatin1(event))));
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
    }

    void cleanup() { closeDatabase(); }

    void load_data()
    {
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("priority");
        QTest::addColumn<int>("shownPriority");
        QTest::newRow("no password") << QString() << QStringLiteral("1") << 1;
        QTest::newRow("password, unknown priority")
            << Tools::GetMD5(QStringLiteral("x")) << QStringLiteral("7") << 0;
    }

    void load()
    {
        QFETCH(QString, pass);
        QFETCH(QString, priority);
        QFETCH(int, shownPriority);
        options().SetOption(QStringLiteral("CellShow"), QStringLiteral("[stopien]\r\n[nazwisko]"));
        options().SetOption(QStringLiteral("Priorytet"), priority);
        options().SetOption(QStringLiteral("CellWidth"), QStringLiteral("2,5"));
        options().SetOption(QStringLiteral("CellHeight"), QStringLiteral("1.5"));
        options().SetOption(QStringLiteral("Pass"), pass);
        addRanks(
            {QStringLiteral("Szeregowy"), QStringLiteral("Łącznik"), QStringLiteral("Kapral")});

        Opcje window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Opcje"));
        QCOMPARE(field<QPlainTextEdit>(window, "txtCellShow")->toPlainText(),
                 QStringLiteral("[stopien]\n[nazwisko]"));
        QCOMPARE(field<QComboBox>(window, "polePriorytet")->currentIndex(), shownPriority);
        QCOMPARE(box(window, "txtSize0")->text(), QStringLiteral("2,5"));
        QCOMPARE(box(window, "txtSize1")->text(), QStringLiteral("1.5"));
        const auto *places = field<QListWidget>(window, "lstCellShow");
        QCOMPARE(places->count(), 4);
        QCOMPARE(places->currentItem()->text(), QStringLiteral("nazwisko"));
        // Polish order: Ł after L, not after Z.
        const auto *list = field<QTreeWidget>(window, "lvStopnie");
        QCOMPARE(column(list, 0), QStringList({"Kapral", "Łącznik", "Szeregowy"}));
        QVERIFY(list->topLevelItem(0)->isSelected());

        const bool exists = !pass.isEmpty();
        QCOMPARE(box(window, "txtPass0")->isEnabled(), exists);
        QCOMPARE(field<QLabel>(window, "Label2")->isEnabled(), exists);
        QVERIFY(field<QLabel>(window, "lblPass")
                    ->text()
                    .startsWith(exists ? QStringLiteral("Hasło już istnieje.")
                                       : QStringLiteral("Hasło nie zostało ustawione.")));

        // The line break goes back as the CR LF it was read as.
        QVERIFY(pressSave(window));
        QCOMPARE(stored(QStringLiteral("CellShow")), QStringLiteral("[stopien]\r\n[nazwisko]"));
        QVERIFY(Messages::shown().isEmpty());
    }

    void placeholders()
    {
        Opcje window;
        QVERIFY(shown(window));
        auto *text = field<QPlainTextEdit>(window, "txtCellShow");
        auto *places = field<QListWidget>(window, "lstCellShow");
        text->setPlainText(QStringLiteral("Pan X"));
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(4);
        cursor.setPosition(5, QTextCursor::KeepAnchor); // "X" selected
        text->setTextCursor(cursor);
        QVERIFY(Mouse::clickRow(*places, 2));
        QVERIFY(Mouse::click(*field<BlueCommand>(window, "ButtonWstaw")));
        QCOMPARE(text->toPlainText(), QStringLiteral("Pan [stopien]"));

        cursor = text->textCursor();
        cursor.setPosition(0);
        text->setTextCursor(cursor);
        QVERIFY(Mouse::doubleClickRow(*places, 3));
        QCOMPARE(text->toPlainText(), QStringLiteral("[grupa]Pan [stopien]"));

        // Enter in the template breaks the line instead of saving.
        auto *save = field<BlueCommand>(window, "ButtonSave");
        QVERIFY(save->isDefault());
        QVERIFY(Mouse::clickWidget(*text->viewport()));
        QVERIFY(text->hasFocus());
        QVERIFY(!save->isDefault());
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(window.isVisible());
        QCOMPARE(text->toPlainText(), QStringLiteral("[grupa]Pan [stopien]\n"));
        QVERIFY(Mouse::clickRow(*places, 0));
        QVERIFY(save->isDefault());
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("message"); // empty: stored
        QTest::newRow("comma, half rounds to even")
            << QStringLiteral("20,5") << QStringLiteral("1") << QString();
        QTest::newRow("point, blanks")
            << QStringLiteral(" 0.4") << QStringLiteral("20.49") << QString();
        QTest::newRow("rounds to 21") << QStringLiteral("20.6") << QStringLiteral("1") << TooLarge;
        QTest::newRow("height 21") << QStringLiteral("2") << QStringLiteral("21") << TooLarge;
        QTest::newRow("huge") << QStringLiteral("99999999999999999999") << QStringLiteral("1")
                              << TooLarge;
        QTest::newRow("not a number") << QStringLiteral("2") << QStringLiteral("abc") << ReEnter;
        QTest::newRow("two separators")
            << QStringLiteral("1,2.5") << QStringLiteral("1") << ReEnter;
        QTest::newRow("empty") << QString() << QStringLiteral("1") << ReEnter;
        QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("1") << ReEnter;
        QTest::newRow("negative") << QStringLiteral("3") << QStringLiteral("-1") << ReEnter;
        // Not a number comes first, even with the other size too large.
        QTest::newRow("both wrong") << QStringLiteral("50") << QStringLiteral("x") << ReEnter;
    }

    void sizes()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, message);
        addRanks({QStringLiteral("Kapral")});
        const QString oldShow = options().GetOption(QStringLiteral("CellShow"));
        const QString oldWidth = stored(QStringLiteral("CellWidth"));

        Opcje window;
        field<QPlainTextEdit>(window, "txtCellShow")
            ->setPlainText(QStringLiteral("[imie] [nazwisko]"));
        field<QComboBox>(window, "polePriorytet")->setCurrentIndex(1);
        box(window, "txtSize0")->setText(width);
        box(window, "txtSize1")->setText(height);
        QVERIFY(toolbar(window, QStringLiteral("del")));
        const bool saved = pressSave(window);

        if (message.isEmpty()) {
            QVERIFY(saved);
            QVERIFY(Messages::shown().isEmpty());
            // As typed, not rounded; in memory and in the table alike.
            for (const auto &[name, value] :
                 {std::pair{QStringLiteral("CellShow"), QStringLiteral("[imie] [nazwisko]")},
                  std::pair{QStringLiteral("Priorytet"), QStringLiteral("1")},
                  std::pair{QStringLiteral("CellWidth"), width},
                  std::pair{QStringLiteral("CellHeight"), height}}) {
                QCOMPARE(options().GetOption(name), value);
                QCOMPARE(stored(name), value);
            }
            QCOMPARE(ranks(), QStringList());
        } else {
            QVERIFY(!saved);
            QCOMPARE(Messages::shown(), QStringList{message});
            QCOMPARE(options().GetOption(QStringLiteral("CellShow")), oldShow);
            QCOMPARE(stored(QStringLiteral("CellWidth")), oldWidth);
            QCOMPARE(ranks(), QStringList{QStringLiteral("Kapral")});
            // The typed values stay for correcting.
            QCOMPARE(box(window, "txtSize0")->text(), width);
        }
    }

    void password_data()
    {
        QTest::addColumn<QString>("current"); // password set before, empty for none
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("result"); // password afterwards, empty for none
        QTest::addColumn<QString>("message");
        const QString set = QStringLiteral("tajne");
        QTest::newRow("set") << QString() << QString() << QStringLiteral("Zażółć1")
                             << QStringLiteral("Zażółć1") << QStringLiteral("Zażółć1") << QString();
        QTest::newRow("repetition only") << QString() << QString() << QString()
                                         << QStringLiteral("abc") << QString() << QString();
        QTest::newRow("set, repetition differs") << QString() << QString() << QStringLiteral("abc")
                                                 << QStringLiteral("ABC") << QString() << Mismatch;
        QTest::newRow("change") << set << set << QStringLiteral("nowe") << QStringLiteral("nowe")
                                << QStringLiteral("nowe") << QString();
        QTest::newRow("remove") << set << set << QString() << QString() << QString() << Removed;
        QTest::newRow("old wrong case") << set << QStringLiteral("Tajne") << QStringLiteral("nowe")
                                        << QStringLiteral("nowe") << set << WrongOld;
        QTest::newRow("old missing") << set << QString() << QStringLiteral("nowe")
                                     << QStringLiteral("nowe") << set << WrongOld;
        QTest::newRow("change, repetition differs")
            << set << set << QStringLiteral("nowe") << QString() << set << Mismatch;
        QTest::newRow("nothing typed")
            << set << QString() << QString() << QString() << set << QString();
    }

    void password()
    {
        QFETCH(QString, current);
        QFETCH(QString, old);
        QFETCH(QString, fresh);
        QFETCH(QString, again);
        QFETCH(QString, result);
        QFETCH(QString, message);
        const auto digest = [](const QString &p) {
            return p.isEmpty() ? QString() : Tools::GetMD5(p);
        };
        options().SetOption(QStringLiteral("Pass"), digest(current));

        Opcje window;
        box(window, "txtPass0")->setText(old);
        box(window, "txtPass1")->setText(fresh);
        box(window, "txtPass2")->setText(again);
        field<QComboBox>(window, "polePriorytet")->setCurrentIndex(1);
        QVERIFY(toolbar(window, QStringLiteral("add")));
        typeRank(window, QStringLiteral("Kapral"));

        // A refused password does not stop the rest of the save.
        QVERIFY(pressSave(window));
        QCOMPARE(Messages::shown(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(options().GetOption(QStringLiteral("Pass")), digest(result));
        QCOMPARE(stored(QStringLiteral("Pass")), digest(result));
        QCOMPARE(stored(QStringLiteral("Priorytet")), QStringLiteral("1"));
        QCOMPARE(ranks(), QStringList{QStringLiteral("Kapral")});
    }

    void passwordNotWritten()
    {
        lockOption(QStringLiteral("Pass"));
        Opcje window;
        box(window, "txtPass1")->setText(QStringLiteral("abc"));
        box(window, "txtPass2")->setText(QStringLiteral("abc"));
        QVERIFY(pressSave(window));
        const QStringList shown = Messages::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Nie udało się zapisać hasła")),
                 qPrintable(shown[0]));
        QVERIFY(shown[0].contains(QStringLiteral("opcje zablokowane")));
        // Neither the file nor the rest of this run believes in the new password.
        QCOMPARE(stored(QStringLiteral("Pass")), QString());
        QCOMPARE(options().GetOption(QStringLiteral("Pass")), QString());
    }

    void removalNotWritten()
    {
        const QString digest = Tools::GetMD5(QStringLiteral("tajne"));
        options().SetOption(QStringLiteral("Pass"), digest);
        lockOption(QStringLiteral("Pass"));
        Opcje window;
        box(window, "txtPass0")->setText(QStringLiteral("tajne"));
        QVERIFY(pressSave(window));
        QVERIFY(!Messages::shown().contains(Removed));
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(stored(QStringLiteral("Pass")), digest);
        QCOMPARE(options().GetOption(QStringLiteral("Pass")), digest);
    }

    void optionsNotWritten()
    {
        addRanks({QStringLiteral("Kapral")});
        lockOption(QStringLiteral("CellShow"));
        Opcje window;
        QVERIFY(toolbar(window, QStringLiteral("del")));
        QVERIFY(!pressSave(window));
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown()[0].startsWith(QStringLiteral("Nie udało się zapisać opcji")));
        QCOMPARE(ranks(), QStringList{QStringLiteral("Kapral")});
    }

    void ranksOnlyOnSave()
    {
        addRanks({QStringLiteral("Kapral"), QStringLiteral("Szeregowy")});
        const QStringList before = ranks();
        Opcje window;
        QVERIFY(shown(window));
        auto *list = field<QTreeWidget>(window, "lvStopnie");

        QVERIFY(toolbar(window, QStringLiteral("add")));
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("Nowy"));
        typeRank(window, QString()); // an empty name keeps "Nowy"
        QCOMPARE(column(list, 0), QStringList({"Kapral", "Szeregowy", "Nowy"}));

        QVERIFY(clickRank(window, 0));
        QVERIFY(toolbar(window, QStringLiteral("edit")));
        typeRank(window, QStringLiteral("Sierżant"));
        QVERIFY(clickRank(window, 1));
        QVERIFY(toolbar(window, QStringLiteral("del")));
        QCOMPARE(column(list, 0), QStringList({"Sierżant", "Nowy"}));

        // Still typing when "Zapisz" is pressed: the typed name counts.
        QVERIFY(toolbar(window, QStringLiteral("add")));
        typeRank(window, QStringLiteral("Chorąży"), false);
        QCOMPARE(ranks(), before);

        QVERIFY(pressSave(window));
        QCOMPARE(ranks(), QStringList({"Sierżant", "Nowy", "Chorąży"}));

        // Shown again: afresh from the table, sorted; "Zamknij" stores nothing.
        QVERIFY(shown(window));
        QCOMPARE(column(list, 0), QStringList({"Chorąży", "Nowy", "Sierżant"}));
        QVERIFY(toolbar(window, QStringLiteral("del")));
        QVERIFY(Mouse::click(*field<BlueCommand>(window, "ButtonClose")));
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(ranks(), QStringList({"Sierżant", "Nowy", "Chorąży"}));

        QVERIFY(shown(window));
        while (list->topLevelItemCount() > 0) {
            QVERIFY(clickRank(window, 0));
            QVERIFY(toolbar(window, QStringLiteral("del")));
        }
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(toolbar(window, QStringLiteral("edit"))); // nothing selected: nothing happens
        QVERIFY(pressSave(window));
        QCOMPARE(ranks(), QStringList());
    }

    // A character the roster file cannot hold (pasted) in the cell template
    // or a rank is refused before anything is stored.
    void refusesWhatTheFilesCannotHold_data()
    {
        QTest::addColumn<bool>("rank");
        QTest::addColumn<QString>("caption");
        QTest::newRow("cell template") << false << QStringLiteral("Tekst na pojedynczej komórce");
        QTest::newRow("rank") << true << QStringLiteral("Stopnie");
    }

    void refusesWhatTheFilesCannotHold()
    {
        QFETCH(bool, rank);
        QFETCH(QString, caption);
        addRanks({QStringLiteral("Kapral")});
        const QString cellShow = stored(QStringLiteral("CellShow"));
        Opcje window;
        QVERIFY(shown(window));
        if (rank) {
            QVERIFY(toolbar(window, QStringLiteral("add")));
        } else {
            QVERIFY(Mouse::clickWidget(*field<QPlainTextEdit>(window, "txtCellShow")));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
        }
        MasterDataTest::paste(QStringLiteral("\u0002"));
        if (rank)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!pressSave(window));
        QCOMPARE(Messages::shown(),
                 QStringList{MasterDataTest::refusal(caption, QStringLiteral("U+0002"))});
        QVERIFY(window.isVisible());
        QCOMPARE(stored(QStringLiteral("CellShow")), cellShow);
        QCOMPARE(ranks(), QStringList{QStringLiteral("Kapral")});
    }

    // A rank cut at the list's width shows whole as the row's tooltip.
    void cutRankShowsWhole()
    {
        const QString rank = QStringLiteral("starszy chorąży sztabowy marynarki wojennej "
                                            "w stanie spoczynku, absolwent akademii, "
                                            "odznaczony krzyżem zasługi");
        addRanks({QStringLiteral("kpr."), rank});
        Opcje window;
        QVERIFY(shown(window));
        auto *list = field<QTreeWidget>(window, "lvStopnie");
        QVERIFY(Mouse::revealTab(*list));
        QCOMPARE(MasterDataTest::tooltipOf(list, list->model()->index(1, 0)), rank);
        QCOMPARE(MasterDataTest::tooltipOf(list, list->model()->index(0, 0)), QString());
    }

    // A name with a quote is a value, never SQL.
    void quotedRank()
    {
        Opcje window;
        QVERIFY(toolbar(window, QStringLiteral("add")));
        typeRank(window, QStringLiteral("O'Brien'); DELETE FROM opcje; --"));
        QVERIFY(pressSave(window));
        QCOMPARE(ranks(), QStringList{QStringLiteral("O'Brien'); DELETE FROM opcje; --")});
        QVERIFY(!stored(QStringLiteral("CellShow")).isEmpty());
    }
};

QTEST_MAIN(TestOpcje)
#include "tst_opcje.moc"
