#include "core/ui/CutTextTips.h"

#include "controls/ShownText.h"
#include "core/ui/FlexGrid.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <functional>
#include <optional>

namespace {

// What a cell under the mouse shows: no value where the widget answers
// itself (outside the cells, a cell with its own tooltip); an empty text
// where nothing is cut.
struct Tip
{
    QString text;
    QRect rect;
};
using Lookup = std::function<std::optional<Tip>(const QPoint &pos)>;

class Tips : public QObject
{
public:
    Tips(QWidget *viewport, Lookup lookup) : QObject(viewport), m_lookup(std::move(lookup)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        const auto &help = *static_cast<QHelpEvent *>(event);
        const std::optional<Tip> tip = m_lookup(help.pos());
        if (!tip)
            return false;
        if (tip->text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(
                help.globalPos(),
                ShownText::cut(tip->text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                static_cast<QWidget *>(watched), tip->rect);
        return true;
    }

private:
    Lookup m_lookup;
};

// Wider than its cell: the delegate then elides it.
bool isCut(const QAbstractItemView &view, const QModelIndex &index, const QRect &rect)
{
    QAbstractItemDelegate *delegate = view.itemDelegateForIndex(index);
    if (!delegate)
        return false;
    QStyleOptionViewItem option;
    option.initFrom(view.viewport());
    option.font = view.font();
    option.rect = rect;
    option.textElideMode = view.textElideMode();
    const int icon = view.style()->pixelMetric(QStyle::PM_SmallIconSize);
    option.decorationSize = view.iconSize().isValid() ? view.iconSize() : QSize(icon, icon);
    return delegate->sizeHint(option, index).width() > rect.width();
}

} // namespace

namespace CutTextTips {

void install(QAbstractItemView *view)
{
    view->viewport()->installEventFilter(
        new Tips(view->viewport(), [view](const QPoint &pos) -> std::optional<Tip> {
            const QModelIndex index = view->indexAt(pos);
            if (!index.isValid() || index.data(Qt::ToolTipRole).isValid())
                return std::nullopt;
            const QRect rect = view->visualRect(index);
            return Tip{isCut(*view, index, rect) ? index.data().toString() : QString(), rect};
        }));
}

void install(FlexGrid *grid)
{
    grid->viewport()->installEventFilter(
        new Tips(grid->viewport(), [grid](const QPoint &pos) -> std::optional<Tip> {
            const FlexGridGeometry layout = grid->layout();
            const QPoint cell = layout.cellAt(pos);
            if (cell.x() < 0)
                return std::nullopt;
            const int row = cell.y();
            const int col = cell.x();
            return Tip{grid->isTextCut(row, col) ? grid->text(row, col) : QString(),
                       layout.cellRect(row, col)};
        }));
}

} // namespace CutTextTips
