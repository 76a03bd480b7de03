#pragma once

class QCoreApplication;
class QRect;
class QWidget;

// Keeps the program's windows inside the screen they open on, whatever its
// size and scale factor: a window larger than the screen's free area opens
// as large as that area, never larger, and a window opens centred over the
// window it belongs to (or on the screen), moved back inside the area where
// centring would push it past an edge.
namespace ScreenFit {

// The free area (panels left out) of the screen the window opens on, in the
// logical pixels the window's geometry uses.
QRect availableArea(const QWidget *window);

// Sizes and places a top-level window before it is shown; over is the window
// it is centred over, null for the screen. A window placed here is left alone
// by watch().
void place(QWidget *window, const QWidget *over);

// Places every top-level window of the application the first time it is
// shown: a dialog over its owner (or over the active window when it has
// none), any other window on the screen. Message boxes are left to Qt, which
// sizes them as they show and keeps them inside the screen itself.
void watch(QCoreApplication *application);

} // namespace ScreenFit
