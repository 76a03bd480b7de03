#pragma once

// What a person reads with the mouse resting on a widget. Header-only, for
// the tests that link Qt Widgets.

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

namespace Tooltips {

// The tooltip shown with the mouse resting at pos of where (a view's
// viewport): its text, empty when none shows.
inline QString tooltipAt(QWidget *where, const QPoint &pos)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("(a tooltip stays)");
    QHelpEvent help(QEvent::ToolTip, pos, where->mapToGlobal(pos));
    QApplication::sendEvent(where, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// The same over the middle of a row's cell.
inline QString tooltipOf(QAbstractItemView *view, const QModelIndex &index)
{
    return tooltipAt(view->viewport(), view->visualRect(index).center());
}

} // namespace Tooltips
