#pragma once

#include "controls/ISubclass.h"

#include <QObject>
#include <QPalette>

class QPainter;
class QWidget;

// The one-pixel border of a flat control, drawn over the control's own frame
// after each of its paints. The lines lie on whole device pixels: a frame
// drawn in logical pixels loses edges at fractional scale factors (1.25, 1.5),
// where a line falls between two device pixels. The control keeps a frame of
// one logical pixel (its children stay inside it); the object is a child of
// the control and goes with it.
class FlatEdge : public QObject, public ISubclass
{
public:
    // Puts the edge on the control, or changes its colours when one is there.
    static FlatEdge *install(QWidget *control, QPalette::ColorRole topLeft,
                             QPalette::ColorRole bottomRight);
    static void remove(QWidget *control);
    static FlatEdge *of(const QWidget *control);

    ~FlatEdge() override;

    SubclassResponse MsgResponse() const override { return RespondAfterOld; }
    void setMsgResponse(SubclassResponse) override {}
    bool WindowProc(QObject *window, QEvent *event) override;

    // Over what the control painted: its outermost device pixels (one
    // logical pixel, at least one device pixel) in the two colours, the rest
    // of its one-pixel frame in the colour of what the frame surrounds.
    static void paint(QPainter &painter, const QWidget *control, const QColor &topLeft,
                      const QColor &bottomRight);

private:
    FlatEdge(QWidget *control, QPalette::ColorRole topLeft, QPalette::ColorRole bottomRight);

    QWidget *m_control;
    QPalette::ColorRole m_topLeft;
    QPalette::ColorRole m_bottomRight;
};
