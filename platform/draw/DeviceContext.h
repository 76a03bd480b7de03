#pragma once

#include "platform/draw/Gdi.h"
#include "platform/draw/LogObjects.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

namespace Draw {

// A device context over a QImage, standing in for a GDI DC.
//
// The context keeps what GDI keeps: the selected pen, brush and font, the text
// colour (apart from the pen), the current position for MoveTo/LineTo, and the
// logical resolution. It does not own the image; the image must outlive every
// drawing call (a control keeps its backing image and its context together).
// Text is always drawn with a transparent background. Drawing with no image
// set does nothing; nothing here fails or throws. Each call paints the image
// itself, so no other QPainter may be active on it meanwhile.
//
// Coordinates are integers: callers holding single-precision pixels round
// with roundPixel() at each call, as with GDI.
class DeviceContext
{
public:
    // dpi 0 = the screen's logical resolution.
    explicit DeviceContext(QImage *target = nullptr, int dpiX = 0, int dpiY = 0);

    void setTarget(QImage *target) { m_target = target; }
    QImage *target() const { return m_target; }

    // GetDeviceCaps(LOGPIXELSX / LOGPIXELSY).
    int deviceCaps(int index) const;
    int logPixelsX() const { return m_dpiX; }
    int logPixelsY() const { return m_dpiY; }

    // Object creation (CreatePen, CreateSolidBrush, CreateFontIndirect);
    // counted so that tests can see how many objects a pass made.
    Pen createPen(int style, int width, ColorRef color);
    Brush createSolidBrush(ColorRef color);
    Brush nullBrush() const;
    Font createFontIndirect(const LogFont &font);
    int createdPens() const { return m_createdPens; }
    int createdBrushes() const { return m_createdBrushes; }
    int createdFonts() const { return m_createdFonts; }

    // SelectObject: each returns the object it replaced. A null handle is
    // ignored (the current object stays, and is returned).
    Pen selectPen(const Pen &pen);
    Brush selectBrush(const Brush &brush);
    Font selectFont(const Font &font);
    // GetCurrentObject + GetObject.
    const Pen &currentPen() const { return m_pen; }
    const Brush &currentBrush() const { return m_brush; }
    const Font &currentFont() const { return m_font; }

    // The Qt font that stands for the selected LOGFONT. Faces that are not
    // installed (Tahoma, Trebuchet MS, MS Sans Serif) fall back to DejaVu Sans.
    QFont qfont() const { return m_qfont; }
    static QFont toQFont(const LogFont &font, int dpiY);
    static QString resolveFamily(const QString &faceName);

    ColorRef textColor() const { return m_textColor; }
    // SetTextColor: returns the previous colour; counted.
    ColorRef setTextColor(ColorRef color);
    int textColorChanges() const { return m_textColorChanges; }

    // DrawText. rect is in/out: DT_CALCRECT only measures and sets
    // rect.right/bottom. Returns the height of the text (with DT_VCENTER or
    // DT_BOTTOM, the offset of its bottom from rect.top). "&" marks an access
    // key (underlined) and "&&" shows "&" unless DT_NOPREFIX.
    int drawText(const QString &text, Rect &rect, unsigned format);
    // GetTextExtentPoint32 of one line (no prefix processing).
    QSize textExtent(const QString &text) const;
    // Height of one text line of the selected font (tmHeight).
    int lineHeight() const;

    // FillRect: left..right-1, top..bottom-1 with the brush.
    void fillRect(const Rect &rect, const Brush &brush);
    void fillRect(const Rect &rect, ColorRef color);

    // Lines with the selected pen; the end point of each segment is not drawn.
    void polyline(const QList<QPoint> &points);
    QPoint moveTo(int x, int y); // returns the previous position
    void lineTo(int x, int y);
    QPoint currentPosition() const { return m_position; }

    // Rectangle(l, t, r, b): outline with the pen, inside with the brush,
    // covering l..r-1, t..b-1.
    void rectangle(int left, int top, int right, int bottom);

    // GetPixel / SetPixel; ClrInvalid outside the image.
    ColorRef getPixel(int x, int y) const;
    ColorRef setPixel(int x, int y, ColorRef color);

    // StretchBlt (SRCCOPY) and TransparentBlt of a source picture region.
    void stretchBlt(int x, int y, int width, int height, const QImage &source, int sx, int sy,
                    int sw, int sh);
    void transparentBlt(int x, int y, int width, int height, const QImage &source, int sx, int sy,
                        int sw, int sh, ColorRef transparent);

private:
    void plot(int x, int y, ColorRef color);
    void drawSegment(QPoint from, QPoint to);
    bool drawStraightSegment(QPoint from, QPoint to);

    QImage *m_target = nullptr;
    int m_dpiX = 96;
    int m_dpiY = 96;
    Pen m_pen;
    Brush m_brush;
    Font m_font;
    QFont m_qfont;
    ColorRef m_textColor = 0;
    QPoint m_position;
    int m_createdPens = 0;
    int m_createdBrushes = 0;
    int m_createdFonts = 0;
    int m_textColorChanges = 0;
};

} // namespace Draw
