#pragma once

#include <QDialog>
#include <QString>

class BlueCommand;
class QLineEdit;

// Asks for the name of a new database file (without folder and extension).
class SelectName : public QDialog
{
    Q_OBJECT

public:
    explicit SelectName(QWidget *parent = nullptr);

    // The typed name after "OK"; empty after "Zamknij".
    QString ChosenName() const { return m_chosenName; }
    void setChosenName(const QString &name) { m_chosenName = name; }

    QLineEdit *Text1() const { return m_text1; }
    BlueCommand *BlueCommand2() const { return m_ok; }
    BlueCommand *BlueCommand1() const { return m_close; }

    // Shows the window modally; the chosen name, empty when none.
    static QString ask(QWidget *parent);
    // Test hook: the next ask() returns name without showing the window.
    static void setNextName(const QString &name);

private:
    void confirm();

    QString m_chosenName;
    QLineEdit *m_text1;
    BlueCommand *m_ok;
    BlueCommand *m_close;
};
