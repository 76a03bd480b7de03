#pragma once

#include "platform/draw/DeviceContext.h"
#include "platform/draw/StdFont.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

// Colour record of the gradient and colour procedures (each channel 0-255).
struct RGBTriple
{
    qint16 Red = 0;
    qint16 Green = 0;
    qint16 Blue = 0;
    bool operator==(const RGBTriple &) const = default;
};

// Stateless drawing procedures on a device context. Pixel arguments are
// single-precision and rounded half-to-even at each call. A text may hold
// Chr(1): the part after it is drawn and measured on the next line in the
// same font at 7 points. Every procedure leaves the context as it found it.
namespace TextEdit {

inline constexpr QChar SecondLineMark = QChar(1);

// alignment: 0 left, 1 right, 2 centre. height 0 = measure the text.
void DrawTextInRect(Draw::DeviceContext *hdc, const QString &text, bool wordWrap, float left,
                    float top, float width, int alignment, float height = 0);
float MeasureTextHeight(Draw::DeviceContext *hdc, const QString &text, bool wordWrap, float width);
// Widest of the CR LF separated lines.
float MaxLineWidth(Draw::DeviceContext *hdc, const QString &text);
// "<widest width>x<largest height>"; "0" for an empty list.
QString MeasureTextList(Draw::DeviceContext *hdc, const QStringList &texts);
// Colour values below -1 are system colours; -1 fills nothing.
void FillRectColor(Draw::DeviceContext *hdc, float left, float top, float width, float height,
                   qint32 color);
// With the current pen; the end point is not drawn.
void DrawLine(Draw::DeviceContext *hdc, float x1, float y1, float x2, float y2);
// Outline with the current pen, inside with the current brush.
void DrawRectangle(Draw::DeviceContext *hdc, float left, float top, float width, float height);
// With a transparent colour the height is always the picture's own.
void DrawPicture(Draw::DeviceContext *hdc, const QImage &picture, float x, float y,
                 std::optional<qint32> transparentColor = std::nullopt,
                 std::optional<float> width = std::nullopt,
                 std::optional<float> height = std::nullopt);
Draw::StdFont GetDCFont(Draw::DeviceContext *hdc);
// First and last lines carry exactly the two colours; a span of fewer than
// two lines is filled with the start colour.
void GradientFill(Draw::DeviceContext *hdc, RGBTriple startColor, RGBTriple endColor, float left,
                  float top, float width, float height, bool vertical);
RGBTriple ColorToRGB(qint32 color, qint32 palette = 0);
RGBTriple MakeRGB(qint16 red, qint16 green, qint16 blue);

} // namespace TextEdit
