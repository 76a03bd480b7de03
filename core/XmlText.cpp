#include "core/XmlText.h"

namespace XmlText {

qsizetype firstForbidden(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20) {
            if (c != u'\t' && c != u'\n' && c != u'\r')
                return i;
        } else if (c == 0xFFFE || c == 0xFFFF) {
            return i;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode()))
                return i;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return i;
        }
    }
    return -1;
}

QString codeAt(QStringView text, qsizetype pos)
{
    const char16_t c = text[pos].unicode();
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace XmlText
