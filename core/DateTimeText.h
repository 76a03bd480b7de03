#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

// The stored date and date-time texts (a person's last duty in ludzie_last,
// absence and head-count days, the working document's Date), read by one
// parser so that every reader accepts the same texts.
//
// Accepted, blanks around ignored: yyyy-mm-dd alone, or followed by a blank
// or "T" and hh:nn or hh:nn:ss; dd.mm.yyyy alone, or followed by a blank and
// hh:nn or hh:nn:ss. Every field has all its digits; a day or a time that
// does not exist (2023-02-29, 24:00) is refused. The time is the wall-clock
// time as written: no time zone is involved anywhere here.
//
// Instants are whole seconds since 1970-01-01 00:00 of that wall clock, so
// arithmetic on them never asks the C library's time-zone code.
namespace DateTimeText {

struct Value
{
    QDate date;
    QTime time; // 00:00 for a date alone
};

// No value for an empty text or one in no accepted form.
std::optional<Value> parse(QStringView text);
// The day of parse(text); a null date for no value.
QDate dateOf(QStringView text);

// The form the working document and the stored counts write: yyyy-mm-dd
// alone at midnight, else yyyy-mm-dd hh:nn:ss.
QString format(const Value &value);
QString format(qint64 seconds);
// yyyy-mm-dd.
QString dateText(const QDate &date);

qint64 seconds(const QDate &date, int secondsOfDay = 0);
qint64 seconds(const Value &value);
QDate dateOf(qint64 seconds);
Value valueOf(qint64 seconds);

} // namespace DateTimeText
