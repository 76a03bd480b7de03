#include "core/DateTimeText.h"

namespace DateTimeText {

namespace {

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 EpochJulianDay = 2440588; // 1970-01-01

// The number written in count digits at pos, or -1.
int digits(QStringView text, qsizetype pos, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// hh:nn or hh:nn:ss filling the whole text.
std::optional<QTime> parseTime(QStringView text)
{
    if ((text.size() != 5 && text.size() != 8) || text[2] != u':' ||
        (text.size() == 8 && text[5] != u':'))
        return std::nullopt;
    const int hour = digits(text, 0, 2);
    const int minute = digits(text, 3, 2);
    const int second = text.size() == 8 ? digits(text, 6, 2) : 0;
    if (hour < 0 || minute < 0 || second < 0 || !QTime::isValid(hour, minute, second))
        return std::nullopt;
    return QTime(hour, minute, second);
}

void putDigits(QChar *out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

// yyyy-mm-dd at out; the calendar is asked once.
void putDate(QChar *out, const QDate &date)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    putDigits(out, year, 4);
    out[4] = u'-';
    putDigits(out + 5, month, 2);
    out[7] = u'-';
    putDigits(out + 8, day, 2);
}

} // namespace

std::optional<Value> parse(QStringView text)
{
    text = text.trimmed();
    if (text.size() < 10)
        return std::nullopt;
    int year, month, day;
    bool isoDate = text[4] == u'-' && text[7] == u'-';
    if (isoDate) {
        year = digits(text, 0, 4);
        month = digits(text, 5, 2);
        day = digits(text, 8, 2);
    } else if (text[2] == u'.' && text[5] == u'.') {
        day = digits(text, 0, 2);
        month = digits(text, 3, 2);
        year = digits(text, 6, 4);
    } else {
        return std::nullopt;
    }
    if (year < 0 || month < 0 || day < 0 || !QDate::isValid(year, month, day))
        return std::nullopt;
    Value value{QDate(year, month, day), QTime(0, 0)};
    if (text.size() == 10)
        return value;
    const QChar separator = text[10];
    if (separator != u' ' && !(isoDate && separator == u'T'))
        return std::nullopt;
    const std::optional<QTime> time = parseTime(text.mid(11));
    if (!time)
        return std::nullopt;
    value.time = *time;
    return value;
}

QDate dateOf(QStringView text)
{
    const std::optional<Value> value = parse(text);
    return value ? value->date : QDate();
}

QString dateText(const QDate &date)
{
    QString text(10, Qt::Uninitialized);
    putDate(text.data(), date);
    return text;
}

QString format(const Value &value)
{
    if (value.time == QTime(0, 0))
        return dateText(value.date);
    QString text(19, Qt::Uninitialized);
    QChar *out = text.data();
    putDate(out, value.date);
    out[10] = u' ';
    putDigits(out + 11, value.time.hour(), 2);
    out[13] = u':';
    putDigits(out + 14, value.time.minute(), 2);
    out[16] = u':';
    putDigits(out + 17, value.time.second(), 2);
    return text;
}

QString format(qint64 seconds)
{
    const qint64 days = floorDiv(seconds, SecondsPerDay);
    const int secondsOfDay = int(seconds - days * SecondsPerDay);
    // Years 1 to 9999 by plain arithmetic (the working document writes one
    // per booking); the calendar for the rest.
    const qint64 z = days + 719468; // days since 0000-03-01
    const qint64 era = floorDiv(z, 146097);
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 m = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * m + 2) / 5 + 1);
    const int month = int(m < 10 ? m + 3 : m - 9);
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year < 1 || year > 9999)
        return format(valueOf(seconds));
    QString text(secondsOfDay == 0 ? 10 : 19, Qt::Uninitialized);
    QChar *out = text.data();
    putDigits(out, int(year), 4);
    out[4] = u'-';
    putDigits(out + 5, month, 2);
    out[7] = u'-';
    putDigits(out + 8, day, 2);
    if (secondsOfDay != 0) {
        out[10] = u' ';
        putDigits(out + 11, secondsOfDay / 3600, 2);
        out[13] = u':';
        putDigits(out + 14, secondsOfDay / 60 % 60, 2);
        out[16] = u':';
        putDigits(out + 17, secondsOfDay % 60, 2);
    }
    return text;
}

qint64 seconds(const QDate &date, int secondsOfDay)
{
    return (date.toJulianDay() - EpochJulianDay) * SecondsPerDay + secondsOfDay;
}

qint64 seconds(const Value &value)
{
    return seconds(value.date, value.time.msecsSinceStartOfDay() / 1000);
}

QDate dateOf(qint64 seconds)
{
    return QDate::fromJulianDay(floorDiv(seconds, SecondsPerDay) + EpochJulianDay);
}

Value valueOf(qint64 seconds)
{
    const qint64 days = floorDiv(seconds, SecondsPerDay);
    return {QDate::fromJulianDay(days + EpochJulianDay),
            QTime::fromMSecsSinceStartOfDay(int(seconds - days * SecondsPerDay) * 1000)};
}

} // namespace DateTimeText
