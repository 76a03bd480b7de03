#pragma once

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class BlueCommand;
class FlexGrid;
class QListWidget;
class PeopleModel;
class ToolBarN;

namespace Xml {
class Document;
}

// The cell editor ("Lista osób w komórce"): the people on one duty on one day
// of the open roster. Adding (through the people picker) and removing act on
// the window's list only; "Zapisz" rewrites the cell's Osoba elements, the
// grid cell's text (built from the option CellShow) and the duty counts of
// the people list, "Anuluj" leaves all three as they were. Writes nothing to
// the database and shows no messages.
//
// The document, grid and people list belong to the main window and must
// outlive the editor. The people list is the rows of lstLudzie (PeopleModel):
// each person's id, name, group, count and the day of the last duty.
//
// The main window opens it on a double click of a grid cell:
//
//   connect(m_lista, &FlexGrid::cellDoubleClicked, this, [this](int row, int col) {
//       CellList editor(m_xmlDocument.get(), m_lista, m_people, m_currDate, this);
//       if (editor.openCell(row, col))
//           showModal(editor);
//   });
class CellList : public QDialog
{
    Q_OBJECT

public:
    CellList(Xml::Document *document, FlexGrid *grid, PeopleModel *people, const QDate &month,
             QWidget *parent = nullptr);
    ~CellList() override;

    // "/Baza/Dzien[./@Id='<day>']/Sluzba[./@Id='<duty id>']".
    static QString cellPath(int day, qint64 dutyId);

    // Makes (row, col) the grid's current cell and lists its people; false,
    // with nothing listed, without a roster or for the header row or column.
    bool openCell(int row, int col);
    // Lists the people of the cell at path; the cell written on saving is the
    // grid's current cell at this moment. People no longer in ludzie are left out.
    void GetList(const QString &path);

    // "new": add through the picker; "del": remove the selected row.
    void toolbarClick(const QString &key);
    void addPeople();
    // Adds the entries of a picker result ("id;name" joined by NUL) whose
    // person is not listed yet (compared by id).
    void addEntries(const QString &result);
    void removeSelected();
    // Writes the list into the document, the grid and the people list, then closes.
    void save();

    QString path() const { return m_path; }
    // "Zapisz" gave the cell other people or other names than it held.
    bool changed() const { return m_changed; }
    // The listed people's ids, in list order.
    QList<qint64> ids() const;

    QListWidget *List1() const { return m_list; }
    ToolBarN *ToolBar() const { return m_toolBar; }
    BlueCommand *ButtonSave() const { return m_buttonSave; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }

protected:
    // The people picker's result; tests answer it in place.
    virtual QString pickPeople();

private:
    Xml::Document *m_document;
    FlexGrid *m_grid;
    PeopleModel *m_people;
    QDate m_month;
    QString m_path;
    int m_row = -1;
    int m_col = -1;
    bool m_changed = false;
    QList<qint64> m_listed; // the ids GetList listed

    ToolBarN *m_toolBar = nullptr;
    QListWidget *m_list = nullptr;
    BlueCommand *m_buttonSave = nullptr;
    BlueCommand *m_buttonClose = nullptr;
};
