#include "platform/db/Values.h"

#include <QLocale>

#include <cmath>

namespace Db::Values {

QString text(const QVariant &v)
{
    if (v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

qint64 integer(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::LongLong:
        return v.toLongLong();
    case QMetaType::Double:
        return qint64(std::nearbyint(v.toDouble()));
    case QMetaType::QString: {
        const QString t = v.toString().trimmed();
        bool ok = false;
        const qint64 whole = t.toLongLong(&ok);
        if (ok)
            return whole;
        const double number = t.toDouble(&ok);
        return ok && std::isfinite(number) ? qint64(std::nearbyint(number)) : 0;
    }
    default:
        return v.isNull() ? 0 : v.toLongLong();
    }
}

bool flag(const QVariant &v)
{
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double)
        return v.toDouble() != 0.0;
    const QString t = v.toString().trimmed();
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (ok)
        return number != 0.0;
    return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace Db::Values
