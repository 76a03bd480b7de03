#include "platform/text/FileErrors.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>

#include <cerrno>

namespace FileErrors {

namespace {

using Known = QList<QPair<QString, QString>>; // system text, Polish reason

// Qt words its file failures with the system's text for errno, or with a few
// texts of its own; both are matched as Qt writes them on this machine. Built
// at the first failure, after the program has installed its translations.
const Known &known()
{
    static const Known table = [] {
        const QPair<int, const char16_t *> codes[] = {
            {ENOENT, u"Plik lub folder nie istnieje"},
            {EACCES, u"Brak uprawnień do pliku lub folderu"},
            {EPERM, u"Brak uprawnień do pliku lub folderu"},
            {EROFS, u"Dysk jest tylko do odczytu"},
            {ENOSPC, u"Brak miejsca na dysku"},
            {EDQUOT, u"Przekroczono przydział miejsca na dysku"},
            {EFBIG, u"Plik jest za duży"},
            {EISDIR, u"Podana ścieżka wskazuje folder, nie plik"},
            {ENOTDIR, u"Część ścieżki nie jest folderem"},
            {ENAMETOOLONG, u"Nazwa pliku jest za długa"},
            {EEXIST, u"Plik już istnieje"},
            {EBUSY, u"Plik jest używany przez inny program"},
            {ETXTBSY, u"Plik jest używany przez inny program"},
            {EMFILE, u"Otwarto zbyt wiele plików"},
            {ENFILE, u"Otwarto zbyt wiele plików"},
            {EIO, u"Błąd odczytu lub zapisu na dysku"},
            {EINVAL, u"Nieprawidłowa nazwa pliku"},
        };
        Known list;
        for (const auto &[code, polish] : codes)
            list.append({qt_error_string(code), QString::fromUtf16(polish)});
        const QString folder = QStringLiteral("Podana ścieżka wskazuje folder, nie plik");
        list.append({QStringLiteral("file to open is a directory"), folder});
        // Qt's own texts, in English and as its translation gives them.
        const struct
        {
            const char *context;
            const char *text;
            QString polish;
        } own[] = {
            {"QSaveFile", "Filename refers to a directory", folder},
            {"QFile", "Destination file exists", QStringLiteral("Plik już istnieje")},
        };
        for (const auto &entry : own) {
            list.append({QString::fromLatin1(entry.text), entry.polish});
            list.append({QCoreApplication::translate(entry.context, entry.text), entry.polish});
        }
        return list;
    }();
    return table;
}

QString categoryReason(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ReadError:
        return QStringLiteral("Błąd odczytu pliku");
    case QFileDevice::WriteError:
        return QStringLiteral("Błąd zapisu pliku");
    case QFileDevice::ResourceError:
        return QStringLiteral("Brak miejsca na dysku lub innych zasobów systemu");
    case QFileDevice::OpenError:
        return QStringLiteral("Nie można otworzyć pliku");
    case QFileDevice::AbortError:
        return QStringLiteral("Zapis pliku został przerwany");
    case QFileDevice::TimeOutError:
        return QStringLiteral("Przekroczono czas operacji na pliku");
    case QFileDevice::RemoveError:
        return QStringLiteral("Nie można usunąć pliku");
    case QFileDevice::RenameError:
        return QStringLiteral("Nie można zmienić nazwy pliku");
    case QFileDevice::PositionError:
        return QStringLiteral("Błąd położenia w pliku");
    case QFileDevice::ResizeError:
        return QStringLiteral("Nie można zmienić rozmiaru pliku");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Nie można zmienić uprawnień pliku");
    case QFileDevice::CopyError:
        return QStringLiteral("Nie można skopiować pliku");
    case QFileDevice::NoError:
    case QFileDevice::FatalError:
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("Nieznany błąd pliku");
}

} // namespace

QString reason(QFileDevice::FileError error, const QString &systemText)
{
    QString polish;
    for (const auto &[text, translated] : known()) {
        if (!text.isEmpty() && systemText.contains(text, Qt::CaseInsensitive)) {
            polish = translated;
            break;
        }
    }
    if (polish.isEmpty())
        polish = categoryReason(error);
    // "Unknown error" tells the reader nothing the Polish text does not.
    if (systemText.isEmpty() || systemText == QLatin1String("Unknown error") ||
        systemText == polish)
        return polish;
    return polish + QStringLiteral(" (") + systemText + QLatin1Char(')');
}

QString reason(const QFileDevice &file)
{
    return reason(file.error(), file.errorString());
}

} // namespace FileErrors
