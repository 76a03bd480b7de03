#pragma once

#include <QByteArray>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// The balance tree as an RTF document: one paragraph per node, indented five
// spaces per level, top lines bold at 20 pt, second-level lines bold at 12 pt.
//
// Node texts are escaped (\, { and } would otherwise end or break the
// document) and the whole text is encoded in windows-1250, characters the
// code page lacks written as \uN?.
namespace RtfExport {

// The text with RTF's special characters escaped.
QString escape(const QString &text);
// One line of the given level, escaped, with its formatting and "\par".
QString FormatRtfLine(const QString &line, int level);
// The node, its following siblings and all their descendants; empty for null.
QString GetRtfLines(const QTreeWidgetItem *node, int level);
// The whole document as text (before encoding); CR LF line breaks.
QString documentText(const QTreeWidget &tree);
// documentText() in windows-1250.
QByteArray document(const QTreeWidget &tree);
// Writes the bytes through a temporary file, so a failed write keeps the old
// file; false with the reason in *error.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace RtfExport
