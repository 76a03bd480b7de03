#include "core/ui/Application.h"

#include "core/ui/Guard.h"
#include "core/ui/ScreenFit.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // Qt's own texts (file dialogs, their overwrite question, edit menus)
    // in Polish as well, whatever the machine's language.
    auto *translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    ScreenFit::watch(this);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Ui::guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
