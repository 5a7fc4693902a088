#include "PagePainter.h"

#include "EmfPlayer.h"
#include "QtPageCanvas.h"

void PagePainter::paint(QPainter& painter, std::span<const std::uint8_t> picture, const QRectF& target)
{
    const EmfPictureInfo info = EmfPlayer::info(picture);
    if (info.widthPixels() <= 0 || info.heightPixels() <= 0)
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / info.widthPixels(), target.height() / info.heightPixels());
    painter.translate(-info.bounds.left, -info.bounds.top);
    painter.setClipRect(QRect(info.bounds.left, info.bounds.top, info.widthPixels(), info.heightPixels()));
    QtPageCanvas canvas(painter);
    try {
        EmfPlayer::play(picture, canvas);
    } catch (...) {
        painter.restore();
        throw;
    }
    painter.restore();
}
