#pragma once

// Reading and clicking the list boxes and their small toolbars of the build
// dialog and the rule editor, as a person does.

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
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(row)).center());
}

// The toolbar button of the action, clicked where it is drawn.
inline void clickButton(QToolBar *bar, QAction *action)
{
    QWidget *button = bar && action ? bar->widgetForAction(action) : nullptr;
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// The button of the toolbar that reads text.
inline void clickButton(QToolBar *bar, const QString &text)
{
    QVERIFY(bar);
    for (QAction *action : bar->actions()) {
        if (action->text() == text)
            return clickButton(bar, action);
    }
    QFAIL(qPrintable(QStringLiteral("no button ") + text));
}

} // namespace ListBoxes
