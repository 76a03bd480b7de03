#pragma once

#include <QString>

namespace InternetOperations {

// Percent-encodes text for a query value in ISO 8859-2: letters and digits
// of ASCII stay, every other byte becomes "%XX" (a space too, never "+").
// Characters ISO 8859-2 cannot hold are sent as "?" (%3F).
QString UrlEncode(const QString &text);

} // namespace InternetOperations
