#pragma once
#include <QImage>
#include <QString>

// The navigator's glyph bitmaps, drawn by the program: each holds the
// enabled image and, beside it, the embossed disabled one. Named
// "DBN_FIRST" to "DBN_REFRESH" (letter case ignored); an unknown name
// gives a null image.
namespace NavigatorGlyphs {

QImage bitmap(const QString& name);
// The width of one image: 10 for prior and next, 14 for the others.
int imageWidth(const QString& name);
constexpr int imageHeight = 13;

}  // namespace NavigatorGlyphs
