#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

// The strip on which a generation shows how far it is: the done part of the
// month filled from the left, the text centred over it.
class ProgressBox : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressBox(QWidget *parent = nullptr);

    void clear();
    // fraction 0..1 of the width filled; repaints at once, since the run does
    // not return to the event loop until it ends, but not more often than a
    // screen shows frames: a quick run is not slowed by drawing every day.
    void setProgress(double fraction, const QString &text);

    double fraction() const { return m_fraction; }
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_fraction = 0;
    QString m_text;
    QElapsedTimer m_sincePaint; // since the last repaint of setProgress
};
