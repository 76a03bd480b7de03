#pragma once

#include "engine/WizItem.h"
#include "engine/ui/WizardHost.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QLineEdit;
class QTableWidget;
class ToolBarN;

// The editor of one named rule set: its name and its rules, each shown as
// its sentence. Rules are kept in memory and written, with the name, only on
// save, in one transaction; cancel writes nothing.
//
// Use: SetNew(name) or GetList(id) (then the name into Text1), then show
// modally. After an accepted save, setId() is the stored set's id.
class WizardFile : public QDialog
{
    Q_OBJECT

public:
    explicit WizardFile(WizardHost &host, QWidget *parent = nullptr);

    void setModalRunner(WizardUi::ModalRunner runner) { m_runner = std::move(runner); }

    // A new set (id -1) of that name, no rules.
    void SetNew(const QString &name);
    // Loads the rules of a stored set; false, with the message shown, when
    // they cannot be read. The name is not filled in.
    bool GetList(qint64 id);

    qint64 setId() const { return m_setId; }
    QString name() const;
    const QList<WizItem> &rules() const { return m_rules; }
    // Ids of the loaded rules deleted since, removed on save.
    QStringList pendingDeletions() const { return m_pendingDeletions; }

    QLineEdit *Text1() const { return m_name; }
    QTableWidget *Lista() const { return m_grid; }
    ToolBarN *ToolBar() const { return m_toolbar; }

    // Toolbar item "new", "edit" or "del"; other keys do nothing.
    void toolbarClick(const QString &key);
    void NewRule();
    void EditRule();
    void DeleteRule();
    // "Zapisz": checks, writes and accepts; false when refused or failed.
    bool save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appendRow(const WizItem &rule);
    // At the column's width (-1: as the grid has it now).
    void fitRow(int row, int columnWidth = -1);
    bool scrollWithinCurrentRule(int key);
    bool write(QString *error);

    WizardHost &m_host;
    WizardUi::ModalRunner m_runner;
    qint64 m_setId = -1;
    QList<WizItem> m_rules; // entry i is grid row i
    QStringList m_pendingDeletions;
    QLineEdit *m_name = nullptr;
    QTableWidget *m_grid = nullptr;
    ToolBarN *m_toolbar = nullptr;
};
