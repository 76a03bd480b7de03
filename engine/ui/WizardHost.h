#pragma once

#include <QString>

#include <functional>

class QDialog;

// What the rule windows need of the main window: the shared picker.
// pick(rodzaj) opens the picker for Rodzaj 0 (groups), 1 (people), 2 (day
// range) or 3 (duties) and returns its Result: "id;name" entries joined by
// NUL, or "first;last" for a day range; empty when nothing was picked. The
// main window implements it with SelectItem, as it does for the build dialog.
class WizardHost
{
public:
    virtual ~WizardHost() = default;
    virtual QString pick(int rodzaj) = 0;
};

namespace WizardUi {
// Shows a dialog modally and returns its result; tests replace it to drive
// the dialog in place. An empty runner calls exec().
using ModalRunner = std::function<int(QDialog &)>;
int runModal(const ModalRunner &runner, QDialog &dialog);
} // namespace WizardUi
