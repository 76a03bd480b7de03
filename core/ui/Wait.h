#pragma once

#include <QWidget>

class QLabel;

// The small "please wait" window shown while a request runs.
class Wait : public QWidget
{
    Q_OBJECT

public:
    explicit Wait(QWidget *parent = nullptr);

    QLabel *Label1() const { return m_label1; }
    // Shows the window without blocking and paints it at once.
    void showNow();

private:
    QLabel *m_label1;
};
