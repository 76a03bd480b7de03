#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The roster file container (.swx): the magic "DorvKadrelo", a NUL, the
// length of the text in decimal digits, the byte 0xB3, then the zlib stream
// of the text in windows-1250.
//
// Failure contract: nothing here shows a message. Reading gives back nothing
// (std::nullopt) for a file that cannot be read, a header without a plain
// decimal length, a length beyond MaxTextLength or a body zlib refuses.
namespace Compression {

// Longest text a container may declare; protects against hostile headers.
inline constexpr qint64 MaxTextLength = 256 * 1024 * 1024;

// zlib's output buffer for a text of n bytes: n + 1% + 12, halves to even.
qint64 BufferSize(qint64 n);

// The container for text (XML: characters windows-1250 lacks become &#N;).
// *result receives compress's code, 0 (Z_OK) on success; the content is only
// meaningful then.
QByteArray CompressText(const QString &text, int *result = nullptr);

// CompressText written through FileWriter: a failure keeps the old file.
bool SaveFile(const QString &path, const QString &text, QString *error = nullptr);

// The stored text of a container, or nothing when it is damaged.
std::optional<QString> DecompressBytes(const QByteArray &content);
std::optional<QString> DecompressFile(const QString &path);
// The same as its windows-1250 bytes, undecoded.
std::optional<QByteArray> InflateBytes(const QByteArray &content);
std::optional<QByteArray> InflateFile(const QString &path);

} // namespace Compression
