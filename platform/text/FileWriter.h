#pragma once

#include <QByteArrayView>
#include <QString>

// Every file the program writes goes through here. The bytes go to a
// temporary file beside the target, which replaces the target only once every
// byte has reached the disk; QSaveFile::commit alone would rename a buffered,
// never-written temporary over the old file when the disk is full.
//
// Failures: false, the file at path as it was before (or still absent), no
// temporary left behind, and the Polish reason (FileErrors::reason) in
// *error: "Brak miejsca na dysku (No space left on device)".
namespace FileWriter {

bool write(const QString &path, QByteArrayView bytes, QString *error = nullptr);

} // namespace FileWriter
