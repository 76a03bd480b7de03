// Gallery, not a test: renders the calendar, the category tree and the flat
// list header in their states to PNG files (Gallery::path) for a person to
// look at.
#include "controls/GraphicalCalendar.h"
#include "controls/Kat.h"
#include "controls/cFlatHeader.h"
#include "platform/clock/Clock.h"
#include "tests/support/Gallery.h"

#include <QDir>
#include <QHeaderView>
#include <QTreeWidget>
#include <QtTest>

namespace {

void save(QWidget &widget, const QString &name)
{
    QVERIFY2(Gallery::save(widget.grab().toImage(), name), qPrintable(Gallery::path(name)));
}

void styleCalendar(GraphicalCalendar &cal)
{
    cal.setBackColor(0xFFFFFF);
    cal.setForeColor(0x000000);
    cal.setSelectedForeColor(0xFFFFFF);
    cal.setTodayBorderColor(0x0000C0);
    cal.setSeparateLineColor(0xA0A0A0);
    cal.setDayNamesForeColor(0x804000);
}

} // namespace

class TestGalleryCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { Clock::setNow({}); }
    void calendar();
    void kat();
    void flatHeader();
};

void TestGalleryCalendar::calendar()
{
    Clock::setNow(QDateTime(QDate(2026, 3, 15), QTime(12, 0)));
    {
        GraphicalCalendar cal;
        styleCalendar(cal);
        cal.setValue(QDate(2026, 3, 20));
        cal.show();
        save(cal, "calendar_1x1.png");
        // Hover frame over the 11th.
        int row = 0, col = 0;
        CalendarGeometry::blockOfDate(cal.layout(), QDate(2026, 3, 11), &row, &col);
        const QPointF cell = CalendarGeometry::dayCellOrigin(cal.layout(), row, col, 11);
        QTest::mouseMove(&cal, (cell + QPointF(cal.layout().dayCellWidth / 2 + 1,
                                               cal.layout().dayCellHeight / 2 + 1))
                                   .toPoint());
        save(cal, "calendar_1x1_hover.png");
    }
    {
        GraphicalCalendar cal;
        styleCalendar(cal);
        cal.setValue(QDate(2026, 2, 27));
        cal.SetSelectedDates({"2026-02-03", "2026-02-27", "2026-03-10", "2026-04-01"});
        cal.setCols(3);
        cal.setRows(2);
        cal.show();
        save(cal, "calendar_2x3_marked.png");
        // Wider than needed: centred; arrows stay at the client's edges.
        cal.resize(cal.width() + 60, cal.height() + 20);
        save(cal, "calendar_2x3_wide.png");
    }
    {
        GraphicalCalendar cal;
        styleCalendar(cal);
        Draw::StdFont font = cal.Font();
        font.size = 12;
        cal.setFont(font);
        cal.setValue(QDate(2027, 3, 1)); // today's day framed in another year
        cal.show();
        save(cal, "calendar_bigfont.png");
    }
}

void TestGalleryCalendar::kat()
{
    Kat kat;
    kat.setCaptionName("Grupy");
    kat.Nodes().Add({}, tvwLast, "ALL", "Wszystkie");
    kat.Nodes().Add("ALL", tvwChild, "ID=1", "Kompania A");
    kat.Nodes().Add("ALL", tvwChild, "ID=2", "Kompania B");
    kat.Nodes().Add("ALL", tvwChild, "ID=3", "Sztab");
    kat.tree()->expandAll();
    kat.resize(200, 220);
    kat.show();
    kat.setSelectedItem(kat.Nodes().Item("ID=2"));
    save(kat, "kat.png");
    kat.StartLabelEdit();
    save(kat, "kat_editing.png");
    kat.setButtonsVisible(false);
    save(kat, "kat_no_buttons.png");
}

void TestGalleryCalendar::flatHeader()
{
    QTreeWidget list;
    list.setRootIsDecorated(false);
    list.setHeaderLabels({"Nazwisko", "Imię", "Ilość"});
    list.header()->setStretchLastSection(false);
    list.header()->setSectionsClickable(true);
    list.header()->resizeSection(0, 100);
    list.header()->resizeSection(1, 80);
    list.header()->resizeSection(2, 50);
    for (const QStringList &row :
         {QStringList{"Kowalski", "Jan", "3"}, QStringList{"Nowak", "Anna", "2"}})
        list.addTopLevelItem(new QTreeWidgetItem(row));
    list.resize(300, 120);
    list.show();
    save(list, "flatheader_plain.png");
    cFlatHeader flat;
    QVERIFY(flat.Attach(&list));
    flat.ThinBorder(&list, true);
    save(list, "flatheader_flat.png");
    QTest::mousePress(list.header()->viewport(), Qt::LeftButton, {}, QPoint(140, 8));
    save(list, "flatheader_pressed.png");
    QTest::mouseRelease(list.header()->viewport(), Qt::LeftButton, {}, QPoint(140, 8));
}

QTEST_MAIN(TestGalleryCalendar)
#include "gallery_calendar.moc"
