#pragma once

#include <QAbstractSpinBox>
#include <QDate>
#include <QString>

// The month picker of every window: one box showing "grudzień 2026", the
// Polish month name in the nominative whatever the machine's locale (a date
// edit's "MMMM" gives the genitive "grudnia").
//
// The box has two fields, the month name and the year. A click selects the
// whole field under it; Left and Right go from one to the other; the arrows,
// Up and Down and the mouse wheel step the current field by one, PgUp and
// PgDn by a year. Typing in the month field picks the first month whose name
// begins with the letters typed, or the month of the number typed (a space
// goes on to the year); typing in the year field replaces the year, which is
// taken at its fourth digit, at Enter or when the focus leaves the box.
//
// The held date keeps its day, cut to the length of a shorter month; it lies
// between January 1900 and December 9999 and is never invalid.
class MonthEdit : public QAbstractSpinBox
{
    Q_OBJECT

public:
    enum Field { MonthField, YearField };

    explicit MonthEdit(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    // An invalid date is ignored; one outside the range is moved into it.
    void setDate(const QDate &date);
    Field currentField() const { return m_field; }

    // "grudzień"
    static QString monthName(int month);
    // "grudzień 2026"
    static QString monthText(const QDate &date);
    // Both dates fall in the same month of the same year.
    static bool sameMonth(const QDate &a, const QDate &b);

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void dateChanged(const QDate &date);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showDate();
    void selectField(Field field);
    void typeInMonth(QChar c);
    void typeInYear(QChar c);
    // Takes a year being typed, or drops it when it is out of range.
    void takeYear();

    QDate m_date;
    Field m_field = MonthField;
    QString m_typed; // what was typed into the current field so far
};
