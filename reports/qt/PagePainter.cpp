#include "PagePainter.h"

#include "EmfPlayer.h"
#include "QtPageCanvas.h"

#include <cstdint>

void PagePainter::paint(QPainter& painter, std::span<const std::uint8_t> picture, const QRectF& target)
{
    const EmfPictureInfo info = EmfPlayer::info(picture);
    const std::int64_t width = info.widthPixels();
    const std::int64_t height = info.heightPixels();
    if (width <= 0 || height <= 0)
        return;
    // Bounds read from a file may be anywhere in the 32-bit range: the
    // placement is worked out in doubles, never in int.
    const double left = info.bounds.left;
    const double top = info.bounds.top;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / double(width), target.height() / double(height));
    painter.translate(-left, -top);
    painter.setClipRect(QRectF(left, top, double(width), double(height)));
    QtPageCanvas canvas(painter);
    try {
        EmfPlayer::play(picture, canvas);
    } catch (...) {
        canvas.finish();  // what was readable is drawn
        painter.restore();
        throw;
    }
    canvas.finish();
    painter.restore();
}
