#include "ReportUnits.h"

namespace {

// Stored tenths of a millimetre per displayed unit.
double scale(TRepUnits units, bool horizontal, const UnitContext& c)
{
    switch (units) {
    case TRepUnits::MM:
        return 10;
    case TRepUnits::Inches:
        return 254;
    case TRepUnits::Pixels:
        return (254 / c.screenPixelsPerInch) * 100.0 / c.zoom;
    case TRepUnits::Characters: {
        const double size = c.characterSize ? c.characterSize(horizontal) : 0;
        return size > 0 ? size : 1;
    }
    case TRepUnits::Native:
        return 1;
    }
    return 1;
}

}  // namespace

double ReportUnits::fromNative(double value, TRepUnits units, bool horizontal, const UnitContext& c)
{
    return value / scale(units, horizontal, c);
}

double ReportUnits::toNative(double value, TRepUnits units, bool horizontal, const UnitContext& c)
{
    return value * scale(units, horizontal, c);
}
