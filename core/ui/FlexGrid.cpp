#include "core/ui/FlexGrid.h"

#include "controls/ShownText.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int DefaultColWidth = 64;
constexpr int TextPadding = 3;
constexpr Qt::Alignment DefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;

// Position of the first edge of index in a run of sizes: the fixed ones from
// 0, then the scrollable ones from first on; -1 when index is scrolled out.
int edgeOf(const QList<int> &sizes, int fixed, int first, int index)
{
    int pos = 0;
    for (int i = 0; i < std::min<int>(fixed, sizes.size()); ++i) {
        if (i == index)
            return pos;
        pos += sizes[i];
    }
    if (index < fixed || index < first)
        return -1;
    for (int i = first; i < sizes.size(); ++i) {
        if (i == index)
            return pos;
        pos += sizes[i];
    }
    return -1;
}

int indexAt(const QList<int> &sizes, int fixed, int first, int pos)
{
    if (pos < 0)
        return -1;
    int edge = 0;
    for (int i = 0; i < std::min<int>(fixed, sizes.size()); ++i) {
        edge += sizes[i];
        if (pos < edge)
            return i;
    }
    for (int i = std::max(first, fixed); i < sizes.size(); ++i) {
        edge += sizes[i];
        if (pos < edge)
            return i;
    }
    return -1;
}

int maxFirst(const QList<int> &sizes, int fixed, int extent)
{
    int room = extent;
    for (int i = 0; i < std::min<int>(fixed, sizes.size()); ++i)
        room -= sizes[i];
    int first = int(sizes.size()) - 1;
    int used = 0;
    while (first >= fixed) {
        used += sizes[first];
        if (used > room)
            break;
        --first;
    }
    // first is now the last index that did not fit (or fixed - 1).
    return std::max(fixed, std::min<int>(first + 1, int(sizes.size()) - 1));
}

} // namespace

QRect FlexGridGeometry::cellRect(int row, int col) const
{
    if (row < 0 || col < 0 || row >= rowHeights.size() || col >= colWidths.size())
        return {};
    const int x = edgeOf(colWidths, fixedCols, leftCol, col);
    const int y = edgeOf(rowHeights, fixedRows, topRow, row);
    if (x < 0 || y < 0)
        return {};
    return QRect(x, y, colWidths[col], rowHeights[row]);
}

QPoint FlexGridGeometry::cellAt(const QPoint &pos) const
{
    const int col = indexAt(colWidths, fixedCols, leftCol, pos.x());
    const int row = indexAt(rowHeights, fixedRows, topRow, pos.y());
    if (col < 0 || row < 0)
        return QPoint(-1, -1);
    return QPoint(col, row);
}

int FlexGridGeometry::maxTopRow(int viewportHeight) const
{
    return maxFirst(rowHeights, fixedRows, viewportHeight);
}

int FlexGridGeometry::maxLeftCol(int viewportWidth) const
{
    return maxFirst(colWidths, fixedCols, viewportWidth);
}

FlexGrid::FlexGrid(QWidget *parent)
    : QAbstractScrollArea(parent), m_backColorBkg(palette().color(QPalette::Dark))
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRows(2);
    setCols(2);
}

bool FlexGrid::valid(int row, int col) const
{
    return row >= 0 && col >= 0 && row < rows() && col < cols();
}

void FlexGrid::setRows(int count)
{
    count = std::max(0, count);
    const int height = fontMetrics().height() + 2 * TextPadding;
    while (rows() > count) {
        m_cells.removeLast();
        m_rowHeights.removeLast();
        m_rowsGrow.removeLast();
    }
    while (rows() < count) {
        m_cells.append(QList<Cell>(cols()));
        m_rowHeights.append(height);
        m_rowsGrow.append(false);
    }
    m_row = std::clamp(m_row, 0, std::max(0, rows() - 1));
    m_topRow = std::clamp(m_topRow, m_fixedRows, std::max(m_fixedRows, rows() - 1));
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setCols(int count)
{
    count = std::max(0, count);
    m_colWidths.resize(count, DefaultColWidth);
    m_colData.resize(count, 0);
    m_colAlignments.resize(count, DefaultAlignment);
    m_colsFitted.resize(count, false);
    for (auto &cells : m_cells)
        cells.resize(count);
    m_col = std::clamp(m_col, 0, std::max(0, cols() - 1));
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, std::max(m_fixedCols, cols() - 1));
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setFixedRows(int count)
{
    m_fixedRows = std::max(0, count);
    m_topRow = std::max(m_topRow, m_fixedRows);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setFixedCols(int count)
{
    m_fixedCols = std::max(0, count);
    m_leftCol = std::max(m_leftCol, m_fixedCols);
    updateScrollBars();
    viewport()->update();
}

int FlexGrid::colWidth(int col) const
{
    return col >= 0 && col < cols() ? m_colWidths[col] : 0;
}

void FlexGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= cols())
        return;
    m_colWidths[col] = std::max(0, width);
    updateScrollBars();
    viewport()->update();
}

int FlexGrid::rowHeight(int row) const
{
    return row >= 0 && row < rows() ? m_rowHeights[row] : 0;
}

void FlexGrid::setRowHeight(int row, int height)
{
    if (row < 0 || row >= rows())
        return;
    m_rowHeights[row] = std::max(0, height);
    updateScrollBars();
    viewport()->update();
}

Qt::Alignment FlexGrid::colAlignment(int col) const
{
    return col >= 0 && col < cols() ? m_colAlignments[col] : DefaultAlignment;
}

void FlexGrid::setColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= cols())
        return;
    m_colAlignments[col] = alignment;
    viewport()->update();
}

QString FlexGrid::text(int row, int col) const
{
    return valid(row, col) ? m_cells[row][col].text : QString();
}

void FlexGrid::setText(int row, int col, const QString &text)
{
    if (!valid(row, col))
        return;
    Cell &cell = m_cells[row][col];
    if (cell.text != text) {
        cell.text = text;
        cell.height = -1;
    }
    viewport()->update();
}

bool FlexGrid::isTextCut(int row, int col) const
{
    if (!valid(row, col) || m_cells[row][col].text.isEmpty())
        return false;
    const QString &text = m_cells[row][col].text;
    QString shown = ShownText::cut(text);
    if (shown.size() != text.size())
        return true;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The room paintCell gives the text.
    const QSize room(colWidth(col) - 2 * TextPadding, rowHeight(row) - 2);
    const QRect needed = fontMetrics().boundingRect(QRect(0, 0, std::max(1, room.width()), 100000),
                                                    m_wordWrap ? int(Qt::TextWordWrap) : 0, shown);
    return needed.width() > room.width() || needed.height() > room.height();
}

qint64 FlexGrid::colData(int col) const
{
    return col >= 0 && col < cols() ? m_colData[col] : 0;
}

void FlexGrid::setColData(int col, qint64 value)
{
    if (col >= 0 && col < cols())
        m_colData[col] = value;
}

void FlexGrid::addItem(const QString &text)
{
    setRows(rows() + 1);
    if (cols() > 0)
        setText(rows() - 1, 0, text);
}

void FlexGrid::clear()
{
    for (auto &cells : m_cells)
        for (auto &cell : cells)
            cell = Cell();
    viewport()->update();
}

void FlexGrid::setCurrentCell(int row, int col)
{
    if (!valid(row, col) || (row == m_row && col == m_col))
        return;
    m_row = row;
    m_col = col;
    viewport()->update();
    Q_EMIT currentCellChanged(row, col);
}

QColor FlexGrid::cellBackColor(int row, int col) const
{
    return valid(row, col) ? m_cells[row][col].back : QColor();
}

void FlexGrid::setCellBackColor(int row, int col, const QColor &color)
{
    if (!valid(row, col))
        return;
    m_cells[row][col].back = color;
    viewport()->update();
}

QColor FlexGrid::cellForeColor(int row, int col) const
{
    return valid(row, col) ? m_cells[row][col].fore : QColor();
}

void FlexGrid::setCellForeColor(int row, int col, const QColor &color)
{
    if (!valid(row, col))
        return;
    m_cells[row][col].fore = color;
    viewport()->update();
}

int FlexGrid::textHeight(int row, int col) const
{
    if (!valid(row, col))
        return 0;
    const Cell &cell = m_cells[row][col];
    if (cell.text.isEmpty())
        return 0;
    const int width = std::max(1, colWidth(col) - 2 * TextPadding);
    if (cell.height >= 0 && cell.heightWidth == width &&
        cell.heightGeneration == m_layoutGeneration)
        return cell.height;
    QString shown = ShownText::cut(cell.text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QRect needed = fontMetrics().boundingRect(QRect(0, 0, width, 100000),
                                                    m_wordWrap ? int(Qt::TextWordWrap) : 0, shown);
    cell.height = needed.height() + 2 + 2;
    cell.heightWidth = width;
    cell.heightGeneration = m_layoutGeneration;
    return cell.height;
}

void FlexGrid::growRowsToText(int firstRow)
{
    for (int r = std::max(0, firstRow); r < rows(); ++r)
        m_rowsGrow[r] = true;
    // Every column fits again: a text laid out before costs nothing.
    m_colsFitted.fill(false);
    fitShownColumns();
}

QList<QPair<int, int>> FlexGrid::shownCols() const
{
    QList<QPair<int, int>> shown;
    const int extent = viewport()->width();
    int x = 0;
    for (int c = 0; c < cols() && x < extent; ++c) {
        if (c >= m_fixedCols && c < m_leftCol)
            continue;
        shown.append({c, x});
        x += m_colWidths[c];
    }
    return shown;
}

void FlexGrid::fitShownColumns()
{
    bool grown = false;
    for (const auto &[c, x] : shownCols()) {
        if (m_colsFitted[c])
            continue;
        m_colsFitted[c] = true;
        for (int r = 0; r < rows(); ++r) {
            if (!m_rowsGrow[r])
                continue;
            const int needed = textHeight(r, c);
            if (needed > m_rowHeights[r]) {
                m_rowHeights[r] = needed;
                grown = true;
            }
        }
    }
    if (grown) {
        updateScrollBars();
        viewport()->update();
    }
}

void FlexGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ++m_layoutGeneration;
}

void FlexGrid::setWordWrap(bool on)
{
    if (on != m_wordWrap)
        ++m_layoutGeneration;
    m_wordWrap = on;
    viewport()->update();
}

void FlexGrid::setTopRow(int row)
{
    const int top = std::clamp(row, m_fixedRows,
                               std::max(m_fixedRows, layout().maxTopRow(viewport()->height())));
    if (top == m_topRow)
        return;
    m_topRow = top;
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setLeftCol(int col)
{
    const int left = std::clamp(col, m_fixedCols,
                                std::max(m_fixedCols, layout().maxLeftCol(viewport()->width())));
    if (left == m_leftCol)
        return;
    m_leftCol = left;
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setBackColorBkg(const QColor &color)
{
    m_backColorBkg = color;
    viewport()->update();
}

FlexGridGeometry FlexGrid::layout() const
{
    FlexGridGeometry g;
    g.colWidths = m_colWidths;
    g.rowHeights = m_rowHeights;
    g.fixedRows = m_fixedRows;
    g.fixedCols = m_fixedCols;
    g.topRow = m_topRow;
    g.leftCol = m_leftCol;
    return g;
}

FlexGrid::State FlexGrid::saveState() const
{
    State s;
    s.cells = m_cells;
    s.colWidths = m_colWidths;
    s.rowHeights = m_rowHeights;
    s.colData = m_colData;
    s.colAlignments = m_colAlignments;
    s.rowsGrow = m_rowsGrow;
    s.colsFitted = m_colsFitted;
    s.row = m_row;
    s.col = m_col;
    s.topRow = m_topRow;
    s.leftCol = m_leftCol;
    return s;
}

void FlexGrid::restoreState(const State &state)
{
    m_cells = state.cells;
    m_colWidths = state.colWidths;
    m_rowHeights = state.rowHeights;
    m_colData = state.colData;
    m_colAlignments = state.colAlignments;
    m_rowsGrow = state.rowsGrow;
    m_colsFitted = state.colsFitted;
    m_row = state.row;
    m_col = state.col;
    m_topRow = state.topRow;
    m_leftCol = state.leftCol;
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::updateScrollBars()
{
    const FlexGridGeometry g = layout();
    const int maxTop = g.maxTopRow(viewport()->height());
    const int maxLeft = g.maxLeftCol(viewport()->width());
    m_syncingBars = true;
    verticalScrollBar()->setRange(0, std::max(0, maxTop - m_fixedRows));
    verticalScrollBar()->setPageStep(std::max(1, rows() / 4));
    verticalScrollBar()->setValue(m_topRow - m_fixedRows);
    horizontalScrollBar()->setRange(0, std::max(0, maxLeft - m_fixedCols));
    horizontalScrollBar()->setPageStep(std::max(1, cols() / 4));
    horizontalScrollBar()->setValue(m_leftCol - m_fixedCols);
    m_syncingBars = false;
}

void FlexGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void FlexGrid::scrollContentsBy(int, int)
{
    if (m_syncingBars)
        return;
    m_topRow = m_fixedRows + verticalScrollBar()->value();
    m_leftCol = m_fixedCols + horizontalScrollBar()->value();
    viewport()->update();
}

void FlexGrid::paintCell(QPainter &painter, int row, int col, const QRect &rect)
{
    const bool fixed = row < m_fixedRows || col < m_fixedCols;
    const Cell &cell = m_cells[row][col];
    QColor back = cell.back;
    if (!back.isValid())
        back = fixed ? palette().color(QPalette::Button) : palette().color(QPalette::Base);
    QColor fore = cell.fore;
    if (!fore.isValid())
        fore = fixed ? palette().color(QPalette::ButtonText) : palette().color(QPalette::Text);

    painter.fillRect(rect, back);
    // Grid lines on the right and bottom edge, as the cells' own.
    painter.setPen(fixed ? palette().color(QPalette::Dark)
                         : palette().color(QPalette::Midlight).darker(115));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());

    if (!cell.text.isEmpty()) {
        QString shown = ShownText::cut(cell.text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        int flags = int(fixed ? Qt::Alignment(Qt::AlignCenter) : m_colAlignments[col]);
        if (m_wordWrap)
            flags |= Qt::TextWordWrap;
        painter.setPen(fore);
        painter.drawText(rect.adjusted(TextPadding, 1, -TextPadding, -1), flags, shown);
    }
    if (row == m_row && col == m_col && !fixed && hasFocus()) {
        QPen focus(palette().color(QPalette::Text), 1, Qt::DotLine);
        painter.setPen(focus);
        painter.drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

void FlexGrid::paintEvent(QPaintEvent *)
{
    // Rows grow to the columns that come into view before they are drawn.
    fitShownColumns();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_backColorBkg);
    const QRect visible = viewport()->rect();
    // The fixed rows, then the scrollable ones from the first shown on, until
    // the viewport is full: what lies beyond is not looked at.
    QList<QPair<int, int>> shownRows;
    for (int r = 0, y = 0; r < rows() && y <= visible.bottom(); ++r) {
        if (r >= m_fixedRows && r < m_topRow)
            continue;
        shownRows.append({r, y});
        y += m_rowHeights[r];
    }
    const QList<QPair<int, int>> cols = shownCols();
    for (const auto &[r, y] : shownRows) {
        for (const auto &[c, x] : cols) {
            const QRect rect(x, y, m_colWidths[c], m_rowHeights[r]);
            if (rect.isEmpty() || !rect.intersects(visible))
                continue;
            paintCell(painter, r, c, rect);
        }
    }
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = layout().cellAt(event->position().toPoint());
    if (cell.x() >= m_fixedCols && cell.y() >= m_fixedRows)
        setCurrentCell(cell.y(), cell.x());
    QAbstractScrollArea::mousePressEvent(event);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint cell = layout().cellAt(event->position().toPoint());
    if (cell.x() >= m_fixedCols && cell.y() >= m_fixedRows) {
        setCurrentCell(cell.y(), cell.x());
        Q_EMIT cellDoubleClicked(cell.y(), cell.x());
    }
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    int row = m_row;
    int col = m_col;
    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    row = std::clamp(row, m_fixedRows, std::max(m_fixedRows, rows() - 1));
    col = std::clamp(col, m_fixedCols, std::max(m_fixedCols, cols() - 1));
    setCurrentCell(row, col);
    // Keep the current cell in view.
    if (row < m_topRow)
        setTopRow(row);
    else if (layout().cellRect(row, col).bottom() > viewport()->height())
        setTopRow(m_topRow + 1);
    if (col < m_leftCol)
        setLeftCol(col);
    else if (layout().cellRect(row, col).right() > viewport()->width())
        setLeftCol(m_leftCol + 1);
}
