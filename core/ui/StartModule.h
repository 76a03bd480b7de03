#pragma once

#include <QString>

#include <functional>

// The program's way in: the single-instance check, the database choice, the
// opening of the chosen database and the program password.
//
// The main window lives above this library: main() tells StartModule how to
// show it. Failures are shown as messages (see each function); nothing throws.
namespace StartModule {

// Shows the main window (not modally) once the database is open and the
// password, when one is set, was given.
void setShowMainWindow(std::function<void()> show);
void ShowMainWindow();

// Start-up: refuses a second copy ("Program jest już uruchomiony!"), then
// shows SelectDatabase. False when the program must end at once.
bool Main();

// Opens the database file, sets the program's database and options store
// and shows Login or the main window. False (after its message) on failure.
bool OpenDatabase(const QString &path);

// The program's lock against a second copy: one per user and program folder,
// held until the process ends. A lock left by a process that died is taken over.
bool acquireInstanceLock();
void releaseInstanceLock();
QString instanceLockPath();

} // namespace StartModule
