#include "platform/draw/DeviceContext.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace Draw {

namespace {

struct TextLine
{
    QString text;
    int mnemonic = -1; // index of the underlined character
};

// "&x" underlines x, "&&" shows "&"; a lone trailing "&" is dropped.
TextLine stripPrefix(const QString &raw, bool noPrefix)
{
    TextLine line;
    if (noPrefix) {
        line.text = raw;
        return line;
    }
    line.text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == QLatin1Char('&')) {
            if (i + 1 < raw.size() && raw[i + 1] == QLatin1Char('&')) {
                line.text += QLatin1Char('&');
                ++i;
            } else if (i + 1 < raw.size()) {
                if (line.mnemonic < 0)
                    line.mnemonic = int(line.text.size());
            }
            continue;
        }
        line.text += raw[i];
    }
    return line;
}

QStringList splitParagraphs(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    // A final line break opens no new line.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Greedy word wrap at spaces; a word wider than the width stays whole.
QStringList wrapParagraph(const QString &paragraph, int width, const QFontMetrics &fm,
                          bool noPrefix)
{
    const QStringList words = paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList out;
    if (words.isEmpty()) {
        out.append(QString());
        return out;
    }
    QString current;
    for (const QString &word : words) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (current.isEmpty() ||
            fm.horizontalAdvance(stripPrefix(candidate, noPrefix).text) <= width) {
            current = candidate;
        } else {
            out.append(current);
            current = word;
        }
    }
    out.append(current);
    return out;
}

} // namespace

DeviceContext::DeviceContext(QImage *target, int dpiX, int dpiY)
    : m_target(target), m_dpiX(dpiX > 0 ? dpiX : screenDpiX()),
      m_dpiY(dpiY > 0 ? dpiY : screenDpiY())
{
    m_pen = std::make_shared<const LogPen>();
    m_brush = std::make_shared<const LogBrush>();
    LogFont lf;
    lf.height = -mulDiv(8, m_dpiY, 72);
    lf.weight = 400;
    lf.faceName = QStringLiteral("MS Sans Serif");
    m_font = std::make_shared<const LogFont>(lf);
    m_qfont = toQFont(lf, m_dpiY);
}

int DeviceContext::deviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
        return m_dpiX;
    case LOGPIXELSY:
        return m_dpiY;
    default:
        return 0;
    }
}

Pen DeviceContext::createPen(int style, int width, ColorRef color)
{
    ++m_createdPens;
    return std::make_shared<const LogPen>(LogPen{style, width, color & 0xFFFFFFu});
}

Brush DeviceContext::createSolidBrush(ColorRef color)
{
    ++m_createdBrushes;
    return std::make_shared<const LogBrush>(LogBrush{BS_SOLID, color & 0xFFFFFFu});
}

Brush DeviceContext::nullBrush() const
{
    static const Brush brush = std::make_shared<const LogBrush>(LogBrush{BS_NULL, 0});
    return brush;
}

Font DeviceContext::createFontIndirect(const LogFont &font)
{
    ++m_createdFonts;
    LogFont lf = font;
    lf.faceName.truncate(32);
    return std::make_shared<const LogFont>(lf);
}

Pen DeviceContext::selectPen(const Pen &pen)
{
    Pen old = m_pen;
    if (pen)
        m_pen = pen;
    return old;
}

Brush DeviceContext::selectBrush(const Brush &brush)
{
    Brush old = m_brush;
    if (brush)
        m_brush = brush;
    return old;
}

Font DeviceContext::selectFont(const Font &font)
{
    Font old = m_font;
    if (font && font != m_font) {
        m_font = font;
        m_qfont = toQFont(*font, m_dpiY);
    }
    return old;
}

QString DeviceContext::resolveFamily(const QString &faceName)
{
    static QHash<QString, QString> cache;
    const auto it = cache.constFind(faceName);
    if (it != cache.constEnd())
        return *it;
    QString family = QStringLiteral("DejaVu Sans");
    if (qGuiApp && !faceName.isEmpty() && QFontDatabase::hasFamily(faceName))
        family = faceName;
    cache.insert(faceName, family);
    return family;
}

QFont DeviceContext::toQFont(const LogFont &lf, int dpiY)
{
    const QString family = resolveFamily(lf.faceName);
    QFont f(family);
    // Tahoma is narrow: its stand-in is the condensed DejaVu Sans, so that
    // captions sized for it still fit.
    if (family != lf.faceName &&
        lf.faceName.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        f.setStretch(QFont::SemiCondensed);
    int pixels = lf.height < 0 ? -lf.height : lf.height;
    if (pixels == 0)
        pixels = mulDiv(8, dpiY, 72);
    f.setPixelSize(std::max(1, pixels));
    if (lf.height > 0) {
        // A positive height is the cell height (ascent + descent).
        const int cell = QFontMetrics(f).height();
        if (cell > 0)
            f.setPixelSize(std::max(1, mulDiv(pixels, pixels, cell)));
    }
    const int weight = lf.weight <= 0 ? 400 : std::clamp(lf.weight, 1, 1000);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);
    f.setKerning(false);
    f.setStyleStrategy(lf.quality == 3 ? QFont::NoAntialias : QFont::PreferAntialias);
    return f;
}

ColorRef DeviceContext::setTextColor(ColorRef color)
{
    const ColorRef old = m_textColor;
    m_textColor = color & 0xFFFFFFu;
    ++m_textColorChanges;
    return old;
}

int DeviceContext::lineHeight() const
{
    return QFontMetrics(m_qfont).height();
}

QSize DeviceContext::textExtent(const QString &text) const
{
    const QFontMetrics fm(m_qfont);
    return QSize(fm.horizontalAdvance(text), fm.height());
}

int DeviceContext::drawText(const QString &text, Rect &rect, unsigned format)
{
    const QFontMetrics fm(m_qfont);
    const bool noPrefix = (format & DT_NOPREFIX) != 0;
    const int lh = fm.height();

    QStringList raw;
    if (format & DT_SINGLELINE) {
        QString t = text;
        t.remove(QLatin1Char('\r'));
        t.remove(QLatin1Char('\n'));
        raw.append(t);
    } else {
        for (const QString &paragraph : splitParagraphs(text)) {
            if (format & DT_WORDBREAK)
                raw += wrapParagraph(paragraph, rect.width(), fm, noPrefix);
            else
                raw.append(paragraph);
        }
    }
    if (text.isEmpty())
        raw.clear();

    QList<TextLine> lines;
    int widest = 0;
    for (const QString &r : raw) {
        TextLine line = stripPrefix(r, noPrefix);
        widest = std::max(widest, int(fm.horizontalAdvance(line.text)));
        lines.append(line);
    }
    const int height = int(lines.size()) * lh;

    if (format & DT_CALCRECT) {
        if (!lines.isEmpty() &&
            ((format & DT_SINGLELINE) || !(format & DT_WORDBREAK) || widest > 0))
            rect.right = rect.left + widest;
        rect.bottom = rect.top + height;
        return height;
    }

    int y = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = (rect.top + rect.bottom - lh) / 2;
        else if (format & DT_BOTTOM)
            y = rect.bottom - lh;
    }
    if (m_target && !lines.isEmpty()) {
        QPainter p(m_target);
        p.setFont(m_qfont);
        p.setPen(toQColor(m_textColor));
        if (!(format & DT_NOCLIP))
            p.setClipRect(
                QRect(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height())));
        int lineTop = y;
        for (const TextLine &line : lines) {
            const int w = fm.horizontalAdvance(line.text);
            int x = rect.left;
            if (format & DT_CENTER)
                x = rect.left + (rect.width() - w) / 2;
            else if (format & DT_RIGHT)
                x = rect.right - w;
            p.drawText(x, lineTop + fm.ascent(), line.text);
            if (line.mnemonic >= 0 && line.mnemonic < line.text.size()) {
                const int ux = x + fm.horizontalAdvance(line.text.left(line.mnemonic));
                const int uw = fm.horizontalAdvance(line.text.at(line.mnemonic));
                p.fillRect(QRect(ux, lineTop + fm.ascent() + 1, std::max(1, uw), 1),
                           toQColor(m_textColor));
            }
            lineTop += lh;
        }
    }
    return (y - rect.top) + height;
}

void DeviceContext::fillRect(const Rect &rect, const Brush &brush)
{
    if (!m_target || !brush || brush->style == BS_NULL || rect.width() <= 0 || rect.height() <= 0)
        return;
    QPainter p(m_target);
    p.fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), toQColor(brush->color));
}

void DeviceContext::fillRect(const Rect &rect, ColorRef color)
{
    fillRect(rect, std::make_shared<const LogBrush>(LogBrush{BS_SOLID, color}));
}

void DeviceContext::plot(int x, int y, ColorRef color)
{
    if (!m_target || x < 0 || y < 0 || x >= m_target->width() || y >= m_target->height())
        return;
    m_target->setPixel(x, y, qRgb(redOf(color), greenOf(color), blueOf(color)));
}

void DeviceContext::drawSegment(QPoint from, QPoint to)
{
    if (!m_target || !m_pen || m_pen->style == PS_NULL)
        return;
    if (m_pen->width <= 1 && (m_pen->style == PS_SOLID || m_pen->style == PS_INSIDEFRAME)) {
        if (drawStraightSegment(from, to))
            return;
        // Bresenham, leaving out the end point as GDI does.
        int x = from.x(), y = from.y();
        const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
        const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
        int err = dx + dy;
        while (x != to.x() || y != to.y()) {
            plot(x, y, m_pen->color);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
        return;
    }
    QPainter p(m_target);
    QPen pen(toQColor(m_pen->color));
    pen.setWidth(std::max(1, m_pen->width));
    pen.setCapStyle(m_pen->width > 1 ? Qt::RoundCap : Qt::FlatCap);
    switch (m_pen->style) {
    case PS_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case PS_DOT:
        pen.setStyle(Qt::DotLine);
        break;
    case PS_DASHDOT:
        pen.setStyle(Qt::DashDotLine);
        break;
    case PS_DASHDOTDOT:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    p.setPen(pen);
    p.drawLine(from, to);
}

// A level or upright segment of a thin solid pen: the pixels the walk below
// would set, written straight into the image's lines (gradients are drawn as
// hundreds of such lines). False where the walk must draw it.
bool DeviceContext::drawStraightSegment(QPoint from, QPoint to)
{
    const QImage::Format format = m_target->format();
    if ((from.x() != to.x() && from.y() != to.y()) ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied))
        return false;
    const ColorRef color = m_pen->color;
    const QRgb pixel = qRgb(redOf(color), greenOf(color), blueOf(color));
    const bool level = from.y() == to.y();
    const int a = level ? from.x() : from.y();
    const int b = level ? to.x() : to.y();
    // From a towards b, b itself left out.
    int first = a < b ? a : b + 1;
    int last = a < b ? b - 1 : a;
    if (a == b)
        return true;
    const int across = level ? from.y() : from.x();
    if (across < 0 || across >= (level ? m_target->height() : m_target->width()))
        return true;
    first = std::max(first, 0);
    last = std::min(last, (level ? m_target->width() : m_target->height()) - 1);
    if (first > last)
        return true;
    if (level) {
        QRgb *line = reinterpret_cast<QRgb *>(m_target->scanLine(across));
        std::fill(line + first, line + last + 1, pixel);
    } else {
        for (int y = first; y <= last; ++y)
            reinterpret_cast<QRgb *>(m_target->scanLine(y))[across] = pixel;
    }
    return true;
}

void DeviceContext::polyline(const QList<QPoint> &points)
{
    for (qsizetype i = 1; i < points.size(); ++i)
        drawSegment(points[i - 1], points[i]);
}

QPoint DeviceContext::moveTo(int x, int y)
{
    const QPoint old = m_position;
    m_position = QPoint(x, y);
    return old;
}

void DeviceContext::lineTo(int x, int y)
{
    drawSegment(m_position, QPoint(x, y));
    m_position = QPoint(x, y);
}

void DeviceContext::rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const bool outline = m_pen && m_pen->style != PS_NULL;
    if (!outline) {
        // Without a pen GDI fills one pixel less on the right and bottom.
        fillRect(Rect{left, top, right - 1, bottom - 1}, m_brush);
        return;
    }
    const int w = std::max(1, m_pen->width);
    fillRect(Rect{left + w, top + w, right - w, bottom - w}, m_brush);
    for (int k = 0; k < w; ++k) {
        const int l = left + k, t = top + k, r = right - 1 - k, b = bottom - 1 - k;
        if (l > r || t > b)
            break;
        for (int x = l; x <= r; ++x) {
            plot(x, t, m_pen->color);
            plot(x, b, m_pen->color);
        }
        for (int y = t; y <= b; ++y) {
            plot(l, y, m_pen->color);
            plot(r, y, m_pen->color);
        }
    }
}

ColorRef DeviceContext::getPixel(int x, int y) const
{
    if (!m_target || x < 0 || y < 0 || x >= m_target->width() || y >= m_target->height())
        return ClrInvalid;
    return fromQRgb(m_target->pixel(x, y));
}

ColorRef DeviceContext::setPixel(int x, int y, ColorRef color)
{
    if (!m_target || x < 0 || y < 0 || x >= m_target->width() || y >= m_target->height())
        return ClrInvalid;
    plot(x, y, color);
    return color & 0xFFFFFFu;
}

void DeviceContext::stretchBlt(int x, int y, int width, int height, const QImage &source, int sx,
                               int sy, int sw, int sh)
{
    if (!m_target || source.isNull() || width <= 0 || height <= 0)
        return;
    QPainter p(m_target);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(x, y, width, height), source, QRect(sx, sy, sw, sh));
}

void DeviceContext::transparentBlt(int x, int y, int width, int height, const QImage &source,
                                   int sx, int sy, int sw, int sh, ColorRef transparent)
{
    if (!m_target || source.isNull() || width <= 0 || height <= 0 || sw <= 0 || sh <= 0)
        return;
    QImage part = source.copy(sx, sy, sw, sh).convertToFormat(QImage::Format_ARGB32);
    if (part.width() != width || part.height() != height)
        part = part.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRgb key = qRgb(redOf(transparent), greenOf(transparent), blueOf(transparent)) & 0xFFFFFF;
    for (int j = 0; j < part.height(); ++j) {
        for (int i = 0; i < part.width(); ++i) {
            const QRgb s = part.pixel(i, j);
            const int a = qAlpha(s);
            if (a == 0 || (s & 0xFFFFFF) == key)
                continue;
            if (a == 255) {
                plot(x + i, y + j, fromQRgb(s));
                continue;
            }
            const ColorRef d = getPixel(x + i, y + j);
            if (d == ClrInvalid)
                continue;
            auto mix = [a](int src, int dst) { return (src * a + dst * (255 - a) + 127) / 255; };
            plot(x + i, y + j,
                 rgb(mix(qRed(s), redOf(d)), mix(qGreen(s), greenOf(d)), mix(qBlue(s), blueOf(d))));
        }
    }
}

} // namespace Draw
