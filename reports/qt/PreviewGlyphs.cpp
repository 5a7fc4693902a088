#include "PreviewGlyphs.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor Ink(0, 0, 0);
const QColor Paper(255, 255, 255);
const QColor Navy(0, 0, 128);
const QColor Grey(128, 128, 128);
const QColor Glass(192, 224, 255);
const QColor Folder(224, 192, 64);

// A magnifying glass over the upper left, its handle to the lower right.
void magnifier(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Glass);
    p.drawEllipse(1, 1, 9, 9);
    p.setPen(QPen(Ink, 2));
    p.drawLine(10, 10, 14, 14);
}

void page(QPainter& p, const QRect& r)
{
    p.setPen(Ink);
    p.setBrush(Paper);
    p.drawRect(r);
}

void triangle(QPainter& p, int tipX, int baseX)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawPolygon(QPolygon({QPoint(tipX, 8), QPoint(baseX, 3), QPoint(baseX, 13)}));
}

void bar(QPainter& p, int x)
{
    p.fillRect(x, 3, 2, 11, Navy);
}

void printer(QPainter& p)
{
    page(p, QRect(4, 1, 8, 6));
    p.setPen(Ink);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 7, 14, 6);
    p.fillRect(3, 13, 10, 2, Grey);
    p.fillRect(12, 9, 2, 1, QColor(0, 160, 0));
}

void draw(QPainter& p, int index)
{
    switch (index) {
    case 0:  // zoom to fit: a whole page under the glass
        page(p, QRect(3, 3, 5, 6));
        magnifier(p);
        page(p, QRect(3, 3, 5, 6));
        break;
    case 1:  // 100%
        magnifier(p);
        p.setPen(QPen(Ink, 1));
        p.drawLine(5, 3, 5, 8);
        p.drawLine(4, 4, 5, 3);
        break;
    case 2:  // zoom to width: arrows left and right in the glass
        magnifier(p);
        p.setPen(QPen(Ink, 1));
        p.drawLine(3, 5, 8, 5);
        p.drawLine(3, 5, 4, 4);
        p.drawLine(3, 5, 4, 6);
        p.drawLine(8, 5, 7, 4);
        p.drawLine(8, 5, 7, 6);
        break;
    case 3:  // first page
        bar(p, 3);
        triangle(p, 5, 12);
        break;
    case 4:  // previous page
        triangle(p, 4, 11);
        break;
    case 5:  // next page
        triangle(p, 12, 5);
        break;
    case 6:  // last page
        triangle(p, 11, 4);
        bar(p, 11);
        break;
    case 7:  // printer setup: the printer with a sheet of settings
        printer(p);
        p.setPen(Navy);
        p.drawLine(5, 3, 10, 3);
        p.drawLine(5, 5, 10, 5);
        break;
    case 8:  // print
        printer(p);
        break;
    case 9:  // load: an opened folder
        p.setPen(Ink);
        p.setBrush(Folder);
        p.drawRect(1, 4, 11, 9);
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13)}));
        p.fillRect(2, 3, 4, 1, Folder.darker());
        break;
    case 10:  // save: a diskette
        p.setPen(Ink);
        p.setBrush(Navy);
        p.drawRect(1, 1, 13, 13);
        p.fillRect(4, 2, 8, 5, Paper);
        p.fillRect(4, 10, 7, 4, QColor(192, 192, 192));
        p.fillRect(9, 11, 1, 2, Navy);
        break;
    default:
        break;
    }
}

}  // namespace

QPixmap PreviewGlyphs::glyph(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    draw(p, index);
    return pixmap;
}
