#include "engine/ui/Wizard.h"

#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/DialogParts.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "engine/ui/WizardFile.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int SetIdRole = Qt::UserRole;

} // namespace

Wizard::Wizard(WizardHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("Wizard"));
    setWindowTitle(QStringLiteral("Kreator ustawień"));

    m_toolbar = DialogParts::editBar(*this, [this](const QString &key) { toolbarClick(key); });

    QTabWidget *tabs = nullptr;
    QWidget *page = DialogParts::generalPage(*this, &tabs);
    auto *pageLayout = new QVBoxLayout(page);
    auto *label = new QLabel(QStringLiteral("Nazwa ustawień:"), page);
    label->setObjectName(QStringLiteral("lbl"));
    m_list = new QListWidget(page);
    m_list->setObjectName(QStringLiteral("List1"));
    label->setBuddy(m_list);
    Module1::FlatBorder(m_list);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this] { Ui::guarded([this] { editSet(); }); });
    pageLayout->addWidget(label);
    pageLayout->addWidget(m_list, 1);

    QHBoxLayout *buttons =
        DialogParts::commandRow({DialogParts::closeCommand(*this, QStringLiteral("Zamknij"))});

    DialogParts::layOut(*this, m_toolbar, tabs, buttons);
    resize(420, 380);

    fillList();
}

QString Wizard::newSetName(const QDate &today)
{
    return QStringLiteral("Nowe ustawienia z dnia ") + today.toString(QStringLiteral("dd.MM.yyyy"));
}

void Wizard::fillList()
{
    m_list->clear();
    Db::Database *db = Globals::database();
    if (!db)
        return;
    auto rows = db->openTable(QStringLiteral("wizardlist"));
    if (!rows) {
        Messages::critical(db->errorString());
        return;
    }
    for (; !rows->eof(); rows->moveNext()) {
        auto *item = new QListWidgetItem(rows->text(QStringLiteral("nazwa")), m_list);
        item->setData(SetIdRole, rows->integer(QStringLiteral("id")));
    }
    if (m_list->count() > 0 && m_list->currentRow() < 0)
        m_list->setCurrentRow(0);
}

bool Wizard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && DialogParts::isEnterPress(event)) {
        Ui::guarded([this] { editSet(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Wizard::toolbarClick(const QString &key)
{
    if (key == QLatin1String("new"))
        newSet();
    else if (key == QLatin1String("edit"))
        editSet();
    else if (key == QLatin1String("del"))
        deleteSet();
}

void Wizard::newSet()
{
    WizardFile editor(m_host, this);
    editor.setModalRunner(m_runner);
    editor.SetNew(newSetName(Clock::today()));
    if (WizardUi::runModal(m_runner, editor) != QDialog::Accepted)
        return;
    auto *item = new QListWidgetItem(editor.name(), m_list);
    item->setData(SetIdRole, editor.setId());
    m_list->setCurrentItem(item);
}

void Wizard::editSet()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item || !item->isSelected())
        return;
    WizardFile editor(m_host, this);
    editor.setModalRunner(m_runner);
    if (!editor.GetList(item->data(SetIdRole).toLongLong()))
        return;
    editor.Text1()->setText(item->text());
    if (WizardUi::runModal(m_runner, editor) != QDialog::Accepted)
        return;
    item->setText(editor.name());
}

void Wizard::deleteSet()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item || !item->isSelected())
        return;
    if (!Messages::question(QStringLiteral("Czy na pewno chcesz usunąć te ustawienia?")))
        return;
    Db::Database *db = Globals::database();
    if (!db)
        return;
    const qint64 id = item->data(SetIdRole).toLongLong();
    // A set never loses its rules without going itself.
    Db::Transaction transaction(*db);
    const bool done = transaction.isActive() &&
                      db->execute(QStringLiteral("DELETE FROM wizardlist_items WHERE id_parent=?"),
                                  {QString::number(id)}) &&
                      db->execute(QStringLiteral("DELETE FROM wizardlist WHERE id=?"), {id}) &&
                      transaction.commit();
    if (!done) {
        Messages::critical(db->errorString());
        return;
    }
    delete m_list->takeItem(m_list->row(item));
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
}
