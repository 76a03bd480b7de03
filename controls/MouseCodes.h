#pragma once

#include <Qt>

// The button and shift codes that the controls' mouse events carry:
// button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt.
namespace MouseCodes {

inline int button(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

inline int shift(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace MouseCodes
