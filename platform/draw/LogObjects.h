#pragma once

#include "platform/draw/Gdi.h"

#include <QString>
#include <memory>

namespace Draw {

// GDI object descriptions (LOGPEN, LOGBRUSH, LOGFONT). A handle is a shared
// pointer to a description that never changes; deleting an object is dropping
// the last handle, so a selected object cannot dangle.
struct LogPen
{
    int style = PS_SOLID;
    int width = 1;
    ColorRef color = 0;
    bool operator==(const LogPen &) const = default;
};

struct LogBrush
{
    int style = BS_SOLID;
    ColorRef color = 0xFFFFFF;
    bool operator==(const LogBrush &) const = default;
};

struct LogFont
{
    int height = 0; // negative: character height in pixels; positive: cell height
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0; // 0 = normal
    quint8 italic = 0;
    quint8 underline = 0;
    quint8 strikeOut = 0;
    quint8 charSet = 0;
    quint8 outPrecision = 0;
    quint8 clipPrecision = 0;
    quint8 quality = 0;
    quint8 pitchAndFamily = 0;
    QString faceName; // at most 32 characters
    bool operator==(const LogFont &) const = default;
};

using Pen = std::shared_ptr<const LogPen>;
using Brush = std::shared_ptr<const LogBrush>;
using Font = std::shared_ptr<const LogFont>;

// Plain GDI rectangle: covers left..right-1, top..bottom-1.
struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect &) const = default;
};

} // namespace Draw
