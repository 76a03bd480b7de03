#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QString>

// Where the cells of a grid with fixed leading rows and columns lie in its
// viewport, in pixels. Plain data so that tests can check layout and
// hit-testing without a window.
struct FlexGridGeometry
{
    QList<int> colWidths;
    QList<int> rowHeights;
    int fixedRows = 1;
    int fixedCols = 1;
    int topRow = 1;  // first scrollable row shown
    int leftCol = 1; // first scrollable column shown

    // The cell's rectangle in the viewport; empty when it is scrolled out of view.
    QRect cellRect(int row, int col) const;
    // (col, row) of the cell under pos; (-1, -1) outside every cell.
    QPoint cellAt(const QPoint &pos) const;
    // The largest top row (left column) that still fills a viewport of that
    // height (width) with the rows (columns) after it.
    int maxTopRow(int viewportHeight) const;
    int maxLeftCol(int viewportWidth) const;
};

// The roster grid: rows and columns of text cells in which row 0 and
// column 0 are ordinary addressable cells kept in view while the rest
// scrolls (the fixed header row and day column). Every column carries a
// number of its own (the duty's id); every cell may have its own background
// and text colour. Sizes are pixels.
class FlexGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);

    int rows() const { return int(m_cells.size()); }
    int cols() const { return int(m_colWidths.size()); }
    // New rows and columns are empty; cut ones are dropped with their texts.
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    void setFixedRows(int rows);
    void setFixedCols(int cols);

    int colWidth(int col) const;
    void setColWidth(int col, int width);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);

    // How the column's text sits in its cells below the fixed rows; left and
    // vertically centred unless set. Fixed cells are always centred.
    Qt::Alignment colAlignment(int col) const;
    void setColAlignment(int col, Qt::Alignment alignment);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    // The cell's text does not fit the room the cell draws it in.
    bool isTextCut(int row, int col) const;
    qint64 colData(int col) const;
    void setColData(int col, qint64 value);

    // Appends a row with text in column 0.
    void addItem(const QString &text);
    // Empties every cell and drops the cell colours; sizes stay.
    void clear();

    // The current cell.
    int row() const { return m_row; }
    int col() const { return m_col; }
    void setCurrentCell(int row, int col);

    // An invalid colour means the grid's default.
    QColor cellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, const QColor &color);
    QColor cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor &color);

    // Height the cell's text needs at the column's width (wrapped when word
    // wrap is on), padding included. Kept until the text, the width, the
    // font or the word wrap changes: a cell is laid out once.
    int textHeight(int row, int col) const;
    // Grows rows from firstRow on to the height their texts need; rows are
    // never made lower than they are. The columns in view are fitted at once,
    // the others as they come into view: a text is laid out when it is shown.
    void growRowsToText(int firstRow = 0);

    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);

    int topRow() const { return m_topRow; }
    void setTopRow(int row);
    int leftCol() const { return m_leftCol; }
    void setLeftCol(int col);

    // Colour of the area right of and below the last cell.
    QColor backColorBkg() const { return m_backColorBkg; }
    void setBackColorBkg(const QColor &color);

    FlexGridGeometry layout() const;

    // The whole content, to put the grid back as it was.
    struct State;
    State saveState() const;
    void restoreState(const State &state);

Q_SIGNALS:
    void cellDoubleClicked(int row, int col);
    void currentCellChanged(int row, int col);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Cell
    {
        QString text;
        QColor back;
        QColor fore;
        // textHeight() as laid out at that width and layout generation; -1: not yet.
        mutable int height = -1;
        mutable int heightWidth = -1;
        mutable int heightGeneration = -1;
    };

    bool valid(int row, int col) const;
    void updateScrollBars();
    void paintCell(QPainter &painter, int row, int col, const QRect &rect);
    // The columns in view, fixed ones first, as (index, left edge).
    QList<QPair<int, int>> shownCols() const;
    // Grows the growing rows to the texts of the columns in view not fitted yet.
    void fitShownColumns();

protected:
    void changeEvent(QEvent *event) override;

public:
    struct State
    {
        QList<QList<Cell>> cells;
        QList<int> colWidths;
        QList<int> rowHeights;
        QList<qint64> colData;
        QList<Qt::Alignment> colAlignments;
        QList<bool> rowsGrow;
        QList<bool> colsFitted;
        int row = 0, col = 0, topRow = 1, leftCol = 1;
    };

private:
    QList<QList<Cell>> m_cells; // [row][col]
    QList<int> m_colWidths;
    QList<int> m_rowHeights;
    QList<qint64> m_colData;
    QList<Qt::Alignment> m_colAlignments;
    QList<bool> m_rowsGrow;     // rows growRowsToText() grows to their texts
    QList<bool> m_colsFitted;   // columns whose texts those rows have been grown to
    int m_layoutGeneration = 0; // a new font or word wrap lays every text out anew
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_row = 0;
    int m_col = 0;
    int m_topRow = 1;
    int m_leftCol = 1;
    bool m_wordWrap = false;
    bool m_syncingBars = false;
    QColor m_backColorBkg;
};
