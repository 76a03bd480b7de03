#include "core/ui/Module1Ui.h"

#include "controls/FlatEdge.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/Options.h"
#include "core/ui/FileDialogs.h"
#include "platform/text/FileErrors.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeView>
#include <QUrl>

#include <cmath>

namespace Module1 {

namespace {

// What the shared dialog record kept between calls.
int g_filterIndex = 0;
QString g_folder;

struct FilterPair
{
    QString description;
    QString pattern;
};

QList<FilterPair> parseFilter(const QString &filter)
{
    const QStringList parts = filter.split(QChar(u'\0'));
    QList<FilterPair> pairs;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty() && parts.at(i + 1).isEmpty())
            continue;
        pairs.append({parts.at(i).trimmed(), parts.at(i + 1).trimmed()});
    }
    return pairs;
}

QStringList qtFilters(const QList<FilterPair> &pairs)
{
    QStringList filters;
    for (const FilterPair &pair : pairs) {
        QString patterns = pair.pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses, so they must be there.
        if (pair.description.contains(QLatin1Char('(')))
            filters.append(pair.description);
        else
            filters.append(QStringLiteral("%1 (%2)").arg(pair.description, patterns));
    }
    return filters;
}

// "*.swx" -> ".swx"; empty for a pattern such as "*.*" that names no extension.
QString extensionOf(const QString &pattern)
{
    const QString first = pattern.section(QLatin1Char(';'), 0, 0).trimmed();
    const QString extension = first.mid(1);
    if (!extension.startsWith(QLatin1Char('.')) || extension.contains(QLatin1Char('*')) ||
        extension.contains(QLatin1Char('?')))
        return QString();
    return extension;
}

// Every dialog opens in the folder the last one was confirmed in during this
// run, the program folder at first.
QString startFolder()
{
    return g_folder.isEmpty() ? AppPath() : g_folder;
}

void rememberFolderOf(const QString &path)
{
    if (!path.isEmpty())
        g_folder = QFileInfo(path).absolutePath();
}

int clampedIndex(const QList<FilterPair> &pairs)
{
    return g_filterIndex >= 0 && g_filterIndex < pairs.size() ? g_filterIndex : 0;
}

bool matchesType(const QWidget *widget, const QString &typeName)
{
    if (typeName == QLatin1String("TextBox"))
        return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QTextEdit *>(widget) ||
               qobject_cast<const QPlainTextEdit *>(widget);
    if (typeName == QLatin1String("ListBox"))
        return qobject_cast<const QListView *>(widget) != nullptr;
    if (typeName == QLatin1String("ListView"))
        return qobject_cast<const QTreeView *>(widget) != nullptr;
    if (typeName == QLatin1String("ComboBox"))
        return qobject_cast<const QComboBox *>(widget) != nullptr;
    if (typeName == QLatin1String("DTPicker"))
        return qobject_cast<const QDateTimeEdit *>(widget) != nullptr;
    return widget->inherits(typeName.toLatin1().constData());
}

// The line edit inside a combo or spin box is part of that control, not a text box.
bool insideCompoundControl(const QWidget *widget, const QWidget *form)
{
    for (const QWidget *p = widget->parentWidget(); p && p != form; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p))
            return true;
    }
    return false;
}

// The form's own list views. One without a name is a part of another
// control (the group tree of the category control) and has no row of its own.
QList<QTreeView *> listViews(QWidget *form)
{
    QList<QTreeView *> views;
    const QList<QTreeView *> all = form->findChildren<QTreeView *>();
    for (QTreeView *view : all) {
        if (!view->objectName().isEmpty() && !insideCompoundControl(view, form))
            views.append(view);
    }
    return views;
}

QString columnsKey(const QWidget *form, const QWidget *view)
{
    return form->objectName() + QLatin1Char('.') + view->objectName();
}

} // namespace

QString ShowOpenDialog(QWidget *owner, const QString &filter, const QString &title)
{
    const QList<FilterPair> pairs = parseFilter(filter);
    int index = clampedIndex(pairs);
    const QString path =
        FileDialogs::getOpenFileName(owner, title, startFolder(), qtFilters(pairs), &index)
            .trimmed();
    g_filterIndex = index;
    rememberFolderOf(path);
    return path;
}

QString ShowSaveDialog(QWidget *owner, const QString &filter, const QString &title,
                       const QString &initialFolder, const QString &defaultName)
{
    const QList<FilterPair> pairs = parseFilter(filter);
    if (!initialFolder.isEmpty())
        g_folder = initialFolder;
    QStringList suffixes;
    for (const FilterPair &pair : pairs)
        suffixes.append(extensionOf(pair.pattern).mid(1));

    int index = clampedIndex(pairs);
    // A default name with its own folder (the opened roster's path) is proposed as it is.
    const QString start = QDir(startFolder()).filePath(defaultName);
    QString path =
        FileDialogs::getSaveFileName(owner, title, start, qtFilters(pairs), &index, suffixes);
    g_filterIndex = index;

    path = path.trimmed();
    if (path.isEmpty())
        return QString();
    const int nul = path.indexOf(QChar(u'\0'));
    if (nul >= 0)
        path.truncate(nul);
    const QString extension =
        index < pairs.size() ? extensionOf(pairs.at(index).pattern) : QString();
    if (!extension.isEmpty() && !path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    path = path.trimmed();
    rememberFolderOf(path);
    return path;
}

void resetFileDialogState()
{
    g_filterIndex = 0;
    g_folder.clear();
}

void FlatBorder(QWidget *control)
{
    if (!control || control->property("flatBorder").toBool())
        return;
    control->setProperty("flatBorder", true);
    // Spin boxes and date editors keep their own frame: a border over them
    // would cover their arrows.
    if (qobject_cast<QAbstractSpinBox *>(control) || qobject_cast<QComboBox *>(control))
        return;
    // A frame of one logical pixel keeps the children inside; the line over
    // it is drawn on device pixels.
    if (auto *frame = qobject_cast<QFrame *>(control)) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        frame->setMidLineWidth(0);
    } else {
        // Only the control itself carries the property, so its children keep their look.
        control->setStyleSheet(
            control->styleSheet() +
            QStringLiteral("\n*[flatBorder=\"true\"] { border: 1px solid transparent; }"));
    }
    FlatEdge::install(control, QPalette::Mid, QPalette::Mid);
}

void FlatControls(QWidget *form, const QString &typeName)
{
    if (!form)
        return;
    const QList<QWidget *> children = form->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (matchesType(child, typeName) && !insideCompoundControl(child, form))
            FlatBorder(child);
    }
}

void FlatControlsOfType(QWidget *form, const QString &typeName)
{
    FlatControls(form, typeName);
}

void DrawFormLines(QWidget *form, int index)
{
    if (!form)
        return;
    const QList<QFrame *> frames = form->findChildren<QFrame *>();
    for (QFrame *frame : frames) {
        const QString name = frame->objectName();
        int number = 0;
        if (name == QLatin1String("DblLine")) {
            number = 0;
        } else if (name.startsWith(QLatin1String("DblLine_"))) {
            bool ok = false;
            number = name.mid(8).toInt(&ok);
            if (!ok)
                continue;
        } else {
            continue;
        }
        if (index >= 0 && number != index)
            continue;
        // A shadow line over a light one: Qt's sunken horizontal line.
        frame->setFrameShape(QFrame::HLine);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setLineWidth(1);
        frame->setMidLineWidth(0);
        frame->setFixedHeight(2);
    }
}

bool ListBoxContains(const QListWidget *list, const QString &text)
{
    if (!list)
        return false;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text)
            return true;
    }
    return false;
}

void DeselectListView(QAbstractItemView *view)
{
    if (view)
        view->clearSelection();
}

void SaveListViewColumns(QWidget *form)
{
    clsOptions *options = Globals::options();
    if (!form || !options)
        return;
    for (QTreeView *view : listViews(form)) {
        const QHeaderView *header = view->header();
        if (header->count() == 0)
            continue;
        const double dpi = view->logicalDpiX() > 0 ? view->logicalDpiX() : 96.0;
        QStringList widths;
        for (int i = 0; i < header->count(); ++i)
            widths.append(
                QString::number(qint64(std::trunc(header->sectionSize(i) * 1440.0 / dpi))));
        options->SetOption(columnsKey(form, view), widths.join(QLatin1Char(';')));
    }
}

void LoadListViewColumns(QWidget *form)
{
    clsOptions *options = Globals::options();
    if (!form || !options)
        return;
    for (QTreeView *view : listViews(form)) {
        const QString stored = options->GetOption(columnsKey(form, view));
        if (stored.isEmpty())
            continue;
        QHeaderView *header = view->header();
        const QStringList parts = stored.split(QLatin1Char(';'));
        if (parts.size() != header->count())
            continue;
        QList<int> twips;
        for (const QString &part : parts) {
            bool ok = false;
            const int value = part.trimmed().toInt(&ok);
            if (!ok || value < 0 || value > 32767)
                break;
            twips.append(value);
        }
        if (twips.size() != parts.size())
            continue;
        const double dpi = view->logicalDpiX() > 0 ? view->logicalDpiX() : 96.0;
        for (int i = 0; i < twips.size(); ++i)
            header->resizeSection(i, int(std::lround(twips.at(i) * dpi / 1440.0)));
    }
}

void OpenWithShell(QWidget *owner, const QString &path)
{
    Q_UNUSED(owner);
    if (path.isEmpty())
        return;
    // The desktop only tells whether it could start a program: a file that
    // is missing or unreadable is found here, with its reason.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Messages::critical(
            Messages::fileFailure(Messages::OpenFileFailed, path, FileErrors::reason(file)));
        return;
    }
    file.close();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        Messages::critical(Messages::fileFailure(Messages::OpenFileFailed, path));
}

} // namespace Module1
