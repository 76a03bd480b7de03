#include "core/ui/FileDialogs.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHash>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLayout>
#include <QLocale>
#include <QQueue>
#include <QScreen>
#include <QStyle>
#include <QTreeView>

namespace FileDialogs {

namespace {

QString sizeText(qint64 bytes);
QString dateText(const QDateTime &time);

struct Answer
{
    QString fileName;
    int filterIndex = -1;
};

QQueue<Answer> g_answers;

bool takeAnswer(QString *fileName, int *selectedFilter)
{
    if (g_answers.isEmpty())
        return false;
    const Answer answer = g_answers.dequeue();
    *fileName = answer.fileName;
    if (selectedFilter && answer.filterIndex >= 0)
        *selectedFilter = answer.filterIndex;
    return true;
}

// The columns of the file list as a Polish desktop shows them, whatever the
// machine's language: Qt formats sizes and dates in the system locale and
// names the types after the MIME database ("unknown" for a roster file).
class PolishColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : sizeText(info.size());
        case 2:
            return typeName(info);
        default:
            return dateText(info.lastModified());
        }
    }
};

QString sizeText(qint64 bytes)
{
    // Below a kilobyte the byte symbol: Polish would want a plural form
    // for each count.
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);
    return QLocale(QLocale::Polish).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString dateText(const QDateTime &time)
{
    return time.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

const QHash<QString, QString> &knownTypes()
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("swx"), QStringLiteral("Grafik Dorvat Kadrelo")},
        {QStringLiteral("mbd"), QStringLiteral("Baza danych Dorvat Kadrelo")},
        {QStringLiteral("xml"), QStringLiteral("Dokument XML")},
        {QStringLiteral("csv"), QStringLiteral("Plik CSV")},
        {QStringLiteral("rtf"), QStringLiteral("Dokument RTF")},
        {QStringLiteral("pdf"), QStringLiteral("Dokument PDF")},
        {QStringLiteral("txt"), QStringLiteral("Dokument tekstowy")},
    };
    return names;
}

// The dialog wide enough for every column of the list, never wider than
// its screen.
void widenToColumns(QFileDialog &dialog, QTreeView *view)
{
    const int missing = view->header()->length() - view->contentsRect().width();
    if (missing <= 0)
        return;
    int width = dialog.width() + missing;
    if (const QScreen *screen = dialog.screen())
        width = std::min(width, screen->availableGeometry().width());
    if (width > dialog.width())
        dialog.resize(width, dialog.height());
}

// Widths that show a whole date and type before the folder has been read,
// and the longest text once it has.
void fitColumns(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!view)
        return;
    QHeaderView *header = view->header();
    const QFontMetrics metrics(view->font());
    const int margin = 4 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    auto fitAtLeast = [header](int column, int wanted) {
        if (header->sectionSize(column) < wanted)
            header->resizeSection(column, wanted);
    };
    int typeWidth = 0;
    for (const QString &name : knownTypes())
        typeWidth = std::max(typeWidth, metrics.horizontalAdvance(name));
    fitAtLeast(2, std::max(typeWidth + margin, header->sectionSizeHint(2)));
    const QString date = dateText(QDateTime(QDate(2000, 12, 28), QTime(20, 28)));
    fitAtLeast(3, std::max(metrics.horizontalAdvance(date) + margin, header->sectionSizeHint(3)));

    dialog.adjustSize();
    if (QLayout *layout = dialog.layout())
        layout->activate();
    widenToColumns(dialog, view);

    auto *files = qobject_cast<QFileSystemModel *>(
        static_cast<QIdentityProxyModel *>(dialog.proxyModel())->sourceModel());
    if (files) {
        QObject::connect(files, &QFileSystemModel::directoryLoaded, view, [&dialog, view] {
            for (int column = 1; column <= 3; ++column) {
                const int wanted =
                    static_cast<QAbstractItemView *>(view)->sizeHintForColumn(column);
                if (view->header()->sectionSize(column) < wanted)
                    view->header()->resizeSection(column, wanted);
            }
            widenToColumns(dialog, view);
        });
    }
}

// Qt's own dialog on every desktop, so the columns above are the ones shown.
void prepare(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setProxyModel(new PolishColumns(&dialog));
    fitColumns(dialog);
}

QString run(QFileDialog &dialog, const QStringList &filters, int *selectedFilter)
{
    prepare(dialog);
    dialog.setNameFilters(filters);
    if (selectedFilter && *selectedFilter >= 0 && *selectedFilter < filters.size())
        dialog.selectNameFilter(filters.at(*selectedFilter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter) {
        const int index = filters.indexOf(dialog.selectedNameFilter());
        if (index >= 0)
            *selectedFilter = index;
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString typeName(const QFileInfo &info)
{
    if (info.isDir())
        return QStringLiteral("Folder plików");
    const QString suffix = info.suffix().toLower();
    const auto known = knownTypes().constFind(suffix);
    if (known != knownTypes().constEnd())
        return known.value();
    return suffix.isEmpty() ? QStringLiteral("Plik")
                            : QStringLiteral("Plik ") + info.suffix().toUpper();
}

QString getOpenFileName(QWidget *owner, const QString &title, const QString &folder,
                        const QStringList &filters, int *selectedFilter)
{
    QString fileName;
    if (takeAnswer(&fileName, selectedFilter))
        return fileName;
    QFileDialog dialog(owner, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    return run(dialog, filters, selectedFilter);
}

QString getSaveFileName(QWidget *owner, const QString &title, const QString &path,
                        const QStringList &filters, int *selectedFilter,
                        const QStringList &suffixes)
{
    QString fileName;
    if (takeAnswer(&fileName, selectedFilter))
        return fileName;
    QFileDialog dialog(owner, title, path);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    auto suffixFor = [&](const QString &filter) {
        const int index = filters.indexOf(filter);
        return index >= 0 && index < suffixes.size() ? suffixes.at(index) : QString();
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString &filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
    if (selectedFilter && *selectedFilter >= 0 && *selectedFilter < filters.size())
        dialog.setDefaultSuffix(suffixFor(filters.at(*selectedFilter)));
    else if (!filters.isEmpty())
        dialog.setDefaultSuffix(suffixFor(filters.constFirst()));
    return run(dialog, filters, selectedFilter);
}

void setNextFileName(const QString &fileName, int filterIndex)
{
    g_answers.enqueue({fileName, filterIndex});
}

int pendingAnswers()
{
    return int(g_answers.size());
}

} // namespace FileDialogs
