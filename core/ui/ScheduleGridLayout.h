#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class FlexGrid;

// Laying out the empty roster grid for a month: a header row, one row per
// day, a day-label column and one column per duty, sized from the options
// CellWidth and CellHeight (centimetres).
//
// Failure contract: an option that is not a size shows the critical message
// and returns false with the grid untouched.
namespace Module1 {

// Fixed sizes of the header row and the day column, in twips.
inline constexpr int HeaderRowTwips = 800;
inline constexpr int DayColumnTwips = 500;

// A size option ("2", "1,5", "1.5") in centimetres; false when it is empty
// or not a number.
bool ParseCellSize(const QString &text, double *centimetres);
// Centimetres to twips as the screen's device context gives them: converted
// with the horizontal dots per inch, then scaled by the axis' twips per pixel.
int CellTwips(double centimetres, double dpiX, double dpiAxis);
int TwipsToPixels(int twips, double dpi);

// "5\r\nniedz." style label of a day: the day without leading zero, CR LF and
// the abbreviated Polish weekday name.
QString DayLabel(const QDate &date);

// Rows, columns, sizes, day labels and weekend colours for the month; columns
// is the number of duties + 1.
bool BuildScheduleGrid(FlexGrid &grid, const QDate &month, int columns);

// Hides the grid and lays it out for the month; each entry of duties is the
// duty's id, NUL and the column's header text. The caller shows the grid.
// A list moved in gives its texts to the grid without a copy.
bool ShowScheduleGrid(FlexGrid &grid, const QDate &month, QStringList duties);

} // namespace Module1
