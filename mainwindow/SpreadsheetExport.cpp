#include "mainwindow/SpreadsheetExport.h"

#include "core/Messages.h"
#include "core/Module1.h"
#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "platform/text/Cp1250.h"
#include "platform/text/FileErrors.h"
#include "platform/text/FileWriter.h"
#include "platform/xml/XmlDocument.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace SpreadsheetExport {

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString Declaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>");

// Stands for a line break inside a cell until the text is serialised, when it
// becomes "&#10;" (a serialiser would write a plain line break, which
// spreadsheet programs read as white space). A noncharacter, so no cell text
// can hold it; a literal "[br]" typed into a cell stays as it is.
const QChar BreakMarker(0xFDD0);

QString markBreaks(QString text)
{
    text.remove(BreakMarker);
    text.replace(QStringLiteral("\r\n"), QString(BreakMarker));
    text.replace(QLatin1Char('\n'), BreakMarker);
    text.replace(QLatin1Char('\r'), BreakMarker);
    return text;
}

// The processing instructions before the root element other than the
// declaration (mso-application, which makes the desktop open the file in a
// spreadsheet program); the XML layer does not keep them.
QStringList prologInstructions(const QByteArray &bytes)
{
    const qsizetype bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QString text = QString::fromLatin1(bytes.mid(bom, 4096));
    QStringList found;
    qsizetype pos = 0;
    for (;;) {
        while (pos < text.size() && text.at(pos).isSpace())
            ++pos;
        if (text.mid(pos, 4) == QLatin1String("<!--")) {
            const qsizetype end = text.indexOf(QLatin1String("-->"), pos);
            if (end < 0)
                break;
            pos = end + 3;
        } else if (text.mid(pos, 2) == QLatin1String("<?")) {
            const qsizetype end = text.indexOf(QLatin1String("?>"), pos);
            if (end < 0)
                break;
            const QString instruction = text.mid(pos, end + 2 - pos);
            qsizetype nameEnd = 2;
            while (nameEnd < instruction.size() && !instruction.at(nameEnd).isSpace() &&
                   instruction.at(nameEnd) != QLatin1Char('?'))
                ++nameEnd;
            const QString target = instruction.mid(2, nameEnd - 2);
            if (target.compare(QLatin1String("xml"), Qt::CaseInsensitive) != 0)
                found.append(instruction);
            pos = end + 2;
        } else {
            break;
        }
    }
    return found;
}

QString styleOf(int row, int column)
{
    return row == 0 || column == 0 ? QStringLiteral("s21") : QStringLiteral("s22");
}

// The first element or attribute name that windows-1250 cannot hold: the
// output would carry it as a character reference, which no name may be.
bool inCodePage(const QString &name)
{
    // No XML name holds "?", which stands for what the code page lacks.
    return Cp1250::decode(Cp1250::encode(name)) == name;
}

QString nameOutsideCodePage(const Xml::Document &document)
{
    for (const Xml::Node &element : document.selectNodes(QStringLiteral("//*"))) {
        if (!inCodePage(element.name()))
            return element.name();
        for (const auto &[attribute, value] : element.attributes()) {
            if (!inCodePage(attribute))
                return attribute;
        }
    }
    return {};
}

void reportWriteFailure(const QString &path, const QString &reason, QString *error)
{
    if (error)
        *error = reason;
    Messages::critical(Messages::fileFailure(Messages::SaveFileFailed, path, reason));
}

} // namespace

QString TemplatePath()
{
    return Module1::AppPath() + TemplateFileName;
}

QList<QStringList> GridTexts(const FlexGrid &grid)
{
    QList<QStringList> cells;
    cells.reserve(grid.rows());
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList row;
        row.reserve(grid.cols());
        for (int c = 0; c < grid.cols(); ++c)
            row.append(grid.text(r, c));
        cells.append(row);
    }
    return cells;
}

std::optional<QByteArray> Build(const QList<QStringList> &cells, const QString &templatePath,
                                QString *error)
{
    auto fail = [error](const QString &reason) -> std::optional<QByteArray> {
        if (error)
            *error = reason;
        return std::nullopt;
    };

    QFile file(templatePath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(FileErrors::reason(file));
    const QByteArray templateBytes = file.readAll();
    file.close();

    // Only a well-formed template (one root, XML names) is used.
    Xml::Document document;
    QString parseError;
    if (!document.loadBytes(templateBytes, &parseError))
        return fail(parseError);
    const QString name = nameOutsideCodePage(document);
    if (!name.isNull())
        return fail(
            QStringLiteral("Nazwy \"%1\" nie można zapisać w kodowaniu windows-1250").arg(name));

    // Names are matched as written, prefix included: the template's elements
    // are unprefixed in the spreadsheet's default namespace.
    Xml::Node table = document.selectSingleNode(
        QStringLiteral("/Workbook/Worksheet[./@ss:Name='Arkusz1']/Table"));
    if (table.isNull())
        return fail(QStringLiteral("Brak arkusza \"Arkusz1\" z elementem Table"));

    qsizetype columns = 0;
    for (const QStringList &row : cells)
        columns = std::max(columns, row.size());

    table.appendText(LineBreak);
    for (qsizetype c = 0; c < columns; ++c) {
        Xml::Node column = XML::AddElement(table, QStringLiteral("Column"), SpreadsheetNamespace);
        XML::SetAttribute(column, QStringLiteral("ss:AutoFitWidth"), QStringLiteral("0"));
        XML::SetAttribute(column, QStringLiteral("ss:Width"), QStringLiteral("90"));
        table.appendText(LineBreak);
    }
    for (qsizetype r = 0; r < cells.size(); ++r) {
        Xml::Node row = XML::AddElement(table, QStringLiteral("Row"), SpreadsheetNamespace);
        XML::SetAttribute(row, QStringLiteral("ss:AutoFitHeight"), QStringLiteral("0"));
        XML::SetAttribute(row, QStringLiteral("ss:Height"), QStringLiteral("50"));
        const QStringList &texts = cells.at(r);
        for (qsizetype c = 0; c < columns; ++c) {
            Xml::Node cell = XML::AddElement(row, QStringLiteral("Cell"), SpreadsheetNamespace);
            XML::SetAttribute(cell, QStringLiteral("ss:StyleID"), styleOf(int(r), int(c)));
            Xml::Node data = XML::AddElement(cell, QStringLiteral("Data"), SpreadsheetNamespace);
            XML::SetAttribute(data, QStringLiteral("ss:Type"), QStringLiteral("String"));
            data.setText(markBreaks(c < texts.size() ? texts.at(c) : QString()));
            row.appendText(LineBreak);
        }
        table.appendText(LineBreak);
    }

    // The output is always windows-1250, so it always says so, whatever the
    // template's own declaration.
    QString text = Declaration + LineBreak;
    for (const QString &instruction : prologInstructions(templateBytes))
        text += instruction + LineBreak;
    text += document.documentElement().xml();
    text.replace(BreakMarker, QStringLiteral("&#10;"));
    return Cp1250::encode(text, Cp1250::Unmappable::XmlCharRef);
}

bool Export(const QList<QStringList> &cells, const QString &path, QString *error)
{
    QString templateFault;
    const std::optional<QByteArray> content = Build(cells, TemplatePath(), &templateFault);
    if (!content) {
        if (error)
            *error = templateFault;
        Messages::critical(Messages::fileFailure(TemplateErrorText, TemplatePath(), templateFault));
        return false;
    }

    QString reason;
    if (!FileWriter::write(path, *content, &reason)) {
        reportWriteFailure(path, reason, error);
        return false;
    }
    return true;
}

bool Export(const FlexGrid &grid, const QString &path, QString *error)
{
    return Export(GridTexts(grid), path, error);
}

} // namespace SpreadsheetExport
