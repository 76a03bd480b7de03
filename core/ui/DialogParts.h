#pragma once

// Pieces the program's tabbed dialogs are built from alike: the
// new/edit/delete bar, the "Ogólne" page, the buttons row and the frame.

#include <QList>
#include <QString>

#include <functional>

class BlueCommand;
class QDialog;
class QEvent;
class QHBoxLayout;
class QTabWidget;
class QWidget;
class ToolBarN;

namespace DialogParts {

// The bar with "Nowy", "Edytuj" and "Usuń" (keys new, edit, del); a click
// runs guarded.
ToolBarN *editBar(QDialog &dialog, const std::function<void(const QString &)> &click);

// The tab control (SSTab1) holding one empty page "Ogólne"; returns the page.
QWidget *generalPage(QDialog &dialog, QTabWidget **tabs);

// A button whose click runs guarded.
BlueCommand *command(QDialog &dialog, const QString &name, const QString &caption,
                     const std::function<void()> &click);
// ButtonClose: Escape presses it and it rejects the dialog.
BlueCommand *closeCommand(QDialog &dialog, const QString &caption);
// The buttons right-aligned in a row.
QHBoxLayout *commandRow(const QList<BlueCommand *> &commands);

// The bar across the top, below it the tabs and the buttons row.
void layOut(QDialog &dialog, ToolBarN *bar, QTabWidget *tabs, QHBoxLayout *buttons);

// Escape reaches a dialog only as the press of its cancel button: a dialog
// without one stays open on Escape (its frame's close button still closes it).
void keepOpenOnEscape(QDialog &dialog);

// Return or Enter pressed.
bool isEnterPress(const QEvent *event);

} // namespace DialogParts
