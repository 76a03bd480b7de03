#include "controls/cFlatHeader.h"

#include "controls/FlatEdge.h"
#include "platform/draw/Gdi.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QTreeView>

namespace {

// A GDI line from a to b, the end point left out (axis-parallel lines only).
void gdiLine(QPainter &painter, QPoint a, QPoint b, const QColor &colour)
{
    const int dx = (b.x() > a.x()) - (b.x() < a.x());
    const int dy = (b.y() > a.y()) - (b.y() < a.y());
    if (dx != 0 && dy != 0)
        return;
    for (QPoint p = a; p != b; p += QPoint(dx, dy))
        painter.fillRect(QRect(p, QSize(1, 1)), colour);
}

QHeaderView *findHeader(QWidget *widget)
{
    if (!widget)
        return nullptr;
    if (auto *header = qobject_cast<QHeaderView *>(widget))
        return header;
    if (auto *tree = qobject_cast<QTreeView *>(widget))
        return tree->header();
    if (auto *table = qobject_cast<QTableView *>(widget))
        return table->horizontalHeader();
    return widget->findChild<QHeaderView *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

cFlatHeader::~cFlatHeader()
{
    Detach();
}

bool cFlatHeader::Attach(QWidget *listView, MSubclass::Error *error)
{
    Detach();
    QHeaderView *found = findHeader(listView);
    if (!found) {
        if (error) {
            error->number = ErrInvalidWindow;
            error->source = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                            QStringLiteral(".FlatHeader");
            error->description = QStringLiteral("Invalid Window Passed to FlatHeader");
        }
        return false;
    }
    QWidget *surface = found->viewport();
    if (!MSubclass::AttachMessage(this, surface, QEvent::Paint, error))
        return false;
    // The pressed look of a column is known from the presses themselves.
    MSubclass::AttachMessage(this, surface, QEvent::MouseButtonPress);
    MSubclass::AttachMessage(this, surface, QEvent::MouseButtonRelease);
    m_header = found;
    m_surface = surface;
    m_pressed = -1;
    surface->update();
    return true;
}

void cFlatHeader::Detach()
{
    if (m_surface) {
        MSubclass::DetachMessage(this, m_surface, QEvent::Paint);
        MSubclass::DetachMessage(this, m_surface, QEvent::MouseButtonPress);
        MSubclass::DetachMessage(this, m_surface, QEvent::MouseButtonRelease);
        m_surface->update();
    }
    m_header = nullptr;
    m_surface = nullptr;
    m_pressed = -1;
}

void cFlatHeader::ThinBorder(QWidget *listView, bool thin)
{
    auto *frame = qobject_cast<QFrame *>(listView);
    if (!frame)
        return;
    if (thin) {
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(1);
        // The static edge: shadow above and left, light below and right.
        FlatEdge::install(frame, QPalette::Dark, QPalette::Light);
    } else {
        FlatEdge::remove(frame);
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    }
}

bool cFlatHeader::WindowProc(QObject *window, QEvent *event)
{
    if (!m_header || window != m_surface)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_header->sectionsClickable())
            m_pressed = m_header->logicalIndexAt(mouse->position().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = -1;
        break;
    case QEvent::Paint: {
        QPainter painter(m_surface);
        paintFlatFrames(painter, m_header, m_pressed);
        break;
    }
    default:
        break;
    }
    return false;
}

void cFlatHeader::paintFlatFrames(QPainter &painter, const QHeaderView *header, int pressedSection)
{
    const QWidget *surface = header->viewport();
    const int right = surface->width();
    const int bottom = surface->height();
    const int top = 0;
    const QColor highlight = Draw::toQColor(Draw::sysColor(Draw::COLOR_BTNHIGHLIGHT));
    const QColor face = Draw::toQColor(Draw::sysColor(Draw::COLOR_BTNFACE));
    const QColor shadow = Draw::toQColor(Draw::sysColor(Draw::COLOR_BTNSHADOW));

    // Sections scrolled out to the left start before 0, as the header draws them.
    int x = -header->offset();
    const int count = header->count();
    for (int p = 0; p < count; ++p) {
        const int index = header->logicalIndex(p);
        if (index < 0 || header->isSectionHidden(index))
            continue;
        const int left = x;
        x += header->sectionSize(index);
        gdiLine(painter, {left + 1, bottom - 2}, {x - 2, bottom - 2}, face);
        gdiLine(painter, {x - 2, bottom - 2}, {x - 2, top}, face);
        const QColor edge = index == pressedSection ? highlight : shadow;
        gdiLine(painter, {left, bottom - 1}, {x - 1, bottom - 1}, edge);
        gdiLine(painter, {x - 1, bottom - 1}, {x - 1, top - 1}, edge);
    }
    if (x < right)
        gdiLine(painter, {x + 1, bottom - 2}, {right, bottom - 2}, face);
}
