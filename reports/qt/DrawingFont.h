#pragma once
#include <QFont>
#include <QPointF>
#include <QRawFont>

#include "InkedAreas.h"
#include "PageCanvas.h"

// A picture's font as Qt draws it: looked up once per face and size and
// kept for the program's life (the fonts go only with the font database,
// after everything that paints).
struct DrawingFont {
    QFont font;
    QRawFont raw;
    int pixelSize = 1;
    double ascent = 0;
    double descent = 0;

    static const DrawingFont& of(const PageFont& font);
    // Where a text `width` pixels wide starts on its baseline, as its
    // alignment places it.
    QPointF start(const PageText& text, double width) const;
    // What a text starting there may ink, with room for glyphs that reach
    // past their advance.
    InkedAreas::Area inkOf(QPointF start, double width) const;
};
