#include "core/ui/ScheduleGridLayout.h"

#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/FlexGrid.h"

#include <QColor>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace Module1 {

namespace {

// BGR &HC0C0FF and &HFF of the weekend labels: red text on light red.
const QColor WeekendBack(255, 192, 192);
const QColor WeekendFore(255, 0, 0);

bool readSize(const char *name, double *centimetres)
{
    const QString key = QString::fromLatin1(name);
    const QString value = Globals::options() ? Globals::options()->GetOption(key) : QString();
    if (ParseCellSize(value, centimetres))
        return true;
    Messages::critical(
        QStringLiteral("Nieprawidłowy rozmiar komórki grafiku w opcjach (%1): \"%2\".")
            .arg(key, value));
    return false;
}

} // namespace

bool ParseCellSize(const QString &text, double *centimetres)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return false;
    *centimetres = value;
    return true;
}

int CellTwips(double centimetres, double dpiX, double dpiAxis)
{
    const double pixels = centimetres * 10.0 * dpiX / 25.4; // MmToPixels of the option, times 10
    return int(std::nearbyint(pixels * 1440.0 / dpiAxis));
}

int TwipsToPixels(int twips, double dpi)
{
    return int(std::nearbyint(twips * dpi / 1440.0));
}

QString DayLabel(const QDate &date)
{
    return QString::number(date.day()) + QStringLiteral("\r\n") +
           QLocale(QLocale::Polish).dayName(date.dayOfWeek(), QLocale::ShortFormat);
}

bool BuildScheduleGrid(FlexGrid &grid, const QDate &month, int columns)
{
    double widthCm = 0;
    double heightCm = 0;
    if (!readSize("CellWidth", &widthCm) || !readSize("CellHeight", &heightCm))
        return false;
    const double dpiX = grid.logicalDpiX();
    const double dpiY = grid.logicalDpiY();
    const int cellWidth = TwipsToPixels(CellTwips(widthCm, dpiX, dpiX), dpiX);
    const int cellHeight = TwipsToPixels(CellTwips(heightCm, dpiX, dpiY), dpiY);

    grid.setRows(1);
    grid.setCols(1);
    grid.clear();
    grid.setColData(0, 0);
    // The day column is as wide as the design says, or as its widest label
    // needs in the grid's font, so that no weekday name is cut.
    int dayColumn = TwipsToPixels(DayColumnTwips, dpiX);
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const QString name = QLocale(QLocale::Polish).dayName(weekday, QLocale::ShortFormat);
        dayColumn = std::max(dayColumn, grid.fontMetrics().horizontalAdvance(name) + 10);
    }
    grid.setColWidth(0, dayColumn);
    grid.setRowHeight(0, TwipsToPixels(HeaderRowTwips, dpiY));

    grid.setCols(std::max(1, columns));
    for (int c = 1; c < grid.cols(); ++c) {
        grid.setColWidth(c, cellWidth);
        grid.setColData(c, 0);
    }

    const QDate first(month.year(), month.month(), 1);
    const int days = Module1::DaysInMonth(month.month(), month.year());
    for (int d = 1; d <= days; ++d) {
        const QDate date = first.addDays(d - 1);
        grid.addItem(DayLabel(date));
        const int row = grid.rows() - 1;
        if (date.dayOfWeek() >= Qt::Saturday) {
            grid.setCellBackColor(row, 0, WeekendBack);
            grid.setCellForeColor(row, 0, WeekendFore);
        }
        grid.setRowHeight(row, cellHeight);
    }
    grid.setTopRow(1);
    grid.setLeftCol(1);
    return true;
}

bool ShowScheduleGrid(FlexGrid &grid, const QDate &month, QStringList duties)
{
    grid.setWordWrap(true);
    if (!BuildScheduleGrid(grid, month, int(duties.size()) + 1))
        return false;
    grid.hide();
    for (int i = 0; i < duties.size(); ++i) {
        QString &entry = duties[i];
        const qsizetype nul = entry.indexOf(QChar(u'\0'));
        grid.setColData(i + 1, (nul < 0 ? entry : entry.left(nul)).toLongLong());
        // In place: a duty's name from a file may be hundreds of megabytes.
        if (nul < 0)
            entry.clear();
        else
            entry.remove(0, nul + 1);
        grid.setText(0, i + 1, entry);
    }
    return true;
}

} // namespace Module1
