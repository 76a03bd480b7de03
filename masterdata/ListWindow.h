#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;
class SelectItem;
class ToolBarN;

namespace Db {
class Recordset;
}

// What the people and duties windows share: a toolbar over one "Ogólne" tab
// with the list of one table's rows, "Wybierz"/"Zamknij" below, sorting by a
// header click, Enter or a double click to edit, and the picker's answer.
class ListWindow : public QDialog
{
    Q_OBJECT

public:
    ~ListWindow() override;

    // Picking mode when set; call before showing. Not owned.
    void setMyClass(SelectItem *picker);
    SelectItem *MyClass() const { return m_myClass; }

    // Hands the selected rows still in the table to the picker, then closes.
    void answerPicker();
    // A click on the column's header: the same column again flips the order.
    void sortByColumn(int column);

    QTreeWidget *lista() const { return m_lista; }

    void done(int result) override;

protected:
    // How the first header click on the first column sorts: ascending, or
    // (FirstColumnRecorded) as if the list were already sorted by it.
    enum class SortStart { Unsorted, FirstColumnRecorded };

    ListWindow(const QString &table, const QIcon &rowIcon, SortStart sortStart, QWidget *parent);

    // Shows an editor modally; tests override it to drive the editor in place.
    virtual int showModal(QDialog &dialog);
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // The toolbar, the tab with the page fillPage lays out, the button row.
    ToolBarN *buildFrame(const QString &toolbarName,
                         const std::function<void(QWidget *page)> &fillPage);
    // The list on the page; the caller sizes its columns and places it.
    QTreeWidget *createList(QWidget *page, const QStringList &headers);

    // Restores the column widths and fills the window.
    void load();
    virtual void refill() = 0;
    // Opens the editor of the row with the id.
    virtual void editRow(qint64 id) = 0;
    // The picker's text of the row after "<id>;".
    virtual QString pickerName(const Db::Recordset &row) const = 0;

    bool isSorted() const { return m_sorted; }
    // A fill of the list: beginFill empties it, the rows added until endFill
    // are sorted once there, by the user's column when the user sorted, else
    // by fallbackColumn (-1: left in the order added), and handed to the
    // list at once.
    void beginFill();
    void endFill(int fallbackColumn = -1);
    void addRow(qint64 id, const QStringList &texts, bool select);
    void rewriteSelectedRow(const QStringList &texts);
    void editSelected();
    // Asks, then deletes the selected rows from the table and the list.
    void deleteSelectedRows();

private:
    QTreeWidgetItem *selectedRow() const;
    void listDoubleClicked();
    void resort();

    class Controls;
    std::unique_ptr<Controls> m_ui;
    const QString m_table;
    const QIcon m_rowIcon;
    QTreeWidget *m_lista = nullptr;
    SelectItem *m_myClass = nullptr;
    bool m_loaded = false;
    bool m_sortRecorded = false;
    bool m_sorted = false;
    bool m_filling = false;
    QList<QTreeWidgetItem *> m_pending; // the rows of a fill, not yet in the list
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
