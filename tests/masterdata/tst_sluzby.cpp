#include "MasterDataFixture.h"
#include "controls/ToolBarN.h"
#include "masterdata/SelectItem.h"
#include "masterdata/Sluzby.h"
#include "masterdata/Sluzby_item.h"
#include "platform/db/Recordset.h"
#include "tests/support/Keyboard.h"
#include "tests/support/Mouse.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTimeEdit>

namespace {

using MasterDataTest::column;
using MasterDataTest::field;
using MasterDataTest::saveShot;
using TestSluzbyWindow = MasterDataTest::InPlace<Sluzby, Sluzby_item>;

const QString Incomplete = QStringLiteral("Błędne lub niekompletne dane!");
const QString NotNumeric =
    QStringLiteral("Błędne dane numeryczne! Należy wstawić liczby tam, gdzie są one wymagane.");
const QString OutOfRange = QStringLiteral("Błędne dane numeryczne! Czas trwania musi być liczbą "
                                          "całkowitą od 1 do 744, ilość osób od 0 do 999, "
                                          "a odpoczynek od 0 do 744 godzin.");

} // namespace

class TestSluzby : public QObject, private MasterDataTest::DatabaseFixture
{
    Q_OBJECT

private:
    qint64 m_warta = 0;
    qint64 m_dyzur = 0;

    qint64 addDuty(const QString &name, const QString &od, int okres, int ilosc)
    {
        return TestSupport::insert(
            db(),
            QStringLiteral(
                "INSERT INTO sluzby (nazwa, od, okres, ilosc_std, kobiety, rest, calagrupa) "
                "VALUES (?, ?, ?, ?, 0, 24, 1)"),
            {name, od, okres, ilosc});
    }
    int dutyCount() { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM sluzby")).toInt(); }
    static bool clickItem(Sluzby &window, const QString &key)
    {
        return Mouse::clickItem(*window.findChild<ToolBarN *>(), key);
    }

private Q_SLOTS:
    void init()
    {
        QString error;
        QVERIFY2(openDatabase(&error), qPrintable(error));
        m_warta = addDuty(QStringLiteral("Warta"), QStringLiteral("08:00"), 24, 2);
        m_dyzur = addDuty(QStringLiteral("Dyżur"), QStringLiteral("19:30"), 12, 1);
    }

    void cleanup() { closeDatabase(); }

    void listAndSort()
    {
        Sluzby window;
        QVERIFY(Keyboard::showActive(window));
        QTreeWidget *list = window.lista();
        QCOMPARE(column(list, 0), QStringList({"Warta", "Dyżur"}));
        QCOMPARE(column(list, 1), QStringList({"08:00", "19:30"}));
        QCOMPARE(column(list, 2), QStringList({"24", "12"}));
        QCOMPARE(column(list, 3), QStringList({"2", "1"}));
        QVERIFY(list->topLevelItem(0)->isSelected());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("ButtonOK"))->isVisibleTo(&window));
        // "Grafik" opens the month calendar of head counts.
        QVERIFY(
            window.findChild<ToolBarN *>()->ListItems()->Item(QStringLiteral("grafik"))->Enabled());

        // The first click on "Nazwa" flips the recorded ascending order.
        QVERIFY(Mouse::clickHeader(*list, 0));
        QCOMPARE(column(list, 0), QStringList({"Warta", "Dyżur"}));
        QVERIFY(Mouse::clickHeader(*list, 0));
        QCOMPARE(column(list, 0), QStringList({"Dyżur", "Warta"}));
        QVERIFY(Mouse::clickHeader(*list, 2)); // texts: "12" < "24"
        QCOMPARE(column(list, 2), QStringList({"12", "24"}));
    }

    void emptyTable()
    {
        QVERIFY(TestSupport::exec(db(), QStringLiteral("DELETE FROM sluzby")));
        TestSluzbyWindow window;
        QVERIFY(Keyboard::showActive(window));
        QCOMPARE(window.lista()->topLevelItemCount(), 0);
        QVERIFY(clickItem(window, QStringLiteral("edit")));
        QVERIFY(clickItem(window, QStringLiteral("del")));
        QCOMPARE(window.modalCount, 0);
        QVERIFY(Messages::shown().isEmpty());
    }

    void deleteDuties_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("yes") << int(Messages::Answer::Yes) << 0;
        QTest::newRow("no") << int(Messages::Answer::No) << 2;
        QTest::newRow("cancel") << int(Messages::Answer::Cancel) << 2;
    }

    void deleteDuties()
    {
        QFETCH(int, answer);
        QFETCH(int, left);
        QVERIFY(TestSupport::exec(
            db(),
            QStringLiteral(
                "INSERT INTO sluzby_ilosc (id_sluzba, data, ilosc) VALUES (?, '2024-05-01', 3)"),
            {QString::number(m_warta)}));
        Sluzby window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(Mouse::clickRow(*window.lista(), window.lista()->topLevelItem(0)));
        QVERIFY(
            Mouse::clickRow(*window.lista(), window.lista()->topLevelItem(1), Qt::ShiftModifier));
        Messages::setNextAnswer(Messages::Answer(answer));
        QVERIFY(clickItem(window, QStringLiteral("del")));
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Czy chcesz usunąć wybrane pozycje?")});
        QCOMPARE(dutyCount(), left);
        QCOMPARE(window.lista()->topLevelItemCount(), left);
        // Head counts of a deleted duty stay.
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM sluzby_ilosc")).toInt(), 1);
    }

    void picker()
    {
        SelectItem picker;
        Sluzby window;
        window.setMyClass(&picker);
        QVERIFY(Keyboard::showActive(window));
        auto *choose = window.findChild<BlueCommand *>(QStringLiteral("ButtonOK"));
        QVERIFY(choose && choose->isVisible());
        QVERIFY(
            Mouse::clickRow(*window.lista(), window.lista()->topLevelItem(0), Qt::ControlModifier));
        QVERIFY(window.lista()->selectedItems().isEmpty());
        QVERIFY(Mouse::click(*choose));
        QCOMPARE(picker.Result(), QString());
        QCOMPARE(window.result(), int(QDialog::Accepted));

        Sluzby again;
        again.setMyClass(&picker);
        const qint64 gone = addDuty(QStringLiteral("Stara"), QStringLiteral("06:00"), 8, 1);
        again.GetSluzby();
        QVERIFY(Keyboard::showActive(again));
        QVERIFY(Mouse::clickHeader(*again.lista(), 0));
        QVERIFY(Mouse::clickHeader(*again.lista(), 0)); // Dyżur, Stara, Warta
        QVERIFY(Mouse::clickRow(*again.lista(), again.lista()->topLevelItem(0)));
        QVERIFY(Mouse::clickRow(*again.lista(), again.lista()->topLevelItem(2), Qt::ShiftModifier));
        QVERIFY(TestSupport::exec(db(), QStringLiteral("DELETE FROM sluzby WHERE id=?"), {gone}));
        QVERIFY(Mouse::click(*again.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
        QCOMPARE(picker.Result(), QStringLiteral("%1;Dyżur").arg(m_dyzur) + QChar(u'\0') +
                                      QStringLiteral("%1;Warta").arg(m_warta));
    }

    void newDutyDefaults()
    {
        TestSluzbyWindow window;
        QVERIFY(Keyboard::showActive(window));
        window.onModal = [](Sluzby_item &editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("Dane służby"));
            field<QLineEdit>(editor, "txt0")->setText(QStringLiteral("   "));
            QVERIFY(editor.save());
        };
        QVERIFY(clickItem(window, QStringLiteral("new")));
        QCOMPARE(window.modalCount, 1);
        auto rs = db().openQuery(QStringLiteral("SELECT * FROM sluzby ORDER BY id DESC"));
        QVERIFY(rs && !rs->eof());
        QCOMPARE(rs->text(QStringLiteral("nazwa")), QStringLiteral("   "));
        QCOMPARE(rs->text(QStringLiteral("od")), QStringLiteral("12:00"));
        QCOMPARE(rs->integer(QStringLiteral("okres")), 12);
        QCOMPARE(rs->integer(QStringLiteral("ilosc_std")), 1);
        QCOMPARE(rs->flag(QStringLiteral("kobiety")), true);
        QCOMPARE(rs->value(QStringLiteral("rest")).toDouble(), 12.0);
        QCOMPARE(rs->flag(QStringLiteral("calagrupa")), false);
        // The new row is the list's last and only selected row.
        QTreeWidget *list = window.lista();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem *>{list->topLevelItem(2)});
        QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("12:00"));
    }

    void editRoundTrip_data()
    {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QString>("od");
        QTest::addColumn<int>("who");
        QTest::addColumn<bool>("wholeGroup");
        QTest::newRow("morning, men only") << QTime(7, 5) << QStringLiteral("07:05") << 1 << true;
        QTest::newRow("evening, everyone")
            << QTime(19, 30) << QStringLiteral("19:30") << 0 << false;
    }

    void editRoundTrip()
    {
        QFETCH(QTime, start);
        QFETCH(QString, od);
        QFETCH(int, who);
        QFETCH(bool, wholeGroup);
        TestSluzbyWindow window;
        QVERIFY(Keyboard::showActive(window));
        QVERIFY(Mouse::clickRow(*window.lista(), window.lista()->topLevelItem(1))); // Dyżur
        window.onModal = [&](Sluzby_item &editor) {
            QCOMPARE(editor.dutyId(), m_dyzur);
            QCOMPARE(field<QLineEdit>(editor, "txt0")->text(), QStringLiteral("Dyżur"));
            QCOMPARE(field<QTimeEdit>(editor, "poleData")->time(), QTime(19, 30));
            QCOMPARE(field<QComboBox>(editor, "poleRest")->currentText(), QStringLiteral("24"));
            QCOMPARE(field<QComboBox>(editor, "polePrzez")->currentText(),
                     QStringLiteral("Tylko meżczyzn"));
            QVERIFY(field<QCheckBox>(editor, "Check1")->isChecked());
            field<QLineEdit>(editor, "txt0")->setText(QStringLiteral("Dyżur nocny"));
            field<QTimeEdit>(editor, "poleData")->setTime(start);
            field<QLineEdit>(editor, "txt1")->setText(QStringLiteral(" 10 "));
            field<QComboBox>(editor, "polePrzez")->setCurrentIndex(who);
            field<QCheckBox>(editor, "Check1")->setChecked(wholeGroup);
            QVERIFY(editor.save());
        };
        QTest::keyClick(window.lista(), Qt::Key_Enter);
        QCOMPARE(window.modalCount, 1);
        QCOMPARE(dutyCount(), 2);
        QTreeWidgetItem *row = window.lista()->topLevelItem(1);
        QCOMPARE(row->text(0), QStringLiteral("Dyżur nocny"));
        QCOMPARE(row->text(1), od);
        QCOMPARE(row->text(2), QStringLiteral("10"));

        Sluzby_item again;
        QVERIFY(again.GetInfo(m_dyzur));
        QCOMPARE(field<QTimeEdit>(again, "poleData")->time(), start);
        QCOMPARE(field<QLineEdit>(again, "txt1")->text(), QStringLiteral("10"));
        QCOMPARE(field<QComboBox>(again, "polePrzez")->currentIndex(), who);
        QCOMPARE(field<QCheckBox>(again, "Check1")->isChecked(), wholeGroup);
        QCOMPARE(
            db().scalar(QStringLiteral("SELECT od FROM sluzby WHERE id=?"), {m_dyzur}).toString(),
            od);

        // Gone since the list was filled: a message, no editor.
        QVERIFY(
            TestSupport::exec(db(), QStringLiteral("DELETE FROM sluzby WHERE id=?"), {m_dyzur}));
        Sluzby_item gone;
        QVERIFY(!gone.GetInfo(m_dyzur));
        QCOMPARE(Messages::shown(),
                 QStringList{QStringLiteral("Wybrana służba nie istnieje już w bazie danych.")});
    }

    void checks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << ""
                                 << "12"
                                 << "1"
                                 << "12" << Incomplete;
        QTest::newRow("no length") << "A"
                                   << ""
                                   << "1"
                                   << "12" << Incomplete;
        QTest::newRow("no count") << "A"
                                  << "12"
                                  << ""
                                  << "12" << Incomplete;
        QTest::newRow("length abc") << "A"
                                    << "abc"
                                    << "1"
                                    << "12" << NotNumeric;
        QTest::newRow("count 1x") << "A"
                                  << "12"
                                  << "1x"
                                  << "12" << NotNumeric;
        QTest::newRow("rest empty") << "A"
                                    << "12"
                                    << "1"
                                    << "" << NotNumeric;
        QTest::newRow("length fraction") << "A"
                                         << "1,5"
                                         << "1"
                                         << "12" << OutOfRange;
        QTest::newRow("length zero") << "A"
                                     << "0"
                                     << "1"
                                     << "12" << OutOfRange;
        QTest::newRow("count negative") << "A"
                                        << "12"
                                        << "-1"
                                        << "12" << OutOfRange;
        QTest::newRow("rest fraction") << "A"
                                       << "12"
                                       << "1"
                                       << "12.5" << OutOfRange;
        QTest::newRow("rest negative") << "A"
                                       << "12"
                                       << "1"
                                       << "-24" << OutOfRange;
        QTest::newRow("length too long") << "A"
                                         << "745"
                                         << "1"
                                         << "12" << OutOfRange;
        QTest::newRow("count huge") << "A"
                                    << "12"
                                    << "40000"
                                    << "12" << OutOfRange;
        QTest::newRow("accepted") << "A"
                                  << "1"
                                  << "0"
                                  << "0" << QString();
    }

    void checks()
    {
        QFETCH(QString, name);
        QFETCH(QString, length);
        QFETCH(QString, count);
        QFETCH(QString, rest);
        QFETCH(QString, message);
        Sluzby_item editor;
        editor.SetNew();
        field<QLineEdit>(editor, "txt0")->setText(name);
        field<QLineEdit>(editor, "txt1")->setText(length);
        field<QLineEdit>(editor, "txt2")->setText(count);
        field<QComboBox>(editor, "poleRest")->setEditText(rest);
        QCOMPARE(editor.save(), message.isEmpty());
        QCOMPARE(Messages::shown(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dutyCount(), message.isEmpty() ? 3 : 2);
        QCOMPARE(editor.dutyId() == -1, !message.isEmpty());
    }

    // A name with a character the roster file cannot hold (pasted) is refused.
    void refusesWhatTheFilesCannotHold()
    {
        Sluzby_item editor;
        QVERIFY(editor.GetInfo(m_warta));
        QVERIFY(Keyboard::showActive(editor));
        QVERIFY(Mouse::clickWidget(*field<QLineEdit>(editor, "txt0")));
        QTest::keyClick(field<QLineEdit>(editor, "txt0"), Qt::Key_End);
        MasterDataTest::paste(QStringLiteral(" \u001Fnocna"));
        QVERIFY(Mouse::click(*editor.findChild<BlueCommand *>(QStringLiteral("ButtonOK"))));
        QCOMPARE(Messages::shown(), QStringList{MasterDataTest::refusal(QStringLiteral("Nazwa"),
                                                                        QStringLiteral("U+001F"))});
        QVERIFY(editor.isVisible());
        QCOMPARE(db().scalar(QStringLiteral("SELECT nazwa FROM sluzby WHERE id=?"), {m_warta})
                     .toString(),
                 QStringLiteral("Warta"));
    }

    void secondSaveEditsTheNewRow()
    {
        Sluzby_item editor;
        editor.SetNew();
        field<QLineEdit>(editor, "txt0")->setText(QStringLiteral("Patrol"));
        QVERIFY(editor.save());
        const qint64 id = editor.dutyId();
        QVERIFY(id > 0);
        field<QLineEdit>(editor, "txt2")->setText(QStringLiteral("3"));
        QVERIFY(editor.save());
        QCOMPARE(editor.dutyId(), id);
        QCOMPARE(dutyCount(), 3);
        QCOMPARE(
            db().scalar(QStringLiteral("SELECT ilosc_std FROM sluzby WHERE id=?"), {id}).toInt(),
            3);
    }

    // A duty's name cut at its column shows whole as the row's tooltip.
    void cutNameShowsWhole()
    {
        const QString name = QStringLiteral("Służba dyżurnego podoficera kompanii "
                                            "w dni wolne od zajęć");
        addDuty(name, QStringLiteral("07:00"), 24, 1);
        Sluzby window;
        QVERIFY(Keyboard::showActive(window));
        QTreeWidget *list = window.lista();
        QCOMPARE(list->topLevelItem(2)->text(0), name);
        QCOMPARE(MasterDataTest::tooltipOf(list, list->model()->index(2, 0)), name);
        QCOMPARE(MasterDataTest::tooltipOf(list, list->model()->index(0, 0)), QString());
        QCOMPARE(MasterDataTest::tooltipOf(list, list->model()->index(2, 1)), QString());
    }

    void columnWidths()
    {
        {
            Sluzby window;
            for (int c = 0; c < 4; ++c)
                window.lista()->header()->resizeSection(c, 50 + 10 * c);
            window.reject();
        }
        QCOMPARE(Globals::options()->GetOption(QStringLiteral("Sluzby.Lista")).split(u';').size(),
                 4);
        {
            Sluzby window;
            for (int c = 0; c < 4; ++c)
                QCOMPARE(window.lista()->header()->sectionSize(c), 50 + 10 * c);
        }
        Globals::options()->SetOption(QStringLiteral("Sluzby.Lista"),
                                      QStringLiteral("900;900;900"));
        Sluzby window;
        QCOMPARE(window.lista()->header()->sectionSize(0), 200);
    }

    void screenshot()
    {
        const QString folder = qEnvironmentVariable("KADRELO_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("KADRELO_SCREENSHOTS names no folder");
        Sluzby window;
        QVERIFY(saveShot(window, folder, QStringLiteral("sluzby.png")));
        SelectItem picker;
        Sluzby picking;
        picking.setMyClass(&picker);
        QVERIFY(saveShot(picking, folder, QStringLiteral("sluzby_picker.png")));
        Sluzby_item editor;
        QVERIFY(editor.GetInfo(m_dyzur));
        QVERIFY(saveShot(editor, folder, QStringLiteral("sluzby_item.png")));
    }
};

QTEST_MAIN(TestSluzby)
#include "tst_sluzby.moc"
