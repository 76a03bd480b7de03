#include "mainwindow/RtfExport.h"

#include "core/Globals.h"
#include "platform/text/Cp1250.h"
#include "platform/text/FileWriter.h"

#include <QTreeWidget>

namespace RtfExport {

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            out += u'\\';
        out += c;
    }
    return out;
}

QString FormatRtfLine(const QString &line, int level)
{
    const QString text = escape(line);
    if (level == 0)
        return QStringLiteral("\\f0\\fs40\\b ") + text + QStringLiteral("\\par");
    if (level == 1)
        return QStringLiteral("\\fs24\\b ") + text + QStringLiteral("\\par\\b0 ");
    return text + QStringLiteral("\\par");
}

QString GetRtfLines(const QTreeWidgetItem *node, int level)
{
    QString out;
    if (!node)
        return out;
    // Qt's index lookups take non-const items; nothing is changed here.
    auto *self = const_cast<QTreeWidgetItem *>(node);
    const QTreeWidgetItem *parent = node->parent();
    const QTreeWidget *tree = node->treeWidget();
    const int count = parent ? parent->childCount() : (tree ? tree->topLevelItemCount() : 1);
    const int first =
        parent ? parent->indexOfChild(self) : (tree ? tree->indexOfTopLevelItem(self) : 0);
    for (int i = first; i < count; ++i) {
        const QTreeWidgetItem *item =
            parent ? parent->child(i) : (tree ? tree->topLevelItem(i) : node);
        out += FormatRtfLine(QString(5 * level, u' ') + item->text(0), level) + CrLf;
        if (item->childCount() > 0)
            out += GetRtfLines(item->child(0), level + 1) + QStringLiteral("\\par") + CrLf;
    }
    return out;
}

QString documentText(const QTreeWidget &tree)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045\\deflangfe1045\\deftab708"
                          "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset238 Trebuchet MS;}}") +
           CrLf + QStringLiteral("{\\*\\generator ") + Globals::ProgramTitle +
           QStringLiteral(";}\\viewkind4\\uc1\\pard") + GetRtfLines(tree.topLevelItem(0), 0) + u'}';
}

QByteArray document(const QTreeWidget &tree)
{
    return Cp1250::encode(documentText(tree), Cp1250::Unmappable::RtfEscape);
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    return FileWriter::write(path, bytes, error);
}

} // namespace RtfExport
