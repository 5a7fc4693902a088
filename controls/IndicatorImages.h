#pragma once
#include <QImage>

// The five pictures of the grid's indicator column, black on transparent,
// 6 x 11 pixels: 0 the browse arrow, 1 the edit I-beam, 2 the insert
// asterisk, 3 the multi-selection dot, 4 the arrow with a dot.
class IndicatorImages {
public:
    enum Index { Arrow = 0, Edit = 1, Insert = 2, MultiDot = 3, MultiArrow = 4 };
    static constexpr int width = 6;
    static constexpr int height = 11;

    // Made once, on first use.
    static const QImage& image(Index index);

private:
    static QImage fromRows(const char* const rows[height]);
};
