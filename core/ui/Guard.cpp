#include "core/ui/Guard.h"

namespace Ui {

QString unexpectedFailureText(const QString &description)
{
    return Messages::lines({QStringLiteral("Wystąpił nieoczekiwany błąd!"), description});
}

} // namespace Ui
