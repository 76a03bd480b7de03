#include "engine/ui/WizardHost.h"

#include <QDialog>

int WizardUi::runModal(const ModalRunner &runner, QDialog &dialog)
{
    return runner ? runner(dialog) : dialog.exec();
}
