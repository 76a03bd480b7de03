#pragma once

#include "core/Messages.h"

// Shows the program's messages as QMessageBox dialogs; main() installs one
// for the whole run.
class MessageBoxPresenter : public Messages::Presenter
{
public:
    Messages::Answer show(const QString &text, const QString &title, Messages::Icon icon,
                          Messages::Buttons buttons) override;
};
