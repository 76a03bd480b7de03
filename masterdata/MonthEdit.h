#pragma once

#include <QDateEdit>

// A date picker that shows only the month, as "maj 2024": the Polish month
// name in the nominative (Qt's "MMMM" gives the genitive "maja"). The arrows
// and the mouse wheel step by whole months; the calendar drops down for any
// other month. The day of the held date does not count.
class MonthEdit : public QDateEdit
{
public:
    explicit MonthEdit(QWidget *parent = nullptr);

    // "maj 2024"
    static QString monthText(const QDate &date);
    // Both dates fall in the same month of the same year.
    static bool sameMonth(const QDate &a, const QDate &b);

    void stepBy(int steps) override;

protected:
    QString textFromDateTime(const QDateTime &dateTime) const override;
    QDateTime dateTimeFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;
    StepEnabled stepEnabled() const override;
};
