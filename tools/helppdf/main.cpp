// Builds the program's help PDF from its HTML text: helppdf <input.html> <output.pdf>
#include "platform/text/FileWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: helppdf <input.html> <output.pdf>\n");
        return 2;
    }
    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "helppdf: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString html = QString::fromUtf8(input.readAll());
    QDir().mkpath(QFileInfo(args[2]).absolutePath());

    QBuffer output;
    output.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&output);
        writer.setTitle(QStringLiteral("Dorvat Kadrelo – pomoc"));
        writer.setCreator(QStringLiteral("Dorvat Kadrelo"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setResolution(300);

        QTextDocument document;
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10.5);
        document.setDefaultFont(font);
        document.setHtml(html);
        document.print(&writer);
    }
    // A failed run keeps the old file.
    QString error;
    if (!FileWriter::write(args[2], output.data(), &error)) {
        std::fprintf(stderr, "helppdf: cannot write %s: %s\n", qPrintable(args[2]),
                     qPrintable(error));
        return 1;
    }
    return 0;
}
