#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace TestSupport {

// The box of the pixels of area that differ from its background (the colour
// of its top-left pixel): where a drawn text lies. Empty when nothing is drawn.
inline QRect inkBounds(const QImage &image, const QRect &area)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty())
        return {};
    const QRgb background = image.pixel(inside.topLeft());
    QRect ink;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace TestSupport
