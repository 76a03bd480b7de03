#pragma once

#include <QApplication>

// The program's QApplication: a failure that escapes an event handler is
// shown as a critical message and the event is dropped, so the window that
// raised it stays usable. Qt's own texts are Polish, and every window opens
// inside the screen.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
