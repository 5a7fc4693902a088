#include "WindowFonts.h"

namespace {
QFont face(const char* family, QFont::StyleHint hint)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    return font;
}
}  // namespace

QFont WindowFonts::sansSerif(int pixelHeight)
{
    QFont font = face("Liberation Sans", QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    return font;
}

QFont WindowFonts::timesNewRoman(int pixelHeight, bool bold)
{
    QFont font = face("Liberation Serif", QFont::Serif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont WindowFonts::arial(int pointSize)
{
    QFont font = face("Liberation Sans", QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

QFont WindowFonts::messageBox()
{
    return sansSerif(11);
}
