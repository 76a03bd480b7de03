#include "controls/DCStyles.h"

using namespace Draw;

void DCStyles::setHdc(DeviceContext *dc)
{
    m_hdc = dc;
    m_description = LogFont{};
}

void DCStyles::ChangePen(float width, qint32 color)
{
    if (!m_hdc || !(width > 0))
        return;
    const int w = roundPixel(width);
    const ColorRef c = resolveColor(color);
    const Pen &current = m_hdc->currentPen();
    if (current && current->width == w && current->style == PS_SOLID && current->color == c)
        return;
    if (m_savedPen) {
        // Drop the pen this object made before; the context's own pen is kept.
        m_hdc->selectPen(m_savedPen);
        m_createdPen.reset();
    }
    m_createdPen = m_hdc->createPen(PS_SOLID, w, c);
    Pen replaced = m_hdc->selectPen(m_createdPen);
    if (!m_savedPen)
        m_savedPen = replaced;
}

void DCStyles::KillPen()
{
    if (!m_hdc || !m_savedPen)
        return;
    m_hdc->selectPen(m_savedPen);
    m_createdPen.reset();
    m_savedPen.reset();
}

void DCStyles::ChangeFont(const StdFont &font)
{
    if (!m_hdc)
        return;
    const int dpiY = m_hdc->deviceCaps(LOGPIXELSY);
    const int height = -mulDiv(roundPixel(font.size), dpiY, 72);
    const bool same = m_createdFont && m_description.faceName == font.name &&
                      m_description.weight == (font.bold ? 700 : 400) &&
                      m_description.charSet == quint8(font.charset) &&
                      (m_description.strikeOut != 0) == font.strikethrough &&
                      (m_description.underline != 0) == font.underline &&
                      (m_description.italic != 0) == font.italic && m_description.height == height;
    if (same)
        return;
    if (m_savedFont)
        m_hdc->selectFont(m_savedFont);
    m_createdFont.reset();

    LogFont lf;
    lf.faceName = font.name.left(32);
    lf.height = height;
    lf.weight = font.bold ? 700 : 400;
    lf.italic = font.italic ? 255 : 0;
    lf.underline = font.underline ? 255 : 0;
    lf.strikeOut = font.strikethrough ? 255 : 0;
    lf.charSet = quint8(font.charset);
    m_createdFont = m_hdc->createFontIndirect(lf);
    Font replaced = m_hdc->selectFont(m_createdFont);
    if (!m_savedFont)
        m_savedFont = replaced;
    m_description = lf;
}

void DCStyles::KillFont()
{
    if (!m_hdc || !m_savedFont)
        return;
    m_hdc->selectFont(m_savedFont);
    m_createdFont.reset();
    m_savedFont.reset();
    // Forget the deleted font, so that the next ChangeFont selects it anew.
    m_description = LogFont{};
}

void DCStyles::ChangeColor(qint32 color)
{
    if (!m_hdc)
        return;
    const ColorRef c = resolveColor(color);
    if (c != m_hdc->textColor())
        m_hdc->setTextColor(c);
}
