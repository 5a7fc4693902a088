#include "PageImage.h"

#include <QPainter>

#include "HandlerGuard.h"
#include "PagePainter.h"

PageImage::PageImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PageImage::setPicture(std::optional<std::vector<std::uint8_t>> picture)
{
    picture_ = std::move(picture);
    update();
}

void PageImage::paintEvent(QPaintEvent*)
{
    guarded([&] {
        QPainter painter(this);
        const int w = width(), h = height();
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(0, 0, w - 3, h - 3);
        painter.fillRect(2, h - 2, w - 2, 2, Qt::black);
        painter.fillRect(w - 2, 2, 2, h - 2, Qt::black);
        if (picture_)
            PagePainter::paint(painter, *picture_, QRectF(0, 0, w, h));
    });
}
