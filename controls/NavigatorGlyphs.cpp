#include "NavigatorGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

using Shape = QPainterPath;

QPolygonF triangle(double left, double right, bool pointsLeft)
{
    const double tip = pointsLeft ? left : right;
    const double base = pointsLeft ? right : left;
    return QPolygonF({QPointF(base, 2), QPointF(tip, 6.5), QPointF(base, 11)});
}

Shape shapeOf(const QString& name)
{
    Shape shape;
    shape.setFillRule(Qt::WindingFill);
    if (name == QLatin1String("DBN_FIRST")) {
        shape.addRect(3, 2, 2, 9);
        shape.addPolygon(triangle(5, 10, true));
    } else if (name == QLatin1String("DBN_PRIOR")) {
        shape.addPolygon(triangle(3, 8, true));
    } else if (name == QLatin1String("DBN_NEXT")) {
        shape.addPolygon(triangle(2, 7, false));
    } else if (name == QLatin1String("DBN_LAST")) {
        shape.addPolygon(triangle(4, 9, false));
        shape.addRect(9, 2, 2, 9);
    } else if (name == QLatin1String("DBN_INSERT")) {
        shape.addRect(6, 2, 2, 9);
        shape.addRect(2, 6, 10, 2);
    } else if (name == QLatin1String("DBN_DELETE")) {
        shape.addRect(2, 6, 10, 2);
    } else if (name == QLatin1String("DBN_EDIT")) {
        shape.addPolygon(QPolygonF({QPointF(2, 11), QPointF(3, 8), QPointF(9, 2), QPointF(11, 4), QPointF(5, 10)}));
    } else if (name == QLatin1String("DBN_POST")) {
        shape.addPolygon(
            QPolygonF({QPointF(2, 7), QPointF(4, 5), QPointF(6, 7), QPointF(11, 2), QPointF(13, 4), QPointF(6, 11)}));
    } else if (name == QLatin1String("DBN_CANCEL")) {
        shape.addPolygon(
            QPolygonF({QPointF(3, 2), QPointF(7, 6), QPointF(11, 2), QPointF(12, 3), QPointF(8, 7), QPointF(12, 11),
                       QPointF(11, 12), QPointF(7, 8), QPointF(3, 12), QPointF(2, 11), QPointF(6, 7), QPointF(2, 3)}));
    } else if (name == QLatin1String("DBN_REFRESH")) {
        Shape ring;
        ring.addEllipse(QPointF(7, 7), 5, 5);
        Shape hole;
        hole.addEllipse(QPointF(7, 7), 3, 3);
        Shape gap;
        gap.addRect(7, 0, 7, 6);
        shape = ring.subtracted(hole).subtracted(gap);
        shape.addPolygon(QPolygonF({QPointF(7, 0), QPointF(11, 3.5), QPointF(7, 6)}));
    }
    return shape;
}

}  // namespace

namespace NavigatorGlyphs {

int imageWidth(const QString& name)
{
    const QString upper = name.toUpper();
    return upper == QLatin1String("DBN_PRIOR") || upper == QLatin1String("DBN_NEXT") ? 10 : 14;
}

QImage bitmap(const QString& name)
{
    const QString upper = name.toUpper();
    const Shape shape = shapeOf(upper);
    if (shape.isEmpty())
        return QImage();
    const int width = imageWidth(upper);
    QImage image(2 * width, imageHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    // Enabled: the shape in black.
    painter.setBrush(Qt::black);
    painter.drawPath(shape);
    // Disabled: the shape embossed, a white highlight under a grey face.
    painter.translate(width, 0);
    painter.setBrush(Qt::white);
    painter.drawPath(shape.translated(1, 1));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawPath(shape);
    return image;
}

}  // namespace NavigatorGlyphs
