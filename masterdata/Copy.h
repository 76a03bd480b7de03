#pragma once

#include <QDate>
#include <QDialog>

class MonthEdit;

// Copies the head counts of one month (sluzby_ilosc) to another month, day
// for day, replacing the target month's counts of every duty. Opened from
// the month calendar editor with the kind and both months.
class Copy : public QDialog
{
    Q_OBJECT

public:
    explicit Copy(QWidget *parent = nullptr);
    ~Copy() override;

    void setRodzaj(int rodzaj) { m_rodzaj = rodzaj; }
    int Rodzaj() const { return m_rodzaj; }
    // The source and the target month; only their months count.
    void setMonths(const QDate &source, const QDate &target);
    QDate sourceMonth() const;
    QDate targetMonth() const;

    // The "Kopiuj" button: true when the target month now holds the copy.
    bool copyMonth();

private:
    MonthEdit *m_source = nullptr;
    MonthEdit *m_target = nullptr;
    int m_rodzaj = 1;
};
