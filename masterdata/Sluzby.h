#pragma once

#include "masterdata/ListWindow.h"

#include <QString>

// The duties window: every row of sluzby, with add, edit and delete. Opened
// from the main toolbar for editing, or by the picker (Rodzaj 3) with
// setMyClass() to choose duties.
class Sluzby : public ListWindow
{
    Q_OBJECT

public:
    explicit Sluzby(QWidget *parent = nullptr);
    ~Sluzby() override;

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

protected:
    void refill() override;
    void editRow(qint64 id) override;
    QString pickerName(const Db::Recordset &row) const override;

private:
    void buildUi();
};
