#pragma once

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class FlexGrid;
class MonthEdit;
class QLineEdit;
class ToolBarN;

// The month calendar of head counts: the days of one month against every
// duty, each cell the number of people the duty needs that day. Days whose
// count differs from the duty's standard are kept in sluzby_ilosc.
// Opened from the duties window: setRodzaj(1), a caption, then exec().
class Grafik : public QDialog
{
    Q_OBJECT

public:
    explicit Grafik(QWidget *parent = nullptr);
    ~Grafik() override;

    // The calendar kind; 1 = head counts, the only kind there is.
    void setRodzaj(int rodzaj) { m_rodzaj = rodzaj; }
    int Rodzaj() const { return m_rodzaj; }

    // The shown month (its first day) and moving to another one.
    QDate month() const { return m_month; }
    void setMonth(const QDate &date);

    FlexGrid *lista() const { return m_lista; }
    QLineEdit *editor() const { return m_text1; }
    // Cell edits not yet stored.
    bool isChanged() const { return m_changed; }

    // The window's commands, as the toolbar raises them.
    void toolbarClick(const QString &key);
    // Stores the shown month; false (after telling the user) when the database refused.
    bool SaveGrid();
    void ResetToDefault();
    // Opens the editor over the current cell: with text, a new value starting
    // with it; else the cell's own text, all selected.
    void StartEdit(const QString &text);
    // Takes the editor's text into the edited cell.
    void CommitEdit();

    void done(int result) override;

    // The background of a cell whose count differs from the standard, and of a weekend day.
    static QColor changedColor();
    static QColor weekendColor();

protected:
    // Shows the month copying window; tests override it to drive the window in place.
    virtual int showModal(QDialog &dialog);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Duty
    {
        QString id;
        QString nazwa;
        int column = 0;
        QString iloscStd;
    };

    void BuildGrid();
    void FillGrid();
    void cellChanged(int row, int col);
    void openCopy();
    // Asks about unsaved edits; false when the user cancels (only with cancel allowed).
    bool askSave(bool allowCancel);
    const Duty *dutyOfColumn(int col) const;

    ToolBarN *m_toolbar = nullptr;
    MonthEdit *m_poleData = nullptr;
    FlexGrid *m_lista = nullptr;
    QLineEdit *m_text1 = nullptr;
    QList<Duty> m_duties;
    QDate m_month;
    int m_rodzaj = 1;
    int m_days = 0;
    int m_editRow = -1;
    int m_editCol = -1;
    int m_prevRow = 0;
    int m_prevCol = 0;
    bool m_changed = false;
    bool m_busy = false;
};
