#include "core/CMD5.h"

#include <QByteArray>
#include <QCryptographicHash>

QString CMD5::MD5(const QString &text) const
{
    // The digest's bytes: the low-order byte of each UTF-16 code unit.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = char(text.at(i).unicode() & 0xFF);
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}
