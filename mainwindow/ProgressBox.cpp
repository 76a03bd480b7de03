#include "mainwindow/ProgressBox.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
const QColor DoneColor(146, 198, 228); // 14993042 as BGR
}

ProgressBox::ProgressBox(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(false);
}

void ProgressBox::clear()
{
    m_fraction = 0;
    m_text.clear();
    update();
}

void ProgressBox::setProgress(double fraction, const QString &text)
{
    m_fraction = std::clamp(fraction, 0.0, 1.0);
    m_text = text;
    constexpr qint64 FrameMs = 16;
    if (isVisible() && (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= FrameMs)) {
        repaint();
        m_sincePaint.start();
    } else {
        update();
    }
}

void ProgressBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const int done = int(std::nearbyint(width() * m_fraction));
    painter.fillRect(QRect(0, 0, done, height()), DoneColor);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}
