#pragma once
#include <functional>

#include "TRepTypes.h"

// What the display units of a report depend on besides the stored value.
struct UnitContext {
    double screenPixelsPerInch = 96;
    int zoom = 100;
    // Width (horizontal) or height of one character of the report font, in
    // tenths of a millimetre; measured when asked, so it follows the font.
    std::function<double(bool horizontal)> characterSize;
};

// Conversions between the stored tenths of a millimetre and a display unit.
namespace ReportUnits {
double fromNative(double value, TRepUnits units, bool horizontal, const UnitContext& context);
double toNative(double value, TRepUnits units, bool horizontal, const UnitContext& context);
}  // namespace ReportUnits
