#include "core/ui/Guard.h"

namespace Ui {

QString unexpectedFailureText(const QString &description)
{
    QString text = QStringLiteral("Wystąpił nieoczekiwany błąd!");
    if (!description.isEmpty())
        text += QLatin1Char('\n') + description;
    return text;
}

} // namespace Ui
