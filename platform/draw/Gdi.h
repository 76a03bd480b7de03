#pragma once

#include <QColor>
#include <QtGlobal>

// Constants and colour helpers of the device-context layer.
//
// Colours are GDI colour references 0x00BBGGRR. A control's colour value is a
// signed 32-bit number: 0 or more is a colour reference, a negative value names
// a system colour by its low 28 bits (0x8000000F is COLOR_BTNFACE). System
// colours come from the application palette; no call here fails.
namespace Draw {

using ColorRef = quint32;

inline constexpr ColorRef ClrInvalid = 0xFFFFFFFFu;

// DrawText formats.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

// Pen and brush styles.
enum : int {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
};
enum : int { BS_SOLID = 0, BS_NULL = 1 };

// Win32 system colour indexes.
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
};

// GetDeviceCaps indexes.
enum : int { LOGPIXELSX = 88, LOGPIXELSY = 90 };

constexpr ColorRef rgb(int red, int green, int blue)
{
    return ColorRef(red & 0xFF) | (ColorRef(green & 0xFF) << 8) | (ColorRef(blue & 0xFF) << 16);
}
constexpr int redOf(ColorRef c)
{
    return int(c & 0xFF);
}
constexpr int greenOf(ColorRef c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int blueOf(ColorRef c)
{
    return int((c >> 16) & 0xFF);
}

QColor toQColor(ColorRef c);
ColorRef fromQColor(const QColor &c);
ColorRef fromQRgb(QRgb rgb);

// GetSysColor: the colour of a COLOR_* index from the application palette;
// an unknown index gives black.
ColorRef sysColor(int index);

// A control colour value resolved to a colour reference: negative values are
// system colours (index = low 28 bits), the rest are taken as they are.
ColorRef resolveColor(qint32 value);

// The screen's logical resolution and twips (1/1440 inch) per pixel.
int screenDpiX();
int screenDpiY();
float twipsPerPixelX();
float twipsPerPixelY();

// Single-precision pixel coordinate to the integer a GDI call takes:
// nearest integer, halves to even.
int roundPixel(double value);

// kernel32 MulDiv: a * b / c rounded to nearest (halves away from zero);
// -1 when c is 0.
int mulDiv(int a, int b, int c);

} // namespace Draw
