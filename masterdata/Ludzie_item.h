#pragma once

#include <QDate>
#include <QDialog>

#include <memory>

class Ludzie;
class QListWidget;

// The person editor: one row of ludzie and the person's absences of a month.
// Call GetInfo() or SetNew() before showing it; it closes itself on a save.
class Ludzie_item : public QDialog
{
    Q_OBJECT

public:
    explicit Ludzie_item(QWidget *parent = nullptr);
    ~Ludzie_item() override;

    // The people window whose list follows a save; may stay unset. Not owned.
    void setPeopleWindow(Ludzie *window) { m_peopleWindow = window; }

    // Loads an existing person; false (after telling the user) when the person is gone.
    bool GetInfo(qint64 id);
    // Prepares a new person of the group.
    void SetNew(qint64 groupId);

    qint64 personId() const { return m_personId; }

    // The month whose absences are listed; an invalid date lists them all.
    void setMonth(const QDate &month);
    QDate month() const;

    // "Zapisz": true when the person was stored and the window closed.
    bool save();
    // The absence list refilled for the person and the month.
    void FillAbsences();
    // The absence tab's buttons: "add", "edit", "del".
    void zwButtonClick(const QString &key);

    QListWidget *absenceList() const;

protected:
    // Shows the absence editor modally; tests override it.
    virtual int showModal(QDialog &dialog);

private:
    void buildUi();
    void editAbsence();
    void deleteAbsences();

    class Controls;
    std::unique_ptr<Controls> m_ui;
    Ludzie *m_peopleWindow = nullptr;
    qint64 m_personId = -1;
    qint64 m_groupId = 0;
};
