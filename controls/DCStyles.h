#pragma once

#include "platform/draw/DeviceContext.h"
#include "platform/draw/StdFont.h"

// One drawing pass's changes to a device context: the pen, the font and the
// text colour. It remembers what was selected before its first change and
// puts it back on KillPen / KillFont. Releasing the object puts nothing back:
// end each pass with KillPen and/or KillFont for what it changed.
//
// After KillPen or KillFont the object starts afresh, so a later ChangePen or
// ChangeFont selects its pen or font again (even an identical one).
class DCStyles
{
public:
    DCStyles() = default;
    explicit DCStyles(Draw::DeviceContext *dc) { setHdc(dc); }
    DCStyles(const DCStyles &) = delete;
    DCStyles &operator=(const DCStyles &) = delete;

    Draw::DeviceContext *hdc() const { return m_hdc; }
    // Sets the context and forgets the font description.
    void setHdc(Draw::DeviceContext *dc);

    // Solid pen of that width and colour value, unless the current pen is one.
    // Width 0 (or less) changes nothing.
    void ChangePen(float width, qint32 color);
    void KillPen();
    // Font made from the StdFont, unless it is the one this object made last.
    void ChangeFont(const Draw::StdFont &font);
    void KillFont();
    // Text colour; no change is made when it is the current one.
    void ChangeColor(qint32 color);

    // The description of the font this object made last.
    const Draw::LogFont &fontDescription() const { return m_description; }

private:
    Draw::DeviceContext *m_hdc = nullptr;
    Draw::Pen m_savedPen;
    Draw::Font m_savedFont;
    Draw::LogFont m_description;
    Draw::Font m_createdFont;
    Draw::Pen m_createdPen;
};
