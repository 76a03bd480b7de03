#include "platform/draw/Gdi.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include <cmath>
#include <cstdlib>

namespace Draw {

QColor toQColor(ColorRef c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

ColorRef fromQColor(const QColor &c)
{
    return rgb(c.red(), c.green(), c.blue());
}

ColorRef fromQRgb(QRgb value)
{
    return rgb(qRed(value), qGreen(value), qBlue(value));
}

ColorRef sysColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    auto c = [&pal](QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active) {
        return fromQColor(pal.color(group, role));
    };
    switch (index) {
    case COLOR_SCROLLBAR:
        return c(QPalette::Midlight);
    case COLOR_BACKGROUND:
        return c(QPalette::Dark);
    case COLOR_ACTIVECAPTION:
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
        return c(QPalette::Highlight);
    case COLOR_INACTIVECAPTION:
    case COLOR_GRADIENTINACTIVECAPTION:
        return c(QPalette::Highlight, QPalette::Inactive);
    case COLOR_GRADIENTACTIVECAPTION:
        return c(QPalette::Highlight);
    case COLOR_MENU:
    case COLOR_MENUBAR:
    case COLOR_BTNFACE:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
        return c(QPalette::Button);
    case COLOR_WINDOW:
        return c(QPalette::Base);
    case COLOR_WINDOWFRAME:
    case COLOR_3DDKSHADOW:
        return c(QPalette::Shadow);
    case COLOR_MENUTEXT:
    case COLOR_WINDOWTEXT:
        return c(QPalette::WindowText);
    case COLOR_CAPTIONTEXT:
    case COLOR_HIGHLIGHTTEXT:
        return c(QPalette::HighlightedText);
    case COLOR_APPWORKSPACE:
        return c(QPalette::Mid);
    case COLOR_BTNSHADOW:
        return c(QPalette::Dark);
    case COLOR_GRAYTEXT:
        return c(QPalette::Text, QPalette::Disabled);
    case COLOR_BTNTEXT:
        return c(QPalette::ButtonText);
    case COLOR_INACTIVECAPTIONTEXT:
        return c(QPalette::HighlightedText, QPalette::Inactive);
    case COLOR_BTNHIGHLIGHT:
        return c(QPalette::Light);
    case COLOR_3DLIGHT:
        return c(QPalette::Midlight);
    case COLOR_INFOTEXT:
        return c(QPalette::ToolTipText);
    case COLOR_INFOBK:
        return c(QPalette::ToolTipBase);
    case COLOR_HOTLIGHT:
        return c(QPalette::Link);
    default:
        return 0;
    }
}

ColorRef resolveColor(qint32 value)
{
    if (value < 0)
        return sysColor(int(quint32(value) & 0x0FFFFFFFu));
    return ColorRef(value);
}

static QScreen *screen()
{
    return qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
}

int screenDpiX()
{
    QScreen *s = screen();
    const int dpi = s ? int(std::lround(s->logicalDotsPerInchX())) : 96;
    return dpi > 0 ? dpi : 96;
}

int screenDpiY()
{
    QScreen *s = screen();
    const int dpi = s ? int(std::lround(s->logicalDotsPerInchY())) : 96;
    return dpi > 0 ? dpi : 96;
}

float twipsPerPixelX()
{
    return 1440.0f / float(screenDpiX());
}

float twipsPerPixelY()
{
    return 1440.0f / float(screenDpiY());
}

int roundPixel(double value)
{
    return int(std::nearbyint(value));
}

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = (long long)a * b;
    const bool negative = (product < 0) != (c < 0);
    const long long num = std::llabs(product);
    const long long den = std::llabs((long long)c);
    const long long q = (num + den / 2) / den;
    return int(negative ? -q : q);
}

} // namespace Draw
