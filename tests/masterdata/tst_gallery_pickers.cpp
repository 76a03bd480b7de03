// Test-only gallery: shows the picker windows and writes screenshots to
// <build>/tests/gallery/ for a person to look at. Runs only when
// KADRELO_SCREENSHOTS is set.
#include "core/Globals.h"
#include "engine/ui/Wizard_zwolnienia.h"
#include "masterdata/Grupy.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QListWidget>
#include <QTest>

namespace {

void save(QWidget &window, const QString &name)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QDir dir(QCoreApplication::applicationDirPath());
    QVERIFY(dir.mkpath(QStringLiteral("gallery")));
    QVERIFY(window.grab().save(dir.filePath(QStringLiteral("gallery/") + name)));
}

} // namespace

class TestGalleryPickers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("KADRELO_SCREENSHOTS"))
            QSKIP("screenshots only when KADRELO_SCREENSHOTS is set");
    }

    void pickers()
    {
        TestSupport::TestDatabase file;
        QVERIFY2(file.isValid(), qPrintable(file.errorString()));
        Globals::setDatabase(file.take());
        for (const char *name : {"Alfa", "Beta", "Kompania reprezentacyjna Wojska Polskiego"})
            Globals::database()->execute(QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
                                         {QString::fromUtf8(name)});

        SelectItem picker;
        Grupy groups;
        groups.setMyClass(&picker);
        groups.lTasks()->item(1)->setSelected(true);
        save(groups, QStringLiteral("grupy-picking.png"));

        Wizard_zwolnienia days;
        days.setMyClass(&picker);
        days.Combo2()->setCurrentIndex(30);
        save(days, QStringLiteral("wizard_zwolnienia.png"));

        Globals::closeDatabase();
    }
};

QTEST_MAIN(TestGalleryPickers)
#include "tst_gallery_pickers.moc"
