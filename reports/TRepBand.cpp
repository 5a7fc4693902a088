#include "TRepBand.h"

namespace {
const UnitContext DefaultContext;
}  // namespace

double TRepBand::Height() const
{
    return ReportUnits::fromNative(Values[HeightValue], Units, false, context_ ? *context_ : DefaultContext);
}

double TRepBand::Width() const
{
    return ReportUnits::fromNative(Values[WidthValue], Units, true, context_ ? *context_ : DefaultContext);
}

void TRepBand::setHeight(double v)
{
    Values[HeightValue] = ReportUnits::toNative(v, Units, false, context_ ? *context_ : DefaultContext);
}

void TRepBand::setWidth(double v)
{
    Values[WidthValue] = ReportUnits::toNative(v, Units, true, context_ ? *context_ : DefaultContext);
}

void TRepBand::setContext(const UnitContext* context)
{
    context_ = context;
    for (auto& c : controls_)
        c->setContext(context);
}

void TRepBand::setUnits(TRepUnits units)
{
    Units = units;
    for (auto& c : controls_)
        c->Units = units;
}
