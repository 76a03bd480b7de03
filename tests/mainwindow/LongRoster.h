#pragma once

// Writes a roster file from pieces, each an ASCII text repeated a number of
// times, compressed as it goes: a file holding hundreds of millions of
// characters costs the writer a few megabytes.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <zlib.h>

#include <algorithm>

namespace LongRoster {

struct Piece
{
    QByteArray text;
    qint64 times = 1;
};

inline bool write(const QString &path, const QList<Piece> &pieces)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    qint64 length = 0;
    for (const Piece &piece : pieces)
        length += piece.text.size() * piece.times;
    QByteArray header("DorvKadrelo", 11);
    header += '\0';
    header += QByteArray::number(length);
    header += char(0xB3);
    if (file.write(header) != header.size())
        return false;

    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        return false;
    QByteArray out(1 << 16, '\0');
    bool ok = true;
    auto feed = [&](const QByteArray &data, int flush) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
        stream.avail_in = uInt(data.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, flush);
            const qint64 produced = out.size() - qint64(stream.avail_out);
            ok = ok && file.write(out.constData(), produced) == produced;
        } while (stream.avail_out == 0);
    };
    for (const Piece &piece : pieces) {
        // About a megabyte of repeats at a time.
        const qint64 perBlock =
            std::max<qint64>(1, (1 << 20) / std::max<qsizetype>(1, piece.text.size()));
        const QByteArray block = piece.text.repeated(qsizetype(std::min(perBlock, piece.times)));
        qint64 left = piece.times;
        for (; left >= perBlock; left -= perBlock)
            feed(block, Z_NO_FLUSH);
        if (left > 0)
            feed(piece.text.repeated(qsizetype(left)), Z_NO_FLUSH);
    }
    feed(QByteArray(), Z_FINISH);
    deflateEnd(&stream);
    return ok;
}

} // namespace LongRoster
