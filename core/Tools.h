#pragma once

#include <QString>

// Small helpers: the password digest and a length conversion for the grid layout.
namespace Tools {

// CMD5 digest of text (low byte of each UTF-16 code unit), 32 lowercase hex digits.
QString GetMD5(const QString &text);

// Millimetres to pixels of a device with dpiX logical dots per inch, unrounded.
// A non-finite input gives a non-finite result; callers check what they need.
float MmToPixels(double dpiX, float millimetres);

} // namespace Tools
