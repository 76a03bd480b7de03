#include "core/Tools.h"

#include "core/CMD5.h"

namespace Tools {

QString GetMD5(const QString &text)
{
    return CMD5().MD5(text);
}

float MmToPixels(double dpiX, float millimetres)
{
    return float(double(millimetres) * dpiX / 25.4);
}

} // namespace Tools
