#pragma once
#include <algorithm>

// The width a grid column takes when none was set, from the metrics of its
// fonts: room for the field's display width in "0" characters, and with
// titles at least room for the caption.
struct ColumnWidth {
    static constexpr int outsideGrid = 64;

    // zeroWidth: pixel width of "0" in the column font; overhang: the
    // font's overhang; titleWidth: the caption's pixel width in the title
    // font, used only when titles are shown.
    static int fromMetrics(int zeroWidth, int overhang, int displayWidth, bool titles, int titleWidth)
    {
        int width = (zeroWidth - overhang) * displayWidth + overhang + 4;
        if (titles)
            width = std::max(width, titleWidth + 4);
        return width;
    }
};
