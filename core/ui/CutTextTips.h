#pragma once

class FlexGrid;
class QAbstractItemView;

// A text drawn cut to its cell ("Jankowska Małgorz…") shows whole as the
// cell's tooltip; a text that fits gets none, and a cell's own tooltip
// stays. Installed once on a view or grid, which owns what it adds; no cost
// while the rows are filled.
namespace CutTextTips {

void install(QAbstractItemView *view);
void install(FlexGrid *grid);

} // namespace CutTextTips
