#pragma once

// Input as a person gives it to the main window and its dialogs: a toolbar
// item clicked where the bar draws it, a menu entry clicked in its opened
// menu, a grid cell double-clicked where it lies. Header-only.

#include "controls/ToolBarN.h"
#include "core/ui/FlexGrid.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace WindowInput {

inline QPoint toolbarItemCentre(const ToolBarN &bar, const QString &key)
{
    return QPoint(int(bar.GetLeftPosition(key) + ToolBarN::ItemWidth / 2), bar.height() / 2);
}

inline void clickToolbarItem(ToolBarN *bar, const QString &key)
{
    QTest::mouseClick(bar, Qt::LeftButton, {}, toolbarItemCentre(*bar, key));
}

// Opens the menu by a click on its title in the menu bar, then clicks the
// entry; false when either is not there to click.
inline bool clickMenuEntry(QMenuBar *bar, const QString &menuName, const QString &entryName)
{
    QWidget &window = *bar->window();
    auto *menu = bar->findChild<QMenu *>(menuName);
    auto *entry = menu ? menu->findChild<QAction *>(entryName) : nullptr;
    if (!menu || !entry || !menu->actions().contains(entry))
        return false;
    // A click on a window that lost the keyboard (a modal window closed a
    // moment ago) first gives it back, as the desktop does.
    QCoreApplication::processEvents();
    if (!window.isActiveWindow()) {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    if (!QTest::qWaitForWindowExposed(menu))
        return false;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    return true;
}

inline void doubleClickCell(FlexGrid *grid, int row, int col)
{
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->layout().cellRect(row, col).center());
}

} // namespace WindowInput
