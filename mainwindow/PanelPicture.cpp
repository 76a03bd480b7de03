#include "mainwindow/PanelPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace {
const QColor Ink(40, 70, 120);
const QColor Accent(70, 130, 200);
} // namespace

QImage PanelPicture()
{
    QImage image(420, 260, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, 260);
    back.setColorAt(0, QColor(199, 224, 248));
    back.setColorAt(1, QColor(139, 185, 242));
    p.setPen(QPen(QColor(110, 150, 210), 1.5));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(1, 1, 418, 258), 14, 14);

    // A small month sheet.
    const QRectF sheet(30, 50, 130, 150);
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.fillRect(QRectF(sheet.x() + 0.75, sheet.y() + 0.75, sheet.width() - 1.5, 28), Accent);
    p.setPen(QPen(QColor(150, 170, 200), 1));
    for (int i = 1; i < 5; ++i)
        p.drawLine(QPointF(sheet.x() + i * 26, sheet.y() + 29),
                   QPointF(sheet.x() + i * 26, sheet.bottom()));
    for (int i = 1; i < 5; ++i)
        p.drawLine(QPointF(sheet.x(), sheet.y() + 29 + i * 24),
                   QPointF(sheet.right(), sheet.y() + 29 + i * 24));
    p.fillRect(QRectF(sheet.x() + 53, sheet.y() + 78, 25, 23), QColor(236, 136, 76));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Ink);
    p.drawText(QRectF(175, 70, 240, 45), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Dorvat"));
    p.drawText(QRectF(175, 112, 240, 45), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kadrelo"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(14);
    p.setFont(sub);
    p.drawText(QRectF(175, 160, 240, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("grafiki służb"));
    return image;
}
