#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FlexGrid;

// The roster grid written as an XML spreadsheet (SpreadsheetML 2003), exactly
// as the grid shows it: header row and day column included, one Column per
// grid column, one Row per grid row, one String cell per grid cell. It starts
// from the template BazaXml.file beside the program, which holds the workbook,
// the worksheet "Arkusz1" with its Table and the styles s21 (header row and
// day column) and s22 (the rest).
//
// The main window's export command, for a chosen path ending in "xml":
//     SpreadsheetExport::Export(*Lista(), path);
// Messages are shown here; the caller has nothing more to report.
//
// Failure contract: a template that is missing, is not well-formed, has a
// name windows-1250 cannot hold or lacks the worksheet's Table shows
// "Wystąpił błąd przy tworzeniu bazy XML!" with the template's path and the
// reason, before anything is written; a file
// that cannot be written shows Messages::SaveFileFailed with the path and
// reason. Either way false is returned, *error holds the reason, and the
// target file is left as it was (written through FileWriter).
namespace SpreadsheetExport {

inline const QString TemplateFileName = QStringLiteral("BazaXml.file");
inline const QString TemplateErrorText = QStringLiteral("Wystąpił błąd przy tworzeniu bazy XML!");
inline const QString SpreadsheetNamespace =
    QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");

// Module1::AppPath() + TemplateFileName.
QString TemplatePath();

// The grid's texts, [row][column].
QList<QStringList> GridTexts(const FlexGrid &grid);

// The file content for the texts ([row][column]; rows shorter than the first
// are padded with empty cells), declared and encoded as windows-1250.
// Nothing, with *error set, when the template is unusable. Shows no message.
std::optional<QByteArray> Build(const QList<QStringList> &cells, const QString &templatePath,
                                QString *error = nullptr);

bool Export(const QList<QStringList> &cells, const QString &path, QString *error = nullptr);
bool Export(const FlexGrid &grid, const QString &path, QString *error = nullptr);

} // namespace SpreadsheetExport
