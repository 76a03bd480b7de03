#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;
class SelectItem;

// The duties window: every row of sluzby, with add, edit and delete. Opened
// from the main toolbar for editing, or by the picker (Rodzaj 3) with
// setMyClass() to choose duties.
class Sluzby : public QDialog
{
    Q_OBJECT

public:
    explicit Sluzby(QWidget *parent = nullptr);
    ~Sluzby() override;

    // Picking mode when set; call before showing. Not owned.
    void setMyClass(SelectItem *picker);
    SelectItem *MyClass() const { return m_myClass; }

    // Refills the list from the database.
    void GetSluzby();
    // Appends a row; with select the new row becomes the only selected one.
    void ListAddItem(qint64 id, const QString &nazwa, const QString &od, int okres, int ilosc,
                     bool select = false);
    // Rewrites the selected row.
    void ListEditItem(const QString &nazwa, const QString &od, int okres, int ilosc);

    // The window's commands, as its controls raise them.
    void toolbarClick(const QString &key);
    void deleteSelected();
    void answerPicker();
    void sortByColumn(int column);

    QTreeWidget *lista() const { return m_lista; }

    void done(int result) override;

protected:
    // Shows an editor modally; tests override it to drive the editor in place.
    virtual int showModal(QDialog &dialog);
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void load();
    void editSelected();
    void listDoubleClicked();
    void resort();

    class Controls;
    std::unique_ptr<Controls> m_ui;
    QTreeWidget *m_lista = nullptr;
    SelectItem *m_myClass = nullptr;
    bool m_loaded = false;
    bool m_sorted = false;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
