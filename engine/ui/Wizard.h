#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <utility>

class QDate;
class QListWidget;
class ToolBarN;

// What the rule windows need of the main window: the shared picker.
// pick(rodzaj) opens the picker for Rodzaj 0 (groups), 1 (people), 2 (day
// range) or 3 (duties) and returns its Result: "id;name" entries joined by
// NUL, or "first;last" for a day range; empty when nothing was picked. The
// main window implements it with SelectItem, as it does for the build dialog.
class WizardHost
{
public:
    virtual ~WizardHost() = default;
    virtual QString pick(int rodzaj) = 0;
};

namespace WizardUi {
// Shows a dialog modally and returns its result; tests replace it to drive
// the dialog in place. An empty runner calls exec().
using ModalRunner = std::function<int(QDialog &)>;
int runModal(const ModalRunner &runner, QDialog &dialog);
} // namespace WizardUi

// The list of stored rule sets (wizardlist): new, edit and delete. Creating
// and editing happen in WizardFile, deleting here.
//
// The main window's toolbar item "kreator" opens it:
//     Wizard wizard(*this, this);   // this: the Panel, a WizardHost
//     wizard.exec();
// Nothing is read back.
class Wizard : public QDialog
{
    Q_OBJECT

public:
    explicit Wizard(WizardHost &host, QWidget *parent = nullptr);

    void setModalRunner(WizardUi::ModalRunner runner) { m_runner = std::move(runner); }

    QListWidget *List1() const { return m_list; }
    ToolBarN *ToolBar() const { return m_toolbar; }

    // Toolbar item "new", "edit" or "del"; other keys do nothing.
    void toolbarClick(const QString &key);
    void newSet();
    void editSet();
    // Asks first; the set and its rules go in one transaction.
    void deleteSet();

    // The proposed name of a set created on that day.
    static QString newSetName(const QDate &today);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillList();

    WizardHost &m_host;
    WizardUi::ModalRunner m_runner;
    ToolBarN *m_toolbar = nullptr;
    QListWidget *m_list = nullptr;
};
