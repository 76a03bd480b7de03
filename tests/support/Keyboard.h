#pragma once

// A window driven from the keyboard as a person drives it: keys go to
// whatever widget has the focus at that moment. Header-only, for the tests
// that link Qt Widgets.

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

namespace Keyboard {

// Shows the window and waits until it has the keyboard, as when it opens.
inline bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// One event per character with its text, so Polish letters come through.
inline void type(const QString &text)
{
    for (const QChar c : text) {
        const bool plain = c.unicode() < 128 && c.isLetterOrNumber();
        const auto key = plain ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, QString(c),
                            Qt::NoModifier);
    }
}

inline void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace Keyboard
