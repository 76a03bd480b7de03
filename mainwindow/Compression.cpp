#include "mainwindow/Compression.h"

#include "platform/text/Cp1250.h"
#include "platform/text/FileWriter.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <cmath>

namespace Compression {

namespace {

const QByteArray Magic = QByteArrayLiteral("DorvKadrelo");
constexpr char Separator = char(0xB3);
// The magic and its NUL are skipped unread; the length must end within the first 100 bytes.
constexpr qsizetype HeaderStart = 12;
constexpr qsizetype HeaderEnd = 100;

} // namespace

qint64 BufferSize(qint64 n)
{
    return qint64(std::nearbyint(double(n) + double(n) * 0.01 + 12.0));
}

QByteArray CompressText(const QString &text, int *result)
{
    const QByteArray bytes = Cp1250::encode(text, Cp1250::Unmappable::XmlCharRef);
    QByteArray buffer(qsizetype(BufferSize(bytes.size())), '\0');
    uLongf destLen = uLongf(buffer.size());
    const int code =
        compress(reinterpret_cast<Bytef *>(buffer.data()), &destLen,
                 reinterpret_cast<const Bytef *>(bytes.constData()), uLong(bytes.size()));
    if (result)
        *result = code;

    QByteArray content = Magic;
    content += '\0';
    content += QByteArray::number(bytes.size());
    content += Separator;
    content += buffer.left(qsizetype(destLen));
    return content;
}

bool SaveFile(const QString &path, const QString &text, QString *error)
{
    int code = Z_OK;
    const QByteArray content = CompressText(text, &code);
    if (code != Z_OK) {
        if (error)
            *error = QStringLiteral("Nie udało się skompresować grafiku (zlib %1)").arg(code);
        return false;
    }
    return FileWriter::write(path, content, error);
}

std::optional<QByteArray> InflateBytes(const QByteArray &content)
{
    if (content.size() < HeaderStart)
        return std::nullopt;
    const QByteArray window = content.mid(HeaderStart, HeaderEnd - HeaderStart);
    const qsizetype separator = window.indexOf(Separator);
    if (separator <= 0)
        return std::nullopt;

    // Plain decimal digits only, and a bound, so a hostile header cannot make us allocate
    // gigabytes.
    const QByteArray digits = window.left(separator);
    qint64 length = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        length = length * 10 + (c - '0');
        if (length > MaxTextLength)
            return std::nullopt;
    }

    const QByteArray body = content.mid(HeaderStart + separator + 1);
    // Deflate never expands more than 1032 to 1: a larger header length only
    // asks for a buffer the body could never fill.
    const qint64 reachable = BufferSize(qint64(body.size()) * 1032);
    // zlib writes every byte that counts; a cleared buffer would cost a pass.
    QByteArray buffer(qsizetype(std::min(BufferSize(length), reachable)), Qt::Uninitialized);
    uLongf destLen = uLongf(buffer.size());
    const int code =
        uncompress(reinterpret_cast<Bytef *>(buffer.data()), &destLen,
                   reinterpret_cast<const Bytef *>(body.constData()), uLong(body.size()));
    if (code != Z_OK)
        return std::nullopt;
    // In place: a copy of a long text would double the memory opening it takes.
    buffer.truncate(qsizetype(destLen));
    return buffer;
}

std::optional<QString> DecompressBytes(const QByteArray &content)
{
    const std::optional<QByteArray> bytes = InflateBytes(content);
    return bytes ? std::optional<QString>(Cp1250::decode(*bytes)) : std::nullopt;
}

std::optional<QByteArray> InflateFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A compressed body is never larger than the longest text it may hold.
    if (file.size() > MaxTextLength + HeaderEnd)
        return std::nullopt;
    return InflateBytes(file.readAll());
}

std::optional<QString> DecompressFile(const QString &path)
{
    const std::optional<QByteArray> bytes = InflateFile(path);
    return bytes ? std::optional<QString>(Cp1250::decode(*bytes)) : std::nullopt;
}

} // namespace Compression
