#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class Sluzby;

// The duty editor: one row of sluzby. Call SetNew() or GetInfo() before
// showing it; "Zapisz" checks every field before it writes, then closes.
class Sluzby_item : public QDialog
{
    Q_OBJECT

public:
    // Accepted ranges of the whole-number fields.
    static constexpr int MinLength = 1;
    static constexpr int MaxLength = 744; // hours of a 31-day month
    static constexpr int MinCount = 0;
    static constexpr int MaxCount = 999;
    static constexpr int MinRest = 0;
    static constexpr int MaxRest = 744;

    explicit Sluzby_item(QWidget *parent = nullptr);
    ~Sluzby_item() override;

    // The duties window whose list follows a save; may stay unset. Not owned.
    void setDutiesWindow(Sluzby *window) { m_dutiesWindow = window; }

    void SetNew();
    // Loads a duty; false (after telling the user) when it is gone.
    bool GetInfo(qint64 id);
    qint64 dutyId() const { return m_id; }

    // "Zapisz": true when the duty was stored and the window closed.
    bool save();

private:
    void buildUi();
    bool eventFilter(QObject *watched, QEvent *event) override;

    class Controls;
    std::unique_ptr<Controls> m_ui;
    Sluzby *m_dutiesWindow = nullptr;
    qint64 m_id = -1;
};
