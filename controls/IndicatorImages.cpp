#include "IndicatorImages.h"

#include <array>

namespace {

// "#" is black, anything else transparent (white in the bitmaps).
const char* const arrowRows[] = {
    "      ", "      ", "#     ", "##    ", "###   ", "####  ", "###   ", "##    ", "#     ", "      ", "      ",
};
const char* const editRows[] = {
    "## ## ", "  #   ", "  #   ", "  #   ", "  #   ", "  #   ", "  #   ", "  #   ", "  #   ", "  #   ", "## ## ",
};
const char* const insertRows[] = {
    "      ", "      ", "  #   ", "# # # ", " ###  ", "  #   ", " ###  ", "# # # ", "  #   ", "      ", "      ",
};
const char* const dotRows[] = {
    "      ", "      ", "      ", "      ", " ##   ", "####  ", "####  ", " ##   ", "      ", "      ", "      ",
};
const char* const arrowDotRows[] = {
    "#     ", "##    ", "###   ", "####  ", "###   ", "##    ", "#     ", "      ", " ##   ", "####  ", " ##   ",
};

}  // namespace

QImage IndicatorImages::fromRows(const char* const rows[height])
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y][x] == '#')
                image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

const QImage& IndicatorImages::image(Index index)
{
    static const std::array<QImage, 5> images = {
        fromRows(arrowRows), fromRows(editRows), fromRows(insertRows), fromRows(dotRows), fromRows(arrowDotRows),
    };
    return images[static_cast<size_t>(index)];
}
