#pragma once
#include <QFont>

// The faces the windows ask for, mapped to faces Debian ships:
// "Liberation Serif" and "Liberation Sans" are metric-compatible with the
// serif and sans faces the layouts were drawn with, and the same sans face at
// 11 pixels stands in for the small bitmap sans face of the window texts.
class WindowFonts {
public:
    // Window text face: character height in pixels.
    static QFont sansSerif(int pixelHeight = 11);
    static QFont timesNewRoman(int pixelHeight, bool bold = false);
    static QFont arial(int pointSize);
    // The face the message boxes use.
    static QFont messageBox();
};
