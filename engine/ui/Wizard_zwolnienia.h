#pragma once

#include <QDialog>

class BlueCommand;
class PickReceiver;
class QComboBox;
class QTabWidget;

// The day-range picker of a rule's period: a first and a last day of the
// month, handed to the picker as "first;last". The days are not compared.
// The picker (SelectItem) opens it for Rodzaj 2 and sets MyClass first.
class Wizard_zwolnienia : public QDialog
{
public:
    explicit Wizard_zwolnienia(QWidget *parent = nullptr);

    // The picker that receives the range; not owned.
    void setMyClass(PickReceiver *picker) { m_myClass = picker; }
    PickReceiver *MyClass() const { return m_myClass; }

    QComboBox *Combo1() const { return m_combo1; }
    QComboBox *Combo2() const { return m_combo2; }
    BlueCommand *ButtonOK() const { return m_buttonOK; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }

    void confirm();

private:
    PickReceiver *m_myClass = nullptr;
    QTabWidget *m_tab;
    QComboBox *m_combo1;
    QComboBox *m_combo2;
    BlueCommand *m_buttonOK;
    BlueCommand *m_buttonClose;
};
