#pragma once

#include <QFileDevice>
#include <QString>

// Why a file could not be read or written, in Polish, with the system's own
// text after it in parentheses: "Plik lub folder nie istnieje (No such file
// or directory)". Every file failure the program reports gives its reason
// through here, so one failure reads the same in every window.
namespace FileErrors {

QString reason(const QFileDevice &file);
// For a failure whose file object is gone: its error and errorString().
QString reason(QFileDevice::FileError error, const QString &systemText);

} // namespace FileErrors
