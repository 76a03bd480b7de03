#include "controls/FlatEdge.h"

#include "controls/MSubclass.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace {

// The device pixels a logical rectangle covers, rounded as Qt rounds the
// clip of a widget.
QRect devicePixels(const QTransform &toDevice, const QRect &logical)
{
    const QRectF r = toDevice.mapRect(QRectF(logical));
    const int left = qRound(r.left());
    const int top = qRound(r.top());
    return QRect(left, top, qRound(r.right()) - left, qRound(r.bottom()) - top);
}

// Fills the part of outer that lies outside inner.
void fillRing(QPainter &painter, const QRect &outer, const QRect &inner, const QColor &colour)
{
    const QRect in = inner & outer;
    if (in.isEmpty()) {
        painter.fillRect(outer, colour);
        return;
    }
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), in.top() - outer.top()),
                     colour);
    painter.fillRect(
        QRect(outer.left(), in.bottom() + 1, outer.width(), outer.bottom() - in.bottom()), colour);
    painter.fillRect(QRect(outer.left(), in.top(), in.left() - outer.left(), in.height()), colour);
    painter.fillRect(QRect(in.right() + 1, in.top(), outer.right() - in.right(), in.height()),
                     colour);
}

} // namespace

FlatEdge::FlatEdge(QWidget *control, QPalette::ColorRole topLeft, QPalette::ColorRole bottomRight)
    : QObject(control), m_control(control), m_topLeft(topLeft), m_bottomRight(bottomRight)
{
    setObjectName(QStringLiteral("FlatEdge"));
    MSubclass::AttachMessage(this, control, QEvent::Paint);
}

FlatEdge::~FlatEdge()
{
    MSubclass::DetachMessage(this, m_control, QEvent::Paint);
}

FlatEdge *FlatEdge::install(QWidget *control, QPalette::ColorRole topLeft,
                            QPalette::ColorRole bottomRight)
{
    if (!control)
        return nullptr;
    FlatEdge *edge = of(control);
    if (edge) {
        edge->m_topLeft = topLeft;
        edge->m_bottomRight = bottomRight;
    } else {
        edge = new FlatEdge(control, topLeft, bottomRight);
    }
    control->update();
    return edge;
}

void FlatEdge::remove(QWidget *control)
{
    delete of(control);
    if (control)
        control->update();
}

FlatEdge *FlatEdge::of(const QWidget *control)
{
    return control ? control->findChild<FlatEdge *>(QStringLiteral("FlatEdge"),
                                                    Qt::FindDirectChildrenOnly)
                   : nullptr;
}

bool FlatEdge::WindowProc(QObject *window, QEvent *event)
{
    if (window == m_control && event->type() == QEvent::Paint) {
        QPainter painter(m_control);
        const QPalette &palette = m_control->palette();
        paint(painter, m_control, palette.color(m_topLeft), palette.color(m_bottomRight));
    }
    return false;
}

void FlatEdge::paint(QPainter &painter, const QWidget *control, const QColor &topLeft,
                     const QColor &bottomRight)
{
    const QTransform toDevice = painter.deviceTransform();
    const QRect outer = devicePixels(toDevice, control->rect());
    const QRect inside = devicePixels(toDevice, control->rect().adjusted(1, 1, -1, -1));
    const int width = std::max(1, int(std::floor(toDevice.m11() + 1e-6)));
    const int height = std::max(1, int(std::floor(toDevice.m22() + 1e-6)));

    // What the frame surrounds: a scroll area's viewport, else the control.
    const QWidget *content = control;
    if (const auto *area = qobject_cast<const QAbstractScrollArea *>(control))
        content = area->viewport();
    const QColor fill = content->palette().color(content->backgroundRole());

    painter.save();
    // From here on one unit is one device pixel.
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect ring = outer.adjusted(width, height, -width, -height);
    fillRing(painter, ring, inside, fill);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), height), topLeft);
    painter.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), topLeft);
    painter.fillRect(QRect(outer.left(), outer.bottom() - height + 1, outer.width(), height),
                     bottomRight);
    painter.fillRect(
        QRect(outer.right() - width + 1, outer.top() + height, width, outer.height() - height),
        bottomRight);
    painter.restore();
}
