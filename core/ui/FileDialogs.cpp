#include "core/ui/FileDialogs.h"

#include <QFileDialog>
#include <QQueue>

namespace FileDialogs {

namespace {

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

QString run(QFileDialog &dialog, const QStringList &filters, int *selectedFilter)
{
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
