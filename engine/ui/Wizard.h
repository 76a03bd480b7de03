#pragma once

#include "engine/ui/WizardHost.h"

#include <QDialog>
#include <QString>

#include <utility>

class QDate;
class QListWidget;
class ToolBarN;

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
