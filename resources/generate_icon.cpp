// The application icon: a shield with a lightning rod, struck by a bolt.
//
// Drawn on a 32-unit grid and scaled, with straight edges on whole or half
// units so the 32 × 32 version stays crisp.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "draw_common.h"

namespace draw {
namespace {

QPainterPath shieldOutline() {
    QPainterPath path;
    path.moveTo(3.5, 6.5);
    path.quadTo(16, 3.5, 28.5, 6.5);
    path.lineTo(28.5, 16);
    path.cubicTo(28.5, 24, 21, 28.5, 16, 31);
    path.cubicTo(11, 28.5, 3.5, 24, 3.5, 16);
    path.closeSubpath();
    return path;
}

QPolygonF boltOutline() {
    // The classic zigzag, breaking over the shield's rim; its lower point
    // lands on the rod's tip.
    return QPolygonF{QPointF(19, 0.5), QPointF(26, 0.5),   QPointF(21.8, 5.8), QPointF(25, 5.8),
                     QPointF(16, 13),  QPointF(18.6, 7.8), QPointF(15.2, 7.8)};
}

// The protected house, and the rod standing on its ridge.
QPainterPath rodOutline() {
    QPainterPath path;
    path.moveTo(16, 13);  // the point
    path.lineTo(17, 15.5);
    path.lineTo(17, 18);
    path.lineTo(15, 18);
    path.lineTo(15, 15.5);
    path.closeSubpath();
    return path;
}

QPainterPath houseOutline() {
    QPainterPath path;
    path.addPolygon(QPolygonF{QPointF(16, 17), QPointF(24.5, 24), QPointF(21, 24), QPointF(21, 27),
                              QPointF(11, 27), QPointF(11, 24), QPointF(7.5, 24)});
    path.closeSubpath();
    path.addRect(QRectF(15, 24, 2, 3));  // the door, left open by the odd-even fill
    return path;
}

}  // namespace

QImage renderIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    QLinearGradient blue(0, 1, 0, 31);
    blue.setColorAt(0, QColor(58, 128, 220));
    blue.setColorAt(1, QColor(16, 46, 112));
    p.setPen(QPen(QColor(8, 24, 62), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(blue);
    p.drawPath(shieldOutline());

    QLinearGradient steel(15, 0, 17, 0);
    steel.setColorAt(0, QColor(245, 248, 252));
    steel.setColorAt(1, QColor(150, 162, 178));
    p.setPen(QPen(QColor(30, 40, 60), 0.6));
    p.setBrush(steel);
    p.drawPath(rodOutline());
    QLinearGradient wall(8, 17, 24, 27);
    wall.setColorAt(0, QColor(250, 252, 255));
    wall.setColorAt(1, QColor(170, 182, 198));
    p.setBrush(wall);
    p.drawPath(houseOutline());

    QLinearGradient gold(0, 3, 0, 15.5);
    gold.setColorAt(0, QColor(255, 236, 120));
    gold.setColorAt(1, QColor(255, 176, 0));
    p.setPen(QPen(QColor(150, 70, 0), 0.7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(gold);
    p.drawPolygon(boltOutline());
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace draw
