#pragma once

#include <QString>

class QAbstractItemView;
class QListWidget;
class QWidget;

// The shared procedures that need windows: file dialogs, flat borders,
// engraved separators, remembered list-view column widths, shell open.
// Failures: OpenWithShell shows its failure with the critical icon; the
// column procedures do nothing without an open options store.
namespace Module1 {

// filter: description/pattern pairs, each followed by NUL (" Grafik (*.swx)", NUL, "*.swx", NUL).
// The chosen filter is kept for the following dialogs; each dialog opens in
// the folder of the file last chosen in this run (or the initial folder last
// given to a save dialog), the program folder at first.
// Both return the chosen path, or the empty text when the user cancels.
QString ShowOpenDialog(QWidget *owner, const QString &filter, const QString &title);
// The chosen pattern's extension is appended unless the name already ends
// with it (in any letter case).
QString ShowSaveDialog(QWidget *owner, const QString &filter, const QString &title,
                       const QString &initialFolder, const QString &defaultName);
// Forgets the kept filter and folder (a new run's state; for tests).
void resetFileDialogState();

// A thin one-pixel border in place of the sunken 3D frame.
void FlatBorder(QWidget *control);
// FlatBorder on every control of the form of the given kind: "TextBox",
// "ListBox", "ListView", "ComboBox", "DTPicker", or a Qt class name.
void FlatControls(QWidget *form, const QString &typeName);
void FlatControlsOfType(QWidget *form, const QString &typeName);

// Engraved separators: the form's frames named "DblLine" or "DblLine_<n>";
// index < 0 draws them all.
void DrawFormLines(QWidget *form, int index = -1);

bool ListBoxContains(const QListWidget *list, const QString &text);
void DeselectListView(QAbstractItemView *view);

// Column widths (twips, whole numbers, joined by ";") of every list view of
// the form, under the option "<form name>.<list name>". A stored list whose
// count differs from the columns is ignored.
void SaveListViewColumns(QWidget *form);
void LoadListViewColumns(QWidget *form);

// Opens the file with the program the desktop associates with it.
void OpenWithShell(QWidget *owner, const QString &path);

} // namespace Module1
