#include "PictureBox.h"

#include "JpegImage.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void PictureBox::setPicture(const JpegImage& picture)
{
    const QImage view(picture.rgb().data(), picture.width(), picture.height(), picture.width() * 3,
                      QImage::Format_RGB888);
    picture_ = view.copy();  // the view borrows the decoder's buffer
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
}
