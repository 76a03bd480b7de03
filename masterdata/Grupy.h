#pragma once

#include <QDialog>

class BlueCommand;
class QListWidget;
class SelectItem;
class ToolBarN;

// The groups window: lists the groups by name; opened by the picker it lets
// the user choose several and hands them back as "id;name" entries.
class Grupy : public QDialog
{
    Q_OBJECT

public:
    explicit Grupy(QWidget *parent = nullptr);
    ~Grupy() override;

    // The picker that receives the choice (not owned); set before the window
    // is shown. Without one the window only lists the groups.
    void setMyClass(SelectItem *picker);
    SelectItem *MyClass() const { return m_myClass; }

    QListWidget *lTasks() const { return m_lTasks; }
    BlueCommand *ButtonOK() const { return m_buttonOK; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }

    void GetGrupy();
    // Hands the selected groups, from the bottom of the list up, to the picker and closes.
    void pick();

protected:
    void done(int result) override;

private:
    SelectItem *m_myClass = nullptr;
    ToolBarN *m_toolbar;
    QListWidget *m_lTasks;
    BlueCommand *m_buttonOK;
    BlueCommand *m_buttonClose;
};
