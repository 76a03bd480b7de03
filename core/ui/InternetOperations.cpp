#include "core/ui/InternetOperations.h"

#include "core/Module1.h"
#include "platform/text/Cp1250.h"

namespace InternetOperations {

QString UrlEncode(const QString &text)
{
    // The six letters that differ between the code pages are moved to their
    // ISO 8859-2 codes first, so the windows-1250 bytes then read as ISO 8859-2.
    const QByteArray bytes =
        Cp1250::encode(Module1::ConvertLatin2Letters(text, false), Cp1250::Unmappable::Question);
    static const char hex[] = "0123456789ABCDEF";
    QString encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= 'a' && byte <= 'z')) {
            encoded += QLatin1Char(char(byte));
        } else {
            encoded += QLatin1Char('%');
            encoded += QLatin1Char(hex[byte >> 4]);
            encoded += QLatin1Char(hex[byte & 0x0F]);
        }
    }
    return encoded;
}

} // namespace InternetOperations
