#pragma once

#include "core/Messages.h"

#include <exception>
#include <new>
#include <utility>

// Runs one window handler so that an unexpected failure is shown as a
// critical message and the window stays usable, instead of ending the program.
namespace Ui {

QString unexpectedFailureText(const QString &description);

template <typename Handler> void guarded(Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::bad_alloc &e) {
        Messages::critical(unexpectedFailureText(
            QStringLiteral("Brak pamięci (%1)").arg(QString::fromLocal8Bit(e.what()))));
    } catch (const std::exception &e) {
        Messages::critical(unexpectedFailureText(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        Messages::critical(unexpectedFailureText(QString()));
    }
}

} // namespace Ui
