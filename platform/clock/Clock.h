#pragma once

#include <QDate>
#include <QDateTime>

// Where the program asks for today: the system's clock, or a moment a test
// has set, so that a window opened "today" shows the same on every run.
namespace Clock {

// The local date and time.
QDateTime now();
QDate today();

// Test hook: now() answers moment from here on; an invalid moment gives the
// system's clock back.
void setNow(const QDateTime &moment);

} // namespace Clock
