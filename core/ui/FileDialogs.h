#pragma once

#include <QString>
#include <QStringList>

class QFileInfo;
class QWidget;

// The open and save dialogs of the program, behind one small facade so that
// tests can answer them in advance. Qt's own dialog is used on every desktop,
// its columns in Polish (sizes, types, dates).
//
// Filters are Qt name filters ("Grafik (*.swx)"); selectedFilter is in/out:
// the filter to preselect, then the one the user chose. An empty result means
// the user cancelled.
namespace FileDialogs {

QString getOpenFileName(QWidget *owner, const QString &title, const QString &folder,
                        const QStringList &filters, int *selectedFilter);
// suffixes[i] ("swx") is added to a name typed without it while filter i is
// chosen, so that the overwrite question names the file really written.
QString getSaveFileName(QWidget *owner, const QString &title, const QString &path,
                        const QStringList &filters, int *selectedFilter,
                        const QStringList &suffixes);

// The type column's text of a file or folder: Polish, the program's own
// files named as the program calls them.
QString typeName(const QFileInfo &info);

// Test hooks: the next dialog is not shown and returns fileName (empty for a
// cancel); filterIndex >= 0 also answers the chosen filter (0 = the first).
void setNextFileName(const QString &fileName, int filterIndex = -1);
// How many queued answers are left.
int pendingAnswers();

} // namespace FileDialogs
