#include "PrintableText.h"

namespace {
const UnitContext DefaultContext;
}  // namespace

double PrintableText::get(Value which, bool horizontal) const
{
    return ReportUnits::fromNative(Values[which], Units, horizontal, context_ ? *context_ : DefaultContext);
}

void PrintableText::set(Value which, double v, bool horizontal)
{
    Values[which] = ReportUnits::toNative(v, Units, horizontal, context_ ? *context_ : DefaultContext);
}
