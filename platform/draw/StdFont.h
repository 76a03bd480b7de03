#pragma once

#include <QString>

namespace Draw {

// The standard font object of a control's Font property: a plain value.
// Size is in points; Weight 400 normal, 700 bold (Bold follows Weight).
struct StdFont
{
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int weight = 400;
    int charset = 0;

    void setBold(bool on)
    {
        bold = on;
        weight = on ? 700 : 400;
    }

    bool operator==(const StdFont &) const = default;
};

} // namespace Draw
