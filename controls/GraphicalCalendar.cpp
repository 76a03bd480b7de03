#include "controls/GraphicalCalendar.h"

#include "controls/DCStyles.h"
#include "controls/MouseCodes.h"
#include "controls/PropertyBag.h"
#include "controls/TextEdit.h"
#include "platform/clock/Clock.h"
#include "platform/draw/Gdi.h"

#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint32 TitleFill = 0xACE6FF;
constexpr qint32 TitleLight = 0xFFFFFF;
constexpr qint32 TitleDark = 0x50CBFE;
constexpr qint32 MarkedDayColor = 0xCA1300;
constexpr qint32 HoverLight = qint32(0x80000005u);
constexpr qint32 HoverDark = qint32(0x80000010u);
constexpr qint32 DefaultSelectedBack = 0xFF0000;

const QLocale &polish()
{
    static const QLocale locale(QLocale::Polish);
    return locale;
}

// The arrows stand for the glyphs "3" and "4" of Webdings 10 pt, which is
// not installed here: they are drawn in a box of that font's size.
Draw::StdFont arrowFont()
{
    Draw::StdFont font;
    font.name = QStringLiteral("Webdings");
    font.size = 10;
    return font;
}

QDate firstOfMonth(QDate date)
{
    return QDate(date.year(), date.month(), 1);
}

} // namespace

// ---------------------------------------------------------------------------

namespace CalendarGeometry {

int weekday(QDate date)
{
    return date.dayOfWeek(); // Qt counts from Monday, as Polish weeks do
}

int monthDiff(QDate from, QDate to)
{
    return (to.year() * 12 + to.month()) - (from.year() * 12 + from.month());
}

QDate firstShownMonth(QDate value, bool sendToBack, int rows, int cols)
{
    const QDate month = sendToBack ? value.addMonths(1 - rows * cols) : value;
    return firstOfMonth(month);
}

void setMetrics(CalendarLayout &layout, float textWidth, float textHeight)
{
    layout.dayCellWidth = textWidth + 6;
    layout.dayCellHeight = textHeight + 3;
    layout.colWidth = layout.dayCellWidth * 7 + 14;
    layout.rowHeight = layout.dayCellHeight * 8 + 3;
}

QSize neededSize(const CalendarLayout &layout)
{
    return QSize(Draw::roundPixel(layout.cols * layout.colWidth + 2),
                 Draw::roundPixel(layout.rows * layout.rowHeight + 2));
}

QPointF blockOrigin(const CalendarLayout &layout, int row, int col)
{
    return QPointF(col * layout.colWidth + layout.offsetX, row * layout.rowHeight);
}

QPointF dayCellOrigin(const CalendarLayout &layout, int row, int col, int day)
{
    const QDate first = firstOfMonth(layout.firstShownMonth.addMonths(row * layout.cols + col));
    const int i = day + weekday(first) - 2;
    const QPointF block = blockOrigin(layout, row, col);
    return QPointF(float(i % 7) * layout.dayCellWidth + float(block.x()) + 7,
                   float(i / 7) * layout.dayCellHeight + float(block.y()) +
                       2 * layout.dayCellHeight + 3);
}

bool blockOfDate(const CalendarLayout &layout, QDate date, int *row, int *col)
{
    const int k = monthDiff(layout.firstShownMonth, date);
    // Truncating division, remainder with the sign of k.
    *row = k / layout.cols;
    *col = k % layout.cols;
    return *row >= 0 && *row < layout.rows && *col >= 0 && *col < layout.cols;
}

CalendarHit hitTest(const CalendarLayout &layout, float x, float y)
{
    CalendarHit hit;
    const int colWidth = Draw::roundPixel(layout.colWidth);
    const int rowHeight = Draw::roundPixel(layout.rowHeight);
    if (colWidth <= 0 || rowHeight <= 0 || layout.dayCellWidth <= 0 || layout.dayCellHeight <= 0) {
        hit.row = layout.rows; // no metrics yet: outside the grid
        return hit;
    }
    const float xc = x - layout.offsetX;
    hit.col = Draw::roundPixel(xc) / colWidth;
    hit.row = Draw::roundPixel(y) / rowHeight;
    hit.dayCol = int(std::floor((xc - float(hit.col) * layout.colWidth - 7) / layout.dayCellWidth));
    hit.dayRow =
        int(std::floor((y - float(hit.row) * layout.rowHeight - 3 - 2 * layout.dayCellHeight) /
                       layout.dayCellHeight));
    hit.month = firstOfMonth(layout.firstShownMonth.addMonths(hit.row * layout.cols + hit.col));
    hit.day = (hit.dayRow * 7 + hit.dayCol) - (weekday(hit.month) - 2);
    hit.onDay =
        hit.day >= 1 && hit.day <= hit.month.daysInMonth() && hit.dayCol >= 0 && hit.dayCol <= 6;
    return hit;
}

bool onLeftArrow(float x, float arrowWidth)
{
    return 2 < x && x < arrowWidth + 2;
}

bool onRightArrow(float x, float clientWidth, float arrowWidth)
{
    // The glyph is placed from the outer width, two pixels wider than the
    // client area, so it sits flush with the client's right edge.
    return clientWidth - arrowWidth < x && x < clientWidth;
}

} // namespace CalendarGeometry

// ---------------------------------------------------------------------------

GraphicalCalendar::GraphicalCalendar(QWidget *parent) : QFrame(parent), m_dc(&m_image)
{
    // The flat static edge: one pixel round the client area.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setMouseTracking(true);
    for (int i = 1; i <= 7; ++i)
        m_dayNames.append(polish().dayName(i, QLocale::ShortFormat).left(2));
    m_value = Clock::today();
    m_menu = new QMenu(this);
    QAction *action = m_menu->addAction(QStringLiteral("Dzisiejsza data"));
    action->setObjectName(QStringLiteral("mnuToday"));
    connect(action, &QAction::triggered, this, &GraphicalCalendar::mnuToday);
    LayoutCalendar();
}

GraphicalCalendar::~GraphicalCalendar() = default;

QString GraphicalCalendar::dateText(QDate date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QStringList GraphicalCalendar::propertyKeys()
{
    return {QStringLiteral("BackColor"),
            QStringLiteral("ForeColor"),
            QStringLiteral("Font"),
            QStringLiteral("SelectedForeColor"),
            QStringLiteral("SparateLineColor"),
            QStringLiteral("TodayBorderColor"),
            QStringLiteral("DayNamesForeColor"),
            QStringLiteral("Value"),
            QStringLiteral("Cols"),
            QStringLiteral("Rows")};
}

void GraphicalCalendar::ReadProperties(const PropertyBag &bag)
{
    auto readColor = [&bag](const QString &key, qint32 &field) {
        bool ok = false;
        const qint32 v = bag.ReadProperty(key).toInt(&ok);
        if (ok)
            field = v;
    };
    auto readCount = [&bag](const QString &key, int &field, int most) {
        bool ok = false;
        const int v = bag.ReadProperty(key).toInt(&ok);
        // 0 or a wild count would break the block arithmetic.
        if (ok && v >= 1 && v <= most)
            field = v;
    };
    readColor(QStringLiteral("BackColor"), m_backColor);
    readColor(QStringLiteral("ForeColor"), m_foreColor);
    const QVariant font = bag.ReadProperty(QStringLiteral("Font"));
    if (font.canConvert<Draw::StdFont>())
        m_font = font.value<Draw::StdFont>();
    readColor(QStringLiteral("SelectedForeColor"), m_selectedForeColor);
    readColor(QStringLiteral("SparateLineColor"), m_separateLineColor);
    readColor(QStringLiteral("TodayBorderColor"), m_todayBorderColor);
    readColor(QStringLiteral("DayNamesForeColor"), m_dayNamesForeColor);
    const QDate value = bag.ReadProperty(QStringLiteral("Value")).toDate();
    if (value.isValid())
        m_value = value;
    readCount(QStringLiteral("Cols"), m_layout.cols, 5);
    readCount(QStringLiteral("Rows"), m_layout.rows, 7);
    LayoutCalendar();
}

void GraphicalCalendar::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("BackColor"), m_backColor);
    bag.WriteProperty(QStringLiteral("ForeColor"), m_foreColor);
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(m_font));
    bag.WriteProperty(QStringLiteral("SelectedForeColor"), m_selectedForeColor);
    bag.WriteProperty(QStringLiteral("SparateLineColor"), m_separateLineColor);
    bag.WriteProperty(QStringLiteral("TodayBorderColor"), m_todayBorderColor);
    bag.WriteProperty(QStringLiteral("DayNamesForeColor"), m_dayNamesForeColor);
    bag.WriteProperty(QStringLiteral("Value"), m_value);
    bag.WriteProperty(QStringLiteral("Cols"), qint16(m_layout.cols));
    bag.WriteProperty(QStringLiteral("Rows"), qint16(m_layout.rows));
}

// --- properties ------------------------------------------------------------

void GraphicalCalendar::setBackColor(qint32 color)
{
    m_backColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setSeparateLineColor(qint32 color)
{
    m_separateLineColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setForeColor(qint32 color)
{
    m_foreColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setSelectedForeColor(qint32 color)
{
    m_selectedForeColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setSelectedBackColor(qint32 color)
{
    m_selectedBackColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setTodayBorderColor(qint32 color)
{
    m_todayBorderColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setDayNamesForeColor(qint32 color)
{
    m_dayNamesForeColor = color;
    PaintCalendar();
}

void GraphicalCalendar::setValue(QDate date)
{
    if (!date.isValid() || date == m_value)
        return;
    m_value = date;
    const int n = CalendarGeometry::monthDiff(m_layout.firstShownMonth, date);
    const int blocks = m_layout.rows * m_layout.cols;
    if (n < 0)
        m_layout.firstShownMonth = date;
    else if (n > blocks - 1)
        m_layout.firstShownMonth = date.addMonths(1 - blocks);
    if (m_listening)
        Q_EMIT PositionChange(false, m_layout.firstShownMonth);
    PaintCalendar();
    Q_EMIT DateChange();
}

void GraphicalCalendar::setFont(const Draw::StdFont &font)
{
    m_font = font;
    LayoutCalendar();
    applySizeRule();
    PaintCalendar();
}

void GraphicalCalendar::setRows(int rows)
{
    if (rows < 1 || rows > 7 || rows == m_layout.rows)
        return;
    m_layout.rows = rows;
    applySizeRule();
    if (m_listening)
        Q_EMIT PositionChange(false, m_layout.firstShownMonth);
    PaintCalendar();
    Q_EMIT PositionChange(true, m_layout.firstShownMonth);
}

void GraphicalCalendar::setCols(int cols)
{
    if (cols < 1 || cols > 5)
        return;
    m_layout.cols = cols;
    applySizeRule();
    if (m_listening)
        Q_EMIT PositionChange(false, m_layout.firstShownMonth);
    PaintCalendar();
}

void GraphicalCalendar::Refresh()
{
    m_selectedBackColor = DefaultSelectedBack;
    PaintCalendar();
}

void GraphicalCalendar::StartListening()
{
    m_listening = true;
    Q_EMIT PositionChange(true, m_layout.firstShownMonth);
}

void GraphicalCalendar::RaisePositionChange()
{
    Q_EMIT PositionChange(true, m_layout.firstShownMonth);
}

QSize GraphicalCalendar::sizeHint() const
{
    return CalendarGeometry::neededSize(m_layout);
}

QSize GraphicalCalendar::minimumSizeHint() const
{
    return CalendarGeometry::neededSize(m_layout);
}

// --- layout ----------------------------------------------------------------

void GraphicalCalendar::LayoutCalendar()
{
    ensureImage();
    DCStyles styles(&m_dc);
    styles.ChangeFont(m_font);
    m_layout.firstShownMonth =
        CalendarGeometry::firstShownMonth(m_value, m_sendToBack, m_layout.rows, m_layout.cols);
    QStringList texts = m_dayNames;
    for (int d = 1; d <= 31; ++d)
        texts.append(QString::number(d));
    const QStringList measured = TextEdit::MeasureTextList(&m_dc, texts).split(QLatin1Char('x'));
    const float width = measured.value(0).toFloat();
    const float height = measured.value(1).toFloat();
    CalendarGeometry::setMetrics(m_layout, width, height);

    styles.ChangeFont(arrowFont());
    m_arrowSize = QSizeF(TextEdit::MaxLineWidth(&m_dc, QStringLiteral("3")),
                         TextEdit::MeasureTextHeight(&m_dc, QStringLiteral("3"), false, 1));
    styles.KillFont();
    updateGeometry();
}

void GraphicalCalendar::applySizeRule()
{
    if (!m_shownOnce)
        return;
    updateGeometry();
    const QSize needed = CalendarGeometry::neededSize(m_layout);
    int w = width();
    int h = height();
    if (w >= needed.width()) {
        m_layout.offsetX = float(w - needed.width()) / 2;
    } else {
        m_layout.offsetX = 0;
        w = needed.width();
    }
    h = std::max(h, needed.height());
    if (QSize(w, h) != size()) {
        // A visible control comes back here through resizeEvent at once.
        resize(w, h);
        if (size() == QSize(w, h))
            m_layout.offsetX = float(w - needed.width()) / 2;
    }
    PaintCalendar();
}

void GraphicalCalendar::ensureImage()
{
    const QSize client = contentsRect().size().expandedTo(QSize(1, 1));
    if (m_image.size() != client) {
        m_image = QImage(client, QImage::Format_RGB32);
        m_image.fill(Qt::white);
    }
}

// --- painting --------------------------------------------------------------

void GraphicalCalendar::PaintCalendar()
{
    ensureImage();
    m_image.fill(Qt::white);
    const float wp = float(width());
    const float hp = float(height());
    const CalendarLayout &l = m_layout;
    DCStyles styles(&m_dc);
    TextEdit::FillRectColor(&m_dc, 0, 0, wp, hp, m_backColor);

    QDate cur = l.firstShownMonth;
    for (int r = 0; r < l.rows; ++r) {
        for (int c = 0; c < l.cols; ++c) {
            const QDate first = firstOfMonth(cur);
            const QPointF origin = CalendarGeometry::blockOrigin(l, r, c);
            const float bx = float(origin.x());
            const float by = float(origin.y());
            TextEdit::FillRectColor(&m_dc, bx + 1, by + 1, l.colWidth, l.dayCellHeight, TitleFill);

            styles.ChangeFont(m_font);
            styles.ChangeColor(m_foreColor);
            const QString title = polish().standaloneMonthName(cur.month(), QLocale::LongFormat) +
                                  QLatin1Char(' ') + QString::number(cur.year());
            const float h = TextEdit::MeasureTextHeight(&m_dc, title, false, 1);
            TextEdit::DrawTextInRect(&m_dc, title, false, bx + 2, by + l.dayCellHeight / 2 - h / 2,
                                     l.colWidth - 2, 2, 0);

            const float arrowTop = l.dayCellHeight / 2 + 1 - float(m_arrowSize.height()) / 2;
            if (r == 0 && c == 0)
                drawArrow(2, arrowTop, true);
            if (r == 0 && c == l.cols - 1)
                drawArrow(wp - 2 - float(m_arrowSize.width()), arrowTop, false);

            styles.ChangePen(1, TitleLight);
            TextEdit::DrawLine(&m_dc, bx, by, bx + l.colWidth - 1, by);
            TextEdit::DrawLine(&m_dc, bx, by, bx, by + l.dayCellHeight);
            styles.ChangePen(1, TitleDark);
            TextEdit::DrawLine(&m_dc, bx, by + l.dayCellHeight, bx + l.colWidth - 1,
                               by + l.dayCellHeight);
            TextEdit::DrawLine(&m_dc, bx + l.colWidth - 1, by, bx + l.colWidth - 1,
                               by + l.dayCellHeight + 1);

            styles.ChangeFont(m_font);
            styles.ChangeColor(m_dayNamesForeColor);
            for (int i = 0; i < 7; ++i) {
                const QString &name = m_dayNames.at(i);
                const float nh = TextEdit::MeasureTextHeight(&m_dc, name, false, 1);
                TextEdit::DrawTextInRect(&m_dc, name, false, float(i) * l.dayCellWidth + bx + 8,
                                         by + l.dayCellHeight + 2 + l.dayCellHeight / 2 - nh / 2,
                                         l.dayCellWidth, 2, 0);
            }

            styles.ChangePen(1, m_separateLineColor);
            TextEdit::DrawLine(&m_dc, bx + 7, by + 2 * l.dayCellHeight + 1, bx + l.colWidth - 7,
                               by + 2 * l.dayCellHeight + 1);

            for (int d = 1; d <= first.daysInMonth(); ++d) {
                const QPointF cell = CalendarGeometry::dayCellOrigin(l, r, c, d);
                drawDay(float(cell.x()), float(cell.y()), first, d);
            }
            m_font.setBold(false);
            cur = cur.addMonths(1);
        }
    }
    styles.KillFont();
    styles.KillPen();
    update();
}

void GraphicalCalendar::drawArrow(float left, float top, bool pointsLeft)
{
    // A filled triangle, k + 1 pixels wide and 2k + 1 high, centred in the
    // glyph's box, in the text colour.
    const float boxWidth = float(m_arrowSize.width());
    const int k = std::max(2, Draw::roundPixel(boxWidth) / 2);
    const int x0 = Draw::roundPixel(left + (boxWidth - float(k + 1)) / 2);
    const int yc = Draw::roundPixel(top + float(m_arrowSize.height()) / 2);
    DCStyles styles(&m_dc);
    styles.ChangePen(1, qint32(m_dc.textColor()));
    for (int j = -k; j <= k; ++j) {
        const int length = k + 1 - std::abs(j);
        const int start = pointsLeft ? x0 + std::abs(j) : x0;
        TextEdit::DrawLine(&m_dc, float(start), float(yc + j), float(start + length),
                           float(yc + j));
    }
    styles.KillPen();
}

void GraphicalCalendar::drawDay(float x, float y, QDate first, int day)
{
    const CalendarLayout &l = m_layout;
    const QDate date = first.addDays(day - 1);
    const bool bold = m_selectedDates.contains(dateText(date));
    DCStyles styles(&m_dc);
    m_font.setBold(bold);
    styles.ChangeFont(m_font);
    if (date == m_value) {
        TextEdit::FillRectColor(&m_dc, x, y, l.dayCellWidth, l.dayCellHeight, m_selectedBackColor);
        styles.ChangeColor(m_selectedForeColor);
    } else {
        TextEdit::FillRectColor(&m_dc, x, y, l.dayCellWidth, l.dayCellHeight, m_backColor);
        styles.ChangeColor(bold ? MarkedDayColor : m_foreColor);
    }
    const QString text = QString::number(day);
    const float h = TextEdit::MeasureTextHeight(&m_dc, text, false, 1);
    TextEdit::DrawTextInRect(&m_dc, text, false, x, y + l.dayCellHeight / 2 - h / 2, l.dayCellWidth,
                             2, 0);

    // The year is not compared: the same day of another year is framed too.
    const QDate now = Clock::today();
    if (first.month() == now.month() && day == now.day()) {
        styles.ChangePen(1, m_todayBorderColor);
        const Draw::Brush brush = m_dc.selectBrush(m_dc.nullBrush());
        TextEdit::DrawRectangle(&m_dc, x, y, l.dayCellWidth, l.dayCellHeight);
        m_dc.selectBrush(brush);
    }
    styles.KillFont();
    styles.KillPen();
}

void GraphicalCalendar::PaintDayCell(int row, int col, int day)
{
    const CalendarLayout &l = m_layout;
    if (row < 0 || row >= l.rows || col < 0 || col >= l.cols)
        return;
    ensureImage();
    const QDate first = firstOfMonth(l.firstShownMonth.addMonths(row * l.cols + col));
    const QPointF cell = CalendarGeometry::dayCellOrigin(l, row, col, day);
    drawDay(float(cell.x()), float(cell.y()), first, day);
    m_font.setBold(false);
    invalidateCellRows(float(cell.x()), float(cell.y()));
}

void GraphicalCalendar::paintDateCell(QDate date)
{
    int row = 0;
    int col = 0;
    CalendarGeometry::blockOfDate(m_layout, date, &row, &col);
    PaintDayCell(row, col, date.day());
}

void GraphicalCalendar::drawHoverFrame(QDate date)
{
    const CalendarLayout &l = m_layout;
    int row = 0;
    int col = 0;
    if (!CalendarGeometry::blockOfDate(l, date, &row, &col))
        return;
    const QPointF cell = CalendarGeometry::dayCellOrigin(l, row, col, date.day());
    const float x = float(cell.x());
    const float y = float(cell.y());
    DCStyles styles(&m_dc);
    styles.ChangePen(1, HoverLight);
    TextEdit::DrawLine(&m_dc, x, y, x + l.dayCellWidth - 1, y);
    TextEdit::DrawLine(&m_dc, x, y, x, y + l.dayCellHeight);
    styles.ChangePen(1, HoverDark);
    TextEdit::DrawLine(&m_dc, x, y + l.dayCellHeight - 1, x + l.dayCellWidth - 1,
                       y + l.dayCellHeight - 1);
    TextEdit::DrawLine(&m_dc, x + l.dayCellWidth - 1, y, x + l.dayCellWidth - 1,
                       y + l.dayCellHeight);
    invalidateCellRows(x, y);
    styles.KillFont();
    styles.KillPen();
}

void GraphicalCalendar::invalidateCellRows(float x, float y)
{
    const QRect client(QPoint(0, Draw::roundPixel(y)),
                       QPoint(Draw::roundPixel(x + m_layout.dayCellWidth) - 1,
                              Draw::roundPixel(y + m_layout.dayCellHeight) - 1));
    update(client.translated(contentsRect().topLeft()));
}

// --- events ----------------------------------------------------------------

void GraphicalCalendar::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        LayoutCalendar();
        applySizeRule();
    }
}

void GraphicalCalendar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    ensureImage();
    applySizeRule();
}

void GraphicalCalendar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_image);
    drawFrame(&painter);
}

QPointF GraphicalCalendar::clientPos(const QPointF &widgetPos) const
{
    return widgetPos - QPointF(contentsRect().topLeft());
}

void GraphicalCalendar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_leftPressed = true;
    leftPress(event);
}

void GraphicalCalendar::leftPress(QMouseEvent *event)
{
    const QPointF pos = clientPos(event->position());
    const float x = float(pos.x());
    const float y = float(pos.y());
    CalendarLayout &l = m_layout;
    const CalendarHit hit = CalendarGeometry::hitTest(l, x, y);
    const bool inGrid = hit.row >= 0 && hit.row < l.rows && hit.col >= 0 && hit.col < l.cols;
    // The arrows are drawn at the client's edges, outside the centred blocks
    // when the control is wider than they are: test them where they are drawn.
    const bool titleBand = hit.row == 0 && hit.dayRow == -2;
    const bool leftArrow =
        titleBand && CalendarGeometry::onLeftArrow(x, float(m_arrowSize.width()));
    const bool rightArrow =
        titleBand && CalendarGeometry::onRightArrow(x, float(contentsRect().width()),
                                                    float(m_arrowSize.width()));
    if (!inGrid && !leftArrow && !rightArrow)
        return;

    if (inGrid && hit.dayRow != -2 && hit.onDay) {
        const QDate old = m_value;
        m_value = hit.date();
        paintDateCell(old);
        paintDateCell(m_value);
        Q_EMIT DateChange();
    }
    const int blocks = l.rows * l.cols;
    if (leftArrow) {
        l.firstShownMonth = l.firstShownMonth.addMonths(-1);
        if (CalendarGeometry::monthDiff(l.firstShownMonth, m_value) > blocks - 1) {
            const int day = std::min(m_value.day(), l.firstShownMonth.daysInMonth());
            m_value = QDate(l.firstShownMonth.year(), l.firstShownMonth.month(), day)
                          .addMonths(blocks - 1);
            Q_EMIT DateChange();
        }
        if (m_listening)
            Q_EMIT PositionChange(false, l.firstShownMonth);
        PaintCalendar();
    }
    if (rightArrow) {
        l.firstShownMonth = l.firstShownMonth.addMonths(1);
        if (CalendarGeometry::monthDiff(l.firstShownMonth, m_value) < 0) {
            const int day = std::min(m_value.day(), l.firstShownMonth.daysInMonth());
            m_value = QDate(l.firstShownMonth.year(), l.firstShownMonth.month(), day);
            Q_EMIT DateChange();
        }
        if (m_listening)
            Q_EMIT PositionChange(false, l.firstShownMonth);
        PaintCalendar();
    }
    const float xc = x - l.offsetX;
    Q_EMIT MouseDown(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()),
                     xc * Draw::twipsPerPixelX(), y * Draw::twipsPerPixelY());
}

void GraphicalCalendar::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF pos = clientPos(event->position());
    if (event->button() == Qt::RightButton)
        m_menu->popup(event->globalPosition().toPoint());
    Q_EMIT MouseUp(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()),
                   float(pos.x()) * Draw::twipsPerPixelX(),
                   float(pos.y()) * Draw::twipsPerPixelY());
    if (event->button() == Qt::LeftButton) {
        const bool click = m_leftPressed && rect().contains(event->position().toPoint());
        m_leftPressed = false;
        if (click)
            Q_EMIT Click();
    }
}

void GraphicalCalendar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Qt hands the second of two quick presses over as a double click: it is
    // a press all the same (an arrow moves one more month), then DblClick.
    // Its release is not a second Click.
    m_leftPressed = false;
    leftPress(event);
    if (m_overDayCell)
        Q_EMIT DblClick();
}

void GraphicalCalendar::mouseMoveEvent(QMouseEvent *event)
{
    m_pointerInside = true;
    const QPointF pos = clientPos(event->position());
    const CalendarLayout &l = m_layout;
    const CalendarHit hit = CalendarGeometry::hitTest(l, float(pos.x()), float(pos.y()));
    if (hit.row < 0 || hit.row >= l.rows || hit.col < 0 || hit.col >= l.cols)
        return;
    if (hit.onDay) {
        m_overDayCell = true;
        const QDate t = hit.date();
        if (m_hoverShown && m_hoverDate == t)
            return;
        if (m_hoverShown)
            paintDateCell(m_hoverDate);
        m_hoverDate = t;
        m_hoverShown = true;
        drawHoverFrame(t);
    } else {
        m_overDayCell = false;
        if (m_hoverShown)
            paintDateCell(m_hoverDate);
        m_hoverShown = false;
    }
}

void GraphicalCalendar::leaveEvent(QEvent *event)
{
    QFrame::leaveEvent(event);
    if (!m_pointerInside)
        return;
    if (m_hoverShown)
        paintDateCell(m_hoverDate);
    m_hoverShown = false;
    m_pointerInside = false;
    Q_EMIT MouseOut();
}

void GraphicalCalendar::mnuToday()
{
    const QDate now = Clock::today();
    if (now != m_value)
        setValue(now);
}
