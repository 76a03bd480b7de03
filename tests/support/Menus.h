#pragma once

// Menu entries chosen with the mouse as a person chooses them. Header-only,
// for the tests that link Qt Widgets.

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace Menus {

// Opens the menu of bar that holds entry where the bar draws it, then clicks
// the entry where the menu draws it; the entry's command runs before this
// returns.
inline void choose(QMenuBar *bar, QAction *entry)
{
    QVERIFY(bar && entry);
    QMenu *menu = nullptr;
    for (QObject *holder : entry->associatedObjects())
        if ((menu = qobject_cast<QMenu *>(holder)))
            break;
    QVERIFY(menu);
    // A window that lost the keyboard a moment ago (a modal window closed)
    // gets it back first, as the desktop gives it on the click; the news of
    // it would otherwise close the menu as it opens.
    QCoreApplication::processEvents();
    if (!bar->window()->isActiveWindow()) {
        bar->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(bar->window()));
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

} // namespace Menus
