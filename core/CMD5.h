#pragma once

#include <QString>

// MD5 (RFC 1321) of a text, taken over ONE byte per UTF-16 code unit: its
// low-order byte. Stored password digests rely on this, so "ą" (U+0105)
// digests like U+0005. No state between calls.
class CMD5
{
public:
    // 32 lowercase hexadecimal digits.
    QString MD5(const QString &text) const;
};
