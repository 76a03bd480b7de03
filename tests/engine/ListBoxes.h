#pragma once

// Reading and clicking the list boxes and their small toolbars of the build
// dialog and the rule editor, as a person does.

#include "tests/support/Mouse.h"

#include <QAction>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QToolBar>

namespace ListBoxes {

inline QStringList texts(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

inline QStringList selectedTexts(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            result << list->item(i)->text();
    }
    return result;
}

inline void clickEntry(QListWidget *list, int row, Qt::KeyboardModifiers modifiers = {})
{
    QVERIFY(list && Mouse::clickRow(*list, row, modifiers));
}

// The toolbar button of the action, clicked where it is drawn.
inline void clickButton(QToolBar *bar, QAction *action)
{
    QVERIFY(bar && Mouse::clickAction(*bar, action));
}

// The button of the toolbar that reads text.
inline void clickButton(QToolBar *bar, const QString &text)
{
    QVERIFY(bar && Mouse::clickAction(*bar, text));
}

} // namespace ListBoxes
