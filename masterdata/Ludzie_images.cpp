#include "masterdata/Ludzie_images.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace LudzieImages {

namespace {

// A 16x16 transparent picture with what draw paints on it, antialiased.
QImage paintImage(const std::function<void(QPainter &)> &draw)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

QImage folder(bool open)
{
    return paintImage([open](QPainter &p) {
        p.setPen(QColor(150, 110, 20));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(1.5, 3.5, 6, 2));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        if (open) {
            QPainterPath flap;
            flap.moveTo(3.5, 7.5);
            flap.lineTo(15.5, 7.5);
            flap.lineTo(13.5, 13.5);
            flap.lineTo(1.5, 13.5);
            flap.closeSubpath();
            p.setBrush(QColor(255, 225, 130));
            p.drawPath(flap);
        }
    });
}

} // namespace

Draw::ImageList treeImages()
{
    Draw::ImageList list;
    list.add(folder(false), QStringLiteral("1"));
    list.add(folder(true), QStringLiteral("2"));
    return list;
}

QIcon rowIcon()
{
    return QIcon(QPixmap::fromImage(paintImage([](QPainter &p) {
        p.setPen(QColor(40, 70, 120));
        p.setBrush(QColor(110, 150, 210));
        p.drawEllipse(QRectF(5, 1.5, 6, 6));
        QPainterPath body;
        body.moveTo(2, 15);
        body.cubicTo(2, 9, 14, 9, 14, 15);
        body.closeSubpath();
        p.drawPath(body);
    })));
}

QIcon dutyIcon()
{
    return QIcon(QPixmap::fromImage(paintImage([](QPainter &p) {
        p.setPen(QPen(QColor(40, 70, 120), 1.2));
        p.setBrush(QColor(235, 242, 252));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    })));
}

} // namespace LudzieImages
