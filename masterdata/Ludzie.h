#pragma once

#include "masterdata/ListWindow.h"

#include <QString>

#include <memory>

class Kat;

// The people window: the group tree on the left, the people of the chosen
// group beside it. Opened from the main toolbar for editing, or by the picker
// (Rodzaj 1) with setMyClass() to choose people.
class Ludzie : public ListWindow
{
    Q_OBJECT

public:
    explicit Ludzie(QWidget *parent = nullptr);
    ~Ludzie() override;

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

    QString currentGroupKey() const { return m_currentKey; }
    QString selectedNodeKey() const;
    Kat *tvKat() const;

protected:
    void refill() override;
    void editRow(qint64 id) override;
    QString pickerName(const Db::Recordset &row) const override;

private:
    void buildUi();
    void showPeople(const QString &key, bool force);

    class Controls;
    std::unique_ptr<Controls> m_ui;
    QString m_currentKey;
    // Set while the window itself changes the tree's nodes.
    bool m_rebuildingTree = false;
};
