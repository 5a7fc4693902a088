#pragma once
#include <QFont>
#include <QRawFont>

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
};
