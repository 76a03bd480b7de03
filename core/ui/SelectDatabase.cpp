#include "core/ui/SelectDatabase.h"

#include "controls/BlueCommand.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/SelectName.h"
#include "core/ui/StartModule.h"
#include "platform/text/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString Extension = QStringLiteral(".mbd");
const QString TemplatePath = QStringLiteral("Databases/Empty/baza.mbd");

} // namespace

SelectDatabase::SelectDatabase(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectDatabase"));
    setWindowTitle(QStringLiteral("Wybór bazy danych"));

    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("Ogólne"));
    auto *label = new QLabel(QStringLiteral("Baza danych:"));
    label->setObjectName(QStringLiteral("Label1"));
    m_file1 = new QListWidget;
    m_file1->setObjectName(QStringLiteral("File1"));
    m_file1->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(m_file1);

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new BlueCommand(this);
        b->setObjectName(QLatin1String(name));
        b->setCaption(caption);
        return b;
    };
    m_login = button("BlueCommand2", QStringLiteral("Zaloguj"));
    m_add = button("BlueCommand3", QStringLiteral("Dodaj"));
    m_delete = button("BlueCommand4", QStringLiteral("Usuń"));
    m_close = button("BlueCommand1", QStringLiteral("Zamknij"));

    auto *pageLayout = new QGridLayout(page);
    pageLayout->addWidget(label, 0, 0, 1, 2);
    pageLayout->addWidget(m_file1, 1, 0);
    auto *side = new QVBoxLayout;
    side->addWidget(m_add);
    side->addWidget(m_delete);
    side->addStretch(1);
    pageLayout->addLayout(side, 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_login);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    Module1::FlatControls(this, QStringLiteral("ListBox"));
    m_login->setDefault(true);
    m_close->setCancel(true);
    connect(m_login, &BlueCommand::Click, this,
            [this] { Ui::guarded([this] { openDatabase(); }); });
    connect(m_add, &BlueCommand::Click, this, [this] { Ui::guarded([this] { addDatabase(); }); });
    connect(m_delete, &BlueCommand::Click, this,
            [this] { Ui::guarded([this] { deleteDatabase(); }); });
    connect(m_close, &BlueCommand::Click, this, &QWidget::close);
    // The frame closes the window as "Zamknij" does.
    connect(this, &QDialog::rejected, this, &QWidget::close);

    resize(380, 300);
    refresh();
}

void SelectDatabase::refresh()
{
    m_file1->clear();
    const QStringList files = QDir(Module1::AppPath())
                                  .entryList({QStringLiteral("*") + Extension}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase);
    m_file1->addItems(files);
    if (m_file1->count() > 0) {
        m_file1->setCurrentRow(0);
        m_file1->item(0)->setSelected(true);
    }
}

QString SelectDatabase::selectedFile() const
{
    const QList<QListWidgetItem *> selected = m_file1->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
}

bool SelectDatabase::isValidDatabaseName(const QString &name)
{
    // The name is taken as typed, blanks included; only what cannot be one
    // file of the program folder is refused.
    if (name.isEmpty() || name.contains(QLatin1String("..")) || name.startsWith(QLatin1Char('.')))
        return false;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127 || forbidden.contains(c))
            return false;
    }
    return true;
}

void SelectDatabase::addDatabase()
{
    const QString chosen = SelectName::ask(this);
    if (chosen.isEmpty())
        return;
    if (!isValidDatabaseName(chosen)) {
        Messages::exclamation(QStringLiteral(
            "Podana nazwa nie może być nazwą pliku bazy danych. Proszę podać nazwę bez znaków "
            "\\ / : * ? \" < > | i bez \"..\"."));
        return;
    }
    const QString target = Module1::AppPath() + chosen + Extension;
    if (QFileInfo::exists(target)) {
        Messages::exclamation(QStringLiteral("Podany plik już istnieje. Proszę wybrać inną nazwę"));
        return;
    }
    const QString source = Module1::AppPath() + TemplatePath;
    if (!QFileInfo(source).isFile()) {
        Messages::critical(
            Messages::fileFailure(QStringLiteral("Nie znaleziono wzorca bazy danych"), source));
        return;
    }
    QFile templateFile(source);
    if (!templateFile.copy(target)) {
        Messages::critical(
            Messages::fileFailure(QStringLiteral("Nie udało się utworzyć pliku bazy danych"),
                                  target, FileErrors::reason(templateFile)));
        refresh();
        return;
    }
    // A template installed read-only must not make the new database read-only.
    QFile::setPermissions(target,
                          QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    refresh();
}

void SelectDatabase::deleteDatabase()
{
    const QString name = selectedFile();
    if (name.isEmpty())
        return;
    if (!Messages::question(QStringLiteral("Czy na pewno chcesz usunąć zaznaczoną bazę danych?")))
        return;
    QFile file(Module1::AppPath() + name);
    if (!file.remove()) {
        Messages::critical(
            Messages::fileFailure(QStringLiteral("Nie udało się usunąć pliku bazy danych"), name,
                                  FileErrors::reason(file)));
    }
    refresh();
}

void SelectDatabase::openDatabase()
{
    const QString name = selectedFile();
    if (name.isEmpty())
        return;
    StartModule::OpenDatabase(Module1::AppPath() + name);
    close();
}
