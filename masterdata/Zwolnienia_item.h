#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QDateEdit;
class QLineEdit;
class QListWidgetItem;

// The absence editor: the period and description of one row of zwolnienia.
// Set ID (and Rodzaj), call GetInfo(), then show it; "Zapisz" stores the row,
// rewrites the person editor's list line and closes.
class Zwolnienia_item : public QDialog
{
    Q_OBJECT

public:
    explicit Zwolnienia_item(QWidget *parent = nullptr);

    QString ID() const { return m_id; }
    void setID(const QString &id) { m_id = id; }
    int Rodzaj() const { return m_rodzaj; }
    void setRodzaj(int rodzaj) { m_rodzaj = rodzaj; }

    // The list line to rewrite after a save; may be null. Not owned.
    void setListLine(QListWidgetItem *line) { m_line = line; }

    // Loads the absence ID; false (after telling the user) when it is gone.
    bool GetInfo();
    // "Zapisz": true when the absence was stored and the window closed.
    bool save();

    // The fields, for the person editor's line and for tests.
    QDate firstDay() const;
    QDate lastDay() const;
    QString description() const;
    void setPeriod(const QDate &first, const QDate &last);
    void setDescription(const QString &text);

private:
    QDateEdit *m_first = nullptr;
    QDateEdit *m_last = nullptr;
    QLineEdit *m_opis = nullptr;
    QListWidgetItem *m_line = nullptr;
    QString m_id;
    int m_rodzaj = 0;
};

// The line of an absence in the person editor's list: the period, " - ", the description.
QString absenceLine(const QDate &first, const QDate &last, const QString &opis);
