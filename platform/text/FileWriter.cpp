#include "platform/text/FileWriter.h"

#include "platform/text/FileErrors.h"

#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace FileWriter {

namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// A failed write that Qt left without a category still failed.
QString writeReason(const QSaveFile &file)
{
    const QFileDevice::FileError category =
        file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
    return FileErrors::reason(category, file.errorString());
}

} // namespace

bool write(const QString &path, QByteArrayView bytes, QString *error)
{
    QSaveFile file(path);
    // Unbuffered: every write reaches the system at once and tells its outcome.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, FileErrors::reason(file));
    // A short write is no failure yet; writing the rest tells why it stopped.
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return fail(error, writeReason(file)); // the temporary goes with file
        done += written;
    }
    // Some file systems report a full disk only when the data is flushed.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return fail(error, FileErrors::reason(QFileDevice::WriteError, qt_error_string(errno)));
    if (!file.commit())
        return fail(error, FileErrors::reason(file));
    return true;
}

} // namespace FileWriter
