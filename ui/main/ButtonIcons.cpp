#include "ui/main/ButtonIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

QIcon greenArrow(bool pointsRight)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF arrow({{1, 8}, {8, 1}, {8, 5}, {15, 5}, {15, 11}, {8, 11}, {8, 15}});
    if (pointsRight)
        arrow = QTransform(-1, 0, 0, 1, 16, 0).map(arrow);
    p.setPen(QPen(QColor(0x1b, 0x6b, 0x22), 1));
    p.setBrush(QColor(0x3c, 0xb0, 0x43));
    p.drawPolygon(arrow);
    return QIcon(pixmap);
}

} // namespace

QIcon ButtonIcons::greenArrowLeft()
{
    return greenArrow(false);
}

QIcon ButtonIcons::greenArrowRight()
{
    return greenArrow(true);
}

QIcon ButtonIcons::magnifier()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x2a, 0x4d, 0x69), 2));
    p.setBrush(QColor(0xd8, 0xec, 0xf7));
    p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
    p.setPen(QPen(QColor(0x2a, 0x4d, 0x69), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    return QIcon(pixmap);
}
