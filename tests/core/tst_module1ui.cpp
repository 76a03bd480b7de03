#include "controls/cFlatHeader.h"
#include "core/Globals.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Module1Ui.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString SaveFilter = QStringLiteral(" XML (*.swx)") + QChar(u'\0') + QStringLiteral("*.swx") +
                           QChar(u'\0') + QStringLiteral("CSV") + QChar(u'\0') +
                           QStringLiteral("*.csv") + QChar(u'\0');
const QString RosterFilter = QStringLiteral("Dorvat Kadrelo XML (*.swx)") + QChar(u'\0') +
                             QStringLiteral("*.swx") + QChar(u'\0');

// A window with one list view of three columns, named as the people window names them.
struct ListForm
{
    QWidget form;
    QTreeWidget *lista;

    ListForm()
    {
        form.setObjectName(QStringLiteral("Ludzie"));
        lista = new QTreeWidget(&form);
        lista->setObjectName(QStringLiteral("Lista"));
        lista->setColumnCount(3);
        lista->header()->setStretchLastSection(false);
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(lista);
        form.resize(600, 300);
    }

    void setWidths(const QList<int> &widths)
    {
        for (int i = 0; i < widths.size(); ++i)
            lista->header()->resizeSection(i, widths.at(i));
    }

    QList<int> widths() const
    {
        QList<int> result;
        for (int i = 0; i < lista->header()->count(); ++i)
            result.append(lista->header()->sectionSize(i));
        return result;
    }

    int twips(int pixels) const { return int(pixels * 1440.0 / lista->logicalDpiX()); }
};

// Once a file dialog is shown, `act` reads it and closes it as a person
// would; the test reads what it kept after the dialog has returned. A dialog
// still open ten seconds later is cancelled, so a fault fails the test
// instead of hanging it.
void whenDialogShown(std::function<void(QFileDialog *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        QPointer<QFileDialog> shown(dialog);
        QTimer::singleShot(10000, [shown] {
            // Whatever the dialog itself opened goes first.
            for (int i = 0; shown && i < 10; ++i) {
                if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    modal->reject();
                QCoreApplication::processEvents();
            }
        });
        act(dialog);
    });
    timer->start();
}

// Types a name into the dialog's name field and confirms it with Enter, as
// often as it takes: the completion list that typing opens may take the
// first Enter.
void typeAndConfirm(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return;
    QPointer<QFileDialog> shown(dialog);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, name);
    for (int attempt = 0; attempt < 10 && shown && shown->isVisible(); ++attempt) {
        QTest::qWait(50);
        if (!shown)
            break;
        if (edit->completer() && edit->completer()->popup()->isVisible())
            QTest::keyClick(edit->completer()->popup(), Qt::Key_Escape);
        QTest::keyClick(edit, Qt::Key_Return);
    }
}

struct ShownRow
{
    QStringList texts;   // the four columns
    QList<bool> legible; // each text fits its column, the column in sight
};

// The index of the named entry in the dialog's detail list, once the
// folder has been read; invalid when it does not come.
QModelIndex entryIndex(QTreeView *view, const QString &name)
{
    QModelIndex found;
    (void)QTest::qWaitFor(
        [&] {
            const QAbstractItemModel *model = view->model();
            for (int r = 0; r < model->rowCount(view->rootIndex()); ++r) {
                const QModelIndex index = model->index(r, 0, view->rootIndex());
                if (index.data().toString() == name) {
                    found = index;
                    return true;
                }
            }
            return false;
        },
        5000);
    return found;
}

QTreeView *detailList(QFileDialog *dialog)
{
    return dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
}

// The detail list's row of the named entry.
ShownRow shownRow(QFileDialog *dialog, const QString &name)
{
    ShownRow row;
    QTreeView *view = detailList(dialog);
    const QModelIndex first = view ? entryIndex(view, name) : QModelIndex();
    if (!first.isValid())
        return row;
    QCoreApplication::processEvents(); // the columns fitted to what was read
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int column = 0; column < 4; ++column) {
        const QModelIndex index = first.siblingAtColumn(column);
        const QString text = index.data().toString();
        row.texts.append(text);
        const QRect cell = view->visualRect(index);
        row.legible.append(cell.width() - margin >= view->fontMetrics().horizontalAdvance(text) &&
                           view->viewport()->rect().contains(cell));
    }
    return row;
}

// A double click on the named folder of the list, as Qt delivers it.
void enterFolder(QFileDialog *dialog, const QString &name)
{
    QTreeView *view = detailList(dialog);
    const QModelIndex index = view ? entryIndex(view, name) : QModelIndex();
    if (!index.isValid())
        return;
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

QString writeFile(const QString &path, int bytes, const QDateTime &modified = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(QByteArray("DorvKadrelo") + QByteArray(bytes - 11, '\0'));
    file.flush();
    if (modified.isValid())
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    return path;
}

} // namespace

class TestModule1Ui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void saveDialogAppendsTheExtension_data();
    void saveDialogAppendsTheExtension();
    void openDialogTrimsAndCancels();
    void fileListIsPolish();
    void dialogsOpenInTheLastFolder();
    void columnWidthsRoundTrip();
    void columnWidthsOfWrongShapeAreIgnored_data();
    void columnWidthsOfWrongShapeAreIgnored();
    void flatControlsPicksTheKind();
    void flatBorderShowsEveryEdge_data();
    void flatBorderShowsEveryEdge();
    void formLinesByIndex();

private:
    std::unique_ptr<TestSupport::TestDatabase> m_db;
};

void TestModule1Ui::initTestCase()
{
    // The file dialog's own settings go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
}

void TestModule1Ui::init()
{
    Module1::resetFileDialogState();
    m_db = std::make_unique<TestSupport::TestDatabase>();
    QVERIFY2(m_db->isValid(), qPrintable(m_db->errorString()));
    Globals::setDatabase(m_db->take());
    auto options = clsOptions::load(*Globals::database());
    QVERIFY(options);
    Globals::setOptions(std::move(options));
}

void TestModule1Ui::cleanup()
{
    Globals::closeDatabase();
    m_db.reset();
    QCOMPARE(FileDialogs::pendingAnswers(), 0);
}

void TestModule1Ui::saveDialogAppendsTheExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no extension") << QStringLiteral("/tmp/maj") << 0
                                  << QStringLiteral("/tmp/maj.swx");
    QTest::newRow("with extension")
        << QStringLiteral("/tmp/maj.swx") << 0 << QStringLiteral("/tmp/maj.swx");
    QTest::newRow("extension in capitals")
        << QStringLiteral("/tmp/MAJ.SWX") << 0 << QStringLiteral("/tmp/MAJ.SWX");
    QTest::newRow("second filter")
        << QStringLiteral("/tmp/maj") << 1 << QStringLiteral("/tmp/maj.csv");
    QTest::newRow("other extension")
        << QStringLiteral("/tmp/maj.swx") << 1 << QStringLiteral("/tmp/maj.swx.csv");
    QTest::newRow("blanks around")
        << QStringLiteral("  /tmp/maj  ") << 0 << QStringLiteral("/tmp/maj.swx");
    QTest::newRow("cancelled") << QString() << 0 << QString();
}

void TestModule1Ui::saveDialogAppendsTheExtension()
{
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, expected);
    FileDialogs::setNextFileName(typed, filter);
    QCOMPARE(Module1::ShowSaveDialog(nullptr, SaveFilter, QStringLiteral("Zapisz"), QString(),
                                     QStringLiteral("Grafik")),
             expected);
}

void TestModule1Ui::openDialogTrimsAndCancels()
{
    FileDialogs::setNextFileName(QStringLiteral(" /tmp/maj.swx "));
    QCOMPARE(Module1::ShowOpenDialog(nullptr, SaveFilter, QStringLiteral("Otwórz")),
             QStringLiteral("/tmp/maj.swx"));
    FileDialogs::setNextFileName(QString());
    QCOMPARE(Module1::ShowOpenDialog(nullptr, SaveFilter, QStringLiteral("Otwórz")), QString());

    // The filter chosen in one dialog stays chosen for the next.
    FileDialogs::setNextFileName(QStringLiteral("/tmp/a"), 1);
    QCOMPARE(Module1::ShowOpenDialog(nullptr, SaveFilter, QStringLiteral("Otwórz")),
             QStringLiteral("/tmp/a"));
    FileDialogs::setNextFileName(QStringLiteral("/tmp/b"));
    QCOMPARE(Module1::ShowSaveDialog(nullptr, SaveFilter, QStringLiteral("Zapisz"), QString(),
                                     QString()),
             QStringLiteral("/tmp/b.csv"));
}

// The open dialog of a folder with a roster file and a subfolder: sizes,
// types and dates in Polish, each column wide enough for its text.
void TestModule1Ui::fileListIsPolish()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Archiwum")));
    QVERIFY(!writeFile(folder.filePath(QStringLiteral("maj.swx")), 1536,
                       QDateTime(QDate(2024, 12, 11), QTime(15, 4)))
                 .isEmpty());
    Module1::setAppPath(folder.path());

    ShownRow roster, subfolder;
    whenDialogShown([&](QFileDialog *dialog) {
        roster = shownRow(dialog, QStringLiteral("maj.swx"));
        subfolder = shownRow(dialog, QStringLiteral("Archiwum"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    const QString chosen = Module1::ShowOpenDialog(nullptr, RosterFilter, QStringLiteral("Otwórz"));
    Module1::setAppPath(QString());
    QCOMPARE(chosen, QString());

    QCOMPARE(roster.texts, (QStringList{QStringLiteral("maj.swx"), QStringLiteral("1,5 kB"),
                                        QStringLiteral("Grafik Dorvat Kadrelo"),
                                        QStringLiteral("11.12.2024 15:04")}));
    QCOMPARE(roster.legible, (QList<bool>{true, true, true, true}));
    QCOMPARE(subfolder.texts.value(2), QStringLiteral("Folder plików"));
    QCOMPARE(subfolder.texts.value(1), QString());
    QCOMPARE(subfolder.legible.value(2), true);
}

// Each dialog opens in the folder of the file last chosen in this run, the
// program folder at first; a cancel changes nothing; a save of an opened
// roster proposes the roster's own path.
void TestModule1Ui::dialogsOpenInTheLastFolder()
{
    QTemporaryDir program, elsewhere;
    QVERIFY(program.isValid() && elsewhere.isValid());
    QVERIFY(QDir(program.path()).mkdir(QStringLiteral("Archiwum")));
    const QString archive = program.filePath(QStringLiteral("Archiwum"));
    QVERIFY(!writeFile(archive + QStringLiteral("/kwiecien.swx"), 100).isEmpty());
    const QString opened = writeFile(elsewhere.filePath(QStringLiteral("maj.swx")), 100);
    Module1::setAppPath(program.path());

    struct Visit
    {
        QString folder;
        QString name;
    };
    QList<Visit> visits;
    auto visit = [&](const QString &typed) {
        whenDialogShown([&visits, typed](QFileDialog *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            visits.append({dialog->directory().absolutePath(), edit ? edit->text() : QString()});
            if (typed.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            if (typed.contains(u'/'))
                enterFolder(dialog, typed.section(u'/', 0, 0));
            typeAndConfirm(dialog, typed.section(u'/', -1));
        });
    };

    visit(QStringLiteral("Archiwum/kwiecien.swx"));
    QCOMPARE(Module1::ShowOpenDialog(nullptr, RosterFilter, QStringLiteral("Otwórz")),
             archive + QStringLiteral("/kwiecien.swx"));
    visit(QStringLiteral("marzec"));
    QCOMPARE(Module1::ShowSaveDialog(nullptr, SaveFilter, QStringLiteral("Zapisz"), QString(),
                                     QStringLiteral("Grafik [2026-03]")),
             archive + QStringLiteral("/marzec.swx"));
    visit(QString());
    QCOMPARE(
        Module1::ShowSaveDialog(nullptr, RosterFilter, QStringLiteral("Zapisz"), QString(), opened),
        QString());
    visit(QString());
    QCOMPARE(Module1::ShowOpenDialog(nullptr, RosterFilter, QStringLiteral("Otwórz")), QString());
    Module1::setAppPath(QString());

    QCOMPARE(visits.size(), 4);
    QCOMPARE(visits.at(0).folder, QDir(program.path()).absolutePath());
    QCOMPARE(visits.at(1).folder, archive);
    QCOMPARE(visits.at(1).name, QStringLiteral("Grafik [2026-03]"));
    QCOMPARE(visits.at(2).folder, QDir(elsewhere.path()).absolutePath());
    QCOMPARE(visits.at(2).name, QStringLiteral("maj.swx"));
    QCOMPARE(visits.at(3).folder, archive);
}

void TestModule1Ui::columnWidthsRoundTrip()
{
    ListForm window;
    window.setWidths({100, 57, 33});
    Module1::SaveListViewColumns(&window.form);
    const QString stored = Globals::options()->GetOption(QStringLiteral("Ludzie.Lista"));
    QCOMPARE(stored, QStringLiteral("%1;%2;%3")
                         .arg(window.twips(100))
                         .arg(window.twips(57))
                         .arg(window.twips(33)));

    // The row reached the table, not only the cache.
    QCOMPARE(Globals::database()
                 ->scalar(QStringLiteral("SELECT Value FROM opcje WHERE Name=?"),
                          {QStringLiteral("Ludzie.Lista")})
                 .toString(),
             stored);

    ListForm next;
    next.setWidths({20, 20, 20});
    Module1::LoadListViewColumns(&next.form);
    QCOMPARE(next.widths(), (QList<int>{100, 57, 33}));

    // Saving again updates the row in place.
    window.setWidths({80, 40, 30});
    Module1::SaveListViewColumns(&window.form);
    QCOMPARE(Globals::database()
                 ->scalar(QStringLiteral("SELECT COUNT(*) FROM opcje WHERE Name=?"),
                          {QStringLiteral("Ludzie.Lista")})
                 .toInt(),
             1);
}

void TestModule1Ui::columnWidthsOfWrongShapeAreIgnored_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("too few") << QStringLiteral("1500;750");
    QTest::newRow("too many") << QStringLiteral("1500;750;450;300");
    QTest::newRow("not numbers") << QStringLiteral("1500;abc;450");
    QTest::newRow("empty part") << QStringLiteral("1500;;450");
}

void TestModule1Ui::columnWidthsOfWrongShapeAreIgnored()
{
    QFETCH(QString, stored);
    QVERIFY(Globals::options()->SetOption(QStringLiteral("Ludzie.Lista"), stored));
    ListForm window;
    window.setWidths({70, 60, 50});
    Module1::LoadListViewColumns(&window.form);
    QCOMPARE(window.widths(), (QList<int>{70, 60, 50}));
}

void TestModule1Ui::flatControlsPicksTheKind()
{
    QWidget form;
    auto *edit = new QLineEdit(&form);
    auto *combo = new QComboBox(&form);
    combo->setEditable(true);
    auto *list = new QListWidget(&form);
    auto *tree = new QTreeWidget(&form);

    Module1::FlatControls(&form, QStringLiteral("TextBox"));
    QVERIFY(edit->property("flatBorder").toBool());
    QVERIFY(!combo->lineEdit()->property("flatBorder").toBool());
    QVERIFY(!list->property("flatBorder").toBool());

    Module1::FlatControls(&form, QStringLiteral("ListBox"));
    QVERIFY(list->property("flatBorder").toBool());
    QVERIFY(!tree->property("flatBorder").toBool());

    Module1::FlatControls(&form, QStringLiteral("ListView"));
    QVERIFY(tree->property("flatBorder").toBool());
}

void TestModule1Ui::flatBorderShowsEveryEdge_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("factor");
    for (const QString &kind : QStringList{"text box", "line edit", "tree", "thin list"}) {
        for (double factor : {1.0, 1.25, 1.5, 2.0})
            QTest::addRow("%s at %g", qPrintable(kind), factor) << kind << factor;
    }
}

// The options window's text box, a line edit, the balance tree and the
// main window's list of people (the list header's thin border), placed
// where a layout puts them (at fractional device pixels for 1.25 and 1.5)
// and drawn at the scale factor: each of the four edges is a whole line in
// the border colour on the control's outermost device pixels.
void TestModule1Ui::flatBorderShowsEveryEdge()
{
    QFETCH(QString, kind);
    QFETCH(double, factor);
    QWidget form;
    form.resize(160, 100);
    QWidget *control = nullptr;
    QPalette::ColorRole topLeft = QPalette::Mid;
    QPalette::ColorRole bottomRight = QPalette::Mid;
    cFlatHeader flatHeader;
    if (kind == QLatin1String("text box")) {
        control = new QPlainTextEdit(QStringLiteral("[stopien] [nazwisko]"), &form);
        Module1::FlatBorder(control);
    } else if (kind == QLatin1String("line edit")) {
        control = new QLineEdit(QStringLiteral("Kowalski"), &form);
        Module1::FlatBorder(control);
    } else {
        auto *tree = new QTreeWidget(&form);
        tree->setHeaderHidden(kind == QLatin1String("tree"));
        new QTreeWidgetItem(tree, {QStringLiteral("Grupy")});
        new QTreeWidgetItem(tree, {QStringLiteral("Osoby")});
        control = tree;
        if (kind == QLatin1String("tree")) {
            Module1::FlatBorder(control);
        } else {
            QVERIFY(flatHeader.Attach(tree));
            flatHeader.ThinBorder(tree, true);
            topLeft = QPalette::Dark;
            bottomRight = QPalette::Light;
        }
    }
    control->setGeometry(27, 27, 80, 40);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QImage image((QSizeF(form.size()) * factor).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(factor);
    form.render(&image);
    const QRgb outside = form.palette().color(QPalette::Window).rgb();
    const QRgb upper = control->palette().color(topLeft).rgb();
    const QRgb lower = control->palette().color(bottomRight).rgb();
    QVERIFY(upper != outside && lower != outside);

    // From the form towards the control's middle: the first pixel that is
    // not the form's is the control's edge.
    const QRect placed(QPointF(control->pos() * factor).toPoint(),
                       QSizeF(control->size() * factor).toSize());
    auto edgeFrom = [&](QPoint p, QPoint step) {
        while (image.rect().contains(p) && image.pixel(p) == outside)
            p += step;
        return p;
    };
    const QPoint middle = placed.center();
    const int left = edgeFrom({placed.left() - 4, middle.y()}, {1, 0}).x();
    const int right = edgeFrom({placed.right() + 4, middle.y()}, {-1, 0}).x();
    const int top = edgeFrom({middle.x(), placed.top() - 4}, {0, 1}).y();
    const int bottom = edgeFrom({middle.x(), placed.bottom() + 4}, {0, -1}).y();
    QVERIFY2(qAbs(left - placed.left()) <= 1 && qAbs(right - placed.right()) <= 1 &&
                 qAbs(top - placed.top()) <= 1 && qAbs(bottom - placed.bottom()) <= 1,
             "the control is not where it was put");
    auto at = [](const char *edge, int place) {
        return QStringLiteral("%1 edge at %2").arg(QLatin1String(edge)).arg(place).toLatin1();
    };
    // Corners left out: there the two colours meet.
    for (int x = left + 2; x < right - 1; ++x) {
        QVERIFY2(image.pixel(x, top) == upper, at("top", x).constData());
        QVERIFY2(image.pixel(x, bottom) == lower, at("bottom", x).constData());
    }
    for (int y = top + 2; y < bottom - 1; ++y) {
        QVERIFY2(image.pixel(left, y) == upper, at("left", y).constData());
        QVERIFY2(image.pixel(right, y) == lower, at("right", y).constData());
    }
}

void TestModule1Ui::formLinesByIndex()
{
    QWidget form;
    auto *first = new QFrame(&form);
    first->setObjectName(QStringLiteral("DblLine_0"));
    auto *second = new QFrame(&form);
    second->setObjectName(QStringLiteral("DblLine_1"));
    auto *other = new QFrame(&form);
    other->setObjectName(QStringLiteral("Frame1"));

    Module1::DrawFormLines(&form, 1);
    QCOMPARE(second->frameShape(), QFrame::HLine);
    QCOMPARE(second->frameShadow(), QFrame::Sunken);
    QCOMPARE(first->frameShape(), QFrame::NoFrame);

    Module1::DrawFormLines(&form);
    QCOMPARE(first->frameShape(), QFrame::HLine);
    QCOMPARE(other->frameShape(), QFrame::NoFrame);
}

QTEST_MAIN(TestModule1Ui)
#include "tst_module1ui.moc"
