// Gallery, not a test: shows the picker windows and writes their pictures
// (Gallery::path) for a person to look at.
#include "core/Globals.h"
#include "engine/ui/Wizard_zwolnienia.h"
#include "masterdata/Grupy.h"
#include "masterdata/SelectItem.h"
#include "platform/db/Database.h"
#include "tests/support/Gallery.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTest>

namespace {

void save(QWidget &window, const QString &name)
{
    QVERIFY2(Gallery::save(window, name), qPrintable(Gallery::path(name)));
}

} // namespace

class TestGalleryPickers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Gallery::useBuildSchema(); }

    void pickers()
    {
        TestSupport::TestDatabase file;
        QVERIFY2(file.isValid(), qPrintable(file.errorString()));
        Globals::setDatabase(file.take());
        for (const char *name : {"Alfa", "Beta", "Kompania reprezentacyjna Wojska Polskiego"})
            QVERIFY(TestSupport::exec(*Globals::database(),
                                      QStringLiteral("INSERT INTO grupy (nazwa) VALUES (?)"),
                                      {QString::fromUtf8(name)}));

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
#include "gallery_pickers.moc"
