#include "TRepPrintable.h"

namespace {
const UnitContext DefaultContext;
}  // namespace

double TRepPrintable::get(Value which, bool horizontal) const
{
    return ReportUnits::fromNative(Values[which], Units, horizontal, context_ ? *context_ : DefaultContext);
}

void TRepPrintable::set(Value which, double v, bool horizontal)
{
    Values[which] = ReportUnits::toNative(v, Units, horizontal, context_ ? *context_ : DefaultContext);
}
