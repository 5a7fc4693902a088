#pragma once
// Comparing a page as printed or exported (rendered by another program) with
// the page picture as the preview paints it: where the ink is, block by block.
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "PagePainter.h"

struct InkBlocks {
    int cols = 0, rows = 0;
    std::vector<bool> ink;
    bool at(int c, int r) const { return c >= 0 && r >= 0 && c < cols && r < rows && ink[size_t(r * cols + c)]; }
};

// Which blocks of a page carry ink.
inline InkBlocks inkBlocks(const QImage& image, int block)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    InkBlocks b{grey.width() / block, grey.height() / block, {}};
    b.ink.assign(size_t(b.cols * b.rows), false);
    for (int y = 0; y < b.rows * block; ++y) {
        const uchar* line = grey.constScanLine(y);
        for (int x = 0; x < b.cols * block; ++x)
            if (line[x] < 160)
                b.ink[size_t((y / block) * b.cols + x / block)] = true;
    }
    return b;
}

inline QImage renderPicture(const std::vector<std::uint8_t>& picture, QSize size, QRectF target = {})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter::paint(painter, picture, target.isNull() ? QRectF(QPointF(0, 0), QSizeF(size)) : target);
    return image;
}

// The share of a's ink blocks that b has ink in, or beside.
inline double covered(const InkBlocks& a, const InkBlocks& b)
{
    int inked = 0, near = 0;
    for (int r = 0; r < a.rows; ++r)
        for (int c = 0; c < a.cols; ++c) {
            if (!a.at(c, r))
                continue;
            ++inked;
            bool found = false;
            for (int dr = -1; dr <= 1 && !found; ++dr)
                for (int dc = -1; dc <= 1 && !found; ++dc)
                    found = b.at(c + dc, r + dr);
            near += found;
        }
    return inked ? double(near) / inked : 1.0;
}

// How well two pages agree on where the ink is, within a block either way;
// the default block is 2.1 mm at 48 dots per inch.
inline double sameInk(const QImage& printed, const QImage& expected, int block = 4)
{
    const InkBlocks a = inkBlocks(printed, block), b = inkBlocks(expected, block);
    if (a.cols != b.cols || a.rows != b.rows)
        return 0;
    return std::min(covered(a, b), covered(b, a));
}

inline QImage shifted(const QImage& image, int dx, int dy)
{
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(dx, dy, image);
    return out;
}
