#pragma once

#include <QString>
#include <QVariant>

// How a stored value reads as text, as a whole number and as a truth value:
// shared by Recordset and Cursor so that every reader converts alike.
namespace Db::Values {

// Empty for NULL; a real number in its shortest form; a blob as UTF-8.
QString text(const QVariant &value);
// 0 for NULL or a text that is no number; real numbers rounded half to even.
qint64 integer(const QVariant &value);
// Non-zero numbers and the texts "1", "-1" and "true" (any case) are true.
bool flag(const QVariant &value);

} // namespace Db::Values
