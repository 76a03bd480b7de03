#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class Kat;
class QDialog;
class QTreeWidget;
class QTreeWidgetItem;
class SelectItem;

// The people window: the group tree on the left, the people of the chosen
// group beside it. Opened from the main toolbar for editing, or by the picker
// (Rodzaj 1) with setMyClass() to choose people.
class Ludzie : public QDialog
{
    Q_OBJECT

public:
    explicit Ludzie(QWidget *parent = nullptr);
    ~Ludzie() override;

    // Picking mode when set; call before showing. Not owned.
    void setMyClass(SelectItem *picker);
    SelectItem *MyClass() const { return m_myClass; }

    // Rebuilds the group tree and lists every person.
    void GetGrupy();
    // Appends a row; with select the new row becomes the only selected one.
    void ListAddItem(qint64 id, const QString &nazwisko, const QString &imie,
                     const QString &stopien, bool select = false);
    // Rewrites the selected row.
    void ListEditItem(const QString &nazwisko, const QString &imie, const QString &stopien);

    // The window's commands, as its controls raise them.
    void toolbarClick(const QString &key);
    void nodeClick(const QString &key);
    void addGroup();
    void renameGroup(qint64 id, const QString &name);
    void deleteGroup(const QString &key);
    void deletePeople();
    void answerPicker();
    void sortByColumn(int column);

    QTreeWidget *lista() const { return m_lista; }
    QString currentGroupKey() const { return m_currentKey; }
    QString selectedNodeKey() const;
    Kat *tvKat() const;

    void done(int result) override;

protected:
    // Shows an editor modally; tests override it to drive the editor in place.
    virtual int showModal(QDialog &dialog);
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void load();
    void showPeople(const QString &key, bool force);
    void editSelected();
    void listDoubleClicked();
    void resort();

    class Controls;
    std::unique_ptr<Controls> m_ui;
    QTreeWidget *m_lista = nullptr;
    SelectItem *m_myClass = nullptr;
    bool m_loaded = false;
    QString m_currentKey;
    bool m_sorted = false;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
