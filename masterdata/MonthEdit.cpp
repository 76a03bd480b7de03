#include "masterdata/MonthEdit.h"

#include "platform/clock/Clock.h"

#include <QLineEdit>
#include <QLocale>

MonthEdit::MonthEdit(QWidget *parent) : QDateEdit(parent)
{
    setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    setDisplayFormat(QStringLiteral("MMMM yyyy"));
    setCalendarPopup(true);
    // The text is not typed: the sections of "MMMM yyyy" would not match our own month names.
    lineEdit()->setReadOnly(true);
    setDate(Clock::today());
}

QString MonthEdit::monthText(const QDate &date)
{
    return QLocale(QLocale::Polish)
               .standaloneMonthName(date.month(), QLocale::LongFormat)
               .toLower() +
           u' ' + QString::number(date.year());
}

bool MonthEdit::sameMonth(const QDate &a, const QDate &b)
{
    return a.year() == b.year() && a.month() == b.month();
}

void MonthEdit::stepBy(int steps)
{
    setDate(date().addMonths(steps));
}

QString MonthEdit::textFromDateTime(const QDateTime &dateTime) const
{
    return monthText(dateTime.date());
}

QDateTime MonthEdit::dateTimeFromText(const QString &text) const
{
    // Only our own text can stand in the box, and it always shows the held date.
    Q_UNUSED(text);
    return dateTime();
}

QValidator::State MonthEdit::validate(QString &input, int &pos) const
{
    Q_UNUSED(input);
    Q_UNUSED(pos);
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled MonthEdit::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}
