#include "controls/cFlatHeader.h"
#include "core/Globals.h"
#include "core/Options.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Module1Ui.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString SaveFilter = QStringLiteral(" XML (*.swx)") + QChar(u'\0') + QStringLiteral("*.swx") +
                           QChar(u'\0') + QStringLiteral("CSV") + QChar(u'\0') +
                           QStringLiteral("*.csv") + QChar(u'\0');

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

} // namespace

class TestModule1Ui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void saveDialogAppendsTheExtension_data();
    void saveDialogAppendsTheExtension();
    void openDialogTrimsAndCancels();
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
    for (const char *kind : {"text box", "line edit", "tree", "thin list"}) {
        for (double factor : {1.0, 1.25, 1.5, 2.0})
            QTest::addRow("%s at %g", kind, factor) << QString::fromLatin1(kind) << factor;
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
