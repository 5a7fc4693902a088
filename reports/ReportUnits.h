#pragma once
#include "TRepTypes.h"

// What the display units of a report depend on besides the stored value.
struct UnitContext {
    double screenPixelsPerInch = 96;
    int zoom = 100;
    double charWidth = 0;  // one character of the report font, tenths of a millimetre
    double charHeight = 0;
};

// Conversions between the stored tenths of a millimetre and a display unit.
namespace ReportUnits {
double fromNative(double value, TRepUnits units, bool horizontal, const UnitContext& context);
double toNative(double value, TRepUnits units, bool horizontal, const UnitContext& context);
}  // namespace ReportUnits
