#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class BlueCommand;
class QAction;
class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace Xml {
class Document;
}

// The balance report: who serves which duty on which day of the open roster,
// as a tree by groups, persons, days or duties, with a search among the node
// texts, the RTF export of the tree and the storing of the month's counts.
// It reads the roster and the tables ludzie, grupy, sluzby and changes neither.
//
// The main window shows it modally from its "bilans" toolbar item while a
// roster is open:
//     Bilans window(*m_xmlDocument, this);
//     window.setSaveBilans([this] { return SaveBilans(); });
//     showModal(window);
class Bilans : public QDialog
{
    Q_OBJECT

public:
    // roster: the open roster document; not owned, must outlive the window.
    explicit Bilans(const Xml::Document &roster, QWidget *parent = nullptr);
    ~Bilans() override;

    // Stores the month's counts; true when stored (a failure is reported by
    // the callee). Without it the store commands are disabled.
    void setSaveBilans(std::function<bool()> saveBilans);

    // Rebuilds the whole tree for mode 0 (groups), 1 (persons), 2 (days) or 3 (duties).
    void BuildBilansTree(const Xml::Document &document, int mode);

    // Command1: the next node after the selected one whose text holds Text1.
    void Search();
    // mnuExport: the tree as an RTF file chosen in the save dialog.
    void ExportBilansRtf();
    // Command2 and mnuSaveBilans.
    void SaveBilans();

    QComboBox *Combo1() const { return m_combo1; }
    QTreeWidget *Lista() const { return m_lista; }
    QLineEdit *Text1() const { return m_text1; }
    BlueCommand *Command1() const { return m_command1; }
    BlueCommand *Command2() const { return m_command2; }
    QAction *mnuExport() const { return m_mnuExport; }
    QAction *mnuSaveBilans() const { return m_mnuSaveBilans; }

    // The node's top-level ancestor, the node itself at the top, null for null.
    static QTreeWidgetItem *GetTopNode(QTreeWidgetItem *node);

protected:
    // Opens the exported file with the desktop's program; where none opens
    // it, a note says the file was written all the same. Tests record it.
    virtual void openWithShell(const QString &path);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeWidgetItem *SearchNodes(const QString &text, QTreeWidgetItem *node,
                                 const QTreeWidgetItem *selected);
    struct Reading;
    std::unique_ptr<Reading> m_reading;
    const Xml::Document &m_roster;
    std::function<bool()> m_saveBilans;
    bool m_passedSelected = false;

    QComboBox *m_combo1 = nullptr;
    QTreeWidget *m_lista = nullptr;
    QLineEdit *m_text1 = nullptr;
    BlueCommand *m_command1 = nullptr;
    BlueCommand *m_command2 = nullptr;
    BlueCommand *m_buttonClose = nullptr;
    QAction *m_mnuExport = nullptr;
    QAction *m_mnuSaveBilans = nullptr;
};
