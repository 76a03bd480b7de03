#pragma once

// Where a text box draws a character, to click it as a person does.
// Header-only, for the tests that link Qt Widgets.

#include <QLineEdit>
#include <QPoint>

namespace TestSupport {

// The middle of the character at text position pos, halfway down the box;
// (-1, y) when the box shows no such position.
inline QPoint placeOfText(QLineEdit *line, int pos)
{
    const int y = line->height() / 2;
    int first = -1;
    for (int x = 0; x < line->width(); ++x) {
        const int at = line->cursorPositionAt(QPoint(x, y));
        if (at == pos && first < 0)
            first = x;
        if (at > pos && first >= 0)
            return QPoint((first + x) / 2, y);
    }
    return QPoint(first, y);
}

} // namespace TestSupport
