#pragma once

#include <QDialog>

class BlueCommand;
class QLineEdit;
class ToolBarN;

// Asks for the program password and compares its digest with the option
// Pass; the fourth wrong password closes the window.
class Login : public QDialog
{
    Q_OBJECT

public:
    explicit Login(QWidget *parent = nullptr);

    QLineEdit *poleTxt() const { return m_poleTxt; }
    BlueCommand *ButtonOK() const { return m_buttonOK; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }
    ToolBarN *Toolbar_main() const { return m_toolbar; }
    int failures() const { return m_failures; }

    void confirm();

private:
    ToolBarN *m_toolbar;
    QLineEdit *m_poleTxt;
    BlueCommand *m_buttonOK;
    BlueCommand *m_buttonClose;
    int m_failures = 0;
};
