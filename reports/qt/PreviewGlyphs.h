#pragma once
#include <QPixmap>

// The preview toolbar's 11 pictures of 16 x 16 pixels, drawn: zoom to fit,
// 100%, zoom to width, first, previous, next and last page, printer setup,
// print, load, save.
namespace PreviewGlyphs {
constexpr int Count = 11;
QPixmap glyph(int index);
}  // namespace PreviewGlyphs
