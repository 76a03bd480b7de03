#pragma once

// What the gallery programs share. A gallery is not a test: it shows
// controls and windows in their states and writes their pictures for a
// person to look at. Header-only, for the programs that link Qt Widgets.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QWidget>

namespace Gallery {

// Where picture name goes: the folder KADRELO_SCREENSHOTS names, else
// gallery/ beside the program; the folder is made when missing.
inline QString path(const QString &name)
{
    QString folder = qEnvironmentVariable("KADRELO_SCREENSHOTS");
    if (folder.isEmpty())
        folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gallery"));
    QDir().mkpath(folder);
    return QDir(folder).filePath(name);
}

inline bool save(const QImage &image, const QString &name)
{
    return image.save(path(name));
}

// Shows the window, waits until it is drawn and saves its picture.
inline bool save(QWidget &window, const QString &name)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window) && window.grab().save(path(name));
}

// The galleries that build a database take the schema the build was made
// from when KADRELO_SCHEMA is not set.
inline void useBuildSchema()
{
#ifdef KADRELO_SCHEMA_FILE
    if (qEnvironmentVariableIsEmpty("KADRELO_SCHEMA"))
        qputenv("KADRELO_SCHEMA", KADRELO_SCHEMA_FILE);
#endif
}

} // namespace Gallery
