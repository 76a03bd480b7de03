#pragma once

#include "platform/draw/DeviceContext.h"
#include "platform/draw/StdFont.h"

#include <QDate>
#include <QFrame>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QStringList>

class PropertyBag;
class QMenu;
class QAction;

// Block and cell geometry of the calendar, in client pixels.
struct CalendarLayout
{
    int rows = 1;
    int cols = 1;
    float dayCellWidth = 0;
    float dayCellHeight = 0;
    float colWidth = 0;  // width of one month block
    float rowHeight = 0; // height of one month block
    float offsetX = 0;   // horizontal centring of the block grid
    QDate firstShownMonth;
};

// What a client position lies over.
struct CalendarHit
{
    int row = 0; // block row and column
    int col = 0;
    int dayCol = 0;
    int dayRow = 0; // -3 top margin, -2 title band, -1 day names, 0..5 weeks
    QDate month;    // first day of the block's month
    int day = 0;    // day number, meaningful when onDay
    bool onDay = false;
    QDate date() const { return onDay ? QDate(month.year(), month.month(), day) : QDate(); }
};

namespace CalendarGeometry {

// Weekday 1..7 counted from Monday.
int weekday(QDate date);
// Calendar-month boundaries from one date to another (days ignored).
int monthDiff(QDate from, QDate to);
QDate firstShownMonth(QDate value, bool sendToBack, int rows, int cols);
// Cell and block sizes from the widest and tallest measured text.
void setMetrics(CalendarLayout &layout, float textWidth, float textHeight);
// Outer size the blocks need (the border included).
QSize neededSize(const CalendarLayout &layout);
QPointF blockOrigin(const CalendarLayout &layout, int row, int col);
// Top-left of the cell of day d in block (row, col).
QPointF dayCellOrigin(const CalendarLayout &layout, int row, int col, int day);
// Block (row, col) that shows a date's month; false when it is not shown.
bool blockOfDate(const CalendarLayout &layout, QDate date, int *row, int *col);
CalendarHit hitTest(const CalendarLayout &layout, float x, float y);
// Arrow zones of the title band: the boxes the glyphs are drawn in, at the
// client's edges whatever the centring. x is the client position itself,
// not corrected by offsetX.
bool onLeftArrow(float x, float arrowWidth);
bool onRightArrow(float x, float clientWidth, float arrowWidth);

} // namespace CalendarGeometry

// Multi-month calendar: Rows x Cols month blocks, one selected date (Value),
// further marked dates, month arrows, a hover frame over days and a
// "Dzisiejsza data" menu on the right button. Colours are colour values
// (negative = system colour). Draws into a backing image that the widget
// shows; geometry and hit-testing live in CalendarGeometry.
class GraphicalCalendar : public QFrame
{
    Q_OBJECT

public:
    explicit GraphicalCalendar(QWidget *parent = nullptr);
    ~GraphicalCalendar() override;

    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 color);
    qint32 SeparateLineColor() const { return m_separateLineColor; }
    void setSeparateLineColor(qint32 color);
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 color);
    qint32 SelectedForeColor() const { return m_selectedForeColor; }
    void setSelectedForeColor(qint32 color);
    qint32 SelectedBackColor() const { return m_selectedBackColor; }
    void setSelectedBackColor(qint32 color);
    qint32 TodayBorderColor() const { return m_todayBorderColor; }
    void setTodayBorderColor(qint32 color);
    qint32 DayNamesForeColor() const { return m_dayNamesForeColor; }
    void setDayNamesForeColor(qint32 color);

    QDate Value() const { return m_value; }
    void setValue(QDate date);

    const Draw::StdFont &Font() const { return m_font; }
    using QFrame::setFont;
    void setFont(const Draw::StdFont &font);

    int Rows() const { return m_layout.rows; }
    void setRows(int rows);
    int Cols() const { return m_layout.cols; }
    void setCols(int cols);
    float RowHeight() const { return m_layout.rowHeight; }
    float ColWidth() const { return m_layout.colWidth; }
    void setSendToBack(bool back) { m_sendToBack = back; }

    void Refresh();
    void SetSelectedDates(const QStringList &dates) { m_selectedDates = dates; }
    QStringList GetSelectedDates() const { return m_selectedDates; }
    void StartListening();
    void RaisePositionChange();

    // Persisted keys, in the order they are read and written.
    static QStringList propertyKeys();
    // Stored values go straight into the fields (no repaint, no events); a
    // missing or unusable value keeps what the control has.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // Inspection: the current layout, the backing image (client area), the
    // right-button menu and the arrow size in pixels.
    const CalendarLayout &layout() const { return m_layout; }
    const QImage &image() const { return m_image; }
    QMenu *contextMenu() const { return m_menu; }
    QSizeF arrowSize() const { return m_arrowSize; }
    // The short text of a date as SetSelectedDates expects it.
    static QString dateText(QDate date);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void Click();
    void MouseUp(int button, int shift, float x, float y);
    void MouseDown(int button, int shift, float x, float y);
    void MouseOver();
    void MouseOut();
    void DblClick();
    void Resize();
    void DateChange();
    void PositionChange(bool first, QDate firstShownMonth);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // A left-button press: selects a day or moves the view, then MouseDown.
    void leftPress(QMouseEvent *event);
    void LayoutCalendar();
    void applySizeRule();
    void PaintCalendar();
    void PaintDayCell(int row, int col, int day);
    void paintDateCell(QDate date);
    void drawDay(float x, float y, QDate first, int day);
    void drawArrow(float left, float top, bool pointsLeft);
    void drawHoverFrame(QDate date);
    void invalidateCellRows(float x, float y);
    void ensureImage();
    QPointF clientPos(const QPointF &widgetPos) const;
    void mnuToday();

    CalendarLayout m_layout;
    QDate m_value;
    bool m_sendToBack = false;
    QStringList m_selectedDates;
    QStringList m_dayNames;
    qint32 m_backColor = 0;
    qint32 m_foreColor = 0;
    qint32 m_selectedForeColor = 0;
    qint32 m_selectedBackColor = 0xFF0000;
    qint32 m_separateLineColor = 0;
    qint32 m_todayBorderColor = 0;
    qint32 m_dayNamesForeColor = 0;
    Draw::StdFont m_font;
    QSizeF m_arrowSize;
    QDate m_hoverDate;
    bool m_hoverShown = false;
    bool m_pointerInside = false;
    bool m_overDayCell = false;
    bool m_listening = false;
    bool m_shownOnce = false;
    bool m_leftPressed = false;

    QImage m_image;
    Draw::DeviceContext m_dc;
    QMenu *m_menu = nullptr;
};
