#include "PageImage.h"

#include <QPaintEvent>
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
    drawn_ = QImage();
    update();
}

void PageImage::paintEvent(QPaintEvent* event)
{
    guarded([&] {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = size() * ratio;
        if (drawn_.size() != pixels || drawn_.devicePixelRatio() != ratio) {
            drawn_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
            drawn_.setDevicePixelRatio(ratio);
            drawn_.fill(Qt::transparent);
            QPainter sheet(&drawn_);
            drawSheet(sheet, width(), height());
        }
        QPainter painter(this);
        const QRect area = event->rect();
        painter.drawImage(area, drawn_, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
    });
}

void PageImage::drawSheet(QPainter& painter, int w, int h) const
{
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, w - 3, h - 3);
    painter.fillRect(2, h - 2, w - 2, 2, Qt::black);
    painter.fillRect(w - 2, 2, 2, h - 2, Qt::black);
    if (picture_)
        PagePainter::paint(painter, *picture_, QRectF(0, 0, w, h));
}
