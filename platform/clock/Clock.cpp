#include "platform/clock/Clock.h"

namespace Clock {

namespace {

QDateTime &fixed()
{
    static QDateTime moment;
    return moment;
}

} // namespace

QDateTime now()
{
    return fixed().isValid() ? fixed() : QDateTime::currentDateTime();
}

QDate today()
{
    return fixed().isValid() ? fixed().date() : QDate::currentDate();
}

void setNow(const QDateTime &moment)
{
    fixed() = moment;
}

} // namespace Clock
