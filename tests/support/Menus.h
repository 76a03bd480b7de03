#pragma once

// Menu entries chosen with the mouse as a person chooses them. Header-only,
// for the tests that link Qt Widgets.

#include <QAction>
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
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

} // namespace Menus
