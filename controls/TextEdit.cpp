#include "controls/TextEdit.h"

#include "controls/DCStyles.h"

#include <algorithm>

using namespace Draw;

namespace TextEdit {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// One screen pixel in the context's pixels (1 on a screen context).
float screenPixelInContext(DeviceContext *hdc)
{
    const float contextTwips = 1440.0f / float(std::max(1, hdc->deviceCaps(LOGPIXELSX)));
    return twipsPerPixelX() / contextTwips;
}

unsigned formatFor(bool wordWrap, int alignment)
{
    unsigned horizontal = DT_LEFT;
    if (alignment == 1)
        horizontal = DT_RIGHT;
    else if (alignment == 2)
        horizontal = DT_CENTER;
    return horizontal | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

float calcHeight(DeviceContext *hdc, const QString &text, bool wordWrap, float width)
{
    Rect r{0, 0, roundPixel(width), 0};
    return float(hdc->drawText(text, r, DT_CALCRECT | (wordWrap ? DT_WORDBREAK : 0u)));
}

} // namespace

void DrawTextInRect(DeviceContext *hdc, const QString &text, bool wordWrap, float left, float top,
                    float width, int alignment, float height)
{
    if (!hdc)
        return;
    const float right = left + width + screenPixelInContext(hdc);
    const float bottom =
        top + (height == 0 ? MeasureTextHeight(hdc, text, wordWrap, width) : height);
    const unsigned format = formatFor(wordWrap, alignment);
    QString shown = text;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));

    if (!shown.contains(SecondLineMark)) {
        Rect r{roundPixel(left), roundPixel(top), roundPixel(right), roundPixel(bottom)};
        hdc->drawText(shown, r, format);
        return;
    }

    const QStringList parts = shown.split(SecondLineMark);
    DCStyles styles(hdc);
    StdFont font = GetDCFont(hdc);
    const QString first = parts.at(0) + CrLf;
    Rect r{roundPixel(left), roundPixel(top), roundPixel(right), roundPixel(bottom)};
    hdc->drawText(first, r, format);
    const float secondTop = top + calcHeight(hdc, first, wordWrap, width);
    font.size = 7;
    styles.ChangeFont(font);
    Rect r2{roundPixel(left), roundPixel(secondTop), roundPixel(right), roundPixel(bottom)};
    hdc->drawText(parts.at(1), r2, format);
    styles.KillFont();
}

float MeasureTextHeight(DeviceContext *hdc, const QString &text, bool wordWrap, float width)
{
    if (!hdc)
        return 0;
    const QString measured = text.isEmpty() ? QStringLiteral(" ") : text;
    if (!measured.contains(SecondLineMark))
        return calcHeight(hdc, measured, wordWrap, width);

    const QStringList parts = measured.split(SecondLineMark);
    DCStyles styles(hdc);
    StdFont font = GetDCFont(hdc);
    float total = calcHeight(hdc, parts.at(0) + CrLf, wordWrap, width);
    font.size = 7;
    styles.ChangeFont(font);
    total += calcHeight(hdc, parts.at(1), wordWrap, width);
    styles.KillFont();
    return total;
}

float MaxLineWidth(DeviceContext *hdc, const QString &text)
{
    if (!hdc || text.isEmpty())
        return 0;
    int widest = 0;
    for (const QString &line : text.split(CrLf))
        widest = std::max(widest, hdc->textExtent(line).width());
    return float(widest);
}

QString MeasureTextList(DeviceContext *hdc, const QStringList &texts)
{
    if (texts.isEmpty())
        return QStringLiteral("0");
    float widest = 0;
    float tallest = 0;
    for (const QString &t : texts) {
        const float h = MeasureTextHeight(hdc, t, false, 1);
        const float w = MaxLineWidth(hdc, t);
        if (w > widest)
            widest = w;
        if (h > tallest)
            tallest = h;
    }
    return QString::number(widest) + QLatin1Char('x') + QString::number(tallest);
}

void FillRectColor(DeviceContext *hdc, float left, float top, float width, float height,
                   qint32 color)
{
    if (!hdc || color == -1)
        return;
    const ColorRef c = color < -1 ? resolveColor(color) : ColorRef(color);
    const Brush brush = hdc->createSolidBrush(c);
    hdc->fillRect(
        Rect{roundPixel(left), roundPixel(top), roundPixel(left + width), roundPixel(top + height)},
        brush);
}

void DrawLine(DeviceContext *hdc, float x1, float y1, float x2, float y2)
{
    if (!hdc)
        return;
    hdc->polyline({QPoint(roundPixel(x1), roundPixel(y1)), QPoint(roundPixel(x2), roundPixel(y2))});
}

void DrawRectangle(DeviceContext *hdc, float left, float top, float width, float height)
{
    if (!hdc)
        return;
    hdc->rectangle(roundPixel(left), roundPixel(top), roundPixel(left + width),
                   roundPixel(top + height));
}

void DrawPicture(DeviceContext *hdc, const QImage &picture, float x, float y,
                 std::optional<qint32> transparentColor, std::optional<float> width,
                 std::optional<float> height)
{
    if (!hdc || picture.isNull())
        return;
    const int bw = picture.width();
    const int bh = picture.height();
    if (transparentColor) {
        const int w = width ? roundPixel(*width) : bw;
        hdc->transparentBlt(roundPixel(x), roundPixel(y), w, bh, picture, 0, 0, bw, bh,
                            ColorRef(*transparentColor));
        return;
    }
    const int w = width ? roundPixel(*width) : bw;
    const int h = height ? roundPixel(*height) : bh;
    hdc->stretchBlt(roundPixel(x), roundPixel(y), w, h, picture, 0, 0, bw, bh);
}

StdFont GetDCFont(DeviceContext *hdc)
{
    StdFont font;
    if (!hdc || !hdc->currentFont())
        return font;
    const LogFont &lf = *hdc->currentFont();
    font.bold = lf.weight != 400;
    font.charset = lf.charSet;
    font.italic = lf.italic != 0;
    font.name = lf.faceName;
    font.size = -mulDiv(lf.height, 72, hdc->deviceCaps(LOGPIXELSY));
    font.strikethrough = lf.strikeOut != 0;
    font.underline = lf.underline != 0;
    font.weight = lf.weight;
    return font;
}

void GradientFill(DeviceContext *hdc, RGBTriple startColor, RGBTriple endColor, float left,
                  float top, float width, float height, bool vertical)
{
    if (!hdc)
        return;
    const float n = vertical ? height : width;
    DCStyles styles(hdc);
    auto value = [](int r, int g, int b) { return qint32(rgb(r, g, b)); };
    auto lineAt = [&](float offset) {
        if (vertical)
            DrawLine(hdc, left, top + offset, left + width, top + offset);
        else
            DrawLine(hdc, left + offset, top, left + offset, top + height);
    };
    const qint32 start = value(startColor.Red, startColor.Green, startColor.Blue);
    if (n < 2) {
        // Too narrow for two end lines: no steps to divide into.
        if (n > 0) {
            styles.ChangePen(1, start);
            lineAt(0);
            styles.KillPen();
        }
        return;
    }
    auto step = [n](int from, int to) { return to != from ? float(to - from) / (n - 1.0f) : 0.0f; };
    const float sr = step(startColor.Red, endColor.Red);
    const float sg = step(startColor.Green, endColor.Green);
    const float sb = step(startColor.Blue, endColor.Blue);

    styles.ChangePen(1, start);
    lineAt(0);
    const int last = roundPixel(n - 2.0f);
    for (int i = 1; i <= last; ++i) {
        auto channel = [i](int from, float s) {
            return s != 0 ? from + roundPixel(float(i) * s) : from;
        };
        styles.ChangePen(1, value(channel(startColor.Red, sr), channel(startColor.Green, sg),
                                  channel(startColor.Blue, sb)));
        lineAt(float(i));
    }
    styles.ChangePen(1, value(endColor.Red, endColor.Green, endColor.Blue));
    if (vertical)
        DrawLine(hdc, left, top + height - 1, left + width, top + height - 1);
    else
        DrawLine(hdc, left + width - 1, top, left + width - 1, top + height);
    styles.KillPen();
}

RGBTriple ColorToRGB(qint32 color, qint32 palette)
{
    Q_UNUSED(palette);
    const ColorRef v = resolveColor(color);
    return RGBTriple{qint16(v & 0xFF), qint16((v & 0xFF00) / 256), qint16((v & 0xFF0000) / 65536)};
}

RGBTriple MakeRGB(qint16 red, qint16 green, qint16 blue)
{
    return RGBTriple{red, green, blue};
}

} // namespace TextEdit
