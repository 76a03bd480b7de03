#include "core/ui/Application.h"

#include "core/ui/Guard.h"

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Ui::guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
