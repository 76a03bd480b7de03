#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/Application.h"
#include "core/ui/MessageBoxPresenter.h"
#include "core/ui/StartModule.h"
#include "mainwindow/Panel.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    QApplication::setApplicationName(Globals::ProgramTitle);

    MessageBoxPresenter presenter;
    Messages::setPresenter(&presenter);

    StartModule::setShowMainWindow([] {
        auto *panel = new Panel;
        panel->setAttribute(Qt::WA_DeleteOnClose);
        panel->show();
    });

    int result = 0;
    if (StartModule::Main())
        result = QApplication::exec();

    // Without a main window (login given up) nobody else closed the database.
    Globals::closeDatabase();
    Messages::setPresenter(nullptr);
    return result;
}
