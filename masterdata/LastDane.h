#pragma once

#include "core/DateTimeText.h"

#include <QDate>
#include <QDateTime>
#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

class FlexGrid;
class MonthEdit;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;

// The carried-over counts (ludzie_last): for one group (or everybody) and
// one month, each person's number of duties and the time of the last one.
// The planner corrects them in place, stores the month for the shown group,
// or deletes the whole month's rows. Opened from the people window.
class LastDane : public QDialog
{
    Q_OBJECT

public:
    explicit LastDane(QWidget *parent = nullptr);
    ~LastDane() override;

    // Fills the group list anew and shows its first entry, "(Wszystkie)".
    void GetGrupy();
    // Shows the people of the group list's entry, after offering to save edits.
    void chooseGroup(int index);
    // Shows another month (its day does not count).
    void setMonth(const QDate &date);
    // Reads the shown month's rows into the grid, after offering to save edits.
    void LoadMonth();
    // Stores the grid under the loaded group and month, one row a person:
    // values the planner did not change go back as they were read, a date in
    // the fixed form. False (after telling the user, with nothing written)
    // when a changed count is wrong or the database refused.
    bool SaveMonth();
    // "Usuń dane z tego miesiąca": every row of the shown month, of all groups.
    void deleteMonth();

    FlexGrid *lista() const { return m_lista; }
    QComboBox *groups() const { return m_groups; }
    QLineEdit *countEditor() const { return m_text1; }
    QDateTimeEdit *dateEditor() const { return m_visData; }
    QDate loadedMonth() const { return m_loadedMonth; }
    bool isChanged() const { return m_changed; }
    // The person of a grid row (from 1), 0 for none; the grid row of a person, -1 for none.
    qint64 personOfRow(int row) const;
    int rowOfPerson(qint64 id) const;
    // The time of a row's last duty; invalid for none.
    QDateTime rowDate(int row) const;

    // Opens the count editor on the current row (text: its new value; empty
    // for the cell's own), or the date editor.
    void ShowCountEditor(const QString &text);
    void ShowDateEditor();

    void done(int result) override;

    static QColor highlightColor();
    // "05/03 14:30"
    static QString dateText(const QDateTime &value);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A person's record of the month, as the generation reads it.
    struct StoredRow
    {
        QVariant ilosc;
        QVariant data;
    };
    // What a grid row holds besides its texts.
    struct RowState
    {
        // The person's rows of the loaded month, in stored order; a save
        // replaces them all by one.
        QList<qint64> rowIds;
        // Their record: the first row's date (the generation's free-from
        // time) and, of one row, its count as read, of several the sum the
        // generation counts.
        StoredRow shown;
        bool countEdited = false;
        bool dateEdited = false;
    };
    RowState rowState(int row) const;
    // The one row a save keeps for the grid row: none without a date and a
    // count above 0.
    std::optional<StoredRow> rowToStore(int row) const;
    // False when the edits could not be stored; the window then stays as it is.
    bool AskSaveChanges();
    void CommitCount();
    void CommitDate();
    void enterCell(int row, int col);
    void leaveCell(int row, int col);
    void placeEditors();
    void nextRow();
    QColor stripeColor(int row) const;
    bool rowVisible(int row) const;

    MonthEdit *m_poleData = nullptr;
    QComboBox *m_groups = nullptr;
    FlexGrid *m_lista = nullptr;
    QLineEdit *m_text1 = nullptr;
    QDateTimeEdit *m_visData = nullptr;

    QList<qint64> m_people;     // person of grid row r at r - 1
    QHash<qint64, int> m_rowOf; // person -> grid row
    // Last duty of grid row r at r - 1, as the wall clock reads it: a
    // QDateTime made for every row would ask the time-zone code each time.
    QList<std::optional<DateTimeText::Value>> m_dates;
    QList<RowState> m_rows; // grid row r at r - 1
    int m_editedRow = 0;
    int m_loadedGroup = -1;
    QDate m_loadedMonth;
    int m_prevRow = 0;
    int m_prevCol = 0;
    bool m_changed = false;
    bool m_filling = false;
    bool m_loading = false;
};
