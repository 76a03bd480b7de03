#pragma once

// A window driven with the mouse as a person drives it: every click goes to
// the place where the thing is drawn, and only to a thing a person could
// click there (shown, enabled, not covered by another widget). Each function
// returns false, with the reason printed, when the click could not be made.
// Header-only, for the tests that link Qt Widgets.

#include "controls/BlueCommand.h"
#include "controls/TBNItems.h"
#include "controls/ToolBarN.h"
#include "core/ui/FlexGrid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <utility>

namespace Mouse {

namespace Detail {

inline bool refuse(const QString &why)
{
    qWarning("%s", qPrintable(why));
    return false;
}

// True when a click at pos (in target's pixels) lands on target or a child of it.
inline bool reaches(QWidget &target, const QPoint &pos, const QString &what)
{
    if (!target.isVisible())
        return refuse(what + QStringLiteral(" is not shown"));
    if (!target.rect().contains(pos))
        return refuse(what + QStringLiteral(" lies outside its widget"));
    QWidget *window = target.window();
    QWidget *hit = window->childAt(target.mapTo(window, pos));
    if (hit != &target && !target.isAncestorOf(hit))
        return refuse(what + QStringLiteral(" is covered by ") +
                      (hit ? QString::fromLatin1(hit->metaObject()->className()) +
                                 QLatin1Char(' ') + hit->objectName()
                           : QStringLiteral("nothing")));
    return true;
}

inline bool clickAt(QWidget &target, const QPoint &pos, const QString &what, bool twice,
                    Qt::KeyboardModifiers modifiers)
{
    if (!reaches(target, pos, what))
        return false;
    // A double click is what the system sends: press, release, double click, release.
    QTest::mouseClick(&target, Qt::LeftButton, modifiers, pos);
    if (twice) {
        QTest::mouseDClick(&target, Qt::LeftButton, modifiers, pos);
        QTest::mouseRelease(&target, Qt::LeftButton, modifiers, pos);
    }
    return true;
}

inline bool clickIndex(QAbstractItemView &view, const QModelIndex &index, bool twice,
                       Qt::KeyboardModifiers modifiers)
{
    if (!index.isValid())
        return refuse(QStringLiteral("no such row in ") + view.objectName());
    view.scrollTo(index);
    const QRect rect = view.visualRect(index);
    if (rect.isEmpty())
        return refuse(
            QStringLiteral("row %1 of %2 is not drawn").arg(index.row()).arg(view.objectName()));
    return clickAt(*view.viewport(), rect.center(),
                   QStringLiteral("row %1 of %2").arg(index.row()).arg(view.objectName()), twice,
                   modifiers);
}

} // namespace Detail

// The item of the banner toolbar with that key, in the middle of where the bar draws it.
inline bool clickItem(ToolBarN &bar, const QString &key)
{
    const TBNItem *item = bar.ListItems()->Item(key);
    if (!item || !item->Visible())
        return Detail::refuse(QStringLiteral("the toolbar shows no item \"%1\"").arg(key));
    const QPoint pos(int(bar.GetLeftPosition(key) + bar.GetItemWidth() / 2), bar.height() / 2);
    if (bar.HitTest(float(pos.x()), float(pos.y())) != key)
        return Detail::refuse(
            QStringLiteral("the toolbar's item \"%1\" does not answer at (%2, %3)")
                .arg(key)
                .arg(pos.x())
                .arg(pos.y()));
    return Detail::clickAt(bar, pos, QStringLiteral("toolbar item \"%1\"").arg(key), false, {});
}

// Any other widget a person clicks (a text button drawn as a label), in its middle.
inline bool clickWidget(QWidget &widget)
{
    const QString what = QString::fromLatin1(widget.metaObject()->className()) + QLatin1Char(' ') +
                         widget.objectName();
    if (!widget.isEnabled())
        return Detail::refuse(what + QStringLiteral(" is disabled"));
    return Detail::clickAt(widget, widget.rect().center(), what, false, {});
}

// The program's push button, in its middle; a disabled one refuses.
inline bool click(BlueCommand &button)
{
    if (!button.Enabled())
        return Detail::refuse(QStringLiteral("button \"%1\" is disabled").arg(button.Caption()));
    return Detail::clickAt(button, button.rect().center(),
                           QStringLiteral("button \"%1\"").arg(button.Caption()), false, {});
}

// The button a Qt toolbar shows for the action.
inline bool clickAction(QToolBar &bar, QAction *action)
{
    QWidget *button = action ? bar.widgetForAction(action) : nullptr;
    if (!button || !action->isEnabled())
        return Detail::refuse(QStringLiteral("\"%1\" is not offered by %2")
                                  .arg(action ? action->text() : QString(), bar.objectName()));
    return Detail::clickAt(*button, button->rect().center(),
                           QStringLiteral("\"%1\"").arg(action->text()), false, {});
}

// The button a Qt toolbar shows for the action with that text.
inline bool clickAction(QToolBar &bar, const QString &text)
{
    for (QAction *action : bar.actions())
        if (action->text() == text)
            return clickAction(bar, action);
    return Detail::refuse(QStringLiteral("%1 has no \"%2\"").arg(bar.objectName(), text));
}

// The tab with that caption, where the tab bar draws it.
inline bool clickTab(QTabWidget &tabs, const QString &caption)
{
    QTabBar *bar = tabs.tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->tabText(i) != caption)
            continue;
        if (!bar->isTabEnabled(i))
            return Detail::refuse(QStringLiteral("tab \"%1\" is disabled").arg(caption));
        return Detail::clickAt(*bar, bar->tabRect(i).center(),
                               QStringLiteral("tab \"%1\"").arg(caption), false, {});
    }
    return Detail::refuse(QStringLiteral("no tab \"%1\"").arg(caption));
}

// Clicks the tabs behind which widget lies, the outermost first.
inline bool revealTab(QWidget &widget)
{
    QList<std::pair<QTabWidget *, int>> tabs;
    for (QWidget *w = widget.parentWidget(); w; w = w->parentWidget()) {
        if (auto *tabWidget = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabWidget->count(); ++i)
                if (tabWidget->widget(i) == &widget || tabWidget->widget(i)->isAncestorOf(&widget))
                    tabs.prepend({tabWidget, i});
        }
    }
    for (const auto &[tabWidget, index] : tabs)
        if (tabWidget->currentIndex() != index &&
            !clickTab(*tabWidget, tabWidget->tabBar()->tabText(index)))
            return false;
    return true;
}

// Any row or cell of an item view, where the view draws it.
inline bool clickIndex(QAbstractItemView &view, const QModelIndex &index,
                       Qt::KeyboardModifiers modifiers = {})
{
    return Detail::clickIndex(view, index, false, modifiers);
}

inline bool doubleClickIndex(QAbstractItemView &view, const QModelIndex &index)
{
    return Detail::clickIndex(view, index, true, {});
}

// The entry of a drop-down list with that text: the box clicked open where it
// is drawn, then the entry clicked where its list draws it.
inline bool chooseEntry(QComboBox &box, const QString &text)
{
    const int index = box.findText(text);
    if (index < 0)
        return Detail::refuse(QStringLiteral("%1 has no entry \"%2\"").arg(box.objectName(), text));
    if (!Detail::clickAt(box, box.rect().center(), box.objectName(), false, {}))
        return false;
    QAbstractItemView *list = box.view();
    if (!QTest::qWaitFor([list] { return list->isVisible(); }))
        return Detail::refuse(box.objectName() + QStringLiteral(" did not open its list"));
    const QModelIndex entry = list->model()->index(index, box.modelColumn(), box.rootModelIndex());
    list->scrollTo(entry);
    const QRect rect = list->visualRect(entry);
    if (rect.isEmpty())
        return Detail::refuse(QStringLiteral("entry \"%1\" is not drawn").arg(text));
    // The list takes no click for a double-click interval after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    QTest::mouseMove(list->viewport(), rect.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    if (box.currentIndex() != index)
        return Detail::refuse(QStringLiteral("entry \"%1\" was not chosen").arg(text));
    return true;
}

inline bool clickRow(QListWidget &list, int row, Qt::KeyboardModifiers modifiers = {})
{
    return Detail::clickIndex(list, list.model()->index(row, 0), false, modifiers);
}

inline bool doubleClickRow(QListWidget &list, int row)
{
    return Detail::clickIndex(list, list.model()->index(row, 0), true, {});
}

inline bool clickRow(QTreeWidget &tree, QTreeWidgetItem *row, Qt::KeyboardModifiers modifiers = {})
{
    if (!row)
        return Detail::refuse(QStringLiteral("no such row in ") + tree.objectName());
    tree.scrollToItem(row);
    return Detail::clickIndex(tree, tree.indexFromItem(row), false, modifiers);
}

inline bool doubleClickRow(QTreeWidget &tree, QTreeWidgetItem *row)
{
    if (!row)
        return Detail::refuse(QStringLiteral("no such row in ") + tree.objectName());
    tree.scrollToItem(row);
    return Detail::clickIndex(tree, tree.indexFromItem(row), true, {});
}

// A column's header section, in its middle.
inline bool clickHeader(QTreeView &view, int section)
{
    QHeaderView *header = view.header();
    if (header->isSectionHidden(section) || header->sectionSize(section) <= 0)
        return Detail::refuse(QStringLiteral("header section %1 is not drawn").arg(section));
    const QPoint pos(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                     header->height() / 2);
    return Detail::clickAt(*header->viewport(), pos,
                           QStringLiteral("header section %1").arg(section), false, {});
}

namespace Detail {

inline bool clickCell(FlexGrid &grid, int row, int col, bool twice)
{
    const QRect rect = grid.layout().cellRect(row, col);
    if (rect.isEmpty())
        return refuse(QStringLiteral("cell (%1, %2) is not drawn").arg(row).arg(col));
    return clickAt(*grid.viewport(), rect.center(),
                   QStringLiteral("cell (%1, %2)").arg(row).arg(col), twice, {});
}

} // namespace Detail

// A cell of a grid, where the grid draws it.
inline bool clickCell(FlexGrid &grid, int row, int col)
{
    return Detail::clickCell(grid, row, col, false);
}

inline bool doubleClickCell(FlexGrid &grid, int row, int col)
{
    return Detail::clickCell(grid, row, col, true);
}

} // namespace Mouse
